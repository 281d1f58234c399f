#pragma once
// Drives the modal settings dialog from a second thread while the test thread sits in the
// dialog's own message loop, the way a user would.
#include <windows.h>

#include <functional>

#include "support/settings_dialog_access.h"

namespace dialog_driver {

// How one run of the dialog went.
struct DrivenRun {
    bool result = false; // what runSettingsDialog answered
    bool found = false;  // the script saw the dialog
    bool closed = false; // the dialog was gone after the script, without help
};

// Runs runSettingsDialog with the given owner on this thread; once the dialog is shown, runs the
// script on another thread with the dialog's handle. The script is expected to end the dialog.
// A dialog left open is cancelled so that the run always returns.
DrivenRun runDriven(HWND owner, const std::function<void(HWND dialog)>& script);

// A real Esc key for the control that has the focus, through the dialog's message loop.
void pressEscape(HWND dialog);

} // namespace dialog_driver
