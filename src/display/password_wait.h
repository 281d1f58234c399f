#pragma once
#include <windows.h>

#include "common/window_timers.h"

// How the window follows the password judge's news (WM_PASSWORD_JUDGE): after the focus moves,
// new key presses wait for the answer, at most a short while, or longer while the program asked
// is known to be working on it. The window's own timer (PASSWORD_WAIT_TIMER_ID) keeps the limit;
// nothing here waits.

void followPasswordJudge(HWND window, WPARAM news);
// The password wait timer fired: what waits shows, and the judge's answer still counts later.
void endPasswordWait(HWND window);
