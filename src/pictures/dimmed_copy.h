#pragma once
#include <windows.h>

// A copy of the picture at reduced contrast and brightness, of the same size and 32 bits per
// pixel: every part still where it is, only duller. Null when it cannot be made.
HBITMAP dimmedCopy(HGDIOBJ picture);
