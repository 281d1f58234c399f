// The rule for one hook event, driven by a clock of the test's own: a tap's lit span is read off
// that clock, and the minimum-lit timer fires when the answers asked it to.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "display/input_change.h"

using namespace keyhook;

namespace {

constexpr unsigned kKeyA = 0x41;
constexpr unsigned kKeyB = 0x42;
constexpr unsigned kLeftButton = 256 + PointerLeft;

struct Step {
    std::uint64_t at;
    std::uint64_t device;
    unsigned code;
    bool pressed;
};
using Span = std::pair<std::uint64_t, std::uint64_t>; // lit from, dark again at

// Events at their times, the timer carried out as a window would: started, fired every period
// until stopped. Records when one slot goes lit and dark.
class Replay {
public:
    explicit Replay(unsigned watched)
        : watched(watched)
    {
    }

    void event(const Step& step)
    {
        runTimerUntil(step.at);
        const HookEvent event{step.device, step.code, step.pressed};
        carryOut(applyHookEventAt(state, lit, event, true, step.at), step.at);
    }
    void finish() { runTimerUntil(10'000); }

    std::vector<Span> spans;
    int firings = 0;
    bool timerRunning() const { return timerAt.has_value(); }

private:
    void runTimerUntil(std::uint64_t time)
    {
        while (timerAt && *timerAt <= time) {
            const std::uint64_t now = *timerAt;
            timerAt = now + period;
            ++firings;
            carryOut(endMinimumLit(state, lit, now), now);
        }
    }
    void carryOut(const InputChange& change, std::uint64_t now)
    {
        if (change.minimumLitTimer == InputChange::Timer::Start) {
            period = change.minimumLitDelay;
            timerAt = now + period;
        } else if (change.minimumLitTimer == InputChange::Timer::Stop) {
            timerAt.reset();
        }
        const bool isLit = (watched < 256 ? state.keyState[watched] : state.pointerState[watched - 256]) != 0;
        if (isLit && !wasLit)
            spans.push_back({now, 0});
        if (!isLit && wasLit)
            spans.back().second = now;
        wasLit = isLit;
    }

    unsigned watched;
    InputState state{};
    MinimumLit lit{};
    std::optional<std::uint64_t> timerAt;
    std::uint64_t period = 0;
    bool wasLit = false;
};

Step down(std::uint64_t at, unsigned code = kKeyA) { return {at, HookKeyboard, code, true}; }
Step up(std::uint64_t at, unsigned code = kKeyA) { return {at, HookKeyboard, code, false}; }

TEST(MinimumLit, EveryPressIsLitForAtLeastTheMinimumAndLongerOnlyWhileHeld)
{
    const struct {
        const char* what;
        unsigned watched;
        std::vector<Step> steps;
        std::vector<Span> lit;
        int firings;
    } rows[] = {
        {"a 30-ms tap", kKeyA, {down(1000), up(1030)}, {{1000, 1100}}, 1},
        {"a 300-ms hold, repeating", kKeyA, {down(1000), down(1250), down(1280), up(1300)}, {{1000, 1300}},
            0},
        {"two quick taps of one key", kKeyA, {down(1000), up(1000), down(1050), up(1050)}, {{1000, 1150}}, 2},
        {"a short click", kLeftButton,
            {{1000, HookMouse, PointerLeft, true}, {1000, HookMouse, PointerLeft, false}}, {{1000, 1100}}, 1},
        {"a tap, then another key's", kKeyA, {down(1000), up(1000), down(1050, kKeyB), up(1050, kKeyB)},
            {{1000, 1100}}, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Replay replay(row.watched);
        for (const Step& step : row.steps)
            replay.event(step);
        replay.finish();
        EXPECT_EQ(replay.spans, row.lit);
        EXPECT_EQ(replay.firings, row.firings);
        EXPECT_FALSE(replay.timerRunning()) << "a timer runs while nothing waits";
    }
}

// The bits of a hook event, and the 半角/全角 key's codes: without the minimum in the way (each
// event long after the one before), the lit keys follow the events, and the rectangles to repaint
// are those of the keys that changed.
TEST(HookEventRule, KeysFollowTheHighWordAndTheAutoCodeReleasesOnlyTheCopyCode)
{
    InputState state{};
    MinimumLit lit{};
    std::uint64_t now = 1000;
    auto apply = [&](std::uint32_t lParam) {
        now += 1000;
        return applyHookEventAt(state, lit, decodeHookEvent(HookKeyboard, lParam), true, now).changed;
    };
    for (const auto& [lParam, a] : {std::pair{0x00010041u, 1}, {0x00000041u, 0}, {0xFFFF0041u, 1},
             {0x00000041u, 0}, {0x80000041u, 1}, {0x00010141u, 1}, {0x00000041u, 0}}) {
        apply(lParam);
        EXPECT_EQ(state.keyState[0x41], a) << std::hex << lParam;
    }

    for (std::uint32_t code : {0xF2u, 0xF4u})
        apply(0x00010000u | code);
    const auto changed = apply(0x000100F3u);
    EXPECT_EQ(changed, std::bitset<kInputSlotCount>{}.set(0xF2).set(0xF3));
    EXPECT_EQ(
        std::tuple(state.keyState[0xF2], state.keyState[0xF3], state.keyState[0xF4]), std::tuple(0, 1, 1));
    apply(0x000100F2u);
    apply(0x000000F3u);
    EXPECT_EQ(
        std::tuple(state.keyState[0xF2], state.keyState[0xF3], state.keyState[0xF4]), std::tuple(0, 0, 1));
}

} // namespace
