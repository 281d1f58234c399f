#include "hook_library.h"

#include <tlhelp32.h>

#include <map>

#include "common/owned_handle.h"
#include "hook_protocol.h"
#include "support/win32_test_helpers.h"

namespace keyhook_testing {

namespace {

std::map<HWND, std::vector<HookEvent>> received;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == keyhook::WM_HOOKEVENT) {
        received[window].push_back(HookEvent{wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string libraryPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path);
    return full.substr(0, full.find_last_of('\\') + 1) + "keyhook.dll";
}

template <typename Function>
Function entry(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

void PrintTo(const HookEvent& event, std::ostream* out)
{
    const auto param = static_cast<unsigned long>(event.param);
    *out << (event.device == 0  ? "key "
            : event.device == 1 ? "pointer "
                                : "device? ")
         << std::hex << "0x" << (param & 0xFFFF) << ((param >> 16) ? " down" : " up") << std::dec;
}

HookEvent keyEvent(unsigned code, bool pressed)
{
    return HookEvent{0, keyhook::hookEventParam(code, pressed)};
}

HookEvent pointerEvent(unsigned slot, bool pressed)
{
    return HookEvent{1, keyhook::hookEventParam(slot, pressed)};
}

HookLibrary::HookLibrary()
{
    module = LoadLibraryA(libraryPath().c_str());
    if (!module)
        return;
    startHook = entry<decltype(startHook)>(module, "StartHook");
    endHook = entry<decltype(endHook)>(module, "EndHook");
    isHooking = entry<decltype(isHooking)>(module, "IsHooking");
}

HookLibrary::~HookLibrary()
{
    if (endHook)
        endHook();
    if (module)
        FreeLibrary(module);
}

EventWindow::EventWindow()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = recordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KeyhookEventWindow";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, windowClass.lpszClassName, "events", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
        windowClass.hInstance, nullptr);
    received[window].clear();
}

EventWindow::~EventWindow() { destroy(); }

void EventWindow::destroy()
{
    if (window)
        DestroyWindow(window);
    window = nullptr;
}

const std::vector<HookEvent>& EventWindow::events() const { return received[window]; }

void EventWindow::clear() { received[window].clear(); }

bool EventWindow::waitForEvents(size_t count) const
{
    return testing_support::pumpUntil([&] { return received[window].size() >= count; }, 10000);
}

void sendKey(WORD vk, WORD scan, bool up, bool extended)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof input);
}

void sendMouse(DWORD flags, DWORD data)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    SendInput(1, &input, sizeof input);
}

void sendMarker()
{
    sendKey(VK_F24, 0x76, false);
    sendKey(VK_F24, 0x76, true);
}

std::vector<HookEvent> markerEvents() { return {keyEvent(VK_F24, true), keyEvent(VK_F24, false)}; }

int threadCount() { return static_cast<int>(threadIds().size()); }

std::set<DWORD> threadIds()
{
    std::set<DWORD> ids;
    const HANDLE raw = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (raw == INVALID_HANDLE_VALUE)
        return ids;
    KernelHandle snapshot;
    snapshot.attach(raw);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(raw, &entry); more; more = Thread32Next(raw, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ids.insert(entry.th32ThreadID);
    }
    return ids;
}

} // namespace keyhook_testing
