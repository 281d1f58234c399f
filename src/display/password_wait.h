#pragma once
#include <windows.h>

// How the window follows the password judge's news (WM_PASSWORD_JUDGE): after the focus moves,
// new key presses wait for the answer, at most a short while, or longer while the program asked
// is known to be working on it. The window's own timer keeps the limit; nothing here waits.
constexpr UINT_PTR PASSWORD_WAIT_TIMER_ID = 3;

void followPasswordJudge(HWND window, WPARAM news);
// The password wait timer fired: what waits shows, and the judge's answer still counts later.
void endPasswordWait(HWND window);
