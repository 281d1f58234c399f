#pragma once
#include <windows.h>

#include "common/window_timers.h"

#include <memory>

#include "privacy/judge_mailbox.h"
#include "privacy/password_judgement.h"

// A focus or foreground event as the system's WinEvent hook reports it.
struct FocusEvent {
    FocusEventKind kind;
    HWND window;
    LONG object;
    LONG child;
};

// Tells the window whether the keyboard focus is in a password field of the foreground window: a
// classic edit control with ES_PASSWORD, or any field that accessibility reports as protected.
// It runs on the window's thread and reads there only what the system keeps about windows; every
// question that another program must answer goes to a thread of its own with a deadline. A field
// whose program has not answered by then is taken for an ordinary one, and its late answer is
// dropped; a classic field is judged at once, whatever is still being asked elsewhere. While
// four asking threads are held in other programs, a new question waits for the first of them to
// come back, and its field counts as ordinary if none does by the deadline.
class PasswordJudge {
public:
    // The window timer that ends a question's wait.
    static constexpr UINT_PTR kDeadlineTimerId = PASSWORD_JUDGE_DEADLINE_TIMER_ID;

    PasswordJudge() = default;
    PasswordJudge(const PasswordJudge&) = delete;
    PasswordJudge& operator=(const PasswordJudge&) = delete;
    ~PasswordJudge() { stop(); }

    // The focus starts in this program's own window: no password. One judge at a time.
    void start(HWND window);
    void follow(const FocusEvent& focusEvent);
    // Threads still held in other programs are left to end by themselves, or with the process.
    void stop();

private:
    static void CALLBACK onDeadline(HWND, UINT, UINT_PTR, DWORD);
    void ask(unsigned question, PasswordJudgement judgement, HWND control, const FocusEvent& focusEvent);

    std::shared_ptr<JudgeMailbox> mailbox;
    HWND window = nullptr;
    unsigned asking = 0; // the question that the deadline timer runs for
};
