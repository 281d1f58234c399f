#include "pictures/png_resource.h"

#include <wincodec.h>

#include "common/com_apartment.h"
#include "common/com_ref.h"
#include "pictures/dib_section.h"

namespace {

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

ResourceBytes findResource(HINSTANCE instance, int id)
{
    const HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!found)
        return {};
    const HGLOBAL loaded = LoadResource(instance, found);
    if (!loaded)
        return {};
    return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(instance, found)};
}

UINT indexedDepth(const WICPixelFormatGUID& format)
{
    if (format == GUID_WICPixelFormat1bppIndexed)
        return 1;
    if (format == GUID_WICPixelFormat2bppIndexed)
        return 2;
    if (format == GUID_WICPixelFormat4bppIndexed)
        return 4;
    if (format == GUID_WICPixelFormat8bppIndexed)
        return 8;
    return 0;
}

// A picture's colour table as a DIB's.
struct ColourTable {
    RGBQUAD colours[256];
    UINT count = 0;
};

bool copyPalette(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, ColourTable& table)
{
    ComRef<IWICPalette> palette;
    if (FAILED(factory->CreatePalette(palette.put())) || FAILED(frame->CopyPalette(palette.get())))
        return false;
    UINT count = 0;
    WICColor colours[256];
    if (FAILED(palette->GetColors(256, colours, &count)) || count == 0)
        return false;
    for (UINT i = 0; i < count; ++i)
        table.colours[i] = {static_cast<BYTE>(colours[i]), static_cast<BYTE>(colours[i] >> 8),
            static_cast<BYTE>(colours[i] >> 16), 0};
    table.count = count;
    return true;
}

HBITMAP decode(IWICImagingFactory* factory, const ResourceBytes& bytes)
{
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    if (FAILED(factory->CreateStream(stream.put()))
        || FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data), bytes.size))
        || FAILED(factory->CreateDecoderFromStream(
            stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()))
        || FAILED(decoder->GetFrame(0, frame.put())))
        return nullptr;

    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format)) || width == 0
        || height == 0)
        return nullptr;

    ColourTable table;
    WORD depth = static_cast<WORD>(indexedDepth(format));
    IWICBitmapSource* source = frame.get();
    ComRef<IWICFormatConverter> converter;
    if (!depth || !copyPalette(factory, frame.get(), table)) {
        if (FAILED(factory->CreateFormatConverter(converter.put()))
            || FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                nullptr, 0.0, WICBitmapPaletteTypeCustom)))
            return nullptr;
        source = converter.get();
        depth = 32;
        table.count = 0;
    }

    const UINT stride = (width * depth + 31) / 32 * 4;
    void* bits = nullptr;
    HBITMAP bitmap = createDibSection(
        static_cast<int>(width), static_cast<int>(height), depth, table.colours, table.count, &bits);
    if (!bitmap)
        return nullptr;
    if (FAILED(source->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

} // namespace

HBITMAP loadPngResource(HINSTANCE instance, int id)
{
    const ResourceBytes bytes = findResource(instance, id);
    if (!bytes.data || bytes.size == 0)
        return nullptr;
    // At 100 % the program never needs COM: it is there for the duration of one decode only.
    ComApartment com;
    ComRef<IWICImagingFactory> factory;
    if (!com.start()
        || FAILED(com.createInstance(CLSID_WICImagingFactory, IID_IWICImagingFactory, factory.putVoid())))
        return nullptr;
    return decode(factory.get(), bytes);
}
