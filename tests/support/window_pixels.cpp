#include "support/window_pixels.h"

#include <algorithm>

namespace testing_support {

namespace {

// The bitmap's rows as 32-bit pixels through GetDIBits; empty when they cannot all be read.
Pixels readBitmap(HDC reference, HBITMAP bitmap, int width, int height)
{
    BITMAPINFO info = topDown32BitInfo(width, height);
    Pixels pixels{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
    if (GetDIBits(reference, bitmap, 0, height, pixels.data.data(), &info, DIB_RGB_COLORS) != height)
        return {};
    for (auto& pixel : pixels.data)
        pixel &= 0x00FFFFFFu;
    return pixels;
}

// Copies the area of the context into a compatible bitmap and reads that.
Pixels captureFrom(HDC source, int left, int top, int width, int height)
{
    if (!source || width <= 0 || height <= 0)
        return {};
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    Pixels pixels;
    if (memory && bitmap) {
        const HGDIOBJ original = SelectObject(memory, bitmap);
        const bool copied = BitBlt(memory, 0, 0, width, height, source, left, top, SRCCOPY);
        SelectObject(memory, original);
        if (copied)
            pixels = readBitmap(source, bitmap, width, height);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    return pixels;
}

RECT clipTo(const RECT& area, int width, int height)
{
    RECT clipped{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0), std::min<LONG>(area.right, width),
        std::min<LONG>(area.bottom, height)};
    return clipped;
}

void put16(std::vector<unsigned char>& out, unsigned value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void put32(std::vector<unsigned char>& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

} // namespace

std::uint32_t fromColorRef(COLORREF colour)
{
    return rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

Pixels captureClient(HWND window, int width, int height)
{
    HDC source = GetDC(window);
    Pixels pixels = captureFrom(source, 0, 0, width, height);
    if (source)
        ReleaseDC(window, source);
    return pixels;
}

Pixels captureScreen(const RECT& area)
{
    HDC source = GetDC(nullptr);
    Pixels pixels = captureFrom(source, area.left, area.top, area.right - area.left, area.bottom - area.top);
    if (source)
        ReleaseDC(nullptr, source);
    return pixels;
}

Pixels bitmapPixels(HBITMAP bitmap)
{
    const SIZE size = bitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return {};
    HDC screen = GetDC(nullptr);
    Pixels pixels = readBitmap(screen, bitmap, size.cx, size.cy);
    ReleaseDC(nullptr, screen);
    return pixels;
}

SIZE bitmapSize(HGDIOBJ bitmap)
{
    BITMAP description{};
    if (!bitmap || GetObjectType(bitmap) != OBJ_BITMAP
        || !GetObjectA(bitmap, sizeof description, &description))
        return {0, 0};
    return {description.bmWidth, description.bmHeight};
}

int countDifferences(const Pixels& a, const Pixels& b, const RECT& area)
{
    const RECT clipped = clipTo(area, std::min(a.width, b.width), std::min(a.height, b.height));
    int count = 0;
    for (LONG y = clipped.top; y < clipped.bottom; ++y)
        for (LONG x = clipped.left; x < clipped.right; ++x)
            count += a.at(x, y) != b.at(x, y);
    return count;
}

int countColour(const Pixels& pixels, const RECT& area, std::uint32_t colour)
{
    const RECT clipped = clipTo(area, pixels.width, pixels.height);
    int count = 0;
    for (LONG y = clipped.top; y < clipped.bottom; ++y)
        for (LONG x = clipped.left; x < clipped.right; ++x)
            count += pixels.at(x, y) == colour;
    return count;
}

std::vector<unsigned char> bitmapFileBytes(const BitmapFileShape& shape)
{
    const int bits = shape.bitsPerPixel;
    const bool indexed = bits <= 8;
    const unsigned paletteEntries = indexed ? static_cast<unsigned>(shape.palette.size()) : 0;
    const unsigned stride = (static_cast<unsigned>(shape.width) * bits + 31) / 32 * 4;
    const unsigned imageSize = stride * static_cast<unsigned>(shape.height);
    const unsigned offset = 14 + 40 + 4 * paletteEntries;

    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + imageSize);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(shape.width));
    put32(out, static_cast<std::uint32_t>(shape.topDown ? -shape.height : shape.height));
    put16(out, 1);
    put16(out, static_cast<unsigned>(bits));
    put32(out, BI_RGB);
    put32(out, imageSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, paletteEntries);
    put32(out, 0);
    for (unsigned i = 0; i < paletteEntries; ++i)
        put32(out, shape.palette[i]); // 0x00RRGGBB is B, G, R, 0 in little-endian order

    for (int row = 0; row < shape.height; ++row) {
        const int y = shape.topDown ? row : shape.height - 1 - row;
        std::vector<unsigned char> line(stride, 0);
        for (int x = 0; x < shape.width; ++x) {
            if (indexed) {
                const unsigned index = shape.indexAt(x, y);
                const int bit = x * bits;
                line[bit / 8] |= static_cast<unsigned char>(index << (8 - bits - bit % 8));
            } else {
                const std::uint32_t colour = shape.colourAt(x, y);
                unsigned char* pixel = &line[static_cast<size_t>(x) * (bits / 8)];
                pixel[0] = static_cast<unsigned char>(colour);
                pixel[1] = static_cast<unsigned char>(colour >> 8);
                pixel[2] = static_cast<unsigned char>(colour >> 16);
            }
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

} // namespace testing_support
