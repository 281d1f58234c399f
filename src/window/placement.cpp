#include "window/placement.h"

#include "common/proc_address.h"
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
        placement.x + placement.width / 2, placement.y + input.edgeHeight + input.captionHeight / 2};
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

// The window's outer rectangle around a client area of this size at this scale, relative to the
// client area's top-left corner, as the system frames a window of mainWindow's styles and menu
// bar. The system's own answer, not a sum of metrics: a program marked for Windows Vista or later
// gets a padded border around its caption bar that no metric of the frame includes.
RECT frameAround(int clientWidth, int clientHeight, UINT dpi)
{
    const auto style = static_cast<DWORD>(GetWindowLongW(mainWindow, GWL_STYLE));
    const auto extendedStyle = static_cast<DWORD>(GetWindowLongW(mainWindow, GWL_EXSTYLE));
    const BOOL hasMenu = GetMenu(mainWindow) != nullptr;
    RECT outer{0, 0, clientWidth, clientHeight};
    // Windows 10 and later frame for any scale; older ones only for the system's.
    using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi
        = procAddress<AdjustForDpiFunction>(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi");
    if (!adjustForDpi || !adjustForDpi(&outer, style, hasMenu, extendedStyle, dpi))
        AdjustWindowRectEx(&outer, style, hasMenu, extendedStyle);
    return outer;
}

PlacementInput currentInput(bool forced)
{
    RECT screen{};
    GetClientRect(GetDesktopWindow(), &screen);
    PlacementInput input;
    // The frame changes with the theme, the font size and the monitor's scale, so it is asked every
    // time, for the scale that the window is drawn at. The system tells only how far it reaches on
    // each side: the edges are taken as wide as the left one and as high as the bottom one, and
    // whatever lies above the client area beyond the top edge and the caption is the menu bar.
    const RECT outer = frameAround(baseWidth, baseHeight, displayDpi);
    input.edgeWidth = -outer.left;
    input.edgeHeight = outer.bottom - baseHeight;
    input.captionHeight = systemMetricForDpi(SM_CYCAPTION, displayDpi);
    input.menuBarHeight = -outer.top - input.edgeHeight - input.captionHeight;
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
    placement.width = 2 * input.edgeWidth + input.pictureWidth;
    placement.height = 2 * input.edgeHeight + input.captionHeight + input.menuBarHeight + input.pictureHeight;
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
    const RECT outer = frameAround(scaleEdge(kLayoutWidth, dpi), scaleEdge(kLayoutHeight, dpi), dpi);
    return {outer.right - outer.left, outer.bottom - outer.top};
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
