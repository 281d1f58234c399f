// What the user sees when the program starts: its window, where it stands and what it shows.
#include <gtest/gtest.h>

#include "keyboard_screen.h"
#include "program_driver.h"
#include "settings_file.h"

using namespace e2e;

namespace {

void expectAt(HWND window, POINT place)
{
    const RECT rect = windowRect(window);
    const SIZE size = expectedWindowSize();
    EXPECT_EQ(rect.left, place.x);
    EXPECT_EQ(rect.top, place.y);
    EXPECT_EQ(rect.right - rect.left, size.cx);
    EXPECT_EQ(rect.bottom - rect.top, size.cy);
}

TEST(StartUp, FirstStartShowsTheBasePictureInATopmostCaptionedWindowAtTheBottomCentre)
{
    ASSERT_FALSE(basePicture().empty());
    InstalledCopy copy;
    ASSERT_TRUE(copy.ready());
    RunningCopy program;
    ASSERT_TRUE(program.start(copy));
    const HWND window = program.waitForWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(differencesAfterWaiting(window, basePicture()), 0);

    char title[128] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, kWindowTitle);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    EXPECT_EQ(style & 0x80CA0000u, 0x80CA0000u) << std::hex << style;
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD), 0u) << std::hex << style;
    const DWORD extended = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_NE(extended & WS_EX_ACCEPTFILES, 0u) << std::hex << extended;
    EXPECT_TRUE(isTopmost(window));

    const SIZE client = clientSize(window);
    EXPECT_EQ(client.cx, kClientWidth);
    EXPECT_EQ(client.cy, kClientHeight);
    expectAt(window, gridPlace(7));

    EXPECT_EQ(program.closeAndWait(), 0u);
}

struct PlacementCase {
    const char* name;
    SettingsValues settings;
    bool remembered; // the window goes to (Left, Top), else to the grid place
};

class Placement : public ::testing::TestWithParam<PlacementCase> { };

TEST_P(Placement, WindowStandsWhereTheSettingsPutIt)
{
    const PlacementCase& given = GetParam();
    InstalledCopy copy;
    ASSERT_TRUE(copy.ready());
    ASSERT_TRUE(copy.writeSettings(given.settings.text()));
    RunningCopy program;
    ASSERT_TRUE(program.start(copy));
    const HWND window = program.waitForWindow();
    ASSERT_NE(window, nullptr);

    const POINT expected = given.remembered ? POINT{given.settings.left, given.settings.top}
                                            : gridPlace(given.settings.defaultPosition);
    EXPECT_EQ(differencesAfterWaiting(window, basePicture()), 0);
    expectAt(window, expected);
    EXPECT_EQ(isTopmost(window), given.settings.mostTop != 0);
    EXPECT_EQ(program.closeAndWait(), 0u);
}

SettingsValues placed(int position, int memorize, int left, int top, int mostTop = 1)
{
    SettingsValues values;
    values.defaultPosition = position;
    values.memorizePosition = memorize;
    values.left = left;
    values.top = top;
    values.mostTop = mostTop;
    return values;
}

INSTANTIATE_TEST_SUITE_P(StartUp, Placement,
    ::testing::Values(PlacementCase{"TopLeftNotTopmost", placed(0, 1, -1, -1, 0), false},
        PlacementCase{"CentreWhenPositionIsNotMemorized", placed(4, 0, 100, 50), false},
        PlacementCase{"BottomRightWhenTopIsNegative", placed(8, 1, 100, -1), false},
        PlacementCase{"TopRightWhenLeftIsNegative", placed(2, 1, -5, 40), false},
        PlacementCase{"RememberedPosition", placed(0, 1, 100, 50), true},
        PlacementCase{"RememberedOrigin", placed(8, 1, 0, 0), true}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

} // namespace
