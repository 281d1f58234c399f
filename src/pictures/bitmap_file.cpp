#include "pictures/bitmap_file.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "common/owned_handle.h"

namespace {

// Far above any keyboard picture; a larger file is not read into memory.
constexpr std::int64_t kLargestFile = 64 * 1024 * 1024;
constexpr size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::vector<unsigned char> readWholeFile(const std::wstring& path)
{
    HANDLE opened = CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return {};
    KernelHandle file;
    file.attach(opened);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestFile)
        return {};
    std::vector<unsigned char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)
        || read != bytes.size())
        return {};
    return bytes;
}

std::uint32_t read16(const std::vector<unsigned char>& bytes, size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8);
}

std::uint32_t read32(const std::vector<unsigned char>& bytes, size_t at)
{
    return read16(bytes, at) | (read16(bytes, at + 2) << 16);
}

struct BitmapLayout {
    std::int64_t width = 0;
    std::int64_t height = 0; // negative: rows stored top-down
    std::uint32_t planes = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t pixelOffset = 0;
};

bool readLayout(const std::vector<unsigned char>& bytes, BitmapLayout& layout)
{
    if (bytes.size() < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    layout.pixelOffset = read32(bytes, 10);
    const std::uint32_t headerSize = read32(bytes, kFileHeaderSize);
    if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize)
        return false;
    if (bytes.size() < kFileHeaderSize + headerSize)
        return false;
    if (headerSize == kCoreHeaderSize) {
        layout.width = static_cast<std::int16_t>(read16(bytes, 18));
        layout.height = static_cast<std::int16_t>(read16(bytes, 20));
        layout.planes = read16(bytes, 22);
        layout.bitsPerPixel = read16(bytes, 24);
        return true;
    }
    layout.width = static_cast<std::int32_t>(read32(bytes, 18));
    layout.height = static_cast<std::int32_t>(read32(bytes, 22));
    layout.planes = read16(bytes, 26);
    layout.bitsPerPixel = read16(bytes, 28);
    layout.compression = read32(bytes, 30);
    return true;
}

bool hasBitmapDepth(std::uint32_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Walks the runs of a BI_RLE8 or BI_RLE4 picture: each run and each jump must stay inside the
// picture, every byte a run needs must be there, and an end-of-picture mark must come.
bool runsStayInside(const std::vector<unsigned char>& bytes, const BitmapLayout& layout)
{
    const bool fourBit = layout.compression == BI_RLE4;
    std::int64_t x = 0;
    std::int64_t y = 0;
    for (size_t at = layout.pixelOffset; at + 2 <= bytes.size();) {
        const unsigned count = bytes[at];
        const unsigned value = bytes[at + 1];
        at += 2;
        if (count > 0) {
            x += count;
        } else if (value == 0) { // end of line
            x = 0;
            ++y;
            continue;
        } else if (value == 1) { // end of picture
            return true;
        } else if (value == 2) { // jump
            if (at + 2 > bytes.size())
                return false;
            x += bytes[at];
            y += bytes[at + 1];
            at += 2;
        } else { // literal pixels, padded to a whole word
            const size_t literalBytes = fourBit ? (value + 1) / 2 : value;
            at += (literalBytes + 1) & ~size_t{1};
            if (at > bytes.size())
                return false;
            x += value;
        }
        if (x > layout.width || y >= layout.height)
            return false;
    }
    return false;
}

} // namespace

bool isWholeBitmapFile(const std::wstring& path)
{
    const std::vector<unsigned char> bytes = readWholeFile(path);
    BitmapLayout layout;
    if (!readLayout(bytes, layout))
        return false;
    if (layout.width < 1 || layout.height == 0 || layout.planes != 1 || !hasBitmapDepth(layout.bitsPerPixel))
        return false;
    if (layout.pixelOffset > bytes.size())
        return false;
    const std::int64_t rows = layout.height < 0 ? -layout.height : layout.height;
    switch (layout.compression) {
    case BI_RGB:
    case BI_BITFIELDS: {
        // Compared by division: the product of a huge width and height would overflow.
        const std::int64_t stride = (layout.width * layout.bitsPerPixel + 31) / 32 * 4;
        const std::int64_t available = static_cast<std::int64_t>(bytes.size()) - layout.pixelOffset;
        return stride <= available / rows;
    }
    case BI_RLE8:
        return layout.bitsPerPixel == 8 && layout.height > 0 && runsStayInside(bytes, layout);
    case BI_RLE4:
        return layout.bitsPerPixel == 4 && layout.height > 0 && runsStayInside(bytes, layout);
    default:
        return false;
    }
}
