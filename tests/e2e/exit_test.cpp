// Closing the program: what it leaves in its settings file and how it ends.
#include <gtest/gtest.h>

#include "program_driver.h"
#include "settings_file.h"

using namespace e2e;

namespace {

TEST(Exit, FirstRunWritesNothingWhileRunningThenEverySettingSortedWithTheClosingPosition)
{
    InstalledCopy copy;
    ASSERT_TRUE(copy.ready());
    RunningCopy program;
    ASSERT_TRUE(program.start(copy));
    const HWND window = program.waitForWindow();
    ASSERT_NE(window, nullptr);

    // The user drags the window somewhere else.
    SetWindowPos(window, nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(program.sync());
    EXPECT_FALSE(copy.hasSettings()) << "written before the program ended";

    EXPECT_EQ(program.closeAndWait(), 0u);
    SettingsValues expected;
    expected.left = 120;
    expected.top = 80;
    EXPECT_EQ(copy.settingsLines(), expected.lines());
    EXPECT_EQ(copy.settingsText(), expected.text()) << "line ends";
}

TEST(Exit, ClosingWhileMinimisedRecordsTheRestoredPosition)
{
    InstalledCopy copy;
    ASSERT_TRUE(copy.ready());
    SettingsValues settings;
    settings.left = 200;
    settings.top = 100;
    ASSERT_TRUE(copy.writeSettings(settings.text()));
    RunningCopy program;
    ASSERT_TRUE(program.start(copy));
    const HWND window = program.waitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(windowRect(window).left, 200);

    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(window) != FALSE; }));
    EXPECT_EQ(program.closeAndWait(), 0u);
    EXPECT_EQ(copy.settingsLines(), settings.lines());
}

TEST(Exit, OtherKeysOfThePreparedFileAreKeptAndOutOfRangeValuesCorrected)
{
    InstalledCopy copy;
    ASSERT_TRUE(copy.ready());
    ASSERT_TRUE(copy.writeSettings("; mine\r\n[Window]\r\nLeft=-1\r\nDefaultPosition=12\r\nColour=blue\r\n"
                                   "[System]\r\nWheelInitTime=-5\r\n"));
    RunningCopy program;
    ASSERT_TRUE(program.start(copy));
    const HWND window = program.waitForWindow();
    ASSERT_NE(window, nullptr);
    const RECT rect = windowRect(window);
    EXPECT_EQ(rect.left, gridPlace(7).x);
    EXPECT_EQ(rect.top, gridPlace(7).y);
    EXPECT_EQ(program.closeAndWait(), 0u);

    const std::vector<std::string> expected{"; mine", "[Window]", "Left=" + std::to_string(rect.left),
        "DefaultPosition=7", "Colour=blue", "MemorizePosition=1", "MostTop=1",
        "Top=" + std::to_string(rect.top), "[System]", "WheelInitTime=1", "CustomImageName=keyboard.bmp",
        "UseCustomImage=0"};
    EXPECT_EQ(copy.settingsLines(), expected);
}

} // namespace
