#include "hook_watchdog.h"

namespace keyhook {

namespace {

// The system's own record of the latest keyboard or mouse input of the session, injected input
// included.
DWORD latestInput()
{
    LASTINPUTINFO lastInput{};
    lastInput.cbSize = sizeof lastInput;
    return GetLastInputInfo(&lastInput) ? lastInput.dwTime : 0;
}

} // namespace

HookWatchdog::HookWatchdog() { retryTimer(); }

HookWatchdog::~HookWatchdog()
{
    if (timer)
        KillTimer(nullptr, timer);
}

void HookWatchdog::retryTimer()
{
    if (!timer)
        timer = SetTimer(nullptr, 0, kWatchdogPeriod, nullptr);
}

WatchdogFacts HookWatchdog::factsNow() const { return {GetTickCount(), latestInput(), marks}; }

bool HookWatchdog::shouldReinstall() const { return reinstallNow(factsNow()); }

void HookWatchdog::recordInstall(bool installed) { marks = marksAfterInstall(factsNow(), installed); }

} // namespace keyhook
