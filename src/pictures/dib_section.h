#pragma once
#include <windows.h>

// A top-down DIB section (row 0 first) of the given depth, with a colour table of colourCount
// entries for depths up to 8. Its pixels, when `bits` is given, through *bits. Null on failure.
HBITMAP createDibSection(int width, int height, WORD bitsPerPixel, const RGBQUAD* colours = nullptr,
    UINT colourCount = 0, void** bits = nullptr);
