#include "display/painting.h"

#include "common/process_globals.h"
#include "display/input_state.h"
#include "display/retained_frame.h"

unsigned char firstPaintPending;

namespace {

RetainedFrame frame;

// The frame as the state is now: built when there is none, else the keys that changed since it
// was last brought up to date are redrawn. Whatever asked for the paint is thereby answered.
bool frameUpToDate()
{
    firstPaintPending = 0;
    redrawPending = 0;
    if (!frame.ready())
        return frame.compose();
    frame.update();
    return true;
}

} // namespace

void paintNow()
{
    if (!frameUpToDate())
        return;
    InvalidateRect(mainWindow, nullptr, FALSE);
}

void requestKeyPaint(HWND window)
{
    redrawPending = 1;
    frame.invalidateChanges(window);
}

void discardFrame() { frame.release(); }

LRESULT onPaintMessage(HWND window)
{
    PAINTSTRUCT paint;
    const HDC target = BeginPaint(window, &paint);
    if (target && frameUpToDate())
        frame.copyTo(target, paint.rcPaint);
    EndPaint(window, &paint);
    return 0;
}
