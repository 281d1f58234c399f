#pragma once
#include <windows.h>

#include <oleacc.h>

#include "common/com_apartment.h"
#include "common/owned_handle.h"

// The accessibility functions, loaded from the system folder at the first question, never at
// start-up, and kept from then on: later questions start at once. Loaded on one thread before any
// asking thread uses them, read-only afterwards.
class AccessibilityLibrary {
public:
    using FromEvent = HRESULT(WINAPI*)(HWND, DWORD, DWORD, IAccessible**, VARIANT*);
    using FromWindow = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    using ClearVariant = HRESULT(WINAPI*)(VARIANT*);

    AccessibilityLibrary() = default;
    AccessibilityLibrary(const AccessibilityLibrary&) = delete;
    AccessibilityLibrary& operator=(const AccessibilityLibrary&) = delete;

    // True when the functions are there; loads them at the first call.
    bool ready();

    FromEvent fromEvent = nullptr;
    FromWindow fromWindow = nullptr;
    ClearVariant clear = nullptr;

private:
    ModuleHandle accessibility;
    ModuleHandle automation;
    // Kept loaded for the asking threads, which start and end COM each time.
    ModuleHandle com;
    bool loaded = false;
};

// Whether accessibility reports a field as protected (STATE_SYSTEM_PROTECTED, which UI Automation
// providers also give for IsPassword): browsers, WPF, UWP and Electron mark their password fields
// so. These are calls that the other program must answer: one object per asking thread, used only
// there, with COM started on that thread at the first question and shut down with the object.
// Both questions answer false when the object cannot be reached.
class AccessibleState {
public:
    explicit AccessibleState(const AccessibilityLibrary& library)
        : library(library)
    {
    }
    AccessibleState(const AccessibleState&) = delete;
    AccessibleState& operator=(const AccessibleState&) = delete;

    // The object named by a focus event.
    bool eventObjectIsProtected(HWND window, LONG object, LONG child);
    // The focused part of the window's client area.
    bool focusedPartIsProtected(HWND window);

private:
    bool stateIsProtected(IAccessible* object, VARIANT& child) const;
    bool focusedChildIsProtected(IAccessible* object) const;

    const AccessibilityLibrary& library;
    // Objects of other processes arrive as proxies, which need COM on this thread.
    ComApartment com;
};
