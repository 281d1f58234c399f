#include <gtest/gtest.h>

#include <vector>

#include "mouse_events.h"

using keyhook::ButtonTracker;
using keyhook::PointerTransition;
using keyhook::pointerTransitionOf;

namespace {

constexpr DWORD wheel(int delta) { return static_cast<DWORD>(static_cast<WORD>(delta)) << 16; }

std::vector<PointerTransition> poll(ButtonTracker& tracker, std::vector<int> systemHeld, bool swapped)
{
    std::vector<PointerTransition> emitted;
    tracker.pollReleases(
        [&](int vk) {
            for (int held : systemHeld) {
                if (held == vk)
                    return true;
            }
            return false;
        },
        swapped, [&](PointerTransition transition) { emitted.push_back(transition); });
    return emitted;
}

TEST(PointerTransitionOf, ButtonsGiveTheirSlotsPressAndRelease)
{
    EXPECT_EQ(pointerTransitionOf(WM_LBUTTONDOWN, 0), (PointerTransition{0, true}));
    EXPECT_EQ(pointerTransitionOf(WM_LBUTTONUP, 0), (PointerTransition{0, false}));
    EXPECT_EQ(pointerTransitionOf(WM_RBUTTONDOWN, 0), (PointerTransition{1, true}));
    EXPECT_EQ(pointerTransitionOf(WM_RBUTTONUP, 0), (PointerTransition{1, false}));
    EXPECT_EQ(pointerTransitionOf(WM_MBUTTONDOWN, 0), (PointerTransition{2, true}));
    EXPECT_EQ(pointerTransitionOf(WM_MBUTTONUP, 0), (PointerTransition{2, false}));
}

TEST(PointerTransitionOf, EachWheelMessageIsOnePressWhateverItsSize)
{
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEWHEEL, wheel(120)), (PointerTransition{3, true}));
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEWHEEL, wheel(30)), (PointerTransition{3, true}));
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEWHEEL, wheel(360)), (PointerTransition{3, true}));
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEWHEEL, wheel(-120)), (PointerTransition{4, true}));
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEWHEEL, wheel(-1)), (PointerTransition{4, true}));
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEWHEEL, wheel(0)), std::nullopt);
}

TEST(PointerTransitionOf, MovementXButtonsAndHorizontalWheelGiveNothing)
{
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEMOVE, 0), std::nullopt);
    EXPECT_EQ(pointerTransitionOf(WM_XBUTTONDOWN, XBUTTON1 << 16), std::nullopt);
    EXPECT_EQ(pointerTransitionOf(WM_XBUTTONUP, XBUTTON2 << 16), std::nullopt);
    EXPECT_EQ(pointerTransitionOf(WM_MOUSEHWHEEL, wheel(120)), std::nullopt);
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

TEST(ButtonTracker, GuardReleasesButtonsTheSystemNoLongerHolds)
{
    ButtonTracker tracker;
    tracker.onPointer({0, true});
    tracker.onPointer({2, true});
    EXPECT_TRUE(poll(tracker, {VK_LBUTTON, VK_MBUTTON}, false).empty());
    EXPECT_EQ(poll(tracker, {VK_LBUTTON}, false), (std::vector<PointerTransition>{{2, false}}));
    EXPECT_EQ(poll(tracker, {VK_RBUTTON}, false), (std::vector<PointerTransition>{{0, false}}));
    EXPECT_FALSE(tracker.needsPolling());
    EXPECT_EQ(tracker.onPointer({0, false}), std::nullopt);
}

TEST(ButtonTracker, WithSwappedButtonsEitherPhysicalButtonKeepsTheSlot)
{
    ButtonTracker tracker;
    tracker.onPointer({0, true});
    EXPECT_TRUE(poll(tracker, {VK_RBUTTON}, true).empty());
    EXPECT_EQ(poll(tracker, {VK_MBUTTON}, true), (std::vector<PointerTransition>{{0, false}}));
}

} // namespace
