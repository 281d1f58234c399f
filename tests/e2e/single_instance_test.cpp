// Starting the program while a copy of it runs, shown or minimised: the running copy comes to the
// front (restored) and the new one ends at once with exit code 0, leaving no window and no
// settings behind.
#include <gtest/gtest.h>

#include "e2e_helpers.h"

using namespace e2e;
using namespace testing_support;

TEST(SecondStart, EndsAtOnceAndBringsTheRunningCopyToTheFrontRestoringItWhenMinimised)
{
    // Text that the program never writes, saved with the UTF-8 mark that a start would drop, to see
    // that a second copy leaves the file alone.
    const std::string editedByHand = "\xEF\xBB\xBF[Window]\r\nDefaultPosition=2\r\n; edited by hand\r\n";
    InstalledProgram program;
    const HWND window = startShowingBasePicture(program);
    ASSERT_NE(window, nullptr);
    TestWindow otherProgram;

    for (const bool minimised : {false, true}) {
        SCOPED_TRACE(minimised ? "minimised" : "shown");
        if (minimised) {
            ASSERT_TRUE(minimise(window));
        }
        ASSERT_TRUE(program.writeSettings(editedByHand));
        // Another program is in front when the second copy starts.
        ASSERT_TRUE(pumpUntil(
            [&] {
                SetForegroundWindow(otherProgram.get());
                return GetForegroundWindow() == otherProgram.get();
            },
            kProgramWait));
        ChildProcess second;
        ASSERT_TRUE(second.start(program.executable(), {}, program.path()));
        EXPECT_TRUE(second.waitForExit(kProgramWait));
        EXPECT_EQ(second.exitCode(), 0u);
        EXPECT_TRUE(topLevelWindows(second.id(), kProgramClass).empty());
        EXPECT_EQ(topLevelWindows(0, kProgramClass).size(), 1u);
        EXPECT_EQ(readFile(program.settingsPath()), editedByHand);

        EXPECT_TRUE(pumpUntil([&] { return !IsIconic(window) && IsWindowVisible(window); }, kProgramWait));
        EXPECT_TRUE(pumpUntil([&] { return GetForegroundWindow() == window; }, kProgramWait));
        EXPECT_EQ(windowRect(window).left, gridPlace(7).x);
        EXPECT_EQ(windowRect(window).top, gridPlace(7).y);
    }
    EXPECT_TRUE(program.closeCleanly());
}
