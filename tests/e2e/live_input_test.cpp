// Real keys, buttons and wheel notches, sent through the system's input queue, light up exactly
// their rectangles on the running program's keyboard picture, and minimising clears them.
#include <gtest/gtest.h>

#include "e2e_helpers.h"

using namespace e2e;
using namespace testing_support;

TEST(LiveInput, HeldKeysButtonAndWheelLightTheirRectanglesUntilReleasedOrMinimised)
{
    ASSERT_FALSE(programPressedPicture().empty());
    SettingsValues settings;
    settings.wheelInitTime = 1500; // long enough to see a lit arrow on a busy machine
    InstalledProgram program;
    const HWND window = startShowingBasePicture(program, settings.text());
    ASSERT_NE(window, nullptr);
    parkPointerAwayFrom(window);
    {
        Held a('A', 0x1E);
        EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kKeyA})));
        Held shift(VK_LSHIFT, 0x2A);
        EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kKeyA, kLeftShift})));
        Held ctrl(VK_RCONTROL, 0x1D, true);
        EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kKeyA, kLeftShift, kRightCtrl})));
        Held button(VK_LBUTTON);
        EXPECT_TRUE(
            program.waitForPicture(programPictureWithLit({kKeyA, kLeftShift, kRightCtrl, kLeftButton})));
        a.release();
        EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kLeftShift, kRightCtrl, kLeftButton})));
        shift.release();
        ctrl.release();
        EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kLeftButton})));
        button.release();
        EXPECT_TRUE(program.waitForPicture(programBasePicture()));
    }
    // A notch lights its arrow and darkens the other; the wheel time clears it.
    turnWheel(true);
    EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kWheelUp})));
    turnWheel(false);
    EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kWheelDown})));
    EXPECT_TRUE(program.waitForPicture(programBasePicture()));
    {
        Held a('A', 0x1E);
        Held button(VK_LBUTTON);
        ASSERT_TRUE(program.waitForPicture(programPictureWithLit({kKeyA, kLeftButton})));
        ASSERT_TRUE(minimise(window));
        ASSERT_TRUE(restore(window));
        EXPECT_TRUE(program.waitForPicture(programBasePicture())) << "minimising did not clear the keys";
    }
    EXPECT_TRUE(program.closeCleanly());
}
