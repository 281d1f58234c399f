#pragma once
// What a bitmap file's bytes hold, read without the system: the check that a picture from a
// stranger is whole, and everything drawing it needs, so that the drawing reads only bytes that
// the check has seen.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The compression field's values that a whole picture may carry.
enum class BitmapCompression : std::uint32_t { None = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

struct BitmapLayout {
    std::int32_t width = 0;
    std::int32_t rows = 0; // the height, always positive
    bool topDown = false;  // the first stored row is the top one
    std::uint32_t bitsPerPixel = 0;
    BitmapCompression compression = BitmapCompression::None;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue, for BitFields
    // The colour table: paletteEntries entries of paletteEntrySize bytes (4, or 3 in a file with
    // the old 12-byte header) from paletteOffset. Empty above 8 bits per pixel.
    std::size_t paletteOffset = 0;
    std::uint32_t paletteEntries = 0;
    std::uint32_t paletteEntrySize = 4;
    // The pixels: pixelBytes bytes from pixelOffset, all inside the file. Uncompressed rows are
    // rowStride bytes apart; run-length data ends with its end-of-picture mark.
    std::size_t pixelOffset = 0;
    std::size_t pixelBytes = 0;
    std::size_t rowStride = 0;
};

// Far above any keyboard picture; a larger one is not drawn. Its pixels at 32 bits fit in 64 MB.
constexpr std::int64_t kLargestBitmapPixels = std::int64_t{1} << 24;

// The layout of a whole bitmap file: a picture of at least one pixel, a depth and layout that
// bitmaps have, its colour table and every byte of pixel data that its headers promise (for
// run-length compressed pictures, runs that stay inside the picture and an end mark). Nothing for
// anything else: the system's loader turns files cut short, of zero size or with broken runs into
// black or 1 x 1 pictures instead of failing.
std::optional<BitmapLayout> wholeBitmapLayout(std::span<const std::uint8_t> bytes);
