#include "keyhook.h"

// Placeholder exports: the hooks themselves arrive with the hook thread.
BOOL WINAPI StartHook(HWND) { return FALSE; }

void WINAPI EndHook() { }

BOOL WINAPI IsHooking() { return FALSE; }
