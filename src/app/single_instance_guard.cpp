#include "app/single_instance_guard.h"

namespace {

void findWindowOf(const char* name, HWND* otherWindow)
{
    if (otherWindow)
        *otherWindow = FindWindowA(name, nullptr);
}

} // namespace

bool SingleInstanceGuard::check(const char* name, HWND* otherWindow)
{
    return findOtherCopy(name, otherWindow) || takeMutexOrFindOtherCopy(name, otherWindow);
}

bool SingleInstanceGuard::findOtherCopy(const char* name, HWND* otherWindow)
{
    HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name);
    if (!existing)
        return false;
    // Only the answer matters; the first copy keeps the mutex alive.
    CloseHandle(existing);
    findWindowOf(name, otherWindow);
    return true;
}

bool SingleInstanceGuard::takeMutexOrFindOtherCopy(const char* name, HWND* otherWindow)
{
    HANDLE created = CreateMutexA(nullptr, TRUE, name);
    // Copies started in the same instant can all miss the mutex in the first step; only the one
    // whose create made it goes on. The others keep no handle, so the mutex still ends with its
    // creator.
    const bool madeByAnother = created && GetLastError() == ERROR_ALREADY_EXISTS;
    mutex.attach(created);
    if (!madeByAnother)
        return false;
    mutex.reset();
    findWindowOf(name, otherWindow);
    return true;
}
