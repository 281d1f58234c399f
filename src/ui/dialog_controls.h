#pragma once
// Reading and setting the state of single dialog controls, by the control's window handle.
#include <windows.h>

#include <string>

// True only for a fully checked button; the indeterminate state counts as unchecked.
bool isButtonChecked(HWND control);
void setButtonChecked(HWND control, bool checked);

// The control's number read the way atoi reads it: leading white space, an optional sign, then
// decimal digits up to the first other character; no digits give 0.
int getEditInt(HWND control);
void setEditInt(HWND control, int value);

// The control's text in the system's code page, at most maxBytes bytes and never ending in half of
// a double-byte character; and the other way round.
std::string getControlText(HWND control, int maxBytes);
void setControlText(HWND control, const std::string& text);

// The atoi reading behind getEditInt, except that a number beyond the 32-bit range gives the
// nearest value in range instead of an undefined result.
int parseLeadingInt(const char* text);
