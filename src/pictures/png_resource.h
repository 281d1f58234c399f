#pragma once
#include <windows.h>

// Decodes a PNG picture stored as an RCDATA resource of `instance` into a top-down DIB section.
// A palette picture keeps its depth and palette; any other becomes 32 bits per pixel. Null when
// the resource is missing or cannot be decoded. The caller owns the bitmap.
HBITMAP loadPngResource(HINSTANCE instance, int id);
