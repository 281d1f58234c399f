#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>
#include <utility>

#include "common/process_globals.h"
#include "display/input_state.h"
#include "settings/app_settings.h"
#include "support/win32_test_helpers.h"

using testing_support::pumpUntil;
using testing_support::TestWindow;

namespace {

LRESULT CALLBACK wheelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        if (wParam == MINIMUM_LIT_TIMER_ID)
            expireMinimumLit(window);
        else
            expireWheel(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LPARAM press(unsigned code) { return static_cast<LPARAM>(0x00010000u | code); }
LPARAM release(unsigned code) { return static_cast<LPARAM>(code); }
bool sameState(const InputState& a, const InputState& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Each test runs against a real window and the real wheel timer.
class InputStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainWindow = window.get();
        ASSERT_NE(mainWindow, nullptr);
        clearAll();
        WheelInitTime = 1000;
        settle();
    }
    void TearDown() override
    {
        KillTimer(mainWindow, WHEEL_TIMER_ID);
        clearAll();
        mainWindow = nullptr;
    }

    // Forgets earlier repaint requests.
    void settle()
    {
        ValidateRect(mainWindow, nullptr);
        redrawPending = 0;
    }
    bool repaintRequested() const { return redrawPending == 1 && GetUpdateRect(mainWindow, nullptr, FALSE); }
    // Probing the timer stops it: true when it was running.
    bool wheelTimerRunning() const { return KillTimer(mainWindow, WHEEL_TIMER_ID) != 0; }

    unsigned char key(unsigned code) const { return inputState.keyState[code]; }
    unsigned char slot(unsigned index) const { return inputState.pointerState[index]; }

    TestWindow window{wheelWindowProc};
};

// A tap's release waits on the window's timer for the end of the minimum, then asks for its
// paint.
TEST_F(InputStateTest, EachEventAsksForARepaintAndATapsReleaseComesWithItsTimer)
{
    applyHookEvent(HookKeyboard, press(0x41));
    EXPECT_EQ(key(0x41), 1);
    EXPECT_TRUE(repaintRequested());
    settle();
    applyHookEvent(HookKeyboard, release(0x41));
    EXPECT_EQ(key(0x41), 1);
    EXPECT_TRUE(repaintRequested());
    settle();
    ASSERT_TRUE(pumpUntil([&] { return key(0x41) == 0; }, 3000));
    EXPECT_EQ(redrawPending, 1);
}

TEST_F(InputStateTest, WheelNotchesLightOneArrowAndStartTheTimerWhichTheirReleaseLeavesRunning)
{
    applyHookEvent(HookMouse, press(PointerWheelDown));
    EXPECT_EQ(slot(PointerWheelDown), 1);
    applyHookEvent(HookMouse, press(PointerWheelUp));
    EXPECT_EQ(slot(PointerWheelUp), 1);
    EXPECT_EQ(slot(PointerWheelDown), 0);
    EXPECT_TRUE(wheelTimerRunning());

    applyHookEvent(HookMouse, press(PointerWheelDown));
    EXPECT_EQ(slot(PointerWheelUp), 0);
    EXPECT_EQ(slot(PointerWheelDown), 1);
    for (unsigned arrow : {PointerWheelUp, PointerWheelDown}) {
        applyHookEvent(HookMouse, press(arrow));
        applyHookEvent(HookMouse, release(arrow));
        EXPECT_EQ(slot(arrow), 0);
        EXPECT_TRUE(wheelTimerRunning()) << arrow;
    }
}

// The period itself is the rule's, tested natively; here the window's timer carries it out.
TEST_F(InputStateTest, TheWheelTimerDarkensTheArrowAsksForAPaintAndStops)
{
    WheelInitTime = 50;
    applyHookEvent(HookMouse, press(PointerWheelUp));
    settle();
    ASSERT_TRUE(pumpUntil([&] { return slot(PointerWheelUp) == 0; }, 5000));
    EXPECT_EQ(redrawPending, 1);
    EXPECT_FALSE(wheelTimerRunning()) << "the indicator is one-shot";
}

TEST_F(InputStateTest, MiddleButtonChangesOnlyItsSlotAndStartsNoTimer)
{
    applyHookEvent(HookMouse, press(PointerMiddle));
    InputState expected{};
    expected.pointerState[PointerMiddle] = 1;
    EXPECT_TRUE(sameState(expected, inputState));
    EXPECT_FALSE(wheelTimerRunning());
}

TEST_F(InputStateTest, UnknownDevicesAndCodesChangeNothingButStillAskForARepaint)
{
    const InputState before = inputState;
    for (const auto& [device, code] :
        {std::pair<WPARAM, unsigned>{2, 0x41}, {HookMouse, 7}, {HookKeyboard, 0x141}}) {
        applyHookEvent(device, press(code));
        EXPECT_TRUE(repaintRequested()) << device << " " << code;
        settle();
    }
    EXPECT_TRUE(sameState(before, inputState));
    EXPECT_FALSE(wheelTimerRunning());
}

TEST_F(InputStateTest, ClearAllReleasesEverythingWithoutTouchingTheTimer)
{
    applyHookEvent(HookKeyboard, press(0xA0));
    applyHookEvent(HookMouse, press(PointerLeft));
    applyHookEvent(HookMouse, press(PointerWheelDown));
    settle();
    clearAll();
    EXPECT_TRUE(sameState(InputState{}, inputState));
    EXPECT_EQ(redrawPending, 0);
    EXPECT_TRUE(wheelTimerRunning());
}

TEST_F(InputStateTest, EveryByteStaysZeroOrOneUnderRandomEvents)
{
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        const WPARAM device = (random() & 3) == 0 ? static_cast<WPARAM>(random()) : random() & 1;
        applyHookEvent(device, static_cast<LPARAM>(random()));
    }
    for (unsigned char byte : inputState.keyState)
        ASSERT_LE(byte, 1);
    for (unsigned char byte : inputState.pointerState)
        ASSERT_LE(byte, 1);
}

} // namespace
