#include "pictures/pictures.h"

#include "common/code_pages.h"
#include "common/process_globals.h"
#include "keyboard/key_layout.h"
#include "pictures/bitmap_file.h"
#include "pictures/dib_section.h"
#include "pictures/memory_context.h"
#include "pictures/png_resource.h"
#include "resource_ids.h"
#include "scale/display_scale.h"

int baseWidth;
int baseHeight;

namespace {

// The scales that the built-in art is drawn at besides 100 %, with the resources that hold it.
struct ScaledArt {
    UINT dpi;
    int baseId;
    int pressedId;
};
constexpr ScaledArt kScaledArt[]
    = {{120, IDB_BASE_120, IDB_PRESSED_120}, {144, IDB_BASE_144, IDB_PRESSED_144},
        {168, IDB_BASE_168, IDB_PRESSED_168}, {192, IDB_BASE_192, IDB_PRESSED_192}};

// The custom file that slot 1 came from, as a full path; empty while it holds the built-in picture.
std::wstring customPicturePath;

// A smooth copy of `source` at width x height, 32 bits per pixel.
HBITMAP stretchedCopy(HBITMAP source, int width, int height)
{
    BITMAP shape{};
    if (!source || !GetObjectA(source, sizeof shape, &shape) || width <= 0 || height <= 0)
        return nullptr;
    HBITMAP copy = createDibSection(width, height, 32);
    MemoryContext from;
    MemoryContext to;
    const HDC reading = from.with(source);
    const HDC writing = copy ? to.with(copy) : nullptr;
    if (reading && writing) {
        SetStretchBltMode(writing, HALFTONE);
        SetBrushOrgEx(writing, 0, 0, nullptr);
        StretchBlt(writing, 0, 0, width, height, reading, 0, 0, shape.bmWidth, shape.bmHeight, SRCCOPY);
    }
    return copy;
}

// The built-in picture drawn for exactly this scale, if there is one.
HBITMAP loadDrawnArt(bool pressed, UINT dpi)
{
    if (dpi == kBaseDpi) {
        // A DIB section keeps the picture's own 4 bits per pixel instead of the screen's depth.
        return static_cast<HBITMAP>(LoadImageA(instanceHandle,
            MAKEINTRESOURCEA(pressed ? IDB_PRESSED : IDB_BASE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    for (const ScaledArt& art : kScaledArt) {
        if (art.dpi == dpi)
            return loadPngResource(instanceHandle, pressed ? art.pressedId : art.baseId);
    }
    return nullptr;
}

// Between two drawn scales the larger art is scaled down; beyond the largest, that one is scaled up.
UINT nearestDrawnDpi(UINT dpi)
{
    if (dpi <= kBaseDpi)
        return kBaseDpi;
    for (const ScaledArt& art : kScaledArt) {
        if (art.dpi >= dpi)
            return art.dpi;
    }
    return kScaledArt[std::size(kScaledArt) - 1].dpi;
}

HBITMAP loadBuiltInPicture(bool pressed, UINT dpi)
{
    if (HBITMAP drawn = loadDrawnArt(pressed, dpi))
        return drawn;
    GdiObjectHandle nearest;
    nearest.attach(loadDrawnArt(pressed, nearestDrawnDpi(dpi)));
    return stretchedCopy(
        static_cast<HBITMAP>(nearest.get()), scaleEdge(kLayoutWidth, dpi), scaleEdge(kLayoutHeight, dpi));
}

// The user's picture keeps its own size at 100 % and grows with the scale like the built-in one.
HBITMAP loadCustomPicture(const std::wstring& path, UINT dpi)
{
    HBITMAP file = loadBitmapFile(path);
    if (!file || dpi == kBaseDpi)
        return file;
    GdiObjectHandle original;
    original.attach(file);
    BITMAP shape{};
    GetObjectA(file, sizeof shape, &shape);
    return stretchedCopy(file, scaleEdge(shape.bmWidth, dpi), scaleEdge(shape.bmHeight, dpi));
}

// The name is text of the settings file, in the system's code page; a relative one is joined to
// the current directory, the program's, in UTF-16.
std::wstring fullPath(const std::string& name)
{
    const std::wstring wideName = fromSystemCodePage(name);
    std::wstring buffer(GetFullPathNameW(wideName.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length
        = GetFullPathNameW(wideName.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    return length > 0 && length < buffer.size() ? buffer.substr(0, length) : wideName;
}

void setPressedPicture(HBITMAP custom)
{
    HANDLE picture = custom;
    if (!picture) {
        customPicturePath.clear();
        picture = loadBuiltInPicture(true, displayDpi);
    }
    if (picture)
        imagePair[PressedPictureSlot].attach(picture);
}

} // namespace

bool loadBasePicture()
{
    HBITMAP picture = loadBuiltInPicture(false, displayDpi);
    if (!picture)
        return false;
    imagePair[BasePictureSlot].attach(picture);
    BITMAP description{};
    GetObjectA(picture, sizeof description, &description);
    baseWidth = description.bmWidth;
    baseHeight = description.bmHeight;
    return true;
}

void loadPressedPicture(bool useCustom, const std::string& name)
{
    HBITMAP custom = nullptr;
    if (useCustom && !name.empty()) {
        // Kept whole, so that a change of scale reads the same file again wherever the current
        // directory is by then.
        customPicturePath = fullPath(name);
        custom = loadCustomPicture(customPicturePath, displayDpi);
    }
    setPressedPicture(custom);
}

void reloadPictures()
{
    if (imagePair[BasePictureSlot].get())
        loadBasePicture();
    if (imagePair[PressedPictureSlot].get())
        setPressedPicture(
            customPicturePath.empty() ? nullptr : loadCustomPicture(customPicturePath, displayDpi));
}
