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
    check();
}

void ForegroundRightsWatcher::stop()
{
    if (timerWindow)
        KillTimer(timerWindow, kTimerId);
    timerWindow = nullptr;
    moreRightsInFront = false;
    if (activeWatcher == this)
        activeWatcher = nullptr;
}

void CALLBACK ForegroundRightsWatcher::onTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (activeWatcher)
        activeWatcher->check();
}

void ForegroundRightsWatcher::check()
{
    if (!timerWindow)
        return;
    const bool answer = foregroundHasMoreRights(factsAboutWindow(GetForegroundWindow()));
    if (answer == moreRightsInFront)
        return;
    moreRightsInFront = answer;
    // The foreground may pass without an event (a window that closes or hides leaves it to nobody):
    // while the sign shows, a look once a second catches that. Otherwise nothing wakes the window.
    if (answer)
        SetTimer(timerWindow, kTimerId, 1000, onTimer);
    else
        KillTimer(timerWindow, kTimerId);
    if (changeHandler)
        changeHandler(answer);
}
