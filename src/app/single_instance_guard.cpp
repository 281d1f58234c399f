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
    mutex.attach(CreateMutexA(nullptr, TRUE, name));
    return false;
}
