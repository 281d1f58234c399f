// Which bytes are a whole bitmap, and where its parts lie. The layouts expected are worked out by
// hand from the bitmap file format.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <tuple>
#include <vector>

#include "pictures/bitmap_layout.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& bytes, size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A file with the 40-byte header, colourBytes of colour table (or masks) and the pixels given.
Bytes infoFile(std::int32_t width, std::int32_t height, unsigned bits, unsigned compression,
    size_t colourBytes, const Bytes& pixels, std::uint32_t coloursUsed = 0)
{
    Bytes bytes(54 + colourBytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, static_cast<std::uint32_t>(bytes.size() + pixels.size()));
    put32(bytes, 10, static_cast<std::uint32_t>(bytes.size()));
    put32(bytes, 14, 40);
    put32(bytes, 18, static_cast<std::uint32_t>(width));
    put32(bytes, 22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = static_cast<std::uint8_t>(bits);
    put32(bytes, 30, compression);
    put32(bytes, 46, coloursUsed);
    bytes.insert(bytes.end(), pixels.begin(), pixels.end());
    return bytes;
}

Bytes zeros(size_t count) { return Bytes(count, 0); }

// 2 x 1 at 8 bits behind the old 12-byte header: 256 colours of 3 bytes.
Bytes coreFile()
{
    Bytes bytes(26 + 768 + 4, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 10, 26 + 768);
    bytes[14] = 12;
    bytes[18] = 2;
    bytes[20] = 1;
    bytes[22] = 1;
    bytes[24] = 8;
    return bytes;
}

Bytes withMasks(Bytes bytes)
{
    put32(bytes, 54, 0xF800);
    put32(bytes, 58, 0x07E0);
    put32(bytes, 62, 0x001F);
    return bytes;
}

// 4 x 2 at 8 bits: a run of 4, an end of line, a run of 1 and 3 literal pixels padded to a word,
// an end of line, the end mark, then bytes that are not part of the picture.
const Bytes kRuns8{4, 7, 0, 0, 1, 9, 0, 3, 1, 2, 3, 0, 0, 0, 0, 1, 0xEE, 0xEE};
// 5 x 1 at 4 bits: 5 literal pixels in 3 bytes padded to 4, the end mark.
const Bytes kRuns4{0, 5, 0x12, 0x34, 0x50, 0, 0, 1};
const Bytes kPng{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D, 'I', 'H', 'D', 'R', 0, 0, 0, 4,
    0, 0, 0, 4, 8, 2, 0, 0, 0, 0x26, 0x93, 0x09, 0x29};

// width, rows, top-down, bits, palette offset, entries, entry size, pixel offset, bytes, stride
using Shape = std::tuple<std::int32_t, std::int32_t, bool, std::uint32_t, size_t, std::uint32_t,
    std::uint32_t, size_t, size_t, size_t>;

std::optional<Shape> shapeOf(const Bytes& file)
{
    const Bytes exact(file); // no spare capacity, so that a read past the end is caught
    const std::optional<BitmapLayout> l = wholeBitmapLayout(exact);
    if (!l)
        return std::nullopt;
    return Shape{l->width, l->rows, l->topDown, l->bitsPerPixel, l->paletteOffset, l->paletteEntries,
        l->paletteEntrySize, l->pixelOffset, l->pixelBytes, l->rowStride};
}

} // namespace

TEST(BitmapLayout, WholePicturesAreFoundAndEverythingElseIsRefused)
{
    const Bytes keyboard = infoFile(1000, 242, 24, 0, 0, zeros(3000 * 242));
    const std::tuple<const char*, Bytes, std::optional<Shape>> files[] = {
        {"24 bits", keyboard, Shape{1000, 242, false, 24, 54, 0, 4, 54, 726000, 3000}},
        {"4 bits top-down, 5 colours", infoFile(3, -2, 4, 0, 20, zeros(8), 5),
            Shape{3, 2, true, 4, 54, 5, 4, 74, 8, 4}},
        {"more colours than the depth has", infoFile(1, 1, 1, 0, 8, zeros(4), 300),
            Shape{1, 1, false, 1, 54, 2, 4, 62, 4, 4}},
        {"old header", coreFile(), Shape{2, 1, false, 8, 26, 256, 3, 794, 4, 4}},
        {"16 bits with masks", withMasks(infoFile(2, 2, 16, 3, 12, zeros(8))),
            Shape{2, 2, false, 16, 66, 0, 4, 66, 8, 4}},
        {"8-bit runs", infoFile(4, 2, 8, 1, 1024, kRuns8), Shape{4, 2, false, 8, 54, 256, 4, 1078, 16, 0}},
        {"4-bit runs", infoFile(5, 1, 4, 2, 64, kRuns4), Shape{5, 1, false, 4, 54, 16, 4, 118, 8, 0}},
        {"20 bytes", Bytes(keyboard.begin(), keyboard.begin() + 20), std::nullopt},
        {"ten rows", Bytes(keyboard.begin(), keyboard.begin() + 54 + 3000 * 10), std::nullopt},
        {"width 0", infoFile(0, 242, 24, 0, 0, zeros(3000 * 242)), std::nullopt},
        {"height 0", infoFile(1000, 0, 24, 0, 0, zeros(3000 * 242)), std::nullopt},
        {"width 100000", infoFile(100000, 242, 24, 0, 0, zeros(3000 * 242)), std::nullopt},
        {"height 100000", infoFile(1000, 100000, 24, 0, 0, zeros(3000 * 242)), std::nullopt},
        {"height -2^31", infoFile(1, INT32_MIN, 1, 0, 8, zeros(3000 * 242)), std::nullopt},
        {"5000 x 5000, too large to draw", infoFile(5000, 5000, 1, 0, 8, zeros(628 * 5000)), std::nullopt},
        {"colour table cut short", infoFile(1, 1, 8, 0, 64, zeros(4)), std::nullopt},
        {"24 bits with masks", withMasks(infoFile(1, 1, 24, 3, 12, zeros(4))), std::nullopt},
        {"runs past the row end", infoFile(4, 2, 8, 1, 1024, {5, 1, 0, 1}), std::nullopt},
        {"jump beyond the picture", infoFile(4, 2, 8, 1, 1024, {0, 2, 0, 2, 0, 1}), std::nullopt},
        {"literal pixels cut short", infoFile(4, 2, 8, 1, 1024, {0, 4, 1, 2}), std::nullopt},
        {"runs without an end mark", infoFile(4, 2, 8, 1, 1024, {4, 7, 0, 0}), std::nullopt},
        {"runs stored top-down", infoFile(4, -2, 8, 1, 1024, kRuns8), std::nullopt},
        {"a PNG", kPng, std::nullopt},
        {"empty", {}, std::nullopt},
    };
    for (const auto& [name, file, shape] : files)
        EXPECT_EQ(shapeOf(file), shape) << name;
    EXPECT_EQ(wholeBitmapLayout(withMasks(infoFile(2, 2, 16, 3, 12, zeros(8))))->masks,
        (std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x001F}));
}
