#pragma once
#include <windows.h>

// Set by the last step of the main window's creation, so that its first WM_PAINT draws.
extern unsigned char firstPaintPending;

// Draws the whole picture into the main window: the base picture, then every held key and
// pointer slot from the pressed picture. Asks for one more WM_PAINT afterwards. Does nothing
// while either picture is missing.
void paintNow();

// Handles every WM_PAINT of the main window: the first paint and each one after a state change
// consume their flag and run paintNow; any other paint (an uncovered part of the window) redraws
// the damaged area from the pictures and asks for nothing more. Returns the message's result.
LRESULT onPaintMessage(HWND window);
