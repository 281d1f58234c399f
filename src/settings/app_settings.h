#pragma once
#include <string>

#include "settings/settings_registry.h"
#include "settings/value_rules.h"

// The eight persistent settings. The settings registry fills them from TaveloKeyboard.ini at
// start-up and writes them back when the process ends, or earlier when the session ends; the rest
// of the program reads and changes them directly.
extern int DefaultPosition;         // start-up cell of a 3 x 3 screen grid, 0..8, row by row
extern bool MostTop;                // keep the window above all others
extern bool MemorizePosition;       // reopen where the window was closed
extern int Left;                    // window's left edge at the last close, -1 when unknown
extern int Top;                     // window's top edge at the last close, -1 when unknown
extern bool UseCustomImage;         // take the pressed picture from the user's bitmap file
extern std::string CustomImageName; // that file; a process-wide object of its own
extern int WheelInitTime;           // how long a wheel arrow stays lit, in milliseconds, at least 1

// Binds the eight settings to their keys in TaveloKeyboard.ini, reading each at once, in the order
// that the program has always used; a wheel time below 1 becomes 1.
void bindAppSettings(SettingsRegistry& registry);
