// The custom picture's check: every byte string it accepts must be a picture that can be drawn
// safely. A reader of its own follows the layout through the input, touching every byte that the
// drawing reads (the input is an exact-size copy, so AddressSanitizer sees any read past it), and
// holds the layout to what the file's header says.
#include <cstdint>
#include <span>

#include "broken_promise.h"
#include "pictures/bitmap_layout.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

std::uint32_t little(Bytes bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}

volatile std::uint8_t sink;
void touch(Bytes bytes, std::size_t at) { sink = bytes[at]; }

void checkHeader(Bytes bytes, const BitmapLayout& layout)
{
    require(bytes.size() >= 26, "a header");
    const bool core = little(bytes, 14, 4) == 12;
    require(core || bytes.size() >= 54, "the whole header");
    const std::int64_t width = core ? std::int16_t(little(bytes, 18, 2)) : std::int32_t(little(bytes, 18, 4));
    const std::int64_t height
        = core ? std::int16_t(little(bytes, 20, 2)) : std::int32_t(little(bytes, 22, 4));
    require(width == layout.width && width >= 1, "the width stated");
    require((height < 0 ? -height : height) == layout.rows && layout.rows >= 1, "the height stated");
    require((height < 0) == layout.topDown, "the row order stated");
    require(std::int64_t{layout.width} * layout.rows <= kLargestBitmapPixels, "a size that can be held");
    require(little(bytes, core ? 24 : 28, 2) == layout.bitsPerPixel, "the depth stated");
    require(
        core || little(bytes, 30, 4) == static_cast<std::uint32_t>(layout.compression), "the compression");
    require(little(bytes, 10, 4) == layout.pixelOffset, "the pixel offset stated");
}

void readColours(Bytes bytes, const BitmapLayout& layout)
{
    const bool indexed = layout.bitsPerPixel <= 8;
    require(indexed == (layout.paletteEntries > 0), "a colour table exactly for indexed depths");
    require(
        !indexed || layout.paletteEntries <= (1u << layout.bitsPerPixel), "no more colours than the depth");
    require(layout.paletteEntrySize == 3 || layout.paletteEntrySize == 4, "colours of 3 or 4 bytes");
    const std::uint64_t end
        = layout.paletteOffset + std::uint64_t{layout.paletteEntries} * layout.paletteEntrySize;
    require(layout.paletteOffset >= 26 && end <= bytes.size(), "the colour table inside the file");
    for (std::size_t at = layout.paletteOffset; at < end; ++at)
        touch(bytes, at);
}

void readRows(Bytes bytes, const BitmapLayout& layout)
{
    const std::uint64_t used
        = (std::uint64_t{static_cast<std::uint32_t>(layout.width)} * layout.bitsPerPixel + 7) / 8;
    require(layout.rowStride % 4 == 0 && layout.rowStride >= used && layout.rowStride < used + 4,
        "the row stride");
    require(layout.pixelBytes == layout.rowStride * static_cast<std::uint64_t>(layout.rows), "every row");
    for (std::int32_t row = 0; row < layout.rows; ++row) {
        const std::size_t start = layout.pixelOffset + row * layout.rowStride;
        touch(bytes, start);
        touch(bytes, start + used - 1);
    }
}

// Follows the runs as a decoder does: every pixel lands inside the picture, every byte is inside
// the pixel data, and the end mark is its last word.
void readRuns(Bytes bytes, const BitmapLayout& layout)
{
    const bool fourBit = layout.compression == BitmapCompression::Rle4;
    require(
        layout.bitsPerPixel == (fourBit ? 4u : 8u) && !layout.topDown, "runs of their own depth, bottom-up");
    const std::size_t end = layout.pixelOffset + layout.pixelBytes;
    std::size_t at = layout.pixelOffset;
    std::int64_t x = 0;
    std::int64_t y = 0;
    const auto take = [&](std::size_t count) {
        require(end - at >= count, "runs inside the pixel data");
        at += count;
        touch(bytes, at - 1);
        return bytes.subspan(at - count, count);
    };
    for (;;) {
        const Bytes word = take(2);
        const unsigned count = word[0] > 0 ? word[0] : word[1] > 2 ? word[1] : 0;
        if (word[0] == 0 && word[1] == 0) {
            x = 0;
            ++y;
        } else if (word[0] == 0 && word[1] == 1) {
            require(at == end, "the end mark last");
            return;
        } else if (word[0] == 0 && word[1] == 2) {
            const Bytes jump = take(2);
            x += jump[0];
            y += jump[1];
        } else if (word[0] == 0) {
            const std::size_t literal = fourBit ? (count + 1) / 2 : count;
            take(literal + literal % 2);
        }
        require(count == 0 || (y < layout.rows && x + count <= layout.width), "pixels inside the picture");
        x += count;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Bytes bytes(data, size);
    const std::optional<BitmapLayout> layout = wholeBitmapLayout(bytes);
    if (!layout)
        return 0;
    checkHeader(bytes, *layout);
    readColours(bytes, *layout);
    require(layout->pixelOffset <= bytes.size() && layout->pixelBytes <= bytes.size() - layout->pixelOffset,
        "the pixel data inside the file");
    if (layout->compression == BitmapCompression::Rle8 || layout->compression == BitmapCompression::Rle4)
        readRuns(bytes, *layout);
    else
        readRows(bytes, *layout);
    return 0;
}
