#pragma once
#include <windows.h>

#include <memory>

class AccessibilityLibrary;

// Whether accessibility reports a field as protected (STATE_SYSTEM_PROTECTED, which UI Automation
// providers also give for IsPassword): browsers, WPF, UWP and Electron mark their password fields
// so. These are calls that the other program must answer. One object per asking thread, used only
// there: oleacc and COM are loaded and started on it at the first question, never at start-up, and
// shut down with the object. Both questions answer false when the object cannot be reached.
class AccessibleState {
public:
    AccessibleState();
    ~AccessibleState();
    AccessibleState(const AccessibleState&) = delete;
    AccessibleState& operator=(const AccessibleState&) = delete;

    // The object named by a focus event.
    bool eventObjectIsProtected(HWND window, LONG object, LONG child);
    // The focused part of the window's client area.
    bool focusedPartIsProtected(HWND window);

private:
    std::unique_ptr<AccessibilityLibrary> library;
};
