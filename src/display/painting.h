#pragma once
#include <windows.h>

// Set by the last step of the main window's creation, so that its first WM_PAINT builds the frame.
extern unsigned char firstPaintPending;

// Brings the off-screen frame up to date with the held keys and asks for the whole window to be
// painted from it. Does nothing while either picture is missing.
void paintNow();

// A key or slot changed state: asks for exactly the rectangles that now differ from the frame.
void requestKeyPaint(HWND window);

// The pictures were replaced (a new display scale): the next paint builds the frame afresh.
void discardFrame();

// Handles every WM_PAINT of the main window: the damaged area is copied from the frame, which is
// built first when it is new and brought up to date when the state changed. Returns the result.
LRESULT onPaintMessage(HWND window);
