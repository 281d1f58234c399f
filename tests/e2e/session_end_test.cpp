// Signing out or shutting down with the program running: the system asks its windows whether the
// session may end, tells them that it ends, and ends the process as soon as they have answered,
// before the message loop finishes. The settings file must hold what a normal close writes.
#include <gtest/gtest.h>

#include "e2e_helpers.h"
#include "support/settings_dialog_access.h"

using namespace e2e;
using namespace testing_support;

namespace {

// Ends the session for every program with a window on this desktop, as the system does; Wine's
// own tool sends the two messages and then ends each process. This process must own no window,
// or it would be ended too.
::testing::AssertionResult endSessionOfEveryProgram()
{
    if (!topLevelWindows(GetCurrentProcessId(), nullptr).empty())
        return ::testing::AssertionFailure() << "the test process owns a window";
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    ChildProcess wineboot;
    if (!wineboot.start(std::string(system) + "\\wineboot.exe", "-e") || !wineboot.waitForExit(kProgramWait))
        return ::testing::AssertionFailure() << "wineboot -e did not run";
    return ::testing::AssertionSuccess();
}

// The two messages sent to the window alone, so that the process lives on.
::testing::AssertionResult tellSessionEnds(HWND window, bool ends)
{
    DWORD_PTR mayEnd = 0;
    if (!SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, kProgramWait, &mayEnd) || !mayEnd)
        return ::testing::AssertionFailure() << "the session may not end";
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window, WM_ENDSESSION, ends, 0, SMTO_BLOCK, kProgramWait, &ignored))
        return ::testing::AssertionFailure() << "no answer to WM_ENDSESSION";
    return ::testing::AssertionSuccess();
}

enum class SessionEnd { processEnded, processLivesOn, anotherProgramRefused };

struct SessionEndCase {
    const char* name;
    SessionEnd end;
    bool minimised;
    bool dialogLeftOpen; // with changes not confirmed
};

class EndOfSession : public ::testing::TestWithParam<SessionEndCase> { };

TEST_P(EndOfSession, LeavesTheSettingsFileThatANormalCloseWrites)
{
    const SessionEndCase& given = GetParam();
    InstalledProgram program;
    const HWND window = startShowingBasePicture(program);
    ASSERT_NE(window, nullptr);
    HWND dialog = openSettingsDialog(window);
    ASSERT_NE(dialog, nullptr);
    setText(dialog, IDC_WHEELTIME, "250");
    ASSERT_TRUE(endDialog(dialog, DialogEnd::ok));
    SetWindowPos(window, nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(program.sync());
    if (given.minimised) {
        ASSERT_TRUE(minimise(window));
    }
    if (given.dialogLeftOpen) {
        dialog = openSettingsDialog(window);
        ASSERT_NE(dialog, nullptr);
        setText(dialog, IDC_WHEELTIME, "999");
        click(dialog, IDC_MOSTTOP);
    }
    SettingsValues expected = SettingsValues{}.closedAt({120, 80});
    expected.wheelInitTime = 250;

    if (given.end == SessionEnd::processEnded) {
        ASSERT_TRUE(endSessionOfEveryProgram());
        ASSERT_TRUE(program.process().waitForExit(kProgramWait));
        EXPECT_EQ(program.process().exitCode(), 0u);
    } else {
        ASSERT_TRUE(tellSessionEnds(window, given.end == SessionEnd::processLivesOn));
        if (given.end == SessionEnd::processLivesOn)
            EXPECT_EQ(readFile(program.settingsPath()), expected.text()) << "at the end of the session";
        else
            EXPECT_FALSE(program.hasSettings()) << "written while the session goes on";
        EXPECT_TRUE(program.closeCleanly());
    }
    EXPECT_EQ(readFile(program.settingsPath()), expected.text());
}

INSTANTIATE_TEST_SUITE_P(SessionEnd, EndOfSession,
    ::testing::Values(SessionEndCase{"Ends", SessionEnd::processEnded, false, false},
        SessionEndCase{"EndsMinimised", SessionEnd::processEnded, true, false},
        SessionEndCase{"EndsWithTheDialogOpen", SessionEnd::processEnded, false, true},
        SessionEndCase{"EndsButTheProgramLivesOn", SessionEnd::processLivesOn, false, false},
        SessionEndCase{"AnotherProgramRefused", SessionEnd::anotherProgramRefused, false, false}),
    [](const ::testing::TestParamInfo<SessionEndCase>& info) { return std::string(info.param.name); });

} // namespace
