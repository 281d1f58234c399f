#include "print_probe.h"

#include <windows.h>

namespace {

void printClientArea(HWND window, int width, int height)
{
    HANDLE section = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kPrintProbePixels);
    if (!section)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
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
