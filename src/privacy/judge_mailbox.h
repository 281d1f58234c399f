#pragma once
#include <windows.h>

#include "privacy/accessible_state.h"

// The judge's news for the window, posted as WM_PASSWORD_JUDGE with the news as wParam.
constexpr UINT WM_PASSWORD_JUDGE = WM_APP + 1;
enum PasswordJudgeNews : WPARAM {
    kNotPasswordFocused,
    kPasswordFocused,
    kFocusMoved,        // the focus or the foreground moved; the answer follows
    kFocusOwnerAnswers, // the program asked answers messages: the answer may take a while yet
};

// One accessibility question about a focus, and the program that must answer it.
struct FocusQuestion {
    unsigned number;       // the mailbox's question
    bool aboutEventObject; // else about the focused part of the window's client area
    HWND asked;
    LONG object;
    LONG child;
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

    // Each asking thread costs about a megabyte while another program holds it. True when one
    // more may start, and it is counted; false when too many live: then the question waits here
    // for the first of them that comes back.
    bool enlist(const FocusQuestion& question);
    // An asking thread is done: true with the waiting question while it is open, for the thread
    // to ask; else the thread is no longer counted and ends.
    bool nextOrLeave(FocusQuestion& question);
    // A thread counted by enlist did not start.
    void leave();

    // The library for the asking threads, loaded by the judge's thread before the first of them.
    AccessibilityLibrary library;

private:
    void post(WPARAM news) const;

    SRWLOCK lock = SRWLOCK_INIT;
    HWND window;
    unsigned open = 0;
    bool answerWanted = false;
    int workers = 0; // alive, given up ones included
    FocusQuestion waiting{};
};
