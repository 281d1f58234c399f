// The password tests' program: one focused text field, "password" (an Edit with ES_PASSWORD),
// "plain", or "pad" (a class of its own that accessibility reports as protected, as browsers'
// fields are). Posting kReplaceField puts a field of another kind in the old one's place: the focus
// moves inside the window, so Wine does not reread the X server's key state, which would drop keys
// held through SendInput.
#include <oleacc.h>
#include <windows.h>

#include <string.h>

#include "edit_box.h"

namespace {

// Describes its client area as the system describes the hidden password edit control inside it.
LRESULT CALLBACK padProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        CreateWindowExA(0, "Edit", "", WS_CHILD | ES_PASSWORD, 0, 0, 9, 9, window, nullptr, nullptr, nullptr);
    IAccessible* accessible = nullptr;
    if (message != WM_GETOBJECT || static_cast<LONG>(lParam) != OBJID_CLIENT
        || FAILED(AccessibleObjectFromWindow(GetWindow(window, GW_CHILD), static_cast<DWORD>(OBJID_CLIENT),
            __uuidof(IAccessible), reinterpret_cast<void**>(&accessible))))
        return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, accessible);
    accessible->Release();
    return result;
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kReplaceField) {
        DestroyWindow(GetWindow(window, GW_CHILD));
        SetFocus(CreateWindowExA(WS_EX_CLIENTEDGE, wParam == kPadField ? "TaveloPad" : "Edit", "",
            WS_CHILD | WS_VISIBLE | (wParam == kPlainField ? 0 : ES_PASSWORD), 10, 10, 360, 24, window,
            nullptr, nullptr, nullptr));
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WNDCLASSA frameClass{0, frameProc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, kEditBoxClass};
    WNDCLASSA padClass{0, padProc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, "TaveloPad"};
    RegisterClassA(&frameClass);
    RegisterClassA(&padClass);
    const HWND frame = CreateWindowExA(0, kEditBoxClass, commandLine, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
        400, 400, 120, nullptr, nullptr, instance, nullptr);
    SetForegroundWindow(frame);
    const bool pad = strcmp(commandLine, "pad") == 0;
    SendMessageA(frame, kReplaceField,
        pad                                     ? kPadField
            : strcmp(commandLine, "plain") == 0 ? kPlainField
                                                : kPasswordField,
        0);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    CoUninitialize();
    return 0;
}
