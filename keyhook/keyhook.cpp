#include "keyhook.h"

#include "hook_thread.h"

namespace {

// The exports may be called from any thread; one at a time they start and end the hook thread.
SRWLOCK exportLock = SRWLOCK_INIT;
// Its destructor only closes the thread's handle: the library is never unloaded while its hook
// thread runs (the thread holds a reference), and at process end the thread is already gone.
keyhook::HookThread hookThread;

} // namespace

BOOL WINAPI StartHook(HWND target)
{
    AcquireSRWLockExclusive(&exportLock);
    const bool started = hookThread.start(target);
    ReleaseSRWLockExclusive(&exportLock);
    return started ? TRUE : FALSE;
}

void WINAPI EndHook()
{
    AcquireSRWLockExclusive(&exportLock);
    hookThread.stop();
    ReleaseSRWLockExclusive(&exportLock);
}

BOOL WINAPI IsHooking()
{
    AcquireSRWLockShared(&exportLock);
    const bool running = hookThread.running();
    ReleaseSRWLockShared(&exportLock);
    return running ? TRUE : FALSE;
}
