#pragma once
// The display scale that programs started from now on get: under Wine, the LogPixels value of the
// user's desktop settings, read by each new process.
#include <windows.h>

namespace testing_support {

// Sets the scale for programs started while the object lives, and puts the earlier value back
// (or removes it, when there was none) when it goes.
class ScopedSystemDpi {
public:
    explicit ScopedSystemDpi(DWORD dpi);
    ~ScopedSystemDpi();
    ScopedSystemDpi(const ScopedSystemDpi&) = delete;
    ScopedSystemDpi& operator=(const ScopedSystemDpi&) = delete;

    bool applied() const { return done; }

private:
    DWORD previous = 0;
    bool hadPrevious = false;
    bool done = false;
};

} // namespace testing_support
