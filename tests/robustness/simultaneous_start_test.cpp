// Ten copies started in the same instant from the same directory: one window, nine quiet exits,
// and a settings file written once and whole.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <string>

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

// Sections and their keys in file order; a duplicated section or key is counted, not merged.
struct IniShape {
    std::vector<std::string> sections;
    std::map<std::string, int> keyCounts; // "Section/Key"
    std::vector<std::string> strayLines;
};

IniShape shapeOf(const std::string& path)
{
    IniShape shape;
    for (const std::string& line : readLines(path)) {
        if (line.empty())
            continue;
        if (line.front() == '[' && line.back() == ']') {
            shape.sections.push_back(line.substr(1, line.size() - 2));
            continue;
        }
        const size_t equals = line.find('=');
        if (shape.sections.empty() || equals == std::string::npos || equals == 0)
            shape.strayLines.push_back(line);
        else
            ++shape.keyCounts[shape.sections.back() + "/" + line.substr(0, equals)];
    }
    return shape;
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

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(answerMessageBoxesUntilExit(*survivor, kTimeout).empty());
    ASSERT_TRUE(survivor->waitForExit(0));
    EXPECT_EQ(survivor->exitCode(), 0u);
    EXPECT_TRUE(programWindows().empty());

    const IniShape shape = shapeOf(program.settingsPath());
    EXPECT_EQ(shape.sections, (std::vector<std::string>{"System", "Window"}));
    EXPECT_TRUE(shape.strayLines.empty()) << shape.strayLines.front();
    const std::map<std::string, int> once{{"System/CustomImageName", 1}, {"System/UseCustomImage", 1},
        {"System/WheelInitTime", 1}, {"Window/DefaultPosition", 1}, {"Window/Left", 1},
        {"Window/MemorizePosition", 1}, {"Window/MostTop", 1}, {"Window/Top", 1}};
    EXPECT_EQ(shape.keyCounts, once);
}
