// The rule for one hook event, driven by a clock of the test's own.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "display/input_change.h"

using namespace keyhook;

namespace {

struct Step {
    std::uint64_t at;
    unsigned code; // a key, or 256 + a pointer slot
    bool pressed;
};
struct Replayed {
    std::vector<std::uint64_t> toggles; // when the watched slot went lit, dark, lit...
    int firings = 0;
    bool timerLeftRunning = false;
};

// The steps at their times, the timer carried out as a window does (started, fired every period
// until stopped), until long after the last step.
Replayed replay(unsigned watched, const std::vector<Step>& steps)
{
    InputState state{};
    MinimumLit lit{};
    Replayed seen;
    std::uint64_t timerAt = 0, period = 0;
    auto carryOut = [&](const InputChange& change, std::uint64_t now) {
        if (change.minimumLitTimer == InputChange::Timer::Start) {
            period = change.minimumLitDelay;
            timerAt = now + period;
        } else if (change.minimumLitTimer == InputChange::Timer::Stop) {
            timerAt = 0;
        }
        if (change.changed[watched])
            seen.toggles.push_back(now);
    };
    auto runTimerUntil = [&](std::uint64_t time) {
        while (timerAt && timerAt <= time) {
            const std::uint64_t now = timerAt;
            timerAt += period;
            ++seen.firings;
            carryOut(endMinimumLit(state, lit, now), now);
        }
    };
    for (const Step& step : steps) {
        runTimerUntil(step.at);
        const HookEvent event{step.code < 256 ? HookKeyboard : HookMouse, step.code % 256, step.pressed};
        carryOut(applyHookEventAt(state, lit, event, true, step.at), step.at);
    }
    runTimerUntil(100'000);
    seen.timerLeftRunning = timerAt != 0;
    return seen;
}

TEST(MinimumLit, EveryPressIsLitForAtLeastTheMinimumAndLongerOnlyWhileHeld)
{
    constexpr unsigned A = 0x41, B = 0x42, click = 256 + PointerLeft;
    const struct {
        const char* what;
        std::vector<Step> steps; // the first step's slot is watched
        std::vector<std::uint64_t> toggles;
        int firings;
    } rows[] = {
        {"a 30-ms tap", {{1000, A, true}, {1030, A, false}}, {1000, 1100}, 1},
        {"a 300-ms hold, repeating", {{1000, A, true}, {1250, A, true}, {1280, A, true}, {1300, A, false}},
            {1000, 1300}, 0},
        {"two quick taps of one key", {{1000, A, true}, {1000, A, false}, {1050, A, true}, {1050, A, false}},
            {1000, 1150}, 2},
        {"a short click", {{1000, click, true}, {1000, click, false}}, {1000, 1100}, 1},
        {"a tap, then another key's", {{1000, A, true}, {1000, A, false}, {1050, B, true}, {1050, B, false}},
            {1000, 1100}, 2},
    };
    for (const auto& [what, steps, toggles, firings] : rows) {
        const Replayed seen = replay(steps.front().code, steps);
        EXPECT_EQ(seen.toggles, toggles) << what;
        EXPECT_EQ(seen.firings, firings) << what;
        EXPECT_FALSE(seen.timerLeftRunning) << what;
    }
}

// Each event long after the one before, so that the minimum is not in the way.
TEST(HookEventRule, KeysFollowTheHighWordAndTheAutoCodeReleasesOnlyTheCopyCode)
{
    InputState state{};
    MinimumLit lit{};
    std::uint64_t now = 0;
    auto apply = [&](std::uint32_t lParam) {
        return applyHookEventAt(state, lit, decodeHookEvent(HookKeyboard, lParam), true, now += 1000).changed;
    };
    for (const auto& [lParam, a] : {std::pair{0x00010041u, 1}, {0x00000041u, 0}, {0xFFFF0041u, 1},
             {0x00000041u, 0}, {0x80000041u, 1}, {0x00010141u, 1}, {0x00000041u, 0}}) {
        apply(lParam);
        EXPECT_EQ(state.keyState[0x41], a) << std::hex << lParam;
    }
    auto f2f3f4
        = [&] { return std::tuple(state.keyState[0xF2], state.keyState[0xF3], state.keyState[0xF4]); };
    apply(0x000100F2u);
    apply(0x000100F4u);
    EXPECT_EQ(apply(0x000100F3u), std::bitset<kInputSlotCount>{}.set(0xF2).set(0xF3));
    EXPECT_EQ(f2f3f4(), std::tuple(0, 1, 1));
    apply(0x000100F2u);
    apply(0x000000F3u);
    EXPECT_EQ(f2f3f4(), std::tuple(0, 0, 1));
}

} // namespace
