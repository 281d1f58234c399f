#include "menu_probe.h"

#include <windows.h>

#include <string>

namespace {

std::wstring describeSystemMenu(HWND window)
{
    const HMENU menu = GetSystemMenu(window, FALSE);
    // As the system tells a window whose system menu opens.
    SendMessageW(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
    std::wstring lines;
    for (int position = 0; menu && position < GetMenuItemCount(menu); ++position) {
        wchar_t text[256] = L"";
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_STATE;
        item.dwTypeData = text;
        item.cch = 255;
        GetMenuItemInfoW(menu, position, TRUE, &item);
        lines += std::to_wstring(item.wID) + L"\t" + text + L"\t" + (item.hbmpItem ? L"1" : L"0") + L"\t"
            + (item.fState & MFS_CHECKED ? L"1" : L"0") + L"\n";
    }
    return lines;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK menuProbeHook(int code, WPARAM removal, LPARAM lParam)
{
    const MSG& message = *reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE
        && message.message == RegisterWindowMessageA(kMenuProbeMessage)) {
        HANDLE section = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kMenuProbeText);
        auto* text
            = section ? static_cast<wchar_t*>(MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
        if (text && message.wParam)
            lstrcpynW(text, KillTimer(message.hwnd, message.wParam) ? L"killed" : L"none", kMenuProbeChars);
        else if (text)
            lstrcpynW(text, describeSystemMenu(message.hwnd).c_str(), kMenuProbeChars);
        if (text)
            UnmapViewOfFile(text);
        if (section)
            CloseHandle(section);
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}
