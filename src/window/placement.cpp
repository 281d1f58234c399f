#include "window/placement.h"

#include "common/process_globals.h"
#include "pictures/pictures.h"
#include "scale/display_scale.h"
#include "settings/app_settings.h"

namespace {

constexpr int kNoPosition = -1;

bool hasRememberedPosition(const PlacementInput& input)
{
    return !input.forced && input.memorizePosition && input.left != kNoPosition && input.top != kNoPosition;
}

// A window whose caption can be grabbed can be brought back by the user; one on a monitor that was
// unplugged since, or far off, cannot. A window partly off a screen edge is fine.
bool captionMiddleIsShown(const PlacementInput& input, const WindowPlacement& placement)
{
    const POINT middle{
        placement.x + placement.width / 2, placement.y + input.dialogFrameHeight + input.captionHeight / 2};
    return input.isOnMonitor && input.isOnMonitor(middle);
}

bool isOnConnectedMonitor(POINT point) { return MonitorFromPoint(point, MONITOR_DEFAULTTONULL) != nullptr; }

// The halving truncates toward zero: a window one pixel wider than the screen, centred, stays at 0.
int gridOffset(int column, int freeSpace)
{
    if (column == 0)
        return 0;
    if (column == 1)
        return freeSpace / 2;
    return freeSpace;
}

PlacementInput currentInput(bool forced)
{
    RECT screen{};
    GetClientRect(GetDesktopWindow(), &screen);
    PlacementInput input;
    // Metrics change with the theme, the font size and the monitor's scale, so they are asked every
    // time, for the scale that the window is drawn at.
    input.dialogFrameWidth = systemMetricForDpi(SM_CXDLGFRAME, displayDpi);
    input.dialogFrameHeight = systemMetricForDpi(SM_CYDLGFRAME, displayDpi);
    input.menuHeight = systemMetricForDpi(SM_CYMENU, displayDpi);
    input.captionHeight = systemMetricForDpi(SM_CYCAPTION, displayDpi);
    input.screenWidth = screen.right - screen.left;
    input.screenHeight = screen.bottom - screen.top;
    input.pictureWidth = baseWidth;
    input.pictureHeight = baseHeight;
    input.defaultPosition = DefaultPosition;
    input.memorizePosition = MemorizePosition;
    input.left = Left;
    input.top = Top;
    input.forced = forced;
    input.isOnMonitor = isOnConnectedMonitor;
    return input;
}

} // namespace

WindowPlacement computePlacement(const PlacementInput& input)
{
    WindowPlacement placement;
    placement.width = 2 * input.dialogFrameWidth + input.pictureWidth;
    placement.height
        = input.menuHeight + 2 * input.dialogFrameHeight + input.captionHeight + input.pictureHeight;
    if (hasRememberedPosition(input)) {
        placement.x = input.left;
        placement.y = input.top;
        if (captionMiddleIsShown(input, placement))
            return placement;
    }
    const int row = input.defaultPosition < 3 ? 0 : (input.defaultPosition < 6 ? 1 : 2);
    placement.x = gridOffset(input.defaultPosition % 3, input.screenWidth - placement.width);
    placement.y = gridOffset(row, input.screenHeight - placement.height);
    return placement;
}

SIZE windowSizeForDpi(UINT dpi)
{
    return {2 * systemMetricForDpi(SM_CXDLGFRAME, dpi) + scaleEdge(kLayoutWidth, dpi),
        systemMetricForDpi(SM_CYMENU, dpi) + 2 * systemMetricForDpi(SM_CYDLGFRAME, dpi)
            + systemMetricForDpi(SM_CYCAPTION, dpi) + scaleEdge(kLayoutHeight, dpi)};
}

void placeWindow(bool forced)
{
    const WindowPlacement placement = computePlacement(currentInput(forced));
    SetWindowPos(
        mainWindow, HWND_TOP, placement.x, placement.y, placement.width, placement.height, SWP_SHOWWINDOW);
}

void setTopmost(HWND window, bool on)
{
    SetWindowPos(
        window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void setShown(HWND window, bool on) { ShowWindow(window, on ? SW_SHOW : SW_HIDE); }
