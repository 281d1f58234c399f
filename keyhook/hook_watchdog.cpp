#include "hook_watchdog.h"

namespace keyhook {

namespace {

// Both the period of the check and the shortest time between two installs: once a second is
// all the wake-ups an idle hook thread may cost, and all a window that keeps its input from the
// hooks (one that runs as administrator) can make the library install them.
constexpr DWORD kPeriodMilliseconds = 1000;

// How much later than a hook's answer the system may stamp the input it was called for: Wine
// takes the time once the answer has reached its server. Input within this time after the
// hooks' latest call is taken for seen; any later input shows them up.
constexpr DWORD kHookCallAllowance = 100;

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

bool HookWatchdog::reinstallDue()
{
    return GetTickCount() - lastInstall >= kPeriodMilliseconds && missedInput();
}

bool HookWatchdog::missedInput()
{
    const DWORD input = latestInput();
    if (!isAfter(input, accountedInput) || !isAfter(input, latestHookCall + kHookCallAllowance))
        return false;
    // A hook's call may still be on the way for input this fresh; the next check looks again.
    if (GetTickCount() - input < kHookCallAllowance)
        return false;
    accountedInput = input;
    return true;
}

void HookWatchdog::onInstalled()
{
    lastInstall = GetTickCount();
    // What older hooks missed is made good by the new ones' look at the system's key state; any
    // input after now is the new ones' to see.
    accountedInput = latestInput();
    latestHookCall = accountedInput - kHookCallAllowance;
}

} // namespace keyhook
