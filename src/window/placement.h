#pragma once
#include <windows.h>

// Everything the window's size and place depend on, so that the arithmetic can be checked for
// any desktop and any frame.
struct PlacementInput {
    // The parts of the frame around the client area: the edge on the left and on the right, the
    // edge below and the one above the caption bar, the caption bar, and the menu bar below it.
    int edgeWidth = 0;
    int edgeHeight = 0;
    int captionHeight = 0;
    int menuBarHeight = 0;
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
