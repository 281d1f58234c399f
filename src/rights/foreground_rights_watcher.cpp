#include "rights/foreground_rights_watcher.h"

#include "rights/process_rights.h"

namespace {

// The system's callbacks carry no context of ours.
ForegroundRightsWatcher* activeWatcher = nullptr;

} // namespace

void ForegroundRightsWatcher::start(HWND window, ChangeHandler onChange)
{
    stop();
    // Such a program hears every window: there is nothing to watch.
    if (programRunsElevated())
        return;
    timerWindow = window;
    changeHandler = onChange;
    activeWatcher = this;
    hook = SetWinEventHook(
        EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, onForeground, 0, 0, WINEVENT_OUTOFCONTEXT);
    // The foreground may also pass without an event: a window that closes or hides leaves it to
    // nobody, and Wine reports no foreground changes at all. A look once a second catches those.
    SetTimer(timerWindow, kTimerId, 1000, onTimer);
    check();
}

void ForegroundRightsWatcher::stop()
{
    if (hook)
        UnhookWinEvent(hook);
    hook = nullptr;
    if (timerWindow)
        KillTimer(timerWindow, kTimerId);
    timerWindow = nullptr;
    moreRightsInFront = false;
    if (activeWatcher == this)
        activeWatcher = nullptr;
}

void CALLBACK ForegroundRightsWatcher::onForeground(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD)
{
    if (activeWatcher)
        activeWatcher->check();
}

void CALLBACK ForegroundRightsWatcher::onTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (activeWatcher)
        activeWatcher->check();
}

void ForegroundRightsWatcher::check()
{
    const bool answer
        = foregroundHasMoreRights(false /* checked at the start */, factsAboutWindow(GetForegroundWindow()));
    if (answer == moreRightsInFront)
        return;
    moreRightsInFront = answer;
    if (changeHandler)
        changeHandler(answer);
}
