#include "privacy/password_focus.h"

#include "privacy/accessible_state.h"
#include "privacy/password_judgement.h"

namespace {

// Closing waits this long for a judgement under way; then the thread ends with the process.
constexpr DWORD kStopWaitMs = 500;
// A program that does not take a message this soon is not waited for (its answer still counts).
constexpr UINT kAnswerProbeMs = 100;

struct FocusEvent {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
};

class Judge {
public:
    explicit Judge(HWND window);
    ~Judge();
    Judge(const Judge&) = delete;
    Judge& operator=(const Judge&) = delete;

    void follow(const FocusEvent& focusEvent);

private:
    bool judge(const FocusEvent& focusEvent);
    bool askProtected(PasswordJudgement question, HWND control, const FocusEvent& focusEvent);
    void tell(PasswordJudgeNews news) const { PostMessageA(window, WM_PASSWORD_JUDGE, news, 0); }
    void tellAnswer(bool password) const { tell(password ? kPasswordFocused : kNotPasswordFocused); }

    HWND window;
    AccessibleState accessibility;
    bool passwordFocused = false;
    // An accessibility call lets COM dispatch messages, so events can arrive during a judgement.
    bool judging = false;
    bool eventWaiting = false;
    FocusEvent waitingEvent{};
};

// The system's callback carries no context of ours; only the judge's own thread touches it.
Judge* activeJudge = nullptr;

Judge::Judge(HWND window)
    : window(window)
{
    activeJudge = this;
}

Judge::~Judge() { activeJudge = nullptr; }

void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (activeJudge)
        activeJudge->follow({event, window, object, child});
}

void Judge::follow(const FocusEvent& focusEvent)
{
    tell(kFocusMoved);
    if (judging) {
        waitingEvent = focusEvent;
        eventWaiting = true;
        return;
    }
    judging = true;
    passwordFocused = judge(focusEvent);
    while (eventWaiting) {
        eventWaiting = false;
        const FocusEvent next = waitingEvent;
        passwordFocused = judge(next);
    }
    judging = false;
    tellAnswer(passwordFocused);
}

// The control with the keyboard focus in the foreground window's thread, else the window itself
// (a frame that hosts another process's content has no focus of its own).
HWND foregroundFocus(HWND foreground)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) && info.hwndFocus)
        return info.hwndFocus;
    return foreground;
}

bool ownedByThisProcess(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId == GetCurrentProcessId();
}

// Every fact read here is kept by the system; none is a question the other program answers.
bool Judge::judge(const FocusEvent& focusEvent)
{
    FocusFacts facts;
    facts.event = focusEvent.event == EVENT_OBJECT_FOCUS ? FocusEventKind::focus : FocusEventKind::foreground;
    const HWND foreground = GetForegroundWindow();
    facts.hasForeground = foreground != nullptr;
    const HWND control = foreground ? foregroundFocus(foreground) : nullptr;
    char name[64] = "";
    char realName[64] = "";
    if (control) {
        GetClassNameA(control, name, sizeof name);
        RealGetWindowClassA(control, realName, sizeof realName);
        facts.style = static_cast<std::uint32_t>(GetWindowLongPtrA(control, GWL_STYLE));
        facts.ownProcess = ownedByThisProcess(control);
        facts.hung = IsHungAppWindow(control);
    }
    facts.className = name;
    facts.realClassName = realName;
    facts.eventInForeground = focusEvent.window && GetAncestor(focusEvent.window, GA_ROOT) == foreground;
    switch (const PasswordJudgement judgement = judgePasswordFocus(facts)) {
    case PasswordJudgement::notPassword:
        return false;
    case PasswordJudgement::password:
        return true;
    case PasswordJudgement::unchanged:
        return passwordFocused;
    default:
        return askProtected(judgement, control, focusEvent);
    }
}

// A program that takes a message at once is waited for while it works out its answer (a slow
// password field must not show its first letters); one that does not gets the last answer told
// now, so that keys light meanwhile, and the question is asked all the same.
bool Judge::askProtected(PasswordJudgement question, HWND control, const FocusEvent& focusEvent)
{
    const HWND asked = question == PasswordJudgement::askEventObject ? focusEvent.window : control;
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(asked, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, kAnswerProbeMs, &result))
        tell(kFocusOwnerAnswers);
    else
        tellAnswer(passwordFocused);
    if (question == PasswordJudgement::askEventObject)
        return accessibility.eventObjectIsProtected(focusEvent.window, focusEvent.object, focusEvent.child);
    return accessibility.focusedPartIsProtected(control);
}

struct Starting {
    HWND window;
    HANDLE ready;
    bool hooked;
};

DWORD WINAPI judgeThread(void* parameter)
{
    auto* starting = static_cast<Starting*>(parameter);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // the queue that the quit message goes to
    Judge judge(starting->window);
    // This program's own windows count too: the focus may leave a password field for them.
    WinEventHookHandle focusHook;
    WinEventHookHandle foregroundHook;
    focusHook.attach(SetWinEventHook(
        EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, onWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT));
    foregroundHook.attach(SetWinEventHook(
        EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, onWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT));
    const bool hooked = focusHook.get() && foregroundHook.get();
    starting->hooked = hooked;
    SetEvent(starting->ready); // the starter's record is gone from here on
    if (!hooked)
        return 1;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}

} // namespace

PasswordFocusWatcher::~PasswordFocusWatcher() { stop(); }

bool PasswordFocusWatcher::start(HWND window)
{
    stop();
    KernelHandle ready;
    ready.attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!ready.get())
        return false;
    Starting starting{window, ready.get(), false};
    thread.attach(CreateThread(nullptr, 0, judgeThread, &starting, 0, &threadId));
    if (!thread.get())
        return false;
    // The thread asks no other program before it is ready.
    WaitForSingleObject(ready.get(), INFINITE);
    if (!starting.hooked)
        thread.reset();
    return starting.hooked;
}

void PasswordFocusWatcher::stop()
{
    if (!thread.get())
        return;
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread.get(), kStopWaitMs);
    thread.reset();
}
