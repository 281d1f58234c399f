#include "pictures/dimmed_copy.h"

#include <cstdint>

#include "pictures/dib_section.h"
#include "pictures/memory_context.h"

namespace {

// Each colour channel from 0..255 into 64..159: black turns dark grey, white mid grey, and red
// stays the reddest part of a key.
constexpr std::uint32_t dimmedChannel(std::uint32_t value) { return 64 + value * 3 / 8; }

std::uint32_t dimmedPixel(std::uint32_t pixel)
{
    return dimmedChannel(pixel & 0xFF) | dimmedChannel((pixel >> 8) & 0xFF) << 8
        | dimmedChannel((pixel >> 16) & 0xFF) << 16;
}

} // namespace

HBITMAP dimmedCopy(HGDIOBJ picture)
{
    BITMAP shape{};
    if (!picture || !GetObjectA(picture, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0)
        return nullptr;
    void* bits = nullptr;
    HBITMAP copy = createDibSection(shape.bmWidth, shape.bmHeight, 32, nullptr, 0, &bits);
    if (!copy)
        return nullptr;
    bool copied = false;
    {
        MemoryContext from;
        MemoryContext to;
        const HDC reading = from.with(picture);
        const HDC writing = to.with(copy);
        copied = reading && writing
            && BitBlt(writing, 0, 0, shape.bmWidth, shape.bmHeight, reading, 0, 0, SRCCOPY);
        GdiFlush();
    }
    if (!copied) {
        DeleteObject(copy);
        return nullptr;
    }
    auto* pixels = static_cast<std::uint32_t*>(bits);
    const size_t count = static_cast<size_t>(shape.bmWidth) * static_cast<size_t>(shape.bmHeight);
    for (size_t index = 0; index < count; ++index)
        pixels[index] = dimmedPixel(pixels[index]);
    return copy;
}
