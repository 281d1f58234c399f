#pragma once
#include <windows.h>

// Follows the desktop's keyboard focus and keeps ready whether it is in a password field of the
// foreground window: a classic edit control with ES_PASSWORD, or any field that accessibility
// reports as protected. The system calls in through the message loop of the thread that started
// the watcher; nothing runs on the hook thread.
class PasswordFocusWatcher {
public:
    using ChangeHandler = void (*)(bool inPasswordField);

    PasswordFocusWatcher() = default;
    PasswordFocusWatcher(const PasswordFocusWatcher&) = delete;
    PasswordFocusWatcher& operator=(const PasswordFocusWatcher&) = delete;
    ~PasswordFocusWatcher();

    // From now on calls onChange whenever the answer changes; it starts as false, the program's
    // own window having the focus. One watcher at a time.
    bool start(ChangeHandler onChange);
    void stop();
    bool inPasswordField() const { return passwordFocused; }

private:
    struct FocusEvent {
        DWORD event;
        HWND window;
        LONG object;
        LONG child;
    };
    static void CALLBACK onWinEvent(
        HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD);
    void follow(const FocusEvent& focusEvent);
    bool judge(const FocusEvent& focusEvent) const;

    HWINEVENTHOOK focusHook = nullptr;
    HWINEVENTHOOK foregroundHook = nullptr;
    ChangeHandler changeHandler = nullptr;
    bool passwordFocused = false;
    // An accessibility call lets COM dispatch messages, so events can arrive during a judgement.
    bool judging = false;
    bool eventWaiting = false;
    FocusEvent waitingEvent{};
};
