#pragma once
#include <windows.h>

#include "display/input_change.h"

// Set by the last step of the main window's creation; the first WM_PAINT answers it.
extern unsigned char firstPaintPending;

// Asks for one paint of the whole window, which shows the held keys. Does nothing while either
// picture is missing.
void paintNow();

// Asks `window` for one paint of all of it: nothing is asked for again until that paint.
void requestWholePaint(HWND window);

// Keys or slots changed state: asks for the rectangle of each one in `changed`, unless that
// rectangle is already waiting for its paint; for all of the window until its picture is first drawn.
void requestKeyPaint(HWND window, const std::bitset<kInputSlotCount>& changed);

// Shows the whole picture dimmed, held keys too, or as it is again, and asks `window` for that
// paint.
void dimPicture(HWND window, bool dim);

// Handles every WM_PAINT of the main window: the damaged area is drawn from the pictures, whatever
// damaged it. Returns the result.
LRESULT onPaintMessage(HWND window);

// Handles WM_PRINTCLIENT: the whole picture as it is now into `target`. Changes nothing and asks
// for no paint.
LRESULT onPrintClientMessage(HDC target);
