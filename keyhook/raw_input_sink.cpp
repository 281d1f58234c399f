#include "raw_input_sink.h"

namespace keyhook {

namespace {

// The generic desktop page's mouse and keyboard.
constexpr USHORT kGenericDesktop = 0x01;
constexpr USHORT kMouse = 0x02;
constexpr USHORT kKeyboard = 0x06;

bool registerDevices(DWORD flags, HWND target)
{
    const RAWINPUTDEVICE devices[]{
        {kGenericDesktop, kMouse, flags, target}, {kGenericDesktop, kKeyboard, flags, target}};
    return RegisterRawInputDevices(devices, 2, sizeof devices[0]) != FALSE;
}

} // namespace

// A system class needs no registration that would outlive the library; the loop takes WM_INPUT
// before the class's procedure, which only hands it on to DefWindowProc for the system's cleanup.
RawInputSink::RawInputSink()
    : window(CreateWindowExA(0, "STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
{
}

bool RawInputSink::listen()
{
    if (!listening && window)
        listening = registerDevices(RIDEV_INPUTSINK, window.get());
    return listening;
}

void RawInputSink::stopListening()
{
    if (listening)
        registerDevices(RIDEV_REMOVE, nullptr);
    listening = false;
}

} // namespace keyhook
