// The floor of the benchmarks: the least a program must do to show a window like the keyboard
// window. Same style, same outer size, a one-item menu bar, a class with the button-face
// background; it paints its client area once and ignores hook events. Whatever the keyboard
// program costs beyond this is its own work.
#include <windows.h>

namespace {

constexpr char className[] = "TAVELO_BenchFloor";
constexpr DWORD windowStyle = 0x80CA0000; // popup, border, dialog frame, system menu, minimise box
constexpr int clientWidth = 1000;
constexpr int clientHeight = 242;
constexpr COLORREF paintColour = RGB(0x20, 0x60, 0xA0);

bool painted = false;

// Paints the whole client area the first time; afterwards only validates, as the keyboard
// program does when nothing changed.
void onPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc && !painted) {
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(paintColour);
        if (brush) {
            FillRect(dc, &client, brush);
            DeleteObject(brush);
        }
        painted = true;
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        onPaint(window);
        return 0;
    case WM_USER: // a hook event: the floor keeps no state
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

// The outer size whose client area is the keyboard picture's, from the same metrics the keyboard
// program sizes its window with (1006 x 286 under Wine, 1006 x 287 on Windows).
SIZE windowSize()
{
    const int frameWidth = GetSystemMetrics(SM_CXDLGFRAME);
    const int frameHeight = GetSystemMetrics(SM_CYDLGFRAME);
    return {2 * frameWidth + clientWidth,
        GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) + 2 * frameHeight + clientHeight};
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
    const SIZE size = windowSize();
    HWND window = CreateWindowExA(WS_EX_ACCEPTFILES, className, "Tavelo floor", windowStyle, 100, 100,
        size.cx, size.cy, nullptr, createMenuBar(), instance, nullptr);
    if (!window)
        return 1;
    // Like the keyboard program, the first paint comes through the message loop.
    ShowWindow(window, SW_SHOW);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
