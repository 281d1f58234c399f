#include "scale/display_scale.h"

#include "common/proc_address.h"

UINT displayDpi = kBaseDpi;

namespace {

// Both calls arrived with Windows 10; looked up at run time so that older systems still start.
template <typename Function>
Function user32Function(const char* name)
{
    return procAddress<Function>(GetModuleHandleA("user32.dll"), name);
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

} // namespace

UINT windowDpi(HWND window)
{
    const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

int systemMetricForDpi(int index, UINT dpi)
{
    const auto getSystemMetricsForDpi
        = user32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    return getSystemMetricsForDpi ? getSystemMetricsForDpi(index, dpi) : GetSystemMetrics(index);
}
