#include "app/focus_events.h"

#include "app/administrator_sign.h"
#include "common/owned_handle.h"
#include "privacy/password_focus.h"

namespace {

PasswordJudge passwordJudge;
WinEventHookHandle focusHook;
WinEventHookHandle foregroundHook;

void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    const FocusEventKind kind
        = event == EVENT_OBJECT_FOCUS ? FocusEventKind::focus : FocusEventKind::foreground;
    passwordJudge.follow({kind, window, object, child});
    checkAdministratorSign();
}

} // namespace

void startFollowingFocus(HWND window)
{
    passwordJudge.start(window);
    // This program's own windows count too: the focus may leave a password field for them. Wine
    // reports no foreground changes of other programs, but it does report their focus moves.
    focusHook.attach(SetWinEventHook(
        EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, onWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT));
    foregroundHook.attach(SetWinEventHook(
        EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, onWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT));
    startAdministratorSign(window);
}

void stopFollowingFocus()
{
    focusHook.reset();
    foregroundHook.reset();
    stopAdministratorSign();
    passwordJudge.stop();
}
