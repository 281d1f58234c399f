#pragma once
#include <windows.h>

// The module instance of the executable, set first thing by the entry function; every resource
// is loaded from it.
extern HINSTANCE instanceHandle;

// The desktop window until the main window's creation message makes it the main window. It owns
// every warning box and receives the hook events, the password judge's news and the window
// timers (common/window_timers.h).
extern HWND mainWindow;
