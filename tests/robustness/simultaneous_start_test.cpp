// Ten copies started in the same instant from the same directory: one window, nine quiet exits,
// and a settings file written once and whole.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "support/installed_program.h"

using namespace testing_support;

namespace {

constexpr int kCopies = 10;
constexpr DWORD kTimeout = 60000;

int countRunning(const std::array<ChildProcess, kCopies>& copies)
{
    int running = 0;
    for (const ChildProcess& copy : copies)
        running += copy.exitCode() == STILL_ACTIVE;
    return running;
}

} // namespace

TEST(SimultaneousStart, TenCopiesLeaveOneWindowAndOneWholeSettingsFile)
{
    InstalledProgram program;
    ASSERT_TRUE(program.installed());
    ASSERT_TRUE(programWindows().empty()) << "a copy of the program is already running";

    std::array<ChildProcess, kCopies> copies;
    for (ChildProcess& copy : copies)
        ASSERT_TRUE(copy.start(program.executable(), {}, program.path()));

    // Nine of them step aside; the one left shows its window.
    EXPECT_TRUE(pumpUntil([&] { return countRunning(copies) <= 1; }, kTimeout));
    ASSERT_EQ(countRunning(copies), 1);
    HWND window = nullptr;
    ASSERT_TRUE(pumpUntil(
        [&] {
            const auto windows = programWindows();
            window = windows.size() == 1 ? windows.front() : nullptr;
            return window != nullptr;
        },
        kTimeout));
    ChildProcess* survivor = nullptr;
    for (ChildProcess& copy : copies) {
        if (copy.exitCode() == STILL_ACTIVE)
            survivor = &copy;
        else
            EXPECT_EQ(copy.exitCode(), 0u);
    }
    ASSERT_NE(survivor, nullptr);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    EXPECT_EQ(owner, survivor->id());
    EXPECT_FALSE(fileExists(program.settingsPath())) << "written before the end";
    const RECT closedAt = windowRect(window);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(answerMessageBoxesUntilExit(*survivor, kTimeout).empty());
    ASSERT_TRUE(survivor->waitForExit(0));
    EXPECT_EQ(survivor->exitCode(), 0u);
    EXPECT_TRUE(programWindows().empty());

    // Every key once, in one whole file, as one copy writes it.
    const std::vector<std::string> written{"[System]", "CustomImageName=keyboard.bmp", "UseCustomImage=0",
        "WheelInitTime=1000", "[Window]", "DefaultPosition=7", "Left=" + std::to_string(closedAt.left),
        "MemorizePosition=1", "MostTop=1", "Top=" + std::to_string(closedAt.top)};
    EXPECT_EQ(readLines(program.settingsPath()), written);
}
