#include "app/single_instance_guard.h"

bool SingleInstanceGuard::check(const char* name, HWND* otherWindow)
{
    if (HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name)) {
        // Only the answer matters; the first copy keeps the mutex alive.
        CloseHandle(existing);
        if (otherWindow)
            *otherWindow = FindWindowA(name, nullptr);
        return true;
    }
    HANDLE created = CreateMutexA(nullptr, TRUE, name);
    // Copies started in the same instant can all miss the mutex above; only the one whose create
    // made it goes on. The others keep no handle, so the mutex still ends with its creator.
    const bool madeByAnother = created && GetLastError() == ERROR_ALREADY_EXISTS;
    mutex.attach(created);
    if (madeByAnother) {
        mutex.reset();
        if (otherWindow)
            *otherWindow = FindWindowA(name, nullptr);
        return true;
    }
    return false;
}
