#pragma once
#include <windows.h>

// Whether accessibility reports a field as protected (STATE_SYSTEM_PROTECTED, which UI Automation
// providers also give for IsPassword): browsers, WPF, UWP and Electron mark their password fields
// so. oleacc and COM are loaded at the first question, never at start-up, and stay for the rest
// of the process. Both answer false when the object cannot be reached.

// The object named by a focus event.
bool eventObjectIsProtected(HWND window, LONG object, LONG child);
// The focused part of the window's client area.
bool focusedPartIsProtected(HWND window);
