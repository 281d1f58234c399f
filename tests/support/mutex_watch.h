#pragma once
// A named mutex as another copy of the program meets it, from a thread of its own: a mutex is
// taken again at once by the thread that owns it, so only another thread sees who owns it.
#include <windows.h>

#include <string>
#include <thread>

#include "common/owned_handle.h"

namespace testing_support {

enum class MutexSeen { missing, refused, owned, free };
MutexSeen seenFromAnotherThread(const std::string& name);

// A running copy: a thread of its own owns the mutex `name` (made with the SDDL security when
// given, as a copy with other rights makes it) until the object goes, then lets it go and closes it.
class OtherCopyMutex {
public:
    explicit OtherCopyMutex(const std::string& name, const char* sddl = nullptr);
    ~OtherCopyMutex();
    OtherCopyMutex(const OtherCopyMutex&) = delete;
    OtherCopyMutex& operator=(const OtherCopyMutex&) = delete;
    bool owns() const { return owning; }

private:
    KernelHandle stop;
    KernelHandle ready;
    bool owning = false;
    std::thread thread;
};

} // namespace testing_support
