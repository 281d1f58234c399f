#include "app/single_instance_guard.h"

namespace {

bool otherCopyFound(const char* name, HWND* otherWindow)
{
    if (otherWindow)
        *otherWindow = FindWindowA(name, nullptr);
    return true;
}

// True once this thread owns the existing mutex: nobody owned it, or its owner ended holding it.
bool takenOver(HANDLE mutex)
{
    const DWORD wait = WaitForSingleObject(mutex, 0);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

} // namespace

bool SingleInstanceGuard::check(const char* name, HWND* otherWindow)
{
    // Making (or opening) and taking are one step for the system, so that of copies started in the
    // same instant exactly one goes on. A mutex that this copy may not even open was made by a copy
    // with more rights; one that the system fails to make for any other reason stops nothing.
    HANDLE created = CreateMutexA(nullptr, TRUE, name);
    if (!created)
        return GetLastError() == ERROR_ACCESS_DENIED && otherCopyFound(name, otherWindow);
    if (GetLastError() == ERROR_ALREADY_EXISTS && !takenOver(created)) {
        CloseHandle(created);
        return otherCopyFound(name, otherWindow);
    }
    mutex.attach(created);
    return false;
}

void activateOtherCopy(HWND other)
{
    ShowWindow(other, SW_SHOW);
    if (!IsZoomed(other))
        ShowWindow(other, SW_RESTORE);
    SetForegroundWindow(other);
}
