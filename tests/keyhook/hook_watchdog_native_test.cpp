// When the watchdog installs the hooks again, over the facts of one tick: the hooks were last
// installed at 10000 and last called at 20000; a second has passed since the latest input.
#include <gtest/gtest.h>

#include "watchdog_rule.h"

using namespace keyhook;

namespace {

constexpr WatchdogMarks kMarks{20000, 10000, 10000, 10000};

WatchdogFacts tick(Tick now, Tick latestInput, WatchdogMarks marks = kMarks)
{
    return {now, latestInput, marks};
}

TEST(WatchdogRule, ReinstallsOnlyForInputTheHooksMissed)
{
    const struct {
        const char* name;
        WatchdogFacts facts;
        bool reinstall;
    } rows[]{
        {"input after the hooks' latest call", tick(31000, 30000), true},
        {"input within the allowance after a call", tick(31000, 20000 + kHookCallAllowance), false},
        {"input that an install made good", tick(31000, 30000, {20000, 30000, 10000, 10000}), false},
        {"installed less than a period ago", tick(31000, 30000, {20000, 10000, 30500, 10000}), false},
        {"input so fresh that its hook call may be on the way", tick(30050, 30000), false},
        {"the clock wrapped since the hooks' latest call",
            tick(1000, 0, {0xFFFFF000, 0xFFFFE000, 0xFFFFE000, 0xFFFFE000}), true},
        {"input stamped with a time to come", tick(31000, 90000), false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(reinstallNow(row.facts), row.reinstall) << row.name;
}

// A row per tick: what the hooks' install gave, and whether the next tick reinstalls.
TEST(WatchdogRule, AfterAnInstall)
{
    const struct {
        const char* name;
        WatchdogFacts install;
        bool installed;
        WatchdogFacts next; // its marks are the install's outcome
        bool reinstall;
    } rows[]{
        {"a failed install is tried again at the next tick", tick(31000, 30000), false, tick(32000, 30000),
            true},
        {"input missed after an install stamped with a time to come", tick(31000, 90000), true,
            tick(33000, 31500), true},
    };
    for (const auto& row : rows) {
        WatchdogFacts next = row.next;
        next.marks = marksAfterInstall(row.install, row.installed);
        EXPECT_EQ(reinstallNow(next), row.reinstall) << row.name;
    }
}

// The check rests once nothing came for a while; input wakes it again.
TEST(WatchdogRule, KeepsCheckingWhileInputFlows)
{
    const struct {
        const char* name;
        WatchdogFacts facts;
        bool keep;
    } rows[]{
        {"input within the rest", tick(30000 + kWatchdogRest - 1, 30000), true},
        {"no input for the rest", tick(30000 + kWatchdogRest, 30000), false},
        {"woken within the rest, the input older", tick(31000, 20000, {20000, 10000, 10000, 30000}), true},
        {"input stamped with a time to come", tick(31000, 90000), false},
        {"the clock wrapped since the input", tick(500, 0xFFFFFF00), true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(keepChecking(row.facts), row.keep) << row.name;
}

} // namespace
