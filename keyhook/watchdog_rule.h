#pragma once
// When the watchdog installs the hooks again, decided from the facts it is given: the system's
// clocks are read by its caller, so the rule needs no window and no system call.
#include <cstdint>

namespace keyhook {

// The system's tick count in milliseconds; it wraps after 49 days.
using Tick = std::uint32_t;

// Both the period of the check and the shortest time between two installs: once a second is
// all the wake-ups an idle hook thread may cost, and all a window that keeps its input from the
// hooks (one that runs as administrator) can make the library install them.
constexpr Tick kWatchdogPeriod = 1000;

// How much later than a hook's answer the system may stamp the input it was called for: Wine
// takes the time once the answer has reached its server. Input within this time after the
// hooks' latest call is taken for seen; any later input shows them up.
constexpr Tick kHookCallAllowance = 100;

// What the watchdog has noted so far.
struct WatchdogMarks {
    Tick latestHookCall = 0;
    // The latest input that the hooks were installed (again) for.
    Tick accountedInput = 0;
    Tick lastInstall = 0;
};

// The facts of one tick.
struct WatchdogFacts {
    Tick now = 0;
    // The system's latest keyboard or mouse input of the session, stamped as its sender chose.
    Tick latestInput = 0;
    WatchdogMarks marks;
};

// True when the system had input that the hooks were not called for, and the hooks were not
// installed within the last period.
bool reinstallNow(const WatchdogFacts& facts);

// The marks after an install at `facts.now`. A failed install notes nothing, so that the next
// tick tries again.
WatchdogMarks marksAfterInstall(const WatchdogFacts& facts, bool installed);

} // namespace keyhook
