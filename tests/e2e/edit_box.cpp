// The password tests' program: one focused text field, "password" (an Edit with ES_PASSWORD),
// "plain", or "pad" (a class of its own that accessibility reports as protected, as browsers'
// fields are), or "stuck" (a stuck pad). Posting kReplaceField puts a field of another kind in the old one's
// place: the focus moves inside the window, so Wine does not reread the X server's key state, which would
// drop keys held through SendInput. "hung" focuses a button and then answers nothing for 3 s.
#include <oleacc.h>
#include <windows.h>

#include <string.h>

#include "edit_box.h"

namespace {

ATOM slowPadClass;
ATOM stuckPadClass;
bool stuckOnce = false;

// How long the pad keeps the asking program waiting for its object.
DWORD answerDelay(HWND window)
{
    const ATOM padClass = GetClassWord(window, GCW_ATOM);
    if (padClass == stuckPadClass && !stuckOnce) {
        stuckOnce = true;
        return 20000;
    }
    return padClass == slowPadClass ? 100 : 0;
}

// Describes its client area as the system describes the hidden edit control inside it, which
// takes the pad's password style.
LRESULT CALLBACK padProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        CreateWindowExA(0, "Edit", "", WS_CHILD | (GetWindowLongA(window, GWL_STYLE) & ES_PASSWORD), 0, 0, 9,
            9, window, nullptr, nullptr, nullptr);
    // The whole answer is late, not only its state: Wine answered E_NOINTERFACE for an object of
    // ours that wrapped the system's.
    if (message == WM_GETOBJECT)
        Sleep(answerDelay(window));
    IAccessible* accessible = nullptr;
    if (message != WM_GETOBJECT || static_cast<LONG>(lParam) != OBJID_CLIENT
        || FAILED(AccessibleObjectFromWindow(GetWindow(window, GW_CHILD), static_cast<DWORD>(OBJID_CLIENT),
            __uuidof(IAccessible), reinterpret_cast<void**>(&accessible))))
        return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, accessible);
    accessible->Release();
    return result;
}

const char* fieldClass(WPARAM kind)
{
    if (kind == kPadField)
        return "TaveloPad";
    if (kind == kStuckPadField)
        return "TaveloStuckPad";
    return kind == kSlowPadField || kind == kSlowPlainPadField ? "TaveloSlowPad" : "Edit";
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kReplaceField && wParam == kForegroundAgain)
        NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
    else if (message == kReplaceField) {
        DestroyWindow(GetWindow(window, GW_CHILD));
        const bool plain = wParam == kPlainField || wParam == kSlowPlainPadField;
        SetFocus(CreateWindowExA(WS_EX_CLIENTEDGE, fieldClass(wParam), "",
            WS_CHILD | WS_VISIBLE | (plain ? 0 : ES_PASSWORD), 10, 10, 360, 24, window, nullptr, nullptr,
            nullptr));
    }
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

FieldKind firstField(const char* commandLine)
{
    if (strcmp(commandLine, "pad") == 0)
        return kPadField;
    if (strcmp(commandLine, "stuck") == 0)
        return kStuckPadField;
    return strcmp(commandLine, "plain") == 0 ? kPlainField : kPasswordField;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WNDCLASSA frameClass{0, frameProc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, kEditBoxClass};
    WNDCLASSA padClass{0, padProc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, "TaveloPad"};
    RegisterClassA(&frameClass);
    RegisterClassA(&padClass);
    padClass.lpszClassName = "TaveloSlowPad";
    slowPadClass = RegisterClassA(&padClass);
    padClass.lpszClassName = "TaveloStuckPad";
    stuckPadClass = RegisterClassA(&padClass);
    const HWND frame = CreateWindowExA(0, kEditBoxClass, commandLine, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
        400, 400, 120, nullptr, nullptr, instance, nullptr);
    SetForegroundWindow(frame);
    if (strcmp(commandLine, "hung") == 0) {
        SetFocus(CreateWindowExA(
            0, "Button", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, frame, nullptr, nullptr, nullptr));
        Sleep(3000);
    } else {
        SendMessageA(frame, kReplaceField, firstField(commandLine), 0);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    CoUninitialize();
    return 0;
}
