#pragma once
// The thread that owns the low-level hooks. Low-level hooks are called on the thread that
// installed them, so giving them a thread of their own keeps the desktop's input independent of
// whatever the program's GUI thread is doing.
#include <windows.h>

#include "scoped_handle.h"

namespace keyhook {

class HookThread {
public:
    HookThread() = default;
    HookThread(const HookThread&) = delete;
    HookThread& operator=(const HookThread&) = delete;

    // Ends a running thread first, then starts one that posts to target. True when both hooks
    // are installed.
    bool start(HWND target);
    // Asks the thread to unhook and waits for it; harmless when none runs.
    void stop();
    bool running() const { return static_cast<bool>(thread); }

private:
    ScopedKernelHandle thread;
    DWORD threadId = 0;
};

} // namespace keyhook
