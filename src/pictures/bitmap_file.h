#pragma once
#include <string>

// True when the file holds a whole bitmap: a picture of at least one pixel, a depth and layout
// that bitmaps have, and every byte of pixel data that its headers promise (for run-length
// compressed pictures, runs that stay inside the picture and an end mark). The system's loader
// turns files cut short, of zero size or with broken runs into black or 1 x 1 pictures instead
// of failing, so they are checked before it sees them.
bool isWholeBitmapFile(const std::wstring& path);
