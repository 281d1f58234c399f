#include "watchdog_rule.h"

namespace keyhook {

namespace {

// Tick counts wrap; their difference does not.
bool isAfter(Tick tick, Tick reference) { return static_cast<std::int32_t>(tick - reference) > 0; }

// Any program can stamp its injected input with a time to come; such a stamp would hide all
// real input until the clock reaches it.
bool isStampedAhead(const WatchdogFacts& facts) { return isAfter(facts.latestInput, facts.now); }

} // namespace

bool reinstallNow(const WatchdogFacts& facts)
{
    const WatchdogMarks& marks = facts.marks;
    if (facts.now - marks.lastInstall < kWatchdogPeriod || isStampedAhead(facts))
        return false;
    const Tick input = facts.latestInput;
    if (!isAfter(input, marks.accountedInput) || !isAfter(input, marks.latestHookCall + kHookCallAllowance))
        return false;
    // A hook's call may still be on the way for input this fresh; the next tick looks again.
    return facts.now - input >= kHookCallAllowance;
}

WatchdogMarks marksAfterInstall(const WatchdogFacts& facts, bool installed)
{
    if (!installed)
        return facts.marks;
    // What older hooks missed is made good by the new ones' look at the system's key state; any
    // input after now is the new ones' to see.
    const Tick accounted = isStampedAhead(facts) ? facts.now : facts.latestInput;
    return {accounted - kHookCallAllowance, accounted, facts.now, facts.marks.latestWake};
}

bool keepChecking(const WatchdogFacts& facts)
{
    // Ages as unsigned differences: they survive the wrap, and a time to come is older than any rest.
    const auto recent = [&](Tick tick) { return facts.now - tick < kWatchdogRest; };
    return recent(facts.latestInput) || recent(facts.marks.latestWake);
}

} // namespace keyhook
