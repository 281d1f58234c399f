#include "app/start_with_windows.h"

#include <string>

#include "common/module_directory.h"
#include "common/owned_handle.h"
#include "common/path_helpers.h"
#include "common/warning.h"

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"TaveloKeyboard";
constexpr char kWriteFailed[] = "Windowsの起動時に開始する設定を書き込めませんでした";

// The value's text, an expandable one expanded; empty when there is none.
std::wstring runCommand()
{
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, nullptr, &bytes)
        != ERROR_SUCCESS)
        return {};
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, text.data(), &bytes)
        != ERROR_SUCCESS)
        return {};
    text.resize(text.find(L'\0'));
    return text;
}

bool writeRunValue(HKEY key, bool start)
{
    if (!start)
        return RegDeleteValueW(key, kRunValue) == ERROR_SUCCESS;
    const std::wstring program = executablePath();
    if (program.empty())
        return false;
    const std::wstring command = L"\"" + program + L"\"";
    return RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
               static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)))
        == ERROR_SUCCESS;
}

} // namespace

bool startsWithWindows()
{
    const std::wstring command = runCommand();
    const std::wstring_view program = commandProgram(command);
    const std::wstring self = executablePath();
    return !program.empty() && !self.empty()
        && CompareStringOrdinal(program.data(), static_cast<int>(program.size()), self.c_str(),
               static_cast<int>(self.size()), TRUE)
        == CSTR_EQUAL;
}

void switchStartWithWindows()
{
    const bool start = !startsWithWindows();
    HKEY opened = nullptr;
    const LONG created = RegCreateKeyExW(
        HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr);
    RegistryKeyHandle key;
    key.attach(created == ERROR_SUCCESS ? opened : nullptr);
    if (!key.get() || !writeRunValue(key.get(), start))
        showWarning(kWriteFailed);
}
