#include "support/mutex_watch.h"

#include <sddl.h>

namespace testing_support {

MutexSeen seenFromAnotherThread(const std::string& name)
{
    MutexSeen seen = MutexSeen::missing;
    std::thread([&] {
        KernelHandle mutex;
        mutex.attach(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str()));
        if (!mutex.get()) {
            seen = GetLastError() == ERROR_ACCESS_DENIED ? MutexSeen::refused : MutexSeen::missing;
            return;
        }
        const DWORD wait = WaitForSingleObject(mutex.get(), 0);
        seen = wait == WAIT_TIMEOUT ? MutexSeen::owned : MutexSeen::free;
        if (wait != WAIT_TIMEOUT)
            ReleaseMutex(mutex.get());
    }).join();
    return seen;
}

OtherCopyMutex::OtherCopyMutex(const std::string& name, const char* sddl)
{
    stop.attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ready.attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    thread = std::thread([this, name, sddl] {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (sddl)
            ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr);
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
        OwnedMutex mutex;
        mutex.attach(CreateMutexA(&attributes, TRUE, name.c_str()));
        owning = mutex.get()
            && (GetLastError() != ERROR_ALREADY_EXISTS
                || WaitForSingleObject(mutex.get(), 0) == WAIT_OBJECT_0);
        LocalFree(descriptor);
        SetEvent(ready.get());
        WaitForSingleObject(stop.get(), INFINITE);
    });
    WaitForSingleObject(ready.get(), INFINITE);
}

OtherCopyMutex::~OtherCopyMutex()
{
    SetEvent(stop.get());
    thread.join();
}

} // namespace testing_support
