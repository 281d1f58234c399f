#pragma once
#include <windows.h>

#include "common/owned_handle.h"

// The judge's news for the window, posted as WM_PASSWORD_JUDGE with the news as wParam.
constexpr UINT WM_PASSWORD_JUDGE = WM_APP + 1;
enum PasswordJudgeNews : WPARAM {
    kNotPasswordFocused,
    kPasswordFocused,
    kFocusMoved,        // the focus or the foreground moved; the answer follows
    kFocusOwnerAnswers, // the program asked answers messages: the answer may take a while yet
};

// Follows the desktop's keyboard focus on a thread of its own and tells the window whether it is
// in a password field of the foreground window: a classic edit control with ES_PASSWORD, or any
// field that accessibility reports as protected. The questions that other programs must answer,
// COM and the event hooks all live on that thread, which wakes only for focus and foreground
// events, so the window's thread never waits for another program.
class PasswordFocusWatcher {
public:
    PasswordFocusWatcher() = default;
    PasswordFocusWatcher(const PasswordFocusWatcher&) = delete;
    PasswordFocusWatcher& operator=(const PasswordFocusWatcher&) = delete;
    ~PasswordFocusWatcher();

    // The focus starts in this program's own window: no password. One watcher at a time.
    bool start(HWND window);
    // Waits briefly for the thread; one stuck in another program is left to end with the process.
    void stop();

private:
    KernelHandle thread;
    DWORD threadId = 0;
};
