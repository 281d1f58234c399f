#pragma once
#include <windows.h>

// Starting with Windows is one value of the user's Run key, the quoted full path of this
// executable; nothing else is written for it, anywhere.

// True when the value names this executable, in any letter case, as the system compares paths.
// A value of a copy in another folder does not.
bool startsWithWindows();

// The menu item's choice: removes the value when it names this executable, else writes it (over
// another copy's). A failure says so in a warning box and leaves the value as it was.
void switchStartWithWindows();
