#pragma once
#include <windows.h>

#include <string>

// The class and mutex name by which a second copy finds the first.
inline constexpr char kMainWindowClass[] = "TAVELO_WindowClass";

// The window's caption: the program's name and version, then what the window has to say of
// itself now, if anything.
std::wstring windowCaption(const char* note = nullptr);

// Routes every message of the keyboard window to the code that owns the work.
LRESULT CALLBACK keyboardViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool registerMainWindowClass();
// Creates the window; its creation message loads the hook and the pictures, sizes, places and
// shows it.
HWND createMainWindow();
