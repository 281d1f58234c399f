#include "support/system_dpi.h"

namespace testing_support {

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kValue[] = "LogPixels";

bool writeDpi(DWORD dpi)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const bool written
        = RegSetValueExA(key, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi)
        == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

} // namespace

ScopedSystemDpi::ScopedSystemDpi(DWORD dpi)
{
    DWORD size = sizeof previous;
    hadPrevious
        = RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, kValue, RRF_RT_REG_DWORD, nullptr, &previous, &size)
        == ERROR_SUCCESS;
    done = writeDpi(dpi);
}

ScopedSystemDpi::~ScopedSystemDpi()
{
    if (hadPrevious)
        writeDpi(previous);
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, kValue);
}

} // namespace testing_support
