#pragma once
#include <windows.h>

#include <string>

// The bitmap file at `path` as a 32-bit picture of its own size, drawn from the bytes read once
// and found whole (see wholeBitmapLayout); null for anything else. The system's own loader is not
// given the file: it turns files cut short or with broken runs into black or 1 x 1 pictures
// instead of failing, and it would read the file a second time.
HBITMAP loadBitmapFile(const std::wstring& path);
