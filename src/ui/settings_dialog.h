#pragma once
// The modal settings dialog: shows six of the settings and, on OK, writes the controls straight
// into the settings variables. Nothing reaches the INI file before the process or the session
// ends.
#include <windows.h>

// Runs the dialog owned by the given window (disabled meanwhile); true only when OK ended it.
bool runSettingsDialog(HWND owner);

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
