#include "app/main_window.h"

#include "app/administrator_restart.h"
#include "app/focus_events.h"
#include "app/process_map.h"
#include "app/process_objects.h"
#include "app/system_menu.h"
#include "common/code_pages.h"
#include "common/process_globals.h"
#include "display/input_state.h"
#include "display/painting.h"
#include "hook/hook_library.h"
#include "pictures/pictures.h"
#include "privacy/password_focus.h"
#include "privacy/password_wait.h"
#include "resource_ids.h"
#include "scale/display_scale.h"
#include "settings/app_settings.h"
#include "ui/settings_dialog.h"
#include "window/placement.h"

namespace {

constexpr char kProgramName[] = "Taveloキーボード Ver1.02";

constexpr DWORD kMainWindowStyle = WS_POPUP | WS_BORDER | WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX;

// Sent before WM_DPICHANGED on newer systems; older headers lack it.
constexpr UINT kGetDpiScaledSize = 0x02E4;

void runCreationSequence(HWND window)
{
    displayDpi = windowDpi(window);
    SendMessageA(window, WM_SETICON, ICON_SMALL,
        reinterpret_cast<LPARAM>(LoadIconA(instanceHandle, MAKEINTRESOURCEA(IDI_MAIN))));
    hookLibrary.loadAndStart(window);
    if (loadBasePicture())
        placeWindow(false);
    loadPressedPicture(UseCustomImage, CustomImageName);
    clearAll();
    setTopmost(window, MostTop);
    setShown(window, true);
    startFollowingFocus(window);
    addSystemMenuItems(window); // above the restart item, which stays next to Close
    addRestartAsAdministratorItem(window);
    firstPaintPending = 1;
}

void runSettingsCommand(HWND window)
{
    const int previousPosition = DefaultPosition;
    if (!runSettingsDialog(window))
        return;
    setTopmost(window, MostTop);
    if (DefaultPosition != previousPosition)
        placeWindow(true);
}

// The window went to a monitor of another scale, or the scale changed: the pictures are made
// again for it, the held keys stay lit, and the window takes the place the system offers.
void applyDisplayScale(HWND window, UINT dpi, const RECT& suggested)
{
    displayDpi = dpi;
    reloadPictures();
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
        suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    requestWholePaint(window);
}

// Where the window stands, in screen coordinates. A minimised window reports a far-off parking
// place; its restored place is what the user expects to find at the next start.
POINT windowTopLeft(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT topLeft{rect.left, rect.top};
    if (!IsIconic(window))
        return topLeft;

    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return topLeft;
    // The restored rectangle is in work-area coordinates; a taskbar on the left or top shifts
    // them from the screen's.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    topLeft.x = placement.rcNormalPosition.left + monitor.rcWork.left - monitor.rcMonitor.left;
    topLeft.y = placement.rcNormalPosition.top + monitor.rcWork.top - monitor.rcMonitor.top;
    return topLeft;
}

void recordPosition(HWND window)
{
    const POINT topLeft = windowTopLeft(window);
    Left = topLeft.x;
    Top = topLeft.y;
}

// The system ends the process as soon as WM_ENDSESSION returns: the message loop never finishes and
// the registry is never destroyed, so its write-back runs here. The hooks end with the process.
void saveBeforeSessionEnds(HWND window)
{
    recordPosition(window);
    settingsRegistry.writeAll();
}

// One handler per message; each answers as the message asks.

LRESULT onCreate(HWND window)
{
    mainWindow = window;
    runCreationSequence(window);
    return 0;
}

LRESULT onDestroy()
{
    stopFollowingFocus();
    PostQuitMessage(0);
    return 0;
}

LRESULT onMoveOrActivate()
{
    paintNow();
    return 0;
}

LRESULT onSize(WPARAM kind)
{
    if (kind == SIZE_MINIMIZED) {
        clearAll();
        paintNow();
    }
    return 0;
}

LRESULT onClose(HWND window)
{
    recordPosition(window);
    DestroyWindow(window);
    return 0;
}

// FALSE: another program refused, the session goes on.
LRESULT onEndSession(HWND window, WPARAM ending)
{
    if (ending)
        saveBeforeSessionEnds(window);
    return 0;
}

LRESULT onCommand(HWND window, WPARAM command)
{
    if (LOWORD(command) == IDM_SETTINGS)
        runSettingsCommand(window);
    return 0;
}

LRESULT onSysCommand(HWND window, WPARAM command, LPARAM lParam)
{
    if (runSystemMenuCommand(window, command & 0xFFF0))
        return 0;
    if ((command & 0xFFF0) != kRestartAsAdministratorCommand)
        return DefWindowProcW(window, WM_SYSCOMMAND, command, lParam);
    recordPosition(window);
    if (handOverToAdministratorCopy(
            window, kMainWindowClass, singleInstanceGuard, settingsRegistry, startAsAdministrator))
        DestroyWindow(window);
    return 0;
}

// Each of the window's timers by its identifier; one that is not ours is the system's business.
LRESULT onTimer(HWND window, WPARAM timer, LPARAM lParam)
{
    switch (timer) {
    case WHEEL_TIMER_ID:
        expireWheel(window);
        return 0;
    case MINIMUM_LIT_TIMER_ID:
        expireMinimumLit(window);
        return 0;
    case PASSWORD_WAIT_TIMER_ID:
        endPasswordWait(window);
        return 0;
    default:
        return DefWindowProcW(window, WM_TIMER, timer, lParam);
    }
}

LRESULT onPasswordJudge(HWND window, WPARAM news)
{
    followPasswordJudge(window, news);
    return 0;
}

LRESULT onDpiChanged(HWND window, WPARAM dpis, LPARAM suggested)
{
    applyDisplayScale(window, LOWORD(dpis), *reinterpret_cast<const RECT*>(suggested));
    return 0;
}

LRESULT onGetDpiScaledSize(WPARAM dpi, LPARAM size)
{
    *reinterpret_cast<SIZE*>(size) = windowSizeForDpi(static_cast<UINT>(dpi));
    return TRUE;
}

LRESULT onHookEvent(HWND window, WPARAM device, LPARAM event)
{
    if (applyHookEvent(device, event))
        showPause(window);
    return 0;
}

// The system menu opens: its check marks follow the pause and the Run value as they stand now.
LRESULT onInitMenuPopup(HWND window, WPARAM menu, LPARAM lParam)
{
    if (HIWORD(lParam))
        markSystemMenu(window);
    return DefWindowProcW(window, WM_INITMENUPOPUP, menu, lParam);
}

} // namespace

