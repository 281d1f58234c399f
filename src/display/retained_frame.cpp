#include "display/retained_frame.h"

#include "pictures/dib_section.h"
#include "pictures/memory_context.h"
#include "pictures/pictures.h"
#include "scale/display_scale.h"

namespace {

// The two pictures, selected in turn into one memory context.
class PictureContext {
public:
    HDC with(unsigned slot) { return memory.with(imagePair[slot].get()); }

private:
    MemoryContext memory;
};

bool overlaps(const KeyRect& a, const KeyRect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// In the screen's depth: under Wine a frame of fewer bits per pixel costs a converted copy of
// the whole window at the first full paint, and keeps it, more than it saves.
HBITMAP createFrameBitmap(int width, int height) { return createDibSection(width, height, 32); }

} // namespace

unsigned char RetainedFrame::stateOf(unsigned index) const
{
    return index < 256 ? inputState.keyState[index] : inputState.pointerState[index - 256];
}

void RetainedFrame::release()
{
    if (!context)
        return;
    DeleteObject(SelectObject(context, originalBitmap));
    DeleteDC(context);
    context = nullptr;
    originalBitmap = nullptr;
}

bool RetainedFrame::compose()
{
    release();
    if (!imagePair[BasePictureSlot].get() || !imagePair[PressedPictureSlot].get() || baseWidth <= 0
        || baseHeight <= 0)
        return false;
    const HBITMAP bitmap = createFrameBitmap(baseWidth, baseHeight);
    context = bitmap ? CreateCompatibleDC(nullptr) : nullptr;
    if (!context) {
        if (bitmap)
            DeleteObject(bitmap);
        return false;
    }
    originalBitmap = SelectObject(context, bitmap);
    width = baseWidth;
    height = baseHeight;
    invalidated = {};
    for (unsigned code = 0; code < 256; ++code)
        rects[code] = scaleRect(keyRect(code), displayDpi);
    for (unsigned slot = 0; slot < PointerSlotCount; ++slot)
        rects[256 + slot] = scaleRect(pointerRect(slot), displayDpi);

    PictureContext pictures;
    if (const HDC base = pictures.with(BasePictureSlot))
        BitBlt(context, 0, 0, width, height, base, 0, 0, SRCCOPY);
    for (unsigned index = 0; index < kRectCount; ++index) {
        shown[index] = stateOf(index);
        if (shown[index])
            draw(pictures.with(PressedPictureSlot), index);
    }
    return true;
}

void RetainedFrame::draw(HDC pictures, unsigned index)
{
    const KeyRect& rect = rects[index];
    if (pictures && isDrawable(rect))
        BitBlt(context, rect.x, rect.y, rect.width, rect.height, pictures, rect.x, rect.y, SRCCOPY);
}

void RetainedFrame::update()
{
    if (!context)
        return;
    invalidated = {};
    PictureContext pictures;
    bool anyReleased = false;
    std::array<bool, kRectCount> released{};
    for (unsigned index = 0; index < kRectCount; ++index) {
        const unsigned char state = stateOf(index);
        if (state == shown[index])
            continue;
        shown[index] = state;
        released[index] = state == 0;
        anyReleased = anyReleased || released[index];
        draw(pictures.with(state ? PressedPictureSlot : BasePictureSlot), index);
    }
    if (!anyReleased)
        return;
    // Keys can share pixels (the two CapsLk codes, Enter's notch): a held key keeps what a
    // released neighbour's base pixels just covered.
    for (unsigned held = 0; held < kRectCount; ++held) {
        if (!shown[held])
            continue;
        for (unsigned index = 0; index < kRectCount; ++index) {
            if (released[index] && overlaps(rects[held], rects[index])) {
                draw(pictures.with(PressedPictureSlot), held);
                break;
            }
        }
    }
}

void RetainedFrame::invalidateChanges(HWND window)
{
    if (!context) {
        InvalidateRect(window, nullptr, FALSE);
        return;
    }
    for (unsigned index = 0; index < kRectCount; ++index) {
        const KeyRect& rect = rects[index];
        if (stateOf(index) != shown[index] && !invalidated[index] && isDrawable(rect)) {
            invalidated[index] = true;
            const RECT area{rect.x, rect.y, rect.x + rect.width, rect.y + rect.height};
            InvalidateRect(window, &area, FALSE);
        }
    }
}

void RetainedFrame::copyTo(HDC target, const RECT& area) const
{
    RECT part{};
    const RECT whole{0, 0, width, height};
    if (context && IntersectRect(&part, &area, &whole))
        BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top, context,
            part.left, part.top, SRCCOPY);
}
