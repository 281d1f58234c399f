#pragma once
#include <windows.h>

#include "keyboard/key_layout.h"

// The picture is laid out in 100 % pixels (96 dots per inch). At another display scale every edge
// is rounded on its own, so that keys that touch at 100 % still touch, and a lit rectangle covers
// exactly its key in art drawn at that scale. tools/make_pictures.py uses the same rule.
constexpr UINT kBaseDpi = 96;

constexpr int scaleEdge(int edge, UINT dpi)
{
    return static_cast<int>((static_cast<long long>(edge) * dpi + kBaseDpi / 2) / kBaseDpi);
}

constexpr KeyRect scaleRect(const KeyRect& rect, UINT dpi)
{
    const int left = scaleEdge(rect.x, dpi);
    const int top = scaleEdge(rect.y, dpi);
    return {
        left, top, scaleEdge(rect.x + rect.width, dpi) - left, scaleEdge(rect.y + rect.height, dpi) - top};
}

// The dots per inch that the window is drawn for now: the pictures and the window's
// size all follow it. 96 until the window is created.
extern UINT displayDpi;

// The dots per inch of the monitor that shows the window (of the system where the platform cannot
// tell per window).
UINT windowDpi(HWND window);

// A system metric as it is at the given dots per inch; the system's own value where the platform
// has no per-DPI metrics.
int systemMetricForDpi(int index, UINT dpi);
