#include "pictures/dib_section.h"

#include <algorithm>

HBITMAP createDibSection(
    int width, int height, WORD bitsPerPixel, const RGBQUAD* colours, UINT colourCount, void** bits)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    if (width <= 0 || height <= 0 || colourCount > 256)
        return nullptr;
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = bitsPerPixel;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = colourCount;
    if (colours)
        std::copy(colours, colours + colourCount, info.colours);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(
        nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits)
        *bits = pixels;
    return bitmap;
}
