#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "key_tracker.h"

using keyhook::KeyInput;
using keyhook::KeyTracker;
using keyhook::KeyTransition;

namespace {

// The system's virtual-key codes, as Windows documents them.
constexpr unsigned VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_END = 0x23,
                   VK_HOME = 0x24, VK_NUMPAD1 = 0x61, VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2,
                   VK_RCONTROL = 0xA3, VK_RMENU = 0xA5;
constexpr unsigned kFakeLeftShiftScan = 0x22A;

KeyInput down(unsigned vk, unsigned scan, bool extended = false)
{
    return KeyInput{vk, scan, extended, false};
}
KeyInput up(unsigned vk, unsigned scan, bool extended = false) { return KeyInput{vk, scan, extended, true}; }

std::optional<KeyTransition> pressed(unsigned code) { return KeyTransition{code, true}; }
std::optional<KeyTransition> released(unsigned code) { return KeyTransition{code, false}; }

// Runs one stuck-key round against a system that holds exactly the given codes.
std::vector<KeyTransition> poll(KeyTracker& tracker, std::vector<unsigned> systemHeld)
{
    std::vector<KeyTransition> emitted;
    tracker.pollReleases([&](unsigned vk) { return std::ranges::find(systemHeld, vk) != systemHeld.end(); },
        [&](KeyTransition transition) { emitted.push_back(transition); });
    return emitted;
}

// Beyond the sided pairs that real input checks: no scan code, an extended right Shift, codes that
// are sided already or no modifier.
TEST(SidedCode, CasesThatRealInputDoesNotSend)
{
    EXPECT_EQ(keyhook::sidedCode(VK_SHIFT, 0, false), unsigned{VK_LSHIFT});
    EXPECT_EQ(keyhook::sidedCode(VK_SHIFT, 0x36, true), unsigned{VK_RSHIFT});
    EXPECT_EQ(keyhook::sidedCode(VK_RCONTROL, 0x1D, false), unsigned{VK_RCONTROL});
    EXPECT_EQ(keyhook::sidedCode('A', 0x1E, true), unsigned{'A'});
}

// Auto-repeat, a release under another code and the fake Shift around a keypad key are checked
// with real input; these are the decisions that real input cannot reach under Wine, which keeps
// its key state by code.
TEST(KeyTracker, TheGreyHomeKeyIsAnotherKeyWithTheSameCode)
{
    KeyTracker tracker;
    EXPECT_EQ(tracker.onKey(down(VK_HOME, 0x47, true)), pressed(VK_HOME));
    EXPECT_EQ(tracker.onKey(up(VK_HOME, 0x47)), std::nullopt);
    EXPECT_TRUE(tracker.isHeld(VK_HOME));
    EXPECT_EQ(tracker.onKey(up(VK_HOME, 0x47, true)), released(VK_HOME));
}

TEST(KeyTracker, KeysWithoutScanCodesAreMatchedByCode)
{
    KeyTracker tracker;
    EXPECT_EQ(tracker.onKey(down(VK_SHIFT, 0)), pressed(VK_LSHIFT));
    EXPECT_EQ(tracker.onKey(up(VK_LSHIFT, 0)), released(VK_LSHIFT));
    // A physical press released by a program that gives no scan code.
    EXPECT_EQ(tracker.onKey(down('B', 0x30)), pressed('B'));
    EXPECT_EQ(tracker.onKey(up('B', 0)), released('B'));
    // A release that belongs to no key reported down is not reported.
    EXPECT_EQ(tracker.onKey(up('C', 0x2E)), std::nullopt);
    EXPECT_EQ(tracker.onKey(down('C', 0x2E)), pressed('C'));
    EXPECT_EQ(tracker.onKey(up('C', 0x2F)), std::nullopt);
    EXPECT_TRUE(tracker.isHeld('C'));
}

// Both Enter keys: lit until both are up, and released once by the guard when both are gone.
TEST(KeyTracker, TwoKeysWithOneCodeStayLitUntilBothAreUp)
{
    KeyTracker tracker;
    EXPECT_EQ(tracker.onKey(down(VK_RETURN, 0x1C)), pressed(VK_RETURN));
    EXPECT_EQ(tracker.onKey(down(VK_RETURN, 0x1C, true)), std::nullopt);
    EXPECT_EQ(tracker.onKey(up(VK_RETURN, 0x1C)), std::nullopt);
    EXPECT_EQ(tracker.onKey(up(VK_RETURN, 0x1C, true)), released(VK_RETURN));
    tracker.onKey(down(VK_RETURN, 0x1C));
    tracker.onKey(down(VK_RETURN, 0x1C, true));
    EXPECT_EQ(poll(tracker, {}), (std::vector<KeyTransition>{{VK_RETURN, false}}));
    EXPECT_FALSE(tracker.needsPolling());
}

// Keys without a code; made-up Shift events while no Shift is held; the keyboard's own E0 2A
// before a grey navigation key.
TEST(KeyTracker, IgnoresEventsWithoutAKeyCodeOrARealShift)
{
    KeyTracker tracker;
    EXPECT_EQ(tracker.onKey(down(0, 0x2A)), std::nullopt);
    EXPECT_EQ(tracker.onKey(down(0xFF, 0x70)), std::nullopt);
    EXPECT_EQ(tracker.onKey(down(VK_RSHIFT, 0x236)), std::nullopt);
    EXPECT_EQ(tracker.onKey(up(VK_RSHIFT, 0x236)), std::nullopt);
    EXPECT_EQ(tracker.onKey(down(VK_LSHIFT, 0x2A, true)), std::nullopt);
    EXPECT_FALSE(tracker.needsPolling());
}

// A key found held when the hooks were put back: lit once, whether or not its press comes late.
TEST(KeyTracker, AKeyFoundHeldIsLitOnceAndReleasedByItsRealRelease)
{
    KeyTracker tracker;
    EXPECT_EQ(tracker.onHeldBySystem('A'), pressed('A'));
    EXPECT_EQ(tracker.onHeldBySystem('A'), std::nullopt);
    EXPECT_EQ(tracker.onKey(down('A', 0x1E)), std::nullopt);
    EXPECT_EQ(tracker.onKey(up('A', 0x1E)), released('A'));
    EXPECT_EQ(tracker.onHeldBySystem('B'), pressed('B'));
    EXPECT_EQ(tracker.onKey(up('B', 0x30)), released('B'));
    EXPECT_FALSE(tracker.needsPolling());
}

TEST(KeyTracker, IsFullAtSixtyFourHeldKeysAndThenLightsNothingMore)
{
    KeyTracker tracker;
    for (unsigned scan = 1; scan <= KeyTracker::kMaxHeld; ++scan)
        ASSERT_EQ(tracker.onKey(down(0x30 + scan, scan)), pressed(0x30 + scan));
    const unsigned extraScan = KeyTracker::kMaxHeld + 1;
    EXPECT_EQ(tracker.onKey(down(0xE5, extraScan)), std::nullopt);
    EXPECT_EQ(tracker.onKey(up(0xE5, extraScan)), std::nullopt);
    EXPECT_EQ(tracker.onKey(up(0x31, 1)), released(0x31));
}

TEST(StuckKeyGuard, ReleasesOnlyWhatTheSystemNoLongerHolds)
{
    KeyTracker tracker;
    EXPECT_FALSE(tracker.needsPolling());
    tracker.onKey(down('A', 0x1E));
    tracker.onKey(down(VK_LCONTROL, 0x1D));
    tracker.onKey(down(VK_RMENU, 0x38, true));
    EXPECT_TRUE(tracker.needsPolling());
    EXPECT_TRUE(poll(tracker, {'A', VK_LCONTROL, VK_RMENU}).empty());
    // A sided modifier is still held while the system reports its side-neutral code.
    EXPECT_EQ(poll(tracker, {VK_CONTROL, VK_MENU}), (std::vector<KeyTransition>{{'A', false}}));
    EXPECT_EQ(poll(tracker, {}), (std::vector<KeyTransition>{{VK_LCONTROL, false}, {VK_RMENU, false}}));
    EXPECT_FALSE(tracker.needsPolling());
    // Its real release arriving late is not reported a second time.
    EXPECT_EQ(tracker.onKey(up('A', 0x1E)), std::nullopt);
}

TEST(StuckKeyGuard, TrustsShiftTheSystemLetGoOfUntilItIsGoneForGood)
{
    KeyTracker tracker;
    tracker.onKey(down(VK_LSHIFT, 0x2A));
    tracker.onKey(up(VK_LSHIFT, kFakeLeftShiftScan));
    tracker.onKey(down(VK_END, 0x4F));
    for (int round = 0; round < 5; ++round)
        EXPECT_TRUE(poll(tracker, {VK_END}).empty());
    // The keypad key is gone and the system never pressed Shift again: the user let go of it
    // unseen. One round of grace for the system's own press, then it is released.
    tracker.onKey(up(VK_END, 0x4F));
    EXPECT_TRUE(poll(tracker, {}).empty());
    EXPECT_EQ(poll(tracker, {}), (std::vector<KeyTransition>{{VK_LSHIFT, false}}));
    EXPECT_FALSE(tracker.needsPolling());

    // A Shift that the system pressed again is checked like any key.
    tracker.onKey(down(VK_RSHIFT, 0x36));
    tracker.onKey(up(VK_RSHIFT, 0x236));
    tracker.onKey(down(VK_NUMPAD1, 0x4F));
    tracker.onKey(up(VK_NUMPAD1, 0x4F));
    tracker.onKey(down(VK_RSHIFT, 0x36));
    EXPECT_TRUE(poll(tracker, {VK_RSHIFT}).empty());
    EXPECT_EQ(poll(tracker, {}), (std::vector<KeyTransition>{{VK_RSHIFT, false}}));
}

} // namespace
