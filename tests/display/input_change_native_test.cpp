// The rules for hook events, timers, password answers and a minimise, driven by a clock of the
// test's own.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "display/input_change.h"

using namespace keyhook;

namespace {

// A step's news: an event of a key (below 256) or of 256 + a pointer slot, or one for the window.
enum Act { press, release, focusMoves, notPassword, password, waitEnds, minimise, pauseItem };
struct Step {
    std::uint64_t at;
    Act act;
    unsigned code = 0;
};
constexpr std::uint64_t kWheelPeriod = 1500;

struct Replayed {
    std::vector<std::uint64_t> toggles; // when the watched slot went lit, dark, lit...
    int firings = 0;                    // of either timer
    bool timerLeftRunning = false;
};

// A window timer as a window runs it: started, fired every period until stopped.
struct Timer {
    std::uint64_t at = 0, period = 0;
    void follow(const TimerChange& change, std::uint64_t now)
    {
        if (change.action == TimerChange::Start)
            *this = {now + change.delay, change.delay};
        else if (change.action == TimerChange::Stop)
            *this = {};
    }
};

struct Rules {
    InputState state{};
    LitTimes times{};
    TypingGate gate;
    Pause pause;

    InputChange apply(const Step& step)
    {
        constexpr TypingAnswer answers[]
            = {TypingAnswer::notPassword, TypingAnswer::password, TypingAnswer::noAnswerInTime};
        if (step.act == minimise)
            return clearAllAt(state, times);
        if (step.act == pauseItem)
            return togglePauseAt(state, times, pause);
        if (step.act == focusMoves) {
            gate.focusMoved();
            return {};
        }
        if (step.act >= notPassword)
            return followTypingAnswer(state, times, gate, pause, answers[step.act - notPassword], step.at);
        const HookEvent event{step.code < 256 ? HookKeyboard : HookMouse, step.code % 256, step.act == press};
        return applyHookEventAt(state, times, gate, pause, event, step.at, kWheelPeriod);
    }
};

// The steps at their times, the timers carried out as a window does, until long after the last step.
Replayed replay(unsigned watched, const std::vector<Step>& steps)
{
    Rules rules;
    Replayed seen;
    Timer minimum, wheel;
    auto carryOut = [&](const InputChange& change, std::uint64_t now) {
        minimum.follow(change.minimumLitTimer, now);
        wheel.follow(change.wheelTimer, now);
        if (change.changed[watched])
            seen.toggles.push_back(now);
    };
    auto runTimersUntil = [&](std::uint64_t time) {
        for (;;) {
            const bool minimumFirst = minimum.at && (!wheel.at || minimum.at <= wheel.at);
            Timer& next = minimumFirst ? minimum : wheel;
            if (!next.at || next.at > time)
                return;
            const std::uint64_t now = next.at;
            next.at += next.period;
            ++seen.firings;
            carryOut(minimumFirst ? endMinimumLit(rules.state, rules.times, now)
                                  : endWheel(rules.state, rules.times, now),
                now);
        }
    };
    for (const Step& step : steps) {
        runTimersUntil(step.at);
        carryOut(rules.apply(step), step.at);
    }
    runTimersUntil(100'000);
    seen.timerLeftRunning = minimum.at != 0 || wheel.at != 0;
    return seen;
}

TEST(MinimumLit, EveryPressIsLitForAtLeastTheMinimumAndLongerOnlyWhileHeld)
{
    constexpr unsigned A = 0x41, B = 0x42, click = 256 + PointerLeft, down = 256 + PointerWheelDown;
    const struct {
        const char* what;
        unsigned watched;
        std::vector<Step> steps;
        std::vector<std::uint64_t> toggles;
        int firings;
    } rows[] = {
        {"a 30-ms tap", A, {{1000, press, A}, {1030, release, A}}, {1000, 1100}, 1},
        {"a 300-ms hold, repeating", A,
            {{1000, press, A}, {1250, press, A}, {1280, press, A}, {1300, release, A}}, {1000, 1300}, 0},
        {"two quick taps of one key", A,
            {{1000, press, A}, {1000, release, A}, {1050, press, A}, {1050, release, A}}, {1000, 1150}, 2},
        {"a short click", click, {{1000, press, click}, {1000, release, click}}, {1000, 1100}, 1},
        {"a tap, then another key's", A,
            {{1000, press, A}, {1000, release, A}, {1050, press, B}, {1050, release, B}}, {1000, 1100}, 2},
        {"a tap during the wait, then not a password", A,
            {{1000, focusMoves}, {1010, press, A}, {1020, release, A}, {1050, notPassword}}, {1050, 1150}, 1},
        {"a press held through the wait's end", A,
            {{1000, focusMoves}, {1010, press, A}, {1300, waitEnds}, {1320, release, A}}, {1300, 1400}, 1},
        {"a key held from before the move, released during the wait", A,
            {{1000, press, A}, {1200, focusMoves}, {1250, press, A}, {1260, release, A}, {1300, notPassword}},
            {1000, 1260}, 0},
        {"a click waiting out its minimum at a password answer", click,
            {{1000, press, click}, {1000, release, click}, {1050, password}}, {1000, 1100}, 1},
        {"a tap darkened by a password answer, pressed again after", A,
            {{1000, press, A}, {1000, release, A}, {1050, password}, {1060, notPassword}, {1070, press, A}},
            {1000, 1050, 1070}, 1},
        {"a tap, a minimise, another tap", B,
            {{1000, press, A}, {1000, release, A}, {1050, minimise}, {1060, press, B}, {1060, release, B}},
            {1060, 1160}, 1},
        {"two notches a second apart", down, {{1000, press, down}, {2000, press, down}}, {1000, 3500}, 1},
    };
    for (const auto& [what, watched, steps, toggles, firings] : rows) {
        const Replayed seen = replay(watched, steps);
        EXPECT_EQ(seen.toggles, toggles) << what;
        EXPECT_EQ(seen.firings, firings) << what;
        EXPECT_FALSE(seen.timerLeftRunning) << what;
    }
}

// Each event long after the one before, so that the minimum is not in the way.
TEST(HookEventRule, KeysFollowTheHighWordAndTheAutoCodeReleasesOnlyTheCopyCode)
{
    Rules rules;
    std::uint64_t now = 0;
    auto apply = [&](std::uint32_t lParam) {
        return applyHookEventAt(rules.state, rules.times, rules.gate, rules.pause,
            decodeHookEvent(HookKeyboard, lParam), now += 1000, kWheelPeriod)
            .changed;
    };
    const auto& keys = rules.state.keyState;
    for (const auto& [lParam, a] : {std::pair{0x00010041u, 1}, {0x00000041u, 0}, {0xFFFF0041u, 1},
             {0x00000041u, 0}, {0x80000041u, 1}, {0x00000041u, 0}, {0x00010141u, 0}}) {
        apply(lParam);
        EXPECT_EQ(keys[0x41], a) << std::hex << lParam;
    }
    auto f2f3f4 = [&] { return std::tuple(keys[0xF2], keys[0xF3], keys[0xF4]); };
    apply(0x000100F2u);
    apply(0x000100F4u);
    EXPECT_EQ(apply(0x000100F3u), std::bitset<kInputSlotCount>{}.set(0xF2).set(0xF3));
    EXPECT_EQ(f2f3f4(), std::tuple(0, 1, 1));
    apply(0x000100F2u);
    apply(0x000000F3u);
    EXPECT_EQ(f2f3f4(), std::tuple(0, 0, 1));
}

// The pause's chord and its darkness, each step long after the one before.
TEST(PauseRule, BothCtrlKeysToggleAndWhatIsHeldThenStaysDarkUntilPressedAgain)
{
    constexpr unsigned L = kLeftCtrlCode, R = kRightCtrlCode, A = 0x41, click = 256 + PointerLeft,
                       wheel = 256 + PointerWheelUp;
    struct Move {
        Act act;
        unsigned code = 0;
    };
    struct Seen {
        int toggles = 0;
        bool paused = false;
        std::vector<unsigned> lit;
        bool operator==(const Seen&) const = default;
    };
    const struct {
        const char* what;
        std::vector<Move> steps; // each a second after the one before
        Seen seen;
    } rows[] = {
        {"left, then right Ctrl", {{press, L}, {press, R}, {release, L}, {release, R}, {press, A}},
            {1, true, {}}},
        {"right, then left Ctrl, keys held before go dark",
            {{press, A}, {press, click}, {press, R}, {press, L}}, {1, true, {}}},
        {"one Ctrl held, the other tapped twice",
            {{press, L}, {press, R}, {release, R}, {press, R}, {release, R}}, {2, false, {}}},
        {"the second Ctrl reported twice", {{press, L}, {press, R}, {press, R}}, {1, true, {}}},
        {"one Ctrl alone, reported twice", {{press, L}, {press, L}, {release, R}, {release, L}, {press, L}},
            {0, false, {L}}},
        {"the chord again: its keys stay dark, a new press lights",
            {{press, L}, {press, R}, {release, R}, {release, L}, {press, L}, {press, R}, {press, A}},
            {2, false, {A}}},
        {"held through the pause", {{press, A}, {pauseItem}, {press, click}, {pauseItem}, {press, L}},
            {2, false, {L}}},
        {"held through, then pressed again",
            {{press, A}, {pauseItem}, {press, click}, {pauseItem}, {release, A}, {press, A}, {release, click},
                {press, click}},
            {2, false, {A, click}}},
        {"the wheel", {{pauseItem}, {press, wheel}}, {1, true, {}}},
        {"the wheel after the pause", {{pauseItem}, {press, wheel}, {pauseItem}, {press, wheel}},
            {2, false, {wheel}}},
        // The auto code's event releases the copy code, whose release is never reported.
        {"the copy code",
            {{press, 0xF2}, {pauseItem}, {pauseItem}, {press, 0xF3}, {release, 0xF3}, {press, 0xF2}},
            {2, false, {0xF2}}},
        {"held back for the judge through the pause",
            {{focusMoves}, {press, A}, {pauseItem}, {pauseItem}, {notPassword}}, {2, false, {}}},
    };
    for (const auto& [what, steps, expected] : rows) {
        Rules rules;
        Seen seen;
        std::uint64_t now = 0;
        for (const Move& step : steps) {
            const bool wasPaused = rules.pause.on;
            rules.apply({now += 1000, step.act, step.code});
            seen.toggles += rules.pause.on != wasPaused;
        }
        for (unsigned slot = 0; slot < kInputSlotCount; ++slot)
            if (slotState(rules.state, slot))
                seen.lit.push_back(slot);
        seen.paused = rules.pause.on;
        EXPECT_EQ(seen, expected) << what;
    }
}

} // namespace
