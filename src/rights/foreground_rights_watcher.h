#pragma once
#include <windows.h>

#include "common/window_timers.h"

// Tells, on every change of the foreground or of the keyboard focus, whether the window in front
// belongs to a process with more rights than this program; while it does, a look once a second
// also notices it pass without an event. No call waits on the other program. A program that runs
// as administrator itself watches nothing.
class ForegroundRightsWatcher {
public:
    using ChangeHandler = void (*)(bool moreRightsInFront);
    // The window timer that looks at the foreground once a second while the answer is yes.
    static constexpr UINT_PTR kTimerId = FOREGROUND_RIGHTS_TIMER_ID;

    ForegroundRightsWatcher() = default;
    ForegroundRightsWatcher(const ForegroundRightsWatcher&) = delete;
    ForegroundRightsWatcher& operator=(const ForegroundRightsWatcher&) = delete;
    ~ForegroundRightsWatcher() { stop(); }

    // Checks the window in front now and from then on calls onChange whenever the answer changes.
    // The timer runs on timerWindow. One watcher at a time.
    void start(HWND timerWindow, ChangeHandler onChange);
    // The foreground or the focus moved.
    void check();
    void stop();

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);

    HWND timerWindow = nullptr;
    ChangeHandler changeHandler = nullptr;
    bool moreRightsInFront = false;
};
