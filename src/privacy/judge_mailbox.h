#pragma once
#include <windows.h>

#include <atomic>

#include "privacy/accessible_state.h"

// The judge's news for the window, posted as WM_PASSWORD_JUDGE with the news as wParam.
constexpr UINT WM_PASSWORD_JUDGE = WM_APP + 1;
enum PasswordJudgeNews : WPARAM {
    kNotPasswordFocused,
    kPasswordFocused,
    kFocusMoved,        // the focus or the foreground moved; the answer follows
    kFocusOwnerAnswers, // the program asked answers messages: the answer may take a while yet
};

// Where the judge and its asking threads post their news for the window. Each focus opens a
// question by number; only the open one may be answered, and its answer closes it, so that a late
// answer to an older focus is dropped and never lands after a newer focus's news. Shared with the
// asking threads, which may outlive the judge while another program holds them.
class JudgeMailbox {
public:
    explicit JudgeMailbox(HWND window)
        : window(window)
    {
    }

    // A new focus: the open question, if any, is given up; the window hears that the focus moved.
    unsigned openQuestion();
    // The question's answer, if it is still open; then it is closed.
    void answer(unsigned question, bool password);
    // News about the question while it is open.
    void tell(unsigned question, PasswordJudgeNews news);
    // From now on nothing reaches the window.
    void close();

    // The library for the asking threads, loaded by the judge's thread before the first of them.
    AccessibilityLibrary library;
    // The asking threads alive, given up ones included.
    std::atomic<int> workers = 0;

private:
    void post(WPARAM news) const;

    SRWLOCK lock = SRWLOCK_INIT;
    HWND window;
    unsigned open = 0;
    bool answerWanted = false;
};
