#pragma once
// The display scale of the Wine prefix, for tests that start a program at another DPI.
#include <windows.h>

#include <optional>

namespace testing_support {

// The prefix's LogPixels under HKCU\Control Panel\Desktop; empty when it is not set (96).
std::optional<DWORD> systemDpiSetting();

// Sets the display scale that every Wine process started from now on takes (96 = 100 %, 144 =
// 150 %); this process keeps its own. The previous setting, or its absence, is put back when the
// object goes, whatever happened meanwhile.
class ScopedSystemDpi {
public:
    explicit ScopedSystemDpi(DWORD dpi);
    ~ScopedSystemDpi();
    ScopedSystemDpi(const ScopedSystemDpi&) = delete;
    ScopedSystemDpi& operator=(const ScopedSystemDpi&) = delete;

    // True when the new value was written.
    bool applied() const { return written; }

private:
    std::optional<DWORD> previous;
    bool written = false;
};

} // namespace testing_support
