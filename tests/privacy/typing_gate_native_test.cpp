#include <gtest/gtest.h>

#include "display/input_change.h"

namespace {

constexpr unsigned kA = 0x41;
constexpr unsigned kB = 0x42;
constexpr unsigned kShift = 0xA0;

// The key bytes as the window keeps them, fed through the gate; each step a second after the one
// before, so that the minimum is over.
struct Keys {
    InputState state{};
    LitTimes times{};
    TypingGate gate;
    Pause pause;
    std::uint64_t now = 0;

    Keys& press(unsigned code) { return event(code, true); }
    Keys& release(unsigned code) { return event(code, false); }
    Keys& event(unsigned code, bool pressed)
    {
        applyHookEventAt(state, times, gate, pause, HookEvent{0, code, pressed}, tick(), 1000);
        return *this;
    }
    void answer(TypingAnswer answer) { followTypingAnswer(state, times, gate, pause, answer, tick()); }
    std::uint64_t tick()
    {
        now += 1000;
        endMinimumLit(state, times, now);
        return now;
    }
    bool lit(unsigned code) const { return state.keyState[code] != 0; }
};

TEST(TypingGate, PressesAfterAFocusMoveWaitForTheAnswerAndKeysLitBeforeStayLit)
{
    Keys keys;
    keys.press(kShift);
    EXPECT_TRUE(keys.gate.focusMoved());
    EXPECT_FALSE(keys.gate.focusMoved());
    keys.press(kShift).press(kA); // the held Shift repeats
    EXPECT_TRUE(keys.lit(kShift));
    EXPECT_FALSE(keys.lit(kA));
    keys.answer(TypingAnswer::notPassword);
    EXPECT_TRUE(keys.lit(kA));
    keys.press(kB);
    EXPECT_TRUE(keys.lit(kB));
}

TEST(TypingGate, APasswordAnswerDarkensEverythingUntilEachKeyIsReleased)
{
    Keys keys;
    keys.press(kShift);
    keys.gate.focusMoved();
    keys.press(kA).press(kB).release(kB);
    keys.answer(TypingAnswer::password);
    EXPECT_FALSE(keys.lit(kShift));
    EXPECT_FALSE(keys.lit(kA));
    EXPECT_FALSE(keys.lit(kB));
    keys.gate.focusMoved();
    keys.answer(TypingAnswer::notPassword);
    keys.press(kA).press(kB); // A still held from the password field; B pressed afresh
    EXPECT_FALSE(keys.lit(kA));
    EXPECT_TRUE(keys.lit(kB));
    keys.release(kA).press(kA);
    EXPECT_TRUE(keys.lit(kA));
}

TEST(TypingGate, AtTheLimitWhatWaitsShowsAndALaterPasswordAnswerStillHides)
{
    Keys keys;
    keys.gate.focusMoved();
    keys.press(kA).press(kB).release(kB);
    keys.answer(TypingAnswer::noAnswerInTime);
    EXPECT_TRUE(keys.lit(kA));
    EXPECT_TRUE(keys.lit(kB)); // released while it waited: lit for its minimum
    EXPECT_FALSE(keys.gate.waiting());
    keys.press(kB);
    EXPECT_TRUE(keys.lit(kB));
    keys.answer(TypingAnswer::password);
    EXPECT_FALSE(keys.lit(kA));
    EXPECT_FALSE(keys.lit(kB));
}

// The カタカナ ひらがな key reports no release of its own: the 半角/全角 key's event stands for it.
TEST(TypingGate, TheAutoCodeEndsTheCopyCodesHiddenPressLikeARelease)
{
    Keys keys;
    keys.answer(TypingAnswer::password);
    keys.press(0xF2);
    keys.answer(TypingAnswer::notPassword);
    keys.press(0xF2);
    EXPECT_FALSE(keys.lit(0xF2));
    keys.release(0xF3).press(0xF2);
    EXPECT_TRUE(keys.lit(0xF2));
}

} // namespace
