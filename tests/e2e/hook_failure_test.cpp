// A hook library that is missing, incomplete or refuses to start: the user sees one warning owned
// by the keyboard window, which stays hidden until the box is answered, then the window as usual,
// and the program ends normally.
#include <gtest/gtest.h>

#include "e2e_helpers.h"

using namespace testing_support;

namespace {

class BrokenHookLibrary : public ::testing::TestWithParam<const char*> { };

TEST_P(BrokenHookLibrary, OneWarningOwnedByTheStillHiddenWindowThenTheBasePicture)
{
    InstalledProgram program(GetParam());
    ASSERT_TRUE(program.installed());
    ASSERT_TRUE(program.start());

    HWND box = nullptr;
    SeenMessageBox seen;
    ASSERT_TRUE(pumpUntil(
        [&] {
            box = findMessageBoxOf(program.id());
            seen = box ? describeMessageBox(box) : SeenMessageBox{};
            return !seen.text.empty();
        },
        kProgramWait));
    EXPECT_EQ(seen.text, "keyhook.dllの初期化に失敗しました");
    EXPECT_EQ(seen.caption, "エラー");
    const std::vector<HWND> windows = topLevelWindows(program.id(), kProgramClass);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(seen.owner, windows.front());
    EXPECT_FALSE(IsWindowVisible(windows.front())) << "the keyboard was shown before the warning";
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    ASSERT_NE(program.waitForWindow(), nullptr);
    EXPECT_TRUE(program.waitForPicture(programBasePicture()));
    ASSERT_TRUE(program.sync());
    EXPECT_EQ(findMessageBoxOf(program.id()), nullptr) << "a second warning";
    EXPECT_TRUE(program.closeCleanly());
}

// Installed as keyhook.dll: nothing, a library without IsHooking, one whose StartHook fails.
INSTANTIATE_TEST_SUITE_P(HookFailure, BrokenHookLibrary,
    ::testing::Values("", "fakehook_no_ishooking.dll", "fakehook_start_fails.dll"),
    [](const ::testing::TestParamInfo<const char*>& info) {
        const std::string name = info.param;
        return name.empty() ? std::string("Missing") : name.substr(9, name.size() - 13);
    });

} // namespace
