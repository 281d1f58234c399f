#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "common/process_globals.h"
#include "pictures/pictures.h"
#include "settings/app_settings.h"
#include "support/installed_program.h"
#include "support/win32_test_helpers.h"
#include "window/placement.h"

namespace {

// One monitor of 1280 x 1024.
bool onTheMonitor(POINT point) { return point.x >= 0 && point.x < 1280 && point.y >= 0 && point.y < 1024; }

// A desktop of the given width and 1024 high, with edges of 3, a 20-pixel menu bar and a 19-pixel
// caption, showing the 1000 x 242 keyboard: the window is 1006 x 287, the middle of its caption bar
// 503 pixels right of its left edge and 12 below its top.
PlacementInput desktop(int defaultPosition, int screenWidth = 1280)
{
    PlacementInput input;
    input.edgeWidth = 3;
    input.edgeHeight = 3;
    input.menuBarHeight = 20;
    input.captionHeight = 19;
    input.screenWidth = screenWidth;
    input.screenHeight = 1024;
    input.pictureWidth = 1000;
    input.pictureHeight = 242;
    input.defaultPosition = defaultPosition;
    input.isOnMonitor = onTheMonitor;
    return input;
}

PlacementInput remembering(int defaultPosition, int left, int top, bool forced = false, bool memorize = true)
{
    PlacementInput input = desktop(defaultPosition);
    input.memorizePosition = memorize;
    input.left = left;
    input.top = top;
    input.forced = forced;
    return input;
}

TEST(PlacementArithmetic, GridRememberedAndForcedPlaces)
{
    const struct {
        PlacementInput input;
        int x, y;
    } cases[]{
        {desktop(7), 137, 737},
        {desktop(4), 137, 368},
        {desktop(0), 0, 0},
        {desktop(8), 274, 737},
        {desktop(3), 0, 368},
        {desktop(2), 274, 0},
        // Free space is halved toward zero.
        {desktop(1, 1005), 0, 0},
        {desktop(2, 1005), -1, 0},
        {desktop(1, 1001), -2, 0},
        // A remembered position when both coordinates are known and the middle of the caption bar
        // is on a monitor there, never pulled back onto the screen; -1 is unknown.
        {remembering(7, 0, 0), 0, 0},
        {remembering(7, 5000, 100), 137, 737},
        {remembering(7, 100, -1), 137, 737},
        {remembering(7, -1, 100), 137, 737},
        {remembering(7, -2, 100), -2, 100},
        {remembering(7, -503, 100), -503, 100},
        {remembering(7, -504, 100), 137, 737},
        {remembering(7, 776, 100), 776, 100},
        {remembering(7, 777, 100), 137, 737},
        {remembering(7, 100, -12), 100, -12},
        {remembering(7, 100, -13), 137, 737},
        {remembering(7, 100, 1011), 100, 1011},
        {remembering(7, 100, 1012), 137, 737},
        {remembering(0, 300, 200, true), 0, 0},
        {remembering(4, 300, 200, false, false), 137, 368},
    };
    for (const auto& c : cases) {
        const WindowPlacement placement = computePlacement(c.input);
        EXPECT_EQ(std::tuple(placement.x, placement.y, placement.width, placement.height),
            std::tuple(c.x, c.y, 1006, 287))
            << "position " << c.input.defaultPosition << ", screen width " << c.input.screenWidth
            << ", remembered " << c.input.left << " " << c.input.top;
    }
}

TEST(PlacementArithmetic, WithoutAPictureOnlyTheFrameRemains)
{
    PlacementInput input = desktop(0);
    input.pictureWidth = 0;
    input.pictureHeight = 0;
    const WindowPlacement placement = computePlacement(input);
    EXPECT_EQ(placement.width, 6);
    EXPECT_EQ(placement.height, 45);
}

// The program's own window shape: caption, system menu, minimise box, dialog frame and a one-item
// menu bar, on the real desktop.
class PlacedWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(window, nullptr);
        HMENU menu = CreateMenu();
        AppendMenuA(menu, MF_STRING, 40001, "設定(&C)");
        SetMenu(window, menu);
        mainWindow = window;
        baseWidth = 1000;
        baseHeight = 242;
        DefaultPosition = 7;
        MemorizePosition = false;
        Left = -1;
        Top = -1;
        RECT desktopRect{};
        GetClientRect(GetDesktopWindow(), &desktopRect);
        screen = {desktopRect.right - desktopRect.left, desktopRect.bottom - desktopRect.top};
    }

    void TearDown() override
    {
        mainWindow = nullptr;
        baseWidth = baseHeight = 0;
    }

    RECT placed() const { return testing_support::windowRect(window); }
    void expectPictureFitsTheClientArea() const
    {
        const SIZE client = testing_support::clientSize(window);
        EXPECT_EQ(std::pair(client.cx, client.cy), std::pair(1000L, 242L));
        EXPECT_TRUE(IsWindowVisible(window));
    }

    testing_support::TestWindow frame{DefWindowProcA, 0x80CA0000};
    HWND window = frame.get();
    SIZE screen{};
};

TEST_F(PlacedWindow, GridPlacesMeetTheScreenEdgesAndItsCentre)
{
    const auto placedAt = [&](int position) {
        DefaultPosition = position;
        placeWindow(false);
        expectPictureFitsTheClientArea();
        return placed();
    };
    const RECT topLeft = placedAt(0);
    EXPECT_EQ(std::pair(topLeft.left, topLeft.top), std::pair(0L, 0L));
    const RECT bottomRight = placedAt(8);
    EXPECT_EQ(std::pair(bottomRight.right, bottomRight.bottom), std::pair(screen.cx, screen.cy));
    const RECT centred = placedAt(4);
    EXPECT_EQ(centred.left, (screen.cx - (centred.right - centred.left)) / 2);
    EXPECT_EQ(centred.top, (screen.cy - (centred.bottom - centred.top)) / 2);
    const RECT bottomCentre = placedAt(7);
    EXPECT_EQ(std::pair(bottomCentre.left, bottomCentre.bottom), std::pair(centred.left, screen.cy));
}

TEST_F(PlacedWindow, RememberedPositionUnlessUnknownOrForced)
{
    DefaultPosition = 8;
    MemorizePosition = true;
    Left = 30;
    Top = 40;
    placeWindow(false);
    expectPictureFitsTheClientArea();
    EXPECT_EQ(std::pair(placed().left, placed().top), std::pair(30L, 40L));

    placeWindow(true);
    EXPECT_EQ(std::pair(placed().right, placed().bottom), std::pair(screen.cx, screen.cy))
        << "forced: the grid place";

    DefaultPosition = 0;
    Left = 100;
    Top = -1;
    placeWindow(false);
    EXPECT_EQ(std::pair(placed().left, placed().top), std::pair(0L, 0L)) << "-1 is no remembered position";
}

TEST_F(PlacedWindow, TopmostGoesOnAndOffAndShowsTheWindow)
{
    ASSERT_FALSE(IsWindowVisible(window));
    setTopmost(window, true);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(window));
    setTopmost(window, false);
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(window));
    setShown(window, false);
    EXPECT_FALSE(IsWindowVisible(window));
    setShown(window, true);
    EXPECT_TRUE(IsWindowVisible(window));
}

} // namespace
