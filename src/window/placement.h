#pragma once
#include <windows.h>

// Everything the window's size and place depend on, so that the arithmetic can be checked for
// any desktop and any metrics.
struct PlacementInput {
    int dialogFrameWidth = 0;  // SM_CXDLGFRAME
    int dialogFrameHeight = 0; // SM_CYDLGFRAME
    int menuHeight = 0;        // SM_CYMENU
    int captionHeight = 0;     // SM_CYCAPTION
    int screenWidth = 0;
    int screenHeight = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
    int defaultPosition = 0; // cell of the 3 x 3 screen grid, row by row
    bool memorizePosition = false;
    int left = -1; // -1: no position known
    int top = -1;
    bool forced = false; // ignore the remembered position
    // Whether a monitor connected now shows the screen point.
    bool (*isOnMonitor)(POINT point) = nullptr;
};

// The window rectangle in screen coordinates.
struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

WindowPlacement computePlacement(const PlacementInput& input);

// The window's outer size at this scale, for a client area that holds the base picture drawn at it.
SIZE windowSizeForDpi(UINT dpi);

// Sizes mainWindow so that its client area holds the base picture exactly, and moves, raises and
// shows it: at the remembered position when one is known, not forced, and the middle of the caption
// bar would be on a monitor there, so that the user can reach it; else at DefaultPosition.
void placeWindow(bool forced);

// Always-on-top on or off; also shows the window.
void setTopmost(HWND window, bool on);

void setShown(HWND window, bool on);
