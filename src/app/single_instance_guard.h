#pragma once
#include <windows.h>

#include "common/owned_handle.h"

// Keeps a second copy of the program from running: the first copy owns a named mutex for its
// whole life, and a later one finds it by that name. A copy without administrator rights may not
// open the mutex of one that has them; being refused also means that another copy runs.
class SingleInstanceGuard {
public:
    // True when another copy runs; then `otherWindow`, if given, receives that copy's window of the
    // class `name` (null when it has none yet). Otherwise this copy takes the mutex. Composes the
    // two steps below.
    bool check(const char* name, HWND* otherWindow);

    // First step: true when another copy's mutex exists already; `otherWindow` as for check.
    bool findOtherCopy(const char* name, HWND* otherWindow);
    // Second step: creates the mutex and keeps it. True when another copy created it after the
    // first step missed it; then no handle is kept, and `otherWindow` as for check.
    bool takeMutexOrFindOtherCopy(const char* name, HWND* otherWindow);

    // Lets the mutex go, so that a copy started now becomes the first one.
    void release() { mutex.reset(); }
    bool holdsMutex() const { return mutex.get() != nullptr; }

private:
    KernelHandle mutex;
};

// Brings the running copy's window to the front instead of starting a second one. Windows may
// refuse to bring a window of a copy with more rights forward; nothing else is tried then.
void activateOtherCopy(HWND other);
