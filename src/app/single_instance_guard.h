#pragma once
#include <windows.h>

#include "common/owned_handle.h"

// Keeps a second copy of the program from running: the first copy owns a named mutex for its
// whole life, and a later one finds it by that name.
class SingleInstanceGuard {
public:
    // True when another copy runs; then `otherWindow`, if given, receives that copy's window of the
    // class `name` (null when it has none yet). Otherwise this copy takes the mutex.
    bool check(const char* name, HWND* otherWindow);

private:
    KernelHandle mutex;
};
