#pragma once
// Reading what a window shows and what a bitmap holds, as 0x00RRGGBB pixels, and writing bitmap
// files of any depth for the program to load.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A block of pixels, row 0 at the top; each pixel 0x00RRGGBB.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> data;

    std::uint32_t at(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    bool empty() const { return data.empty(); }
};

constexpr std::uint32_t rgb(unsigned red, unsigned green, unsigned blue)
{
    return (red << 16) | (green << 8) | blue;
}
// The description of a top-down picture of 32 bits per pixel, row 0 first, as Pixels holds it.
inline BITMAPINFO topDown32BitInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A COLORREF (as from GetSysColor) in the 0x00RRGGBB form of Pixels.
std::uint32_t fromColorRef(COLORREF colour);

// The pixels of the window's client area from (0, 0), width x height, read through the window's
// own device context (GetDC, BitBlt into a compatible bitmap, GetDIBits).
Pixels captureClient(HWND window, int width, int height);
// The pixels that the screen shows in the given rectangle of screen coordinates.
Pixels captureScreen(const RECT& area);
// The whole content of a bitmap (a DDB or a DIB section), converted to 32 bits per pixel.
Pixels bitmapPixels(HBITMAP bitmap);
// The size of a bitmap; {0, 0} when the handle is not a bitmap.
SIZE bitmapSize(HGDIOBJ bitmap);

// Number of pixels inside the rectangle (clipped to both blocks) where the two blocks differ.
int countDifferences(const Pixels& a, const Pixels& b, const RECT& area);
// Number of pixels inside the rectangle (clipped to the block) that have exactly this colour.
int countColour(const Pixels& pixels, const RECT& area, std::uint32_t colour);

// The bytes of a BMP file (file header, BITMAPINFOHEADER, palette for depths up to 8, rows padded to 4
// bytes) of the given depth: 1, 4, 8, 24 or 32 bits per pixel. Each pixel's colour is
// colourAt(x, y) for 24 and 32 bits; for the palette depths indexAt(x, y) picks a palette entry.
// topDown writes a negative height with row 0 first.
struct BitmapFileShape {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    bool topDown = false;
    std::vector<std::uint32_t> palette;                // 0x00RRGGBB entries, for 1, 4 and 8 bits
    std::uint32_t (*colourAt)(int x, int y) = nullptr; // for 24 and 32 bits
    unsigned (*indexAt)(int x, int y) = nullptr;       // for 1, 4 and 8 bits
};
std::vector<unsigned char> bitmapFileBytes(const BitmapFileShape& shape);

} // namespace testing_support
