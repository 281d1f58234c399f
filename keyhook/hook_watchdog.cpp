#include "hook_watchdog.h"

namespace keyhook {

namespace {

// Both the period of the check and the shortest time between two installs: once a second is
// all the wake-ups an idle hook thread may cost, and all a window that keeps its input from the
// hooks (one that runs as administrator) can make the library install them.
constexpr DWORD kPeriodMilliseconds = 1000;

// Tick counts wrap after 49 days; their difference does not.
bool isAfter(DWORD tick, DWORD reference) { return static_cast<LONG>(tick - reference) > 0; }

// The system's own record of the latest keyboard or mouse input of the session, injected input
// included.
DWORD latestInput()
{
    LASTINPUTINFO lastInput{};
    lastInput.cbSize = sizeof lastInput;
    return GetLastInputInfo(&lastInput) ? lastInput.dwTime : 0;
}

} // namespace

HookWatchdog::HookWatchdog()
    : timer(SetTimer(nullptr, 0, kPeriodMilliseconds, nullptr))
{
}

HookWatchdog::~HookWatchdog()
{
    if (timer)
        KillTimer(nullptr, timer);
}

void HookWatchdog::onHookCall(DWORD eventTime)
{
    if (isAfter(eventTime, latestSeenInput))
        latestSeenInput = eventTime;
}

bool HookWatchdog::reinstallDue() const
{
    return isAfter(latestInput(), latestSeenInput) && GetTickCount() - lastInstall >= kPeriodMilliseconds;
}

void HookWatchdog::onInstalled()
{
    lastInstall = GetTickCount();
    // What older hooks missed is made good by the new ones' look at the system's key state.
    latestSeenInput = latestInput();
}

} // namespace keyhook
