#include <gtest/gtest.h>

#include "app/process_globals.h"
#include "display/pictures.h"
#include "display/placement.h"
#include "settings/app_settings.h"
#include "support/win32_test_helpers.h"

namespace {

// A 1280 x 1024 desktop with frames of 3, a 20-pixel menu bar and a 19-pixel caption, showing the
// 1000 x 242 keyboard: the window is 1006 x 287.
PlacementInput desktop(int defaultPosition)
{
    PlacementInput input;
    input.dialogFrameWidth = 3;
    input.dialogFrameHeight = 3;
    input.menuHeight = 20;
    input.captionHeight = 19;
    input.screenWidth = 1280;
    input.screenHeight = 1024;
    input.pictureWidth = 1000;
    input.pictureHeight = 242;
    input.defaultPosition = defaultPosition;
    return input;
}

PlacementInput remembering(int defaultPosition, int left, int top, bool forced = false)
{
    PlacementInput input = desktop(defaultPosition);
    input.memorizePosition = true;
    input.left = left;
    input.top = top;
    input.forced = forced;
    return input;
}

void expectAt(const PlacementInput& input, int x, int y)
{
    const WindowPlacement placement = computePlacement(input);
    EXPECT_EQ(placement.x, x);
    EXPECT_EQ(placement.y, y);
    EXPECT_EQ(placement.width, 1006);
    EXPECT_EQ(placement.height, 287);
}

TEST(PlacementArithmetic, GridPlacesOnTheWholeScreen)
{
    expectAt(desktop(7), 137, 737);
    expectAt(desktop(4), 137, 368);
    expectAt(desktop(0), 0, 0);
    expectAt(desktop(8), 274, 737);
    expectAt(desktop(3), 0, 368);
    expectAt(desktop(2), 274, 0);
}

TEST(PlacementArithmetic, RememberedPositionWhenBothCoordinatesAreKnown)
{
    expectAt(remembering(7, 0, 0), 0, 0);
    // Never pulled back onto the screen.
    expectAt(remembering(7, 5000, 100), 5000, 100);
    expectAt(remembering(7, 100, -1), 137, 737);
    expectAt(remembering(7, -1, 100), 137, 737);
    // Forced placement ignores it.
    expectAt(remembering(0, 300, 200, true), 0, 0);
    PlacementInput off = remembering(4, 300, 200);
    off.memorizePosition = false;
    expectAt(off, 137, 368);
}

TEST(PlacementArithmetic, FreeSpaceIsHalvedTowardZero)
{
    PlacementInput narrow = desktop(1);
    narrow.screenWidth = 1005;
    EXPECT_EQ(computePlacement(narrow).x, 0);
    narrow.defaultPosition = 2;
    EXPECT_EQ(computePlacement(narrow).x, -1);
    narrow.screenWidth = 1001;
    narrow.defaultPosition = 1;
    EXPECT_EQ(computePlacement(narrow).x, -2);
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
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TaveloPlacementTest";
        RegisterClassA(&windowClass);
        HMENU menu = CreateMenu();
        AppendMenuA(menu, MF_STRING, 40001, "設定(&C)");
        window = CreateWindowExA(WS_EX_ACCEPTFILES, windowClass.lpszClassName, "Taveloキーボード Ver1.02",
            0x80CA0000, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu,
            windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
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
        DestroyWindow(window);
        mainWindow = nullptr;
        baseWidth = baseHeight = 0;
    }

    RECT windowRect() const
    {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }

    void expectPictureFitsTheClientArea() const
    {
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right - client.left, 1000);
        EXPECT_EQ(client.bottom - client.top, 242);
        EXPECT_TRUE(IsWindowVisible(window));
    }

    HWND window = nullptr;
    SIZE screen{};
};

TEST_F(PlacedWindow, GridPlacesMeetTheScreenEdgesAndItsCentre)
{
    DefaultPosition = 0;
    placeWindow(false);
    expectPictureFitsTheClientArea();
    EXPECT_EQ(windowRect().left, 0);
    EXPECT_EQ(windowRect().top, 0);

    DefaultPosition = 8;
    placeWindow(false);
    expectPictureFitsTheClientArea();
    EXPECT_EQ(windowRect().right, screen.cx);
    EXPECT_EQ(windowRect().bottom, screen.cy);

    DefaultPosition = 4;
    placeWindow(false);
    expectPictureFitsTheClientArea();
    const RECT centred = windowRect();
    EXPECT_EQ(centred.left, (screen.cx - (centred.right - centred.left)) / 2);
    EXPECT_EQ(centred.top, (screen.cy - (centred.bottom - centred.top)) / 2);

    DefaultPosition = 7;
    placeWindow(false);
    expectPictureFitsTheClientArea();
    EXPECT_EQ(windowRect().left, centred.left);
    EXPECT_EQ(windowRect().bottom, screen.cy);
}

TEST_F(PlacedWindow, RememberedPositionUnlessUnknownOrForced)
{
    DefaultPosition = 8;
    MemorizePosition = true;
    Left = 30;
    Top = 40;
    placeWindow(false);
    expectPictureFitsTheClientArea();
    EXPECT_EQ(windowRect().left, 30);
    EXPECT_EQ(windowRect().top, 40);

    placeWindow(true);
    EXPECT_EQ(windowRect().right, screen.cx) << "forced: the grid place";
    EXPECT_EQ(windowRect().bottom, screen.cy);

    DefaultPosition = 0;
    Left = 100;
    Top = -1;
    placeWindow(false);
    EXPECT_EQ(windowRect().left, 0) << "a negative coordinate is no remembered position";
    EXPECT_EQ(windowRect().top, 0);
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
}

TEST_F(PlacedWindow, ShownAndHidden)
{
    setShown(window, true);
    EXPECT_TRUE(IsWindowVisible(window));
    setShown(window, false);
    EXPECT_FALSE(IsWindowVisible(window));
}

} // namespace
