#pragma once
// When the watchdog installs the hooks again, and whether it keeps looking, decided from the facts
// it is given: the system's clocks are read by its caller, so the rules need no window and no
// system call.
#include <cstdint>

namespace keyhook {

// The system's tick count in milliseconds; it wraps after 49 days.
using Tick = std::uint32_t;

// Both the period of the check and the shortest time between two installs: all a window that
// keeps its input from the hooks (one that runs as administrator) can make the library install
// them.
constexpr Tick kWatchdogPeriod = 1000;

// How long the check goes on after the latest input or wake-up. Then it rests, and the
// idle hook thread is never woken until input comes again.
constexpr Tick kWatchdogRest = 3000;

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
    // When the check last started: at the hooks' start, or woken from its rest by input.
    Tick latestWake = 0;
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

// True while input or a wake-up came within the rest time. Input stamped with a
// time to come tells nothing; the next input wakes the check all the same.
bool keepChecking(const WatchdogFacts& facts);

} // namespace keyhook
