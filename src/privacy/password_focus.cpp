#include "privacy/password_focus.h"

#include <string.h>

#include "privacy/accessible_state.h"

namespace {

// The system's callback carries no context of ours.
PasswordFocusWatcher* activeWatcher = nullptr;

enum class ClassicField { none, plain, password };

bool isEditClassName(const char* name)
{
    return _stricmp(name, "Edit") == 0 || _strnicmp(name, "RichEdit", 8) == 0;
}

// The real class also names the system control behind a superclass (a framework's text box).
ClassicField classicField(HWND control)
{
    char name[64] = "";
    char realName[64] = "";
    GetClassNameA(control, name, sizeof name);
    RealGetWindowClassA(control, realName, sizeof realName);
    if (!isEditClassName(name) && !isEditClassName(realName))
        return ClassicField::none;
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    return (style & ES_PASSWORD) ? ClassicField::password : ClassicField::plain;
}

bool ownedByThisProcess(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId == GetCurrentProcessId();
}

// The control with the keyboard focus in the foreground window's thread, else the window itself
// (a frame that hosts another process's content has no focus of its own); null when there is none.
HWND foregroundFocus(HWND foreground)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) && info.hwndFocus)
        return info.hwndFocus;
    return foreground;
}

} // namespace

PasswordFocusWatcher::~PasswordFocusWatcher() { stop(); }

bool PasswordFocusWatcher::start(ChangeHandler onChange)
{
    stop();
    changeHandler = onChange;
    activeWatcher = this;
    // This program's own windows count too: the focus may leave a password field for them.
    focusHook = SetWinEventHook(
        EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, onWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    foregroundHook = SetWinEventHook(
        EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, onWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    return focusHook && foregroundHook;
}

void PasswordFocusWatcher::stop()
{
    if (focusHook)
        UnhookWinEvent(focusHook);
    if (foregroundHook)
        UnhookWinEvent(foregroundHook);
    focusHook = foregroundHook = nullptr;
    if (activeWatcher == this)
        activeWatcher = nullptr;
}

void CALLBACK PasswordFocusWatcher::onWinEvent(
    HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (activeWatcher)
        activeWatcher->follow({event, window, object, child});
}

void PasswordFocusWatcher::follow(const FocusEvent& focusEvent)
{
    if (judging) {
        waitingEvent = focusEvent;
        eventWaiting = true;
        return;
    }
    judging = true;
    bool answer = judge(focusEvent);
    while (eventWaiting) {
        eventWaiting = false;
        const FocusEvent next = waitingEvent;
        answer = judge(next);
    }
    judging = false;
    if (answer == passwordFocused)
        return;
    passwordFocused = answer;
    if (changeHandler)
        changeHandler(answer);
}

bool PasswordFocusWatcher::judge(const FocusEvent& focusEvent) const
{
    const HWND foreground = GetForegroundWindow();
    if (!foreground)
        return false;
    const HWND control = foregroundFocus(foreground);
    if (const ClassicField field = classicField(control); field != ClassicField::none)
        return field == ClassicField::password;
    // This program has no password field, and asking itself through COM would only cost memory.
    if (ownedByThisProcess(control))
        return false;
    // A hung program would hold the question up; its field cannot take keys meanwhile either.
    if (IsHungAppWindow(control))
        return passwordFocused;
    if (focusEvent.event != EVENT_OBJECT_FOCUS)
        return focusedPartIsProtected(control);
    // A program in the background may move its own focus; only the foreground window's counts.
    if (!focusEvent.window || GetAncestor(focusEvent.window, GA_ROOT) != foreground)
        return passwordFocused;
    return eventObjectIsProtected(focusEvent.window, focusEvent.object, focusEvent.child);
}
