#include "display/painting.h"

#include "app/process_globals.h"
#include "display/input_state.h"
#include "display/key_layout.h"
#include "display/pictures.h"

unsigned char firstPaintPending;

namespace {

bool picturesLoaded() { return imagePair[BasePictureSlot].get() && imagePair[PressedPictureSlot].get(); }

// A memory context for one drawing pass, deleted with its original bitmap selected back.
class MemoryContext {
public:
    explicit MemoryContext(HDC compatibleWith)
        : context(CreateCompatibleDC(compatibleWith))
    {
    }
    ~MemoryContext()
    {
        if (!context)
            return;
        if (original)
            SelectObject(context, original);
        DeleteDC(context);
    }
    MemoryContext(const MemoryContext&) = delete;
    MemoryContext& operator=(const MemoryContext&) = delete;

    HDC get() const { return context; }
    void select(HGDIOBJ bitmap)
    {
        const HGDIOBJ previous = SelectObject(context, bitmap);
        if (!original)
            original = previous;
    }

private:
    HDC context;
    HGDIOBJ original = nullptr;
};

// Composes the picture onto target: the base picture within area, then each held key's and
// slot's rectangle from the pressed picture at its own place. One memory context serves both
// pictures.
void compose(HDC target, const RECT& area)
{
    MemoryContext memory(target);
    const HDC source = memory.get();
    if (!source)
        return;
    memory.select(imagePair[BasePictureSlot].get());
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, source, area.left,
        area.top, SRCCOPY);

    bool pressedSelected = false;
    const auto copyHeld = [&](const KeyRect& rect, unsigned char state) {
        if (state == 0 || !isDrawable(rect))
            return;
        if (!pressedSelected) {
            memory.select(imagePair[PressedPictureSlot].get());
            pressedSelected = true;
        }
        BitBlt(target, rect.x, rect.y, rect.width, rect.height, source, rect.x, rect.y, SRCCOPY);
    };
    for (unsigned code = 0; code < 256; ++code)
        copyHeld(keyRect(code), inputState.keyState[code]);
    for (unsigned slot = 0; slot < PointerSlotCount; ++slot)
        copyHeld(pointerRect(slot), inputState.pointerState[slot]);
}

// A paint that no state change asked for: the window was uncovered or erased. The damaged area
// is drawn again from the pictures; nothing further is requested, so paints do not loop.
void repaintDamage(HWND window)
{
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    if (target && picturesLoaded()) {
        RECT area = paint.rcPaint;
        const RECT picture{0, 0, baseWidth, baseHeight};
        if (IntersectRect(&area, &area, &picture))
            compose(target, area);
    }
    EndPaint(window, &paint);
}

} // namespace

void paintNow()
{
    if (!picturesLoaded())
        return;
    PAINTSTRUCT paint;
    HDC target = BeginPaint(mainWindow, &paint);
    if (target) {
        compose(target, RECT{0, 0, baseWidth, baseHeight});
        EndPaint(mainWindow, &paint);
    }
    InvalidateRect(mainWindow, nullptr, FALSE);
}

LRESULT onPaintMessage(HWND window)
{
    if (firstPaintPending) {
        firstPaintPending = 0;
        paintNow();
    } else if (redrawPending) {
        redrawPending = 0;
        paintNow();
    } else {
        repaintDamage(window);
    }
    return 0;
}