LRESULT CALLBACK keyboardViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(window);
    case WM_DESTROY:
        return onDestroy();
    case WM_MOVE:
    case WM_ACTIVATE:
        return onMoveOrActivate();
    case WM_SIZE:
        return onSize(wParam);
    case WM_PAINT:
        return onPaintMessage(window);
    case WM_PRINTCLIENT:
        return onPrintClientMessage(reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
        return onClose(window);
    case WM_QUERYENDSESSION:
        return TRUE; // never hold up a shutdown
    case WM_ENDSESSION:
        return onEndSession(window, wParam);
    case WM_COMMAND:
        return onCommand(window, wParam);
    case WM_SYSCOMMAND:
        return onSysCommand(window, wParam, lParam);
    case WM_TIMER:
        return onTimer(window, wParam, lParam);
    case WM_PASSWORD_JUDGE:
        return onPasswordJudge(window, wParam);
    case WM_DPICHANGED:
        return onDpiChanged(window, wParam, lParam);
    case kGetDpiScaledSize:
        return onGetDpiScaledSize(wParam, lParam);
    case WM_HOOKEVENT:
        return onHookEvent(window, wParam, lParam);
    case WM_INITMENUPOPUP:
        return onInitMenuPopup(window, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

std::wstring windowCaption(const char* note)
{
    std::string caption = kProgramName;
    if (note)
        caption.append(" － ").append(note);
    return programText(caption.c_str());
}

// A Unicode window, so that the caption that the system holds is the real text, not one read
// through the system's code page.
bool registerMainWindowClass()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = keyboardViewProc;
    windowClass.hInstance = instanceHandle;
    windowClass.hIcon = LoadIconA(instanceHandle, MAKEINTRESOURCEA(IDI_MAIN));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    const std::wstring className = programText(kMainWindowClass);
    windowClass.lpszClassName = className.c_str();
    return RegisterClassW(&windowClass) != 0;
}

HWND createMainWindow()
{
    return CreateWindowExW(WS_EX_ACCEPTFILES, programText(kMainWindowClass).c_str(), windowCaption().c_str(),
        kMainWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
        instanceHandle, nullptr);
}
