#include "support/system_dpi.h"

namespace testing_support {

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kDpiValue[] = "LogPixels";

bool writeDpiSetting(const std::optional<DWORD>& dpi)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return false;
    const LSTATUS status = dpi
        ? RegSetValueExA(key, kDpiValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*dpi), sizeof(DWORD))
        : RegDeleteValueA(key, kDpiValue);
    RegCloseKey(key);
    return status == ERROR_SUCCESS || (!dpi && status == ERROR_FILE_NOT_FOUND);
}

} // namespace

std::optional<DWORD> systemDpiSetting()
{
    DWORD dpi = 0;
    DWORD size = sizeof dpi;
    if (RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, kDpiValue, RRF_RT_REG_DWORD, nullptr, &dpi, &size)
        != ERROR_SUCCESS)
        return std::nullopt;
    return dpi;
}

ScopedSystemDpi::ScopedSystemDpi(DWORD dpi)
    : previous(systemDpiSetting())
    , written(writeDpiSetting(dpi))
{
}

ScopedSystemDpi::~ScopedSystemDpi() { writeDpiSetting(previous); }

} // namespace testing_support
