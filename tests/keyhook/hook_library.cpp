#include "hook_library.h"

#include <tlhelp32.h>

#include <algorithm>
#include <map>

#include "common/owned_handle.h"
#include "common/proc_address.h"
#include "hook_protocol.h"
#include "support/process_tools.h"

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

LoadedKeyhook::LoadedKeyhook()
{
    module = LoadLibraryA((testing_support::executableDirectory() + "\\keyhook.dll").c_str());
    if (!module)
        return;
    startHook = procAddress<decltype(startHook)>(module, "StartHook");
    endHook = procAddress<decltype(endHook)>(module, "EndHook");
    isHooking = procAddress<decltype(isHooking)>(module, "IsHooking");
}

LoadedKeyhook::~LoadedKeyhook()
{
    if (endHook)
        endHook();
    if (module)
        FreeLibrary(module);
}

EventWindow::EventWindow()
    : TestWindow(recordingProc, WS_POPUP)
{
    received[get()].clear();
}

const std::vector<HookEvent>& EventWindow::events() const { return received[get()]; }

bool EventWindow::waitForEvents(size_t count) const
{
    return testing_support::pumpUntil([&] { return received[get()].size() >= count; }, 10000);
}

void tapKey(WORD vk, WORD scan, bool extended)
{
    sendKey(vk, scan, false, extended);
    sendKey(vk, scan, true, extended);
}

std::vector<HookEvent> withMarker(std::vector<HookEvent> events)
{
    events.push_back(keyEvent(VK_F24, true));
    events.push_back(keyEvent(VK_F24, false));
    return events;
}

std::vector<HookEvent> EventWindow::eventsThroughMarker() const
{
    sendKey(VK_F24, 0x76, false);
    sendKey(VK_F24, 0x76, true);
    const std::vector<HookEvent>& got = events();
    const std::vector<HookEvent> marker = withMarker({});
    testing_support::pumpUntil(
        [&] { return got.size() >= 2 && std::equal(marker.begin(), marker.end(), got.end() - 2); }, 10000);
    return got;
}

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
