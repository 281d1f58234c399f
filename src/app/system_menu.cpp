#include "app/system_menu.h"

#include <string>

#include "app/start_with_windows.h"
#include "app/window_notice.h"
#include "common/code_pages.h"
#include "display/input_state.h"

namespace {

constexpr char kPauseItemText[] = "一時停止";
constexpr char kStartItemText[] = "Windowsの起動時に開始";
constexpr char kPauseNote[] = "一時停止中（左右のCtrlで再開）";

int positionOfClose(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (GetMenuItemID(menu, position) == SC_CLOSE)
            return position;
    }
    return count;
}

void check(HMENU menu, UINT command, bool checked)
{
    CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace

void insertAboveClose(HMENU menu, UINT command, const char* text, HBITMAP bitmap)
{
    std::wstring wide = programText(text);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | (bitmap ? MIIM_BITMAP : 0);
    item.wID = command;
    item.dwTypeData = wide.data();
    item.hbmpItem = bitmap;
    InsertMenuItemW(menu, static_cast<UINT>(positionOfClose(menu)), TRUE, &item);
}

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
