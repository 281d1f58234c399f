#pragma once
// The built keyhook.dll, loaded by full path from beside the test executable and reached through
// its exports by name, as the program reaches it; and a window that records what it posts.
#include <windows.h>

#include <ostream>
#include <set>
#include <vector>

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

class HookLibrary {
public:
    HookLibrary();
    ~HookLibrary();
    HookLibrary(const HookLibrary&) = delete;
    HookLibrary& operator=(const HookLibrary&) = delete;

    bool loaded() const { return startHook && endHook && isHooking; }
    BOOL start(HWND target) const { return startHook(target); }
    void end() const { endHook(); }
    bool hooking() const { return isHooking() != FALSE; }

private:
    HMODULE module = nullptr;
    BOOL(WINAPI* startHook)(HWND) = nullptr;
    void(WINAPI* endHook)() = nullptr;
    BOOL(WINAPI* isHooking)() = nullptr;
};

// A hidden window (it never takes the keyboard focus) that keeps every WM_HOOKEVENT it receives,
// in order.
class EventWindow {
public:
    EventWindow();
    ~EventWindow();
    EventWindow(const EventWindow&) = delete;
    EventWindow& operator=(const EventWindow&) = delete;

    HWND get() const { return window; }
    void destroy();
    const std::vector<HookEvent>& events() const;
    void clear();
    // Pumps until `count` events have arrived; false after a generous wait.
    bool waitForEvents(size_t count) const;

private:
    HWND window = nullptr;
};

// Real input through SendInput, as from a keyboard driver.
void sendKey(WORD vk, WORD scan, bool up, bool extended = false);
void sendMouse(DWORD flags, DWORD data = 0);
// Presses and releases F24, which nothing else sends: once its two events are in, everything
// sent before it has been seen by the hook.
void sendMarker();
std::vector<HookEvent> markerEvents();

// Threads of this process, for seeing the hook thread come and go.
int threadCount();
std::set<DWORD> threadIds();

} // namespace keyhook_testing
