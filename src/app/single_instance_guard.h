#pragma once
#include <windows.h>

#include "common/owned_handle.h"

// Keeps a second copy of the program from running: the running copy owns a named mutex for its
// whole life. A mutex that merely exists proves nothing (a copy in the middle of its start, or any
// tool, may hold a handle to it); one that nobody owns, or whose owner ended without letting it go,
// belongs to the copy that starts now. A copy without administrator rights may not even open the
// mutex of one that has them; being refused also means that another copy runs.
class SingleInstanceGuard {
public:
    // True when another copy runs; then `otherWindow`, if given, receives that copy's window of the
    // class `name` (null when it has none yet), and nothing is held. Otherwise this copy owns the
    // mutex from now on (on this thread).
    bool check(const char* name, HWND* otherWindow);

    // Lets the mutex go, so that a copy started now becomes the running one.
    void release() { mutex.reset(); }

private:
    OwnedMutex mutex;
};

// Brings the running copy's window to the front instead of starting a second one. Windows may
// refuse to bring a window of a copy with more rights forward; nothing else is tried then.
void activateOtherCopy(HWND other);
