#pragma once
// The exports of keyhook.dll. The program loads them by name; this header is for the library
// itself and its tests.
#include <windows.h>

extern "C" {
// Starts watching the desktop's keyboard and mouse on a thread of the library's own, posting one
// WM_HOOKEVENT (see hook_protocol.h) per transition to `target`. Non-zero when the hooks run; 0 for
// a null or invalid window (a running hook then carries on) or when the hooks cannot be installed.
// A second call with a valid window ends the first hook and starts anew for the new window.
__declspec(dllexport) BOOL WINAPI StartHook(HWND target);
// Unhooks and waits for the hook thread to end; harmless when none runs, and when called twice.
__declspec(dllexport) void WINAPI EndHook();
// Non-zero while the hooks are installed.
__declspec(dllexport) BOOL WINAPI IsHooking();
}
