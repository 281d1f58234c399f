#include "app/system_menu.h"

#include "app/above_close.h"
#include "app/start_with_windows.h"
#include "app/window_notice.h"
#include "display/input_state.h"

namespace {

constexpr char kPauseItemText[] = "一時停止";
constexpr char kStartItemText[] = "Windowsの起動時に開始";
constexpr char kPauseNote[] = "一時停止中（左右のCtrlで再開）";

void check(HMENU menu, UINT command, bool checked)
{
    CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace

void addSystemMenuItems(HWND window)
{
    const HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu)
        return;
    insertAboveClose(menu, kPauseCommand, kPauseItemText);
    insertAboveClose(menu, kStartWithWindowsCommand, kStartItemText);
    markSystemMenu(window);
}

bool runSystemMenuCommand(HWND window, UINT command)
{
    if (command == kPauseCommand) {
        togglePause(window);
        showPause(window);
    } else if (command == kStartWithWindowsCommand) {
        switchStartWithWindows();
        markSystemMenu(window);
    } else {
        return false;
    }
    return true;
}

void markSystemMenu(HWND window)
{
    const HMENU menu = GetSystemMenu(window, FALSE);
    check(menu, kPauseCommand, paused());
    check(menu, kStartWithWindowsCommand, startsWithWindows());
}

void showPause(HWND window)
{
    showNotice(window, PauseNotice, paused() ? kPauseNote : nullptr);
    check(GetSystemMenu(window, FALSE), kPauseCommand, paused());
}
