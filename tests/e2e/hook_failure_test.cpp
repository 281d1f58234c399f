// A hook library that is missing, incomplete or refuses to start: the user sees one warning,
// then the keyboard window as usual, and the program ends normally.
#include <gtest/gtest.h>

#include "keyboard_screen.h"
#include "program_driver.h"

using namespace e2e;
using testing_support::describeMessageBox;
using testing_support::findMessageBoxOf;
using testing_support::SeenMessageBox;

namespace {

struct HookCase {
    const char* name;
    const char* installedAsKeyhook; // empty: no keyhook.dll at all
};

class BrokenHookLibrary : public ::testing::TestWithParam<HookCase> { };

TEST_P(BrokenHookLibrary, OneWarningOwnedByTheWindowThenTheBasePicture)
{
    ASSERT_FALSE(basePicture().empty());
    InstalledCopy copy(GetParam().installedAsKeyhook);
    ASSERT_TRUE(copy.ready());
    RunningCopy program;
    ASSERT_TRUE(program.start(copy));

    HWND box = nullptr;
    SeenMessageBox seen;
    ASSERT_TRUE(waitUntil([&] {
        box = findMessageBoxOf(program.id());
        seen = box ? describeMessageBox(box) : SeenMessageBox{};
        return !seen.text.empty();
    }));
    EXPECT_EQ(seen.text, "keyhook.dllの初期化に失敗しました");
    EXPECT_EQ(seen.caption, "エラー");
    const std::vector<HWND> windows = topLevelWindows(program.id(), kWindowClass);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(seen.owner, windows.front());
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    const HWND window = program.waitForWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(differencesAfterWaiting(window, basePicture()), 0);
    ASSERT_TRUE(program.sync());
    EXPECT_EQ(findMessageBoxOf(program.id()), nullptr) << "a second warning";
    EXPECT_EQ(program.closeAndWait(), 0u);
}

INSTANTIATE_TEST_SUITE_P(HookFailure, BrokenHookLibrary,
    ::testing::Values(HookCase{"Missing", ""}, HookCase{"WithoutIsHooking", "fakehook_no_ishooking.dll"},
        HookCase{"StartHookFails", "fakehook_start_fails.dll"}),
    [](const ::testing::TestParamInfo<HookCase>& info) { return std::string(info.param.name); });

} // namespace
