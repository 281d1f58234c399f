#pragma once
// Drives the running program's settings dialog from outside: opens it through the menu command,
// reads and changes its controls and ends it the ways a user can.
#include <windows.h>

#include <string>

namespace e2e {

constexpr int kPositionButton = 1000; // 1000 + DefaultPosition
constexpr int kMostTopBox = 1009;
constexpr int kMemorizeBox = 1010;
constexpr int kWheelTimeEdit = 1011;
constexpr int kUseCustomBox = 1012;
constexpr int kImageNameEdit = 1013;

// Chooses the menu command of the main window and waits for the dialog of that process; null
// when it did not show.
HWND openSettingsDialog(HWND mainWindow);

bool isChecked(HWND dialog, int id);
bool isEnabled(HWND dialog, int id);
void click(HWND dialog, int id);
void setText(HWND dialog, int id, const std::string& text);
std::string text(HWND dialog, int id);

enum class DialogEnd { ok, cancelButton, escapeKey, closeBox };
// Ends the dialog that way; true when it went away.
bool endDialog(HWND dialog, DialogEnd how);

} // namespace e2e
