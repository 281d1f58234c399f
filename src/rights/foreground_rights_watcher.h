#pragma once
#include <windows.h>

// Follows the foreground window and tells, on every change and at the latest within a second,
// whether it belongs to a process with more rights than this program. The system calls in through the message
// loop of the thread that started the watcher; no call waits on the other program. A program that runs as
// administrator itself watches nothing.
class ForegroundRightsWatcher {
public:
    using ChangeHandler = void (*)(bool moreRightsInFront);
    // The window timer that looks at the foreground once a second.
    static constexpr UINT_PTR kTimerId = 4;

    ForegroundRightsWatcher() = default;
    ForegroundRightsWatcher(const ForegroundRightsWatcher&) = delete;
    ForegroundRightsWatcher& operator=(const ForegroundRightsWatcher&) = delete;
    ~ForegroundRightsWatcher() { stop(); }

    // Checks the window in front now and from then on calls onChange whenever the answer changes.
    // The timer runs on timerWindow. One watcher at a time.
    void start(HWND timerWindow, ChangeHandler onChange);
    void stop();

private:
    static void CALLBACK onForeground(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD);
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    void check();

    HWINEVENTHOOK hook = nullptr;
    HWND timerWindow = nullptr;
    ChangeHandler changeHandler = nullptr;
    bool moreRightsInFront = false;
};
