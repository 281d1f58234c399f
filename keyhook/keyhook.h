#pragma once
// The exports of keyhook.dll. The program loads them by name; this header is for the library
// itself and its tests.
#include <windows.h>

extern "C" {
// Starts watching the desktop's keyboard and mouse and posting one WM_HOOKEVENT per transition
// to `target`. Non-zero when the hooks run.
__declspec(dllexport) BOOL WINAPI StartHook(HWND target);
// Stops the hooks; harmless when none run.
__declspec(dllexport) void WINAPI EndHook();
// Non-zero while the hooks are installed.
__declspec(dllexport) BOOL WINAPI IsHooking();
}
