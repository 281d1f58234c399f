#pragma once
// Driving the installed program as a user does: real keys, buttons and wheel notches through the
// system's input queue, the settings dialog opened through the menu, and the settings file that
// the program writes at exit.
#include <windows.h>

#include <string>
#include <vector>

#include "support/installed_program.h"
#include "support/program_start.h"

namespace e2e {

// Where keys and mouse parts are drawn, in client pixels.
constexpr RECT kKeyA{71, 126, 71 + 38, 126 + 38};
constexpr RECT kLeftShift{0, 165, 89, 165 + 38};
constexpr RECT kRightCtrl{550, 204, 550 + 49, 204 + 38};
constexpr RECT kLeftButton{904, 0, 904 + 39, 54};
constexpr RECT kWheelUp{940, 54, 940 + 19, 54 + 31};
constexpr RECT kWheelDown{940, 85, 940 + 19, 85 + 31};

// A key (or the left mouse button, virtualKey VK_LBUTTON) held down through SendInput until
// released or destroyed.
class Held {
public:
    explicit Held(WORD virtualKey, WORD scanCode = 0, bool extended = false);
    ~Held() { release(); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    void release();

private:
    void send(bool up) const;
    WORD virtualKey;
    WORD scanCode;
    bool extended;
    bool down = true;
};
// One wheel notch away from the user (up) or towards the user (down).
void turnWheel(bool up);
// Puts the pointer on a screen corner outside the window, so that buttons and the wheel act on
// the bare desktop.
void parkPointerAwayFrom(HWND window);
// Posts the system command and waits until the window is minimised, or shown again.
bool minimise(HWND window);
bool restore(HWND window);

// Chooses the menu command of the main window and waits for the dialog; null when it did not
// show.
HWND openSettingsDialog(HWND mainWindow);
enum class DialogEnd { ok, cancelButton, escapeKey, closeBox };
// Ends the dialog that way; true when it went away.
bool endDialog(HWND dialog, DialogEnd how);

// The settings file as the program writes it at exit: both sections, keys sorted.
struct SettingsValues {
    std::string customImageName = "keyboard.bmp";
    int useCustomImage = 0;
    int wheelInitTime = 1000;
    int defaultPosition = 7;
    int left = -1;
    int memorizePosition = 1;
    int mostTop = 1;
    int top = -1;

    std::vector<std::string> lines() const;
    // The same lines with CRLF ends, for preparing a file.
    std::string text() const;
    SettingsValues closedAt(POINT place) const;
};

} // namespace e2e
