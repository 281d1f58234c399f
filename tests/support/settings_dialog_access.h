#pragma once
// Reads and works the settings dialog's controls from another thread or process, as a user
// would, and finds the dialog of a process.
#include <windows.h>

#include <ostream>
#include <string>

#include "../../resources/resource_ids.h"

namespace testing_support {

// The process's visible settings dialog, or null.
HWND findSettingsDialog(DWORD processId);

void click(HWND dialog, int id);
bool isChecked(HWND dialog, int id);
bool isEnabled(HWND dialog, int id);
void setText(HWND dialog, int id, const std::string& text);
std::string text(HWND dialog, int id);

// What the dialog shows of the six settings, and which of the controls that the check boxes rule
// are enabled.
struct DialogView {
    int position = -1; // the one checked position button 0..8; -1 none, -2 several
    bool mostTop = false;
    bool memorize = false;
    bool useCustom = false;
    std::string wheelTime;
    std::string imageName;
    int enabledPositions = 0;
    bool imageNameEnabled = false;
    bool operator==(const DialogView&) const = default;
};
DialogView readDialog(HWND dialog);
// The view of a dialog opened on these settings: the grid enabled only when no position is
// remembered, the name only when the picture is used.
DialogView viewOf(int position, bool mostTop, bool memorize, bool useCustom, const std::string& wheelTime,
    const std::string& imageName);
std::ostream& operator<<(std::ostream& out, const DialogView& view);

} // namespace testing_support
