#pragma once
#include <windows.h>

// The system menu's own commands: the low four bits clear, below the system's. 管理者として再起動
// is 0x0010.
constexpr UINT kPauseCommand = 0x0020;
constexpr UINT kStartWithWindowsCommand = 0x0030;

// Puts 一時停止 and Windowsの起動時に開始 above Close, each checked as things stand, so that a
// keyboard without a right Ctrl can pause too.
void addSystemMenuItems(HWND window);
// Carries out one of the commands above; false for any other command.
bool runSystemMenuCommand(HWND window, UINT command);
// The check marks follow the pause and the Run value again, as the menu opens: another copy or the
// user may have changed the value meanwhile.
void markSystemMenu(HWND window);
// The pause began or ended: the caption, the dimming and the check mark follow it.
void showPause(HWND window);
