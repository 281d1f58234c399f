// Real keys, buttons and wheel notches, sent through the system's input queue, light up on the
// running program's keyboard picture.
#include <gtest/gtest.h>

#include "keyboard_screen.h"
#include "program_driver.h"
#include "settings_file.h"

using namespace e2e;

namespace {

class LiveInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(basePicture().empty());
        ASSERT_FALSE(pressedPicture().empty());
        ASSERT_TRUE(copy.ready());
        ASSERT_TRUE(copy.writeSettings(settings.text()));
        ASSERT_TRUE(program.start(copy));
        window = program.waitForWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(differencesAfterWaiting(window, basePicture()), 0);
        parkPointerAwayFrom(window);
    }
    void TearDown() override { EXPECT_EQ(program.closeAndWait(), 0u); }

    SettingsValues settings = [] {
        SettingsValues values;
        values.wheelInitTime = 1500; // long enough to see a lit arrow on a busy machine
        return values;
    }();
    InstalledCopy copy;
    RunningCopy program;
    HWND window = nullptr;
};

TEST_F(LiveInput, HeldKeysAndButtonLightExactlyTheirRectanglesUntilReleased)
{
    HeldKey a('A', 0x1E);
    EXPECT_EQ(differencesAfterWaiting(window, pictureWithLit({kKeyA})), 0);
    HeldKey shift(VK_LSHIFT, 0x2A);
    EXPECT_EQ(differencesAfterWaiting(window, pictureWithLit({kKeyA, kLeftShift})), 0);
    HeldKey ctrl(VK_RCONTROL, 0x1D, true);
    EXPECT_EQ(differencesAfterWaiting(window, pictureWithLit({kKeyA, kLeftShift, kRightCtrl})), 0);
    HeldLeftButton button;
    EXPECT_EQ(
        differencesAfterWaiting(window, pictureWithLit({kKeyA, kLeftShift, kRightCtrl, kLeftButton})), 0);

    a.release();
    EXPECT_EQ(differencesAfterWaiting(window, pictureWithLit({kLeftShift, kRightCtrl, kLeftButton})), 0);
    shift.release();
    ctrl.release();
    EXPECT_EQ(differencesAfterWaiting(window, pictureWithLit({kLeftButton})), 0);
    button.release();
    EXPECT_EQ(differencesAfterWaiting(window, basePicture()), 0);
}

TEST_F(LiveInput, WheelNotchLightsItsArrowDarkensTheOtherAndClearsAfterTheWheelTime)
{
    turnWheel(true);
    EXPECT_EQ(differencesAfterWaiting(window, pictureWithLit({kWheelUp})), 0);
    turnWheel(false);
    EXPECT_EQ(differencesAfterWaiting(window, pictureWithLit({kWheelDown})), 0);
    EXPECT_EQ(differencesAfterWaiting(window, basePicture()), 0);
}

TEST_F(LiveInput, MinimisingClearsHeldKeysAsSeenAfterRestoring)
{
    HeldKey a('A', 0x1E);
    HeldLeftButton button;
    ASSERT_EQ(differencesAfterWaiting(window, pictureWithLit({kKeyA, kLeftButton})), 0);

    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(window) != FALSE; }));
    PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsIconic(window) && IsWindowVisible(window); }));
    EXPECT_EQ(differencesAfterWaiting(window, basePicture()), 0);
}

} // namespace
