#include "pictures/bitmap_file.h"

#include <cstdint>
#include <span>

#include "common/whole_file.h"
#include "pictures/bitmap_layout.h"
#include "pictures/dib_section.h"
#include "pictures/memory_context.h"

namespace {

// The description the system draws from, built from the checked layout rather than handed the
// file's own header: it then reads no field and no byte that the check has not seen.
struct PictureInfo {
    BITMAPINFOHEADER header;
    // Room for 256 whatever the file has, so that a pixel naming a colour past the file's table
    // finds black rather than memory past the description. Or the masks of a BI_BITFIELDS picture.
    RGBQUAD colours[256];
};

PictureInfo pictureInfo(std::span<const std::uint8_t> bytes, const BitmapLayout& layout)
{
    PictureInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = layout.width;
    info.header.biHeight = layout.topDown ? -layout.rows : layout.rows;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(layout.bitsPerPixel);
    info.header.biCompression = static_cast<DWORD>(layout.compression);
    info.header.biSizeImage = static_cast<DWORD>(layout.pixelBytes);
    info.header.biClrUsed = layout.paletteEntries;
    if (layout.compression == BitmapCompression::BitFields) {
        static_assert(sizeof layout.masks <= sizeof info.colours);
        CopyMemory(info.colours, layout.masks.data(), sizeof layout.masks);
    }
    for (std::uint32_t i = 0; i < layout.paletteEntries; ++i) {
        const std::uint8_t* entry = &bytes[layout.paletteOffset + i * layout.paletteEntrySize];
        info.colours[i] = RGBQUAD{entry[0], entry[1], entry[2], 0};
    }
    return info;
}

// Draws the file's pixels into `picture`, which has the layout's size.
bool drawPixels(HBITMAP picture, std::span<const std::uint8_t> bytes, const BitmapLayout& layout)
{
    const PictureInfo info = pictureInfo(bytes, layout);
    MemoryContext context;
    const HDC drawing = context.with(picture);
    return drawing
        && SetDIBitsToDevice(drawing, 0, 0, layout.width, layout.rows, 0, 0, 0, layout.rows,
               &bytes[layout.pixelOffset], reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS)
        != 0;
}

} // namespace

HBITMAP loadBitmapFile(const std::wstring& path)
{
    const std::string file = readWholeFile(path).value_or(std::string());
    const std::span<const std::uint8_t> bytes(
        reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    const std::optional<BitmapLayout> layout = wholeBitmapLayout(bytes);
    if (!layout)
        return nullptr;
    HBITMAP picture = createDibSection(layout->width, layout->rows, 32);
    if (picture && !drawPixels(picture, bytes, *layout)) {
        DeleteObject(picture);
        return nullptr;
    }
    return picture;
}
