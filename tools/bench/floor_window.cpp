// The floor of the benchmarks: the least a program must do to show a window like the keyboard
// window and light key A. Same style, same client size, a one-item menu bar, a class with the
// button-face background; a low-level keyboard hook on its GUI thread fills A's rectangle red
// while A is held, and a posted hook event for A does the same, so that one event and its paint
// are measured against the same platform work; a bare low-level mouse hook answers every mouse
// event at once. It paints its client area once. Whatever the
// keyboard program costs beyond this is its own work.
#include <windows.h>

namespace {

constexpr char className[] = "TAVELO_BenchFloor";
constexpr DWORD windowStyle = 0x80CA0000; // popup, border, dialog frame, system menu, minimise box
constexpr int pictureWidth = 1000;
constexpr int pictureHeight = 242;
constexpr RECT keyA{71, 126, 71 + 38, 126 + 38};
constexpr DWORD vkA = 0x41;
constexpr COLORREF paintColour = RGB(0x20, 0x60, 0xA0);
constexpr COLORREF heldColour = RGB(0xFF, 0x00, 0x00);

HWND mainWindow = nullptr;
bool painted = false;
bool holdingA = false;

// The screen's scale in dots per inch; 96 is 100 %.
int screenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// Asked once: the scale does not change while the floor runs.
int dpi = 96;

int scaled(int length) { return (length * dpi + 48) / 96; }

RECT scaledKeyA() { return {scaled(keyA.left), scaled(keyA.top), scaled(keyA.right), scaled(keyA.bottom)}; }

void fill(HDC dc, const RECT& rect, COLORREF colour)
{
    if (HBRUSH brush = CreateSolidBrush(colour)) {
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
}

// Paints the whole client area the first time and A's rectangle whenever it changes;
// otherwise only validates, as the keyboard program does when nothing changed.
void onPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc) {
        if (!painted) {
            RECT client;
            GetClientRect(window, &client);
            fill(dc, client, paintColour);
            painted = true;
        }
        RECT key = scaledKeyA();
        RECT update;
        if (IntersectRect(&update, &key, &paint.rcPaint))
            fill(dc, key, holdingA ? heldColour : paintColour);
    }
    EndPaint(window, &paint);
}

// A changed: its rectangle is painted anew.
void showA(bool down)
{
    if (down == holdingA || !mainWindow)
        return;
    holdingA = down;
    const RECT key = scaledKeyA();
    InvalidateRect(mainWindow, &key, FALSE);
}

LRESULT CALLBACK keyboardHook(int code, WPARAM message, LPARAM data)
{
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (code == HC_ACTION && event->vkCode == vkA)
        showA(!(event->flags & LLKHF_UP));
    return CallNextHookEx(nullptr, code, message, data);
}

// The least any low-level mouse hook costs a move.
LRESULT CALLBACK bareMouseHook(int code, WPARAM message, LPARAM data)
{
    return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        onPaint(window);
        return 0;
    case WM_USER: // a hook event as keyhook.dll posts it: only A's is shown
        if (wParam == 0 && (lParam & 0xFFFF) == vkA)
            showA((static_cast<DWORD>(lParam) >> 16) != 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The menu bar makes the client area the same height as the keyboard window's.
HMENU createMenuBar()
{
    HMENU menu = CreateMenu();
    if (menu)
        AppendMenuA(menu, MF_STRING, 40001, "設定(&C)");
    return menu;
}

// The outer size whose client area is the keyboard picture's at the screen's scale, from the
// same metrics the keyboard program sizes its window with (1006 x 286 under Wine at 100 %).
SIZE windowSize()
{
    const int frameWidth = GetSystemMetrics(SM_CXDLGFRAME);
    const int frameHeight = GetSystemMetrics(SM_CYDLGFRAME);
    return {2 * frameWidth + scaled(pictureWidth),
        GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) + 2 * frameHeight
            + scaled(pictureHeight)};
}

bool registerClass(HINSTANCE instance)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return RegisterClassA(&windowClass) != 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!registerClass(instance))
        return 1;
    dpi = screenDpi();
    // Installed before the window exists, as the keyboard program starts its hook while its
    // window is being created.
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, keyboardHook, instance, 0);
    HHOOK mouseHook = SetWindowsHookExA(WH_MOUSE_LL, bareMouseHook, instance, 0);
    const SIZE size = windowSize();
    mainWindow = CreateWindowExA(WS_EX_ACCEPTFILES, className, "Tavelo floor", windowStyle, 100, 100, size.cx,
        size.cy, nullptr, createMenuBar(), instance, nullptr);
    if (!mainWindow)
        return 1;
    // Like the keyboard program, the first paint comes through the message loop.
    ShowWindow(mainWindow, SW_SHOW);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (hook)
        UnhookWindowsHookEx(hook);
    if (mouseHook)
        UnhookWindowsHookEx(mouseHook);
    return 0;
}
