#pragma once
#include <windows.h>

// The desktop's focus and foreground, followed through one pair of out-of-context WinEvent hooks
// on the window's thread, which never waits for another program: each event goes to the password
// judge and to the administrator sign.
void startFollowingFocus(HWND window);
void stopFollowingFocus();
