#include "privacy/password_focus.h"

#include "privacy/accessibility_worker.h"

namespace {

// Long enough for a program at work to answer, short enough that a key pressed meanwhile shows
// without a noticeable delay.
constexpr UINT kDeadlineMs = 500;

// The system's timer callback carries no context of ours.
PasswordJudge* activeJudge = nullptr;

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

struct FocusSnapshot {
    HWND control = nullptr;
    char name[64] = "";
    char realName[64] = "";
    FocusFacts facts;
};

// Every fact read here is kept by the system; none is a question the other program answers.
void lookAtFocus(const FocusEvent& focusEvent, FocusSnapshot& snapshot)
{
    FocusFacts& facts = snapshot.facts;
    facts.event = focusEvent.kind;
    const HWND foreground = GetForegroundWindow();
    facts.hasForeground = foreground != nullptr;
    snapshot.control = foreground ? foregroundFocus(foreground) : nullptr;
    if (const HWND control = snapshot.control) {
        GetClassNameA(control, snapshot.name, sizeof snapshot.name);
        RealGetWindowClassA(control, snapshot.realName, sizeof snapshot.realName);
        facts.style = static_cast<std::uint32_t>(GetWindowLongPtrA(control, GWL_STYLE));
        facts.ownProcess = ownedByThisProcess(control);
        facts.hung = IsHungAppWindow(control);
    }
    facts.className = snapshot.name;
    facts.realClassName = snapshot.realName;
    facts.eventInForeground = focusEvent.window && GetAncestor(focusEvent.window, GA_ROOT) == foreground;
}

} // namespace

void PasswordJudge::start(HWND judgeWindow)
{
    stop();
    window = judgeWindow;
    mailbox = std::make_shared<JudgeMailbox>(window);
    activeJudge = this;
}

void PasswordJudge::stop()
{
    if (!mailbox)
        return;
    KillTimer(window, kDeadlineTimerId);
    mailbox->close();
    mailbox.reset();
    if (activeJudge == this)
        activeJudge = nullptr;
}

void PasswordJudge::follow(const FocusEvent& focusEvent)
{
    if (!mailbox)
        return;
    FocusSnapshot snapshot;
    lookAtFocus(focusEvent, snapshot);
    const PasswordJudgement judgement = judgePasswordFocus(snapshot.facts);
    if (judgement == PasswordJudgement::unchanged)
        return;
    const unsigned question = mailbox->openQuestion();
    KillTimer(window, kDeadlineTimerId);
    if (judgement == PasswordJudgement::notPassword || judgement == PasswordJudgement::password)
        mailbox->answer(question, judgement == PasswordJudgement::password);
    else
        ask(question, judgement, snapshot.control, focusEvent);
}

void PasswordJudge::ask(
    unsigned question, PasswordJudgement judgement, HWND control, const FocusEvent& focusEvent)
{
    const bool aboutEventObject = judgement == PasswordJudgement::askEventObject;
    const FocusQuestion asked{question, aboutEventObject, aboutEventObject ? focusEvent.window : control,
        focusEvent.object, focusEvent.child};
    // Loaded here, on the first question, and kept: the asking threads find it ready.
    if (!mailbox->library.ready() || !askOnWorker(mailbox, asked)) {
        mailbox->answer(question, false);
        return;
    }
    asking = question;
    SetTimer(window, kDeadlineTimerId, kDeadlineMs, onDeadline);
}

void CALLBACK PasswordJudge::onDeadline(HWND timerWindow, UINT, UINT_PTR id, DWORD)
{
    KillTimer(timerWindow, id);
    if (activeJudge && activeJudge->mailbox)
        activeJudge->mailbox->answer(activeJudge->asking, false);
}
