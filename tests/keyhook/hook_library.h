#pragma once
// The built keyhook.dll, loaded by full path from beside the test executable and reached through
// its exports by name, as the program reaches it; and a window that records what it posts.
#include <windows.h>

#include <ostream>
#include <set>
#include <vector>

#include "support/input_sender.h"
#include "support/win32_test_helpers.h"

namespace keyhook_testing {

struct HookEvent {
    WPARAM device;
    LPARAM param;
    bool operator==(const HookEvent&) const = default;
};

// Shown by GoogleTest in failure messages.
void PrintTo(const HookEvent& event, std::ostream* out);

HookEvent keyEvent(unsigned code, bool pressed);
HookEvent pointerEvent(unsigned slot, bool pressed);

class LoadedKeyhook {
public:
    LoadedKeyhook();
    ~LoadedKeyhook();
    LoadedKeyhook(const LoadedKeyhook&) = delete;
    LoadedKeyhook& operator=(const LoadedKeyhook&) = delete;

    bool loaded() const { return startHook && endHook && isHooking; }
    BOOL start(HWND target) const { return startHook(target); }
    void end() const { endHook(); }
    bool hooking() const { return isHooking() != FALSE; }
    HMODULE handle() const { return module; }

private:
    HMODULE module = nullptr;
    BOOL(WINAPI* startHook)(HWND) = nullptr;
    void(WINAPI* endHook)() = nullptr;
    BOOL(WINAPI* isHooking)() = nullptr;
};

// A hidden window (it never takes the keyboard focus) that keeps every WM_HOOKEVENT it receives,
// in order.
class EventWindow : public testing_support::TestWindow {
public:
    EventWindow();
    const std::vector<HookEvent>& events() const;
    // Pumps until `count` events have arrived; false after a generous wait.
    bool waitForEvents(size_t count) const;
    // Presses and releases F24, which nothing else sends, and pumps until its two events are in:
    // then everything sent before it has been seen by the hook. Every event received so far.
    std::vector<HookEvent> eventsThroughMarker() const;
};

// The events followed by those of the marker.
std::vector<HookEvent> withMarker(std::vector<HookEvent> events);

using testing_support::sendKey;
using testing_support::sendMouse;
// A press and a release through real input.
void tapKey(WORD vk, WORD scan, bool extended = false);

// Threads of this process, for seeing the hook thread come and go.
std::set<DWORD> threadIds();

} // namespace keyhook_testing
