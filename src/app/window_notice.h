#pragma once
#include <windows.h>

// What the window says of itself after its name while it cannot show keys, the first shown
// winning: a pause the user asked for comes before the administrator sign.
enum WindowNotice : unsigned { PauseNotice, AdministratorNotice, WindowNoticeCount };

// Shows `note` for the notice, or takes it away (null). The caption carries the first shown
// notice's note; the picture is dimmed while any notice shows.
void showNotice(HWND window, WindowNotice notice, const char* note);
