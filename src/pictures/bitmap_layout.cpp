#include "pictures/bitmap_layout.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kMasksSize = 12;

using Bytes = std::span<const std::uint8_t>;

std::uint32_t read16(Bytes bytes, std::size_t at) { return bytes[at] | (bytes[at + 1] << 8); }

std::uint32_t read32(Bytes bytes, std::size_t at)
{
    return read16(bytes, at) | (read16(bytes, at + 2) << 16);
}

// True when count bytes from offset lie inside the file.
bool fits(Bytes bytes, std::uint64_t offset, std::uint64_t count)
{
    return offset <= bytes.size() && count <= bytes.size() - offset;
}

// The header's fields, as stored; not yet checked against each other.
struct Header {
    std::uint32_t size = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // negative: rows stored top-down
    std::uint32_t planes = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};

std::optional<Header> readHeader(Bytes bytes)
{
    if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    Header header;
    header.size = read32(bytes, kFileHeaderSize);
    if (header.size != kCoreHeaderSize && header.size < kInfoHeaderSize)
        return std::nullopt;
    if (!fits(bytes, kFileHeaderSize, header.size))
        return std::nullopt;
    if (header.size == kCoreHeaderSize) {
        header.width = static_cast<std::int16_t>(read16(bytes, 18));
        header.height = static_cast<std::int16_t>(read16(bytes, 20));
        header.planes = read16(bytes, 22);
        header.bitsPerPixel = read16(bytes, 24);
        return header;
    }
    header.width = static_cast<std::int32_t>(read32(bytes, 18));
    header.height = static_cast<std::int32_t>(read32(bytes, 22));
    header.planes = read16(bytes, 26);
    header.bitsPerPixel = read16(bytes, 28);
    header.compression = read32(bytes, 30);
    header.coloursUsed = read32(bytes, 46);
    return header;
}

bool hasBitmapDepth(const Header& header)
{
    const std::uint32_t bits = header.bitsPerPixel;
    const bool core = bits == 1 || bits == 4 || bits == 8 || bits == 24;
    return core || (header.size != kCoreHeaderSize && (bits == 16 || bits == 32));
}

// Whether the compression suits the depth and the row order; run-length pictures are stored
// bottom-up only.
bool compressionFits(BitmapCompression compression, std::uint32_t bits, bool topDown)
{
    switch (compression) {
    case BitmapCompression::None:
        return true;
    case BitmapCompression::Rle8:
        return bits == 8 && !topDown;
    case BitmapCompression::Rle4:
        return bits == 4 && !topDown;
    case BitmapCompression::BitFields:
        return bits == 16 || bits == 32;
    }
    return false;
}

// The offset just past the end-of-picture mark of a BI_RLE8 or BI_RLE4 picture whose runs and
// jumps all stay inside the picture and whose every byte is there.
std::optional<std::size_t> endOfRuns(Bytes bytes, const BitmapLayout& layout)
{
    const bool fourBit = layout.compression == BitmapCompression::Rle4;
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::size_t at = layout.pixelOffset;
    while (bytes.size() - at >= 2) {
        const unsigned count = bytes[at];
        const unsigned value = bytes[at + 1];
        at += 2;
        if (count > 0 || value > 2) { // a run of one value, or literal pixels padded to a word
            if (count == 0) {
                const std::size_t literalBytes = fourBit ? (value + 1) / 2 : value;
                const std::size_t padded = (literalBytes + 1) & ~std::size_t{1};
                if (bytes.size() - at < padded)
                    return std::nullopt;
                at += padded;
            }
            x += count > 0 ? count : value;
            if (y >= layout.rows || x > layout.width)
                return std::nullopt;
        } else if (value == 0) { // end of line
            x = 0;
            if (++y > layout.rows)
                return std::nullopt;
        } else if (value == 1) { // end of picture
            return at;
        } else { // jump
            if (bytes.size() - at < 2)
                return std::nullopt;
            x += bytes[at];
            y += bytes[at + 1];
            at += 2;
            if (x > layout.width || y >= layout.rows)
                return std::nullopt;
        }
    }
    return std::nullopt;
}

// Finds the colour table and the masks; false when they are not inside the file.
bool placeColours(Bytes bytes, const Header& header, BitmapLayout& layout)
{
    std::size_t next = kFileHeaderSize + header.size;
    if (layout.compression == BitmapCompression::BitFields) {
        // Right after the 40-byte header, or its own fields in the longer ones.
        const std::size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
        if (!fits(bytes, masksAt, kMasksSize))
            return false;
        for (std::size_t i = 0; i < layout.masks.size(); ++i)
            layout.masks[i] = read32(bytes, masksAt + 4 * i);
        if (header.size == kInfoHeaderSize)
            next += kMasksSize;
    }
    layout.paletteOffset = next;
    layout.paletteEntrySize = header.size == kCoreHeaderSize ? 3 : 4;
    if (layout.bitsPerPixel <= 8) {
        const std::uint32_t most = 1u << layout.bitsPerPixel;
        const bool counted = header.coloursUsed != 0 && header.coloursUsed <= most;
        layout.paletteEntries = counted ? header.coloursUsed : most;
    }
    return fits(bytes, layout.paletteOffset, std::uint64_t{layout.paletteEntries} * layout.paletteEntrySize);
}

bool placePixels(Bytes bytes, BitmapLayout& layout)
{
    if (layout.pixelOffset > bytes.size())
        return false;
    if (layout.compression == BitmapCompression::Rle8 || layout.compression == BitmapCompression::Rle4) {
        const std::optional<std::size_t> end = endOfRuns(bytes, layout);
        if (!end)
            return false;
        layout.pixelBytes = *end - layout.pixelOffset;
        return true;
    }
    // The picture is at most kLargestBitmapPixels, so neither product overflows.
    const std::uint64_t stride
        = (std::uint64_t{static_cast<std::uint32_t>(layout.width)} * layout.bitsPerPixel + 31) / 32 * 4;
    const std::uint64_t needed = stride * static_cast<std::uint32_t>(layout.rows);
    if (!fits(bytes, layout.pixelOffset, needed))
        return false;
    layout.rowStride = static_cast<std::size_t>(stride);
    layout.pixelBytes = static_cast<std::size_t>(needed);
    return true;
}

} // namespace

std::optional<BitmapLayout> wholeBitmapLayout(std::span<const std::uint8_t> bytes)
{
    const std::optional<Header> header = readHeader(bytes);
    if (!header || header->planes != 1 || !hasBitmapDepth(*header) || header->compression > 3)
        return std::nullopt;
    const std::int64_t rows = header->height < 0 ? -header->height : header->height;
    if (header->width < 1 || rows < 1 || header->width * rows > kLargestBitmapPixels)
        return std::nullopt;
    BitmapLayout layout;
    layout.width = static_cast<std::int32_t>(header->width);
    layout.rows = static_cast<std::int32_t>(rows);
    layout.topDown = header->height < 0;
    layout.bitsPerPixel = header->bitsPerPixel;
    layout.compression = static_cast<BitmapCompression>(header->compression);
    layout.pixelOffset = read32(bytes, 10);
    if (!compressionFits(layout.compression, layout.bitsPerPixel, layout.topDown))
        return std::nullopt;
    if (!placeColours(bytes, *header, layout) || !placePixels(bytes, layout))
        return std::nullopt;
    return layout;
}
