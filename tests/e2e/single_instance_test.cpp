// Starting the program while a copy of it runs: the running copy comes to the front and the new
// one ends at once, leaving no window and no settings behind.
#include <gtest/gtest.h>

#include "program_driver.h"
#include "settings_file.h"
#include "support/win32_test_helpers.h"

using namespace e2e;

namespace {

// Text that the program never writes, to see that a second copy leaves the file alone.
constexpr char kEditedByHand[] = "[Window]\r\nDefaultPosition=2\r\n; edited by hand\r\n";

class SecondStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(copy.ready());
        ASSERT_TRUE(first.start(copy));
        window = first.waitForWindow();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { EXPECT_EQ(first.closeAndWait(), 0u); }

    // Starts a second copy from the same directory and checks that it ends at once, with exit
    // code 0 and without a window or a settings write.
    void startSecondCopy()
    {
        ASSERT_TRUE(copy.writeSettings(kEditedByHand));
        // Another program is in front when the second copy starts.
        ASSERT_TRUE(testing_support::pumpUntil(
            [&] {
                SetForegroundWindow(otherProgram.get());
                return GetForegroundWindow() == otherProgram.get();
            },
            kWaitMilliseconds));
        RunningCopy second;
        ASSERT_TRUE(second.start(copy));
        EXPECT_EQ(second.waitForExit(), 0u);
        EXPECT_TRUE(topLevelWindows(second.id(), kWindowClass).empty());
        EXPECT_EQ(countWindowsOfClass(kWindowClass), 1);
        EXPECT_EQ(copy.settingsText(), kEditedByHand);
    }

    // True once the program's window is the foreground window; this thread's own window keeps
    // answering meanwhile.
    bool programComesToTheFront()
    {
        return testing_support::pumpUntil([&] { return GetForegroundWindow() == window; }, kWaitMilliseconds);
    }

    InstalledCopy copy;
    RunningCopy first;
    HWND window = nullptr;
    testing_support::TestWindow otherProgram;
};

TEST_F(SecondStart, EndsAtOnceAndBringsTheRunningCopyToTheFront)
{
    startSecondCopy();
    EXPECT_TRUE(programComesToTheFront());
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(SecondStart, RestoresAMinimisedRunningCopy)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(window) != FALSE; }));
    startSecondCopy();
    EXPECT_TRUE(waitUntil([&] { return !IsIconic(window) && IsWindowVisible(window); }));
    EXPECT_TRUE(programComesToTheFront());
    const RECT rect = windowRect(window);
    EXPECT_EQ(rect.left, gridPlace(7).x);
    EXPECT_EQ(rect.top, gridPlace(7).y);
}

} // namespace
