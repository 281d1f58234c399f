#pragma once
// The hook thread's working state: turns hook events into posted WM_HOOKEVENT messages and runs
// the stuck-key check while anything reported is still down. Lives on the hook thread only.
#include <windows.h>

#include "key_tracker.h"
#include "mouse_events.h"

namespace keyhook {

class HookSession {
public:
    explicit HookSession(HWND target)
        : target(target)
    {
    }
    ~HookSession();
    HookSession(const HookSession&) = delete;
    HookSession& operator=(const HookSession&) = delete;

    void onKeyboard(const KBDLLHOOKSTRUCT& event);
    void onMouse(WPARAM message, const MSLLHOOKSTRUCT& event);
    // A thread timer fired; true when it was the stuck-key check's.
    bool onTimer(UINT_PTR timerId);
    // Fresh hooks replaced ones that may have been gone for a while: what the system holds now
    // was pressed unseen, and lights at once.
    void onHooksReinstalled();

private:
    void post(unsigned device, unsigned code, bool pressed) const;
    void updateTimer();
    void lightWhatTheSystemHolds();
    bool seenTwice(WPARAM message, const MSLLHOOKSTRUCT& event) const;

    HWND target;
    KeyTracker keys;
    ButtonTracker buttons;
    UINT_PTR timer = 0;
    // The latest mouse event, to know one that both the old and the new hook pass on.
    WPARAM lastMouseMessage = 0;
    MSLLHOOKSTRUCT lastMouse{};
    DWORD reinstalledAt = 0;
    bool reinstalled = false;
};

} // namespace keyhook
