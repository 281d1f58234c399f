#include "print_probe.h"

#include <windows.h>

#include "support/window_pixels.h"

namespace {

void printClientArea(HWND window, int width, int height)
{
    HANDLE section = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kPrintProbePixels);
    if (!section)
        return;
    const BITMAPINFO info = testing_support::topDown32BitInfo(width, height);
    void* bits = nullptr;
    const HDC context = CreateCompatibleDC(nullptr);
    const HBITMAP picture = CreateDIBSection(context, &info, DIB_RGB_COLORS, &bits, section, 0);
    if (context && picture) {
        const HGDIOBJ original = SelectObject(context, picture);
        PrintWindow(window, context, PW_CLIENTONLY);
        GdiFlush();
        SelectObject(context, original);
    }
    if (picture)
        DeleteObject(picture);
    if (context)
        DeleteDC(context);
    CloseHandle(section);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK printProbeHook(int code, WPARAM removal, LPARAM lParam)
{
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE
        && message.message == RegisterWindowMessageA(kPrintProbeMessage))
        printClientArea(message.hwnd, static_cast<int>(message.wParam), static_cast<int>(message.lParam));
    return CallNextHookEx(nullptr, code, removal, lParam);
}
