// A program with one focused text field, for the password tests: "password" (an Edit with
// ES_PASSWORD), "plain" (an Edit without), or "pad" (a control of its own class that tells
// accessibility it is a protected field, as browsers and other frameworks do). It takes the
// foreground at start and runs until closed. Posting kReplaceField (wParam: a FieldKind) puts a
// field of that kind in place of the old one, with the focus: the focus moves inside the window,
// as on a sign-in page, and the system's key state is not taken again from the X server, which
// would forget keys held through SendInput.
#include <oleacc.h>
#include <windows.h>

#include <string.h>

#include "edit_box.h"

namespace {

constexpr char kPadClass[] = "TaveloPasswordPad";

// Answers for its client area with what the system says of a hidden password edit control inside
// it: a protected field.
LRESULT CALLBACK padProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        CreateWindowExA(
            0, "Edit", "", WS_CHILD | ES_PASSWORD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
    if (message != WM_GETOBJECT || static_cast<LONG>(lParam) != OBJID_CLIENT)
        return DefWindowProcA(window, message, wParam, lParam);
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(GetWindow(window, GW_CHILD), static_cast<DWORD>(OBJID_CLIENT),
            __uuidof(IAccessible), reinterpret_cast<void**>(&accessible))))
        return 0;
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, accessible);
    accessible->Release();
    return result;
}

void placeField(HWND frame, WPARAM kind)
{
    if (const HWND old = GetWindow(frame, GW_CHILD))
        DestroyWindow(old);
    const DWORD password = kind == kPlainField ? 0 : ES_PASSWORD;
    const HWND field = CreateWindowExA(WS_EX_CLIENTEDGE, kind == kPadField ? kPadClass : "Edit", "",
        WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | password, 10, 10, 360, 24, frame, nullptr, nullptr, nullptr);
    SetFocus(field);
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kReplaceField)
        placeField(window, wParam);
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerClass(const char* name, WNDPROC procedure)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    registerClass(kEditBoxClass, frameProc);
    registerClass(kPadClass, padProc);
    const HWND frame = CreateWindowExA(0, kEditBoxClass, commandLine, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
        400, 400, 120, nullptr, nullptr, instance, nullptr);
    SetForegroundWindow(frame);
    placeField(frame,
        strcmp(commandLine, "pad") == 0         ? kPadField
            : strcmp(commandLine, "plain") == 0 ? kPlainField
                                                : kPasswordField);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    CoUninitialize();
    return 0;
}
