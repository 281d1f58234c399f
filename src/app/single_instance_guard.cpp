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
    // Waiting is the least right there is. A copy without administrator rights may be refused
    // even that on the mutex of a copy that has them; the refusal says that the mutex exists.
    HANDLE opened = OpenMutexA(SYNCHRONIZE, FALSE, name);
    const DWORD error = GetLastError();
    KernelHandle existing;
    existing.attach(opened);
    if (!opened && error != ERROR_ACCESS_DENIED)
        return false;
    // Only the answer matters; the first copy keeps the mutex alive.
    findWindowOf(name, otherWindow);
    return true;
}

bool SingleInstanceGuard::takeMutexOrFindOtherCopy(const char* name, HWND* otherWindow)
{
    HANDLE created = CreateMutexA(nullptr, TRUE, name);
    // Copies started in the same instant can all miss the mutex in the first step; only the one
    // whose create made it goes on. The others keep no handle, so the mutex still ends with its
    // creator. A mutex that this copy may not even open was made by another.
    const bool madeByAnother
        = created ? GetLastError() == ERROR_ALREADY_EXISTS : GetLastError() == ERROR_ACCESS_DENIED;
    mutex.attach(created);
    if (!madeByAnother)
        return false;
    mutex.reset();
    findWindowOf(name, otherWindow);
    return true;
}

void activateOtherCopy(HWND other)
{
    ShowWindow(other, SW_SHOW);
    if (!IsZoomed(other))
        ShowWindow(other, SW_RESTORE);
    SetForegroundWindow(other);
}
