#include <gtest/gtest.h>

#include "privacy/typing_gate.h"

namespace {

constexpr unsigned kA = 0x41;
constexpr unsigned kB = 0x42;
constexpr unsigned kShift = 0xA0;

// The key bytes as the window keeps them, fed through the gate.
struct Keys {
    TypingGate gate;
    unsigned char state[256]{};

    Keys& press(unsigned code) { return event(code, true); }
    Keys& release(unsigned code) { return event(code, false); }
    Keys& event(unsigned code, bool pressed)
    {
        if (gate.admits(code, pressed))
            state[code] = pressed;
        return *this;
    }
    bool lit(unsigned code) const { return state[code] != 0; }
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
    keys.gate.judged(false, keys.state);
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
    keys.gate.judged(true, keys.state);
    EXPECT_FALSE(keys.lit(kShift));
    EXPECT_FALSE(keys.lit(kA));
    keys.gate.focusMoved();
    keys.gate.judged(false, keys.state);
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
    keys.gate.stopWaiting(keys.state);
    EXPECT_TRUE(keys.lit(kA));
    EXPECT_FALSE(keys.lit(kB)); // released while it waited
    EXPECT_FALSE(keys.gate.waiting());
    keys.press(kB);
    EXPECT_TRUE(keys.lit(kB));
    keys.gate.judged(true, keys.state);
    EXPECT_FALSE(keys.lit(kA));
    EXPECT_FALSE(keys.lit(kB));
}

} // namespace
