#include "raw_input_sink.h"

namespace keyhook {

namespace {

// The generic desktop page's mouse and keyboard.
constexpr USHORT kGenericDesktop = 0x01;
constexpr USHORT kMouse = 0x02;
constexpr USHORT kKeyboard = 0x06;

constexpr char kClassName[] = "TaveloKeyhookInputSink";

bool registerDevices(DWORD flags, HWND target)
{
    const RAWINPUTDEVICE devices[]{
        {kGenericDesktop, kMouse, flags, target}, {kGenericDesktop, kKeyboard, flags, target}};
    return RegisterRawInputDevices(devices, 2, sizeof devices[0]) != FALSE;
}

} // namespace

// A class of its own: the program's manifest would take a system class such as STATIC from the
// common controls, which loading costs about 1.8 MiB. Its procedure only hands WM_INPUT on to
// DefWindowProc, for the system's cleanup.
RawInputSink::RawInputSink(HMODULE module)
    : module(module)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass))
        return;
    window.reset(
        CreateWindowExA(0, kClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr));
}

RawInputSink::~RawInputSink()
{
    stopListening();
    window.reset();
    // Harmless when it was never registered; a later hook thread registers it anew.
    UnregisterClassA(kClassName, module);
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
