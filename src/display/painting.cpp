#include "display/painting.h"

#include <algorithm>
#include <array>

#include "common/process_globals.h"
#include "display/input_state.h"
#include "keyboard/key_layout.h"
#include "pictures/dimmed_copy.h"
#include "pictures/memory_context.h"
#include "pictures/pictures.h"
#include "scale/display_scale.h"

unsigned char firstPaintPending;

namespace {

// Every key code, then every pointer slot.
constexpr unsigned kRectCount = kInputSlotCount;

// Whether each rectangle's paint is still waiting. Wine grows the update region rectangle by
// rectangle, so a rectangle is not asked for twice.
std::array<bool, kRectCount> waiting{};
// Until the picture is drawn there is nothing on screen to mend key by key.
bool pictureOnScreen = false;

// While dimmed, both pictures are drawn from dull copies, made when first drawn and made again
// when a picture is replaced (a change of display scale).
bool dimmed = false;
ImagePair dimmedPictures;
std::array<HGDIOBJ, 2> dimmedFrom{};

// The picture of the slot as the window shows it now.
HGDIOBJ shownPicture(unsigned slot)
{
    const HGDIOBJ picture = imagePair[slot].get();
    if (!dimmed || !picture)
        return picture;
    if (dimmedFrom[slot] != picture) {
        dimmedPictures[slot].attach(dimmedCopy(picture));
        dimmedFrom[slot] = picture;
    }
    // Without memory for the copy the picture shows undimmed rather than not at all.
    return dimmedPictures[slot].get() ? dimmedPictures[slot].get() : picture;
}

bool picturesLoaded() { return imagePair[BasePictureSlot].get() && imagePair[PressedPictureSlot].get(); }

unsigned char stateOf(unsigned index) { return slotState(inputState, index); }

RECT areaOf(unsigned index)
{
    const KeyRect rect = scaleRect(index < 256 ? keyRect(index) : pointerRect(index - 256), displayDpi);
    return isDrawable(rect) ? RECT{rect.x, rect.y, rect.x + rect.width, rect.y + rect.height} : RECT{};
}

// Under Wine a blit to the window passes through a temporary 32-bit copy of the rectangle, made by
// its Unix side; once such a block has been freed, the C library there keeps the next ones of that
// size in its heap for good. A whole window's copy stayed after the second full paint: about 1 MiB
// of private memory at 100 %, 3.6 MiB at 200 %. Bands of at most this many bytes keep it small.
constexpr LONG kBandBytes = 64 * 1024;

// Copies the part of `rect` inside `area` from the same place of `source`, band by band.
void copyPart(HDC target, HDC source, const RECT& area, const RECT& rect)
{
    RECT part{};
    if (!source || !IntersectRect(&part, &area, &rect))
        return;
    const LONG width = part.right - part.left;
    const LONG band = std::max<LONG>(1, kBandBytes / (width * 4));
    for (LONG top = part.top; top < part.bottom; top += band)
        BitBlt(target, part.left, top, width, std::min(band, part.bottom - top), source, part.left, top,
            SRCCOPY);
}

// The base picture's part of `area`, then every held key and slot that meets it from the pressed
// picture: keys that share pixels (the two CapsLk codes, Enter over "]") show pressed wherever
// either is held. False when a picture is missing and nothing was drawn.
bool drawPicture(HDC target, const RECT& area)
{
    const HGDIOBJ base = shownPicture(BasePictureSlot);
    const HGDIOBJ pressed = shownPicture(PressedPictureSlot);
    if (!base || !pressed)
        return false;
    MemoryContext pictures;
    copyPart(target, pictures.with(base), area, RECT{0, 0, baseWidth, baseHeight});
    for (unsigned index = 0; index < kRectCount; ++index) {
        if (stateOf(index))
            copyPart(target, pictures.with(pressed), area, areaOf(index));
    }
    return true;
}

} // namespace

void paintNow()
{
    if (picturesLoaded())
        requestWholePaint(mainWindow);
}

void requestWholePaint(HWND window)
{
    waiting.fill(true);
    InvalidateRect(window, nullptr, FALSE);
}

void requestKeyPaint(HWND window, const std::bitset<kInputSlotCount>& changed)
{
    redrawPending = 1;
    // Without both pictures a paint draws nothing, so there is nothing to mend key by key either.
    if (!pictureOnScreen || !picturesLoaded()) {
        requestWholePaint(window);
        return;
    }
    for (unsigned index = 0; index < kRectCount; ++index) {
        if (!changed[index] || waiting[index])
            continue;
        const RECT area = areaOf(index);
        if (IsRectEmpty(&area))
            continue;
        waiting[index] = true;
        InvalidateRect(window, &area, FALSE);
    }
}

void dimPicture(HWND window, bool dim)
{
    if (dim == dimmed)
        return;
    dimmed = dim;
    if (!dim) {
        for (GdiObjectHandle& copy : dimmedPictures)
            copy.reset();
        dimmedFrom.fill(nullptr);
    }
    requestWholePaint(window);
}

LRESULT onPaintMessage(HWND window)
{
    PAINTSTRUCT paint;
    const HDC target = BeginPaint(window, &paint);
    // BeginPaint has validated the whole window: whatever was waiting is drawn now.
    firstPaintPending = 0;
    redrawPending = 0;
    waiting.fill(false);
    pictureOnScreen = target && drawPicture(target, paint.rcPaint);
    EndPaint(window, &paint);
    return 0;
}

LRESULT onPrintClientMessage(HDC target)
{
    if (target)
        drawPicture(target, RECT{0, 0, baseWidth, baseHeight});
    return 0;
}
