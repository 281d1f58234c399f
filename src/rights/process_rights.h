#pragma once
#include <windows.h>

#include "rights/elevation_rule.h"

// True when this program runs as administrator (an elevated token).
bool programRunsElevated();

// What the system tells about the process of the window without waiting on that program: the
// process and its token are opened for a query only, never sent a message.
ForegroundFacts factsAboutWindow(HWND window);
