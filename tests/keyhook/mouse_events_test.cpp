#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "mouse_events.h"

using keyhook::ButtonTracker;
using keyhook::PointerTransition;
using keyhook::pointerTransitionOf;

namespace {

constexpr DWORD wheel(int delta) { return static_cast<DWORD>(static_cast<WORD>(delta)) << 16; }

std::vector<PointerTransition> poll(
    ButtonTracker& tracker, std::vector<int> systemHeld, bool swapped, bool presses = false)
{
    std::vector<PointerTransition> emitted;
    const auto isDown = [&](int vk) { return std::ranges::find(systemHeld, vk) != systemHeld.end(); };
    const auto emit = [&](PointerTransition transition) { emitted.push_back(transition); };
    if (presses)
        tracker.pollPresses(isDown, swapped, emit);
    else
        tracker.pollReleases(isDown, swapped, emit);
    return emitted;
}

// Real input checks the buttons, whole and partial notches and what is ignored; these are the
// wheel messages that it cannot send.
TEST(PointerTransitionOf, SmallestNotchesAndAZeroDelta)
{
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEWHEEL, wheel(1)), (PointerTransition{3, true}));
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEWHEEL, wheel(-1)), (PointerTransition{4, true}));
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEWHEEL, wheel(0)), std::nullopt);
    EXPECT_EQ(pointerTransitionOf(WM_XBUTTONUP, XBUTTON2 << 16), std::nullopt);
}

TEST(ButtonTracker, ReportsButtonTransitionsOnceAndEveryWheelNotch)
{
    ButtonTracker tracker;
    EXPECT_EQ(tracker.onPointer({0, false}), std::nullopt);
    EXPECT_EQ(tracker.onPointer({0, true}), (PointerTransition{0, true}));
    EXPECT_EQ(tracker.onPointer({0, true}), std::nullopt);
    EXPECT_EQ(tracker.onPointer({3, true}), (PointerTransition{3, true}));
    EXPECT_EQ(tracker.onPointer({3, true}), (PointerTransition{3, true}));
    EXPECT_TRUE(tracker.needsPolling());
    EXPECT_EQ(tracker.onPointer({0, false}), (PointerTransition{0, false}));
    EXPECT_FALSE(tracker.needsPolling());
    EXPECT_EQ(tracker.onPointer({4, true}), (PointerTransition{4, true}));
    EXPECT_FALSE(tracker.needsPolling());
}

// With swapped buttons the system's key state names the other physical button, for presses and
// releases alike.
TEST(ButtonTracker, FollowsTheButtonsTheSystemHolds)
{
    ButtonTracker tracker;
    tracker.onPointer({0, true});
    tracker.onPointer({2, true});
    EXPECT_TRUE(poll(tracker, {VK_LBUTTON, VK_MBUTTON}, false).empty());
    EXPECT_EQ(poll(tracker, {VK_LBUTTON}, false), (std::vector<PointerTransition>{{2, false}}));
    EXPECT_EQ(poll(tracker, {VK_RBUTTON}, false), (std::vector<PointerTransition>{{0, false}}));
    EXPECT_FALSE(tracker.needsPolling());
    EXPECT_EQ(tracker.onPointer({0, false}), std::nullopt);

    tracker.onPointer({0, true});
    EXPECT_TRUE(poll(tracker, {VK_RBUTTON}, true).empty());
    EXPECT_EQ(poll(tracker, {VK_LBUTTON}, true), (std::vector<PointerTransition>{{0, false}}));
    EXPECT_EQ(poll(tracker, {VK_LBUTTON, VK_MBUTTON}, true, true),
        (std::vector<PointerTransition>{{1, true}, {2, true}}));
}

} // namespace
