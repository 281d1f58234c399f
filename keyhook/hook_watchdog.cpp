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

HookWatchdog::HookWatchdog(HMODULE module)
    : sink(module)
{
    marks.latestWake = GetTickCount();
    retryTimer();
}

HookWatchdog::~HookWatchdog() { stopTimer(); }

void HookWatchdog::retryTimer()
{
    if (checking && !timer)
        timer = SetTimer(nullptr, 0, kWatchdogPeriod, nullptr);
}

void HookWatchdog::stopTimer()
{
    if (timer)
        KillTimer(nullptr, timer);
    timer = 0;
}

void HookWatchdog::wake()
{
    if (checking)
        return;
    checking = true;
    marks.latestWake = GetTickCount();
    sink.stopListening();
    retryTimer();
}

void HookWatchdog::restIfIdle()
{
    // Without the sink nothing would wake the check: it goes on.
    if (!checking || keepChecking(factsNow()) || !sink.listen())
        return;
    // Input between the look and the sink's start reaches neither: look once more.
    if (keepChecking(factsNow())) {
        sink.stopListening();
        return;
    }
    checking = false;
    stopTimer();
}

WatchdogFacts HookWatchdog::factsNow() const { return {GetTickCount(), latestInput(), marks}; }

bool HookWatchdog::shouldReinstall() const { return reinstallNow(factsNow()); }

void HookWatchdog::recordInstall(bool installed) { marks = marksAfterInstall(factsNow(), installed); }

} // namespace keyhook
