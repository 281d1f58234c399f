#pragma once
#include <windows.h>

// While the window in front belongs to a program that runs as administrator and this one does not,
// the system keeps that window's input from the hooks. The keyboard window says so in its caption
// and shows its picture dimmed, lit keys too, until a window it can hear takes the foreground.
void startAdministratorSign(HWND window);
// The foreground or the focus moved.
void checkAdministratorSign();
void stopAdministratorSign();
