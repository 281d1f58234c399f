// What the user sees when the program starts, where its window stands, and what it leaves in its
// settings file when it ends.
#include <gtest/gtest.h>

#include "e2e_helpers.h"

using namespace e2e;
using namespace testing_support;

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

TEST(StartUp, FirstStartShowsTheBasePictureTopmostAtTheBottomCentreAndWritesEverySettingAtExitOnly)
{
    InstalledProgram program;
    const HWND window = startShowingBasePicture(program);
    ASSERT_NE(window, nullptr);

    char title[128] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, kProgramTitle);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    EXPECT_EQ(style & 0x80CA0000u, 0x80CA0000u) << std::hex << style;
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD), 0u) << std::hex << style;
    const DWORD extended = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_NE(extended & WS_EX_ACCEPTFILES, 0u) << std::hex << extended;
    EXPECT_TRUE(isTopmost(window));
    const SIZE client = clientSize(window);
    EXPECT_EQ(client.cx, kLayoutWidth);
    EXPECT_EQ(client.cy, kLayoutHeight);
    expectAt(window, gridPlace(7));

    // The user drags the window somewhere else.
    SetWindowPos(window, nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(program.sync());
    EXPECT_FALSE(program.hasSettings()) << "written before the program ended";
    EXPECT_TRUE(program.closeCleanly());
    const SettingsValues expected = SettingsValues{}.closedAt({120, 80});
    EXPECT_EQ(program.settingsLines(), expected.lines());
    EXPECT_EQ(readFile(program.settingsPath()), expected.text()) << "line ends";
}

struct PlacementCase {
    const char* name;
    SettingsValues settings;
    bool remembered;          // the window goes to (Left, Top), else to the grid place
    bool closedMinimised;     // the restored position is written
    const char* preparedText; // instead of the settings' own text; its lines are kept in place
};

class Placement : public ::testing::TestWithParam<PlacementCase> { };

TEST_P(Placement, WindowStandsWhereTheSettingsPutItAndItsPlaceIsWrittenAtExit)
{
    const PlacementCase& given = GetParam();
    InstalledProgram program;
    const HWND window
        = startShowingBasePicture(program, given.preparedText ? given.preparedText : given.settings.text());
    ASSERT_NE(window, nullptr);
    const POINT place = given.remembered ? POINT{given.settings.left, given.settings.top}
                                         : gridPlace(given.settings.defaultPosition);
    expectAt(window, place);
    EXPECT_EQ(isTopmost(window), given.settings.mostTop != 0);
    if (given.closedMinimised) {
        ASSERT_TRUE(minimise(window));
    }
    EXPECT_TRUE(program.closeCleanly());

    std::vector<std::string> expected = given.settings.closedAt(place).lines();
    if (given.preparedText) // out-of-range values corrected, foreign lines kept, missing keys added
        expected = {"; mine", "[Window]", "Left=" + std::to_string(place.x), "DefaultPosition=7",
            "Colour=blue", "MemorizePosition=1", "MostTop=1", "Top=" + std::to_string(place.y), "[System]",
            "WheelInitTime=1", "CustomImageName=keyboard.bmp", "UseCustomImage=0"};
    EXPECT_EQ(program.settingsLines(), expected);
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
    ::testing::Values(PlacementCase{"TopLeftNotTopmost", placed(0, 1, -1, -1, 0), false, false, nullptr},
        PlacementCase{"CentreWhenPositionIsNotMemorized", placed(4, 0, 100, 50), false, false, nullptr},
        PlacementCase{"BottomRightWhenTopIsUnknown", placed(8, 1, 100, -1), false, false, nullptr},
        PlacementCase{"TopRightWhenLeftIsUnknown", placed(2, 1, -1, 40), false, false, nullptr},
        PlacementCase{"CentreWhenFarOffTheScreen", placed(4, 1, 5000, 100), false, false, nullptr},
        PlacementCase{"RememberedPartlyOffTheLeftAndTop", placed(0, 1, -3, -8), true, false, nullptr},
        PlacementCase{"RememberedPosition", placed(0, 1, 100, 50), true, false, nullptr},
        PlacementCase{"RememberedOrigin", placed(8, 1, 0, 0), true, false, nullptr},
        PlacementCase{"ClosedMinimised", placed(7, 1, 200, 100), true, true, nullptr},
        PlacementCase{"ForeignKeysAndOutOfRangeValues", placed(7, 1, -1, -1), false, false,
            "; "
            "mine\r\n[Window]\r\nLeft=-1\r\nDefaultPosition=12\r\nColour=blue\r\n[System]\r\nWheelInitTime=-"
            "5\r\n"}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

} // namespace
