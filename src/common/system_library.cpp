#include "common/system_library.h"

#include <string>

#include "common/proc_address.h"

namespace {

// A Windows without the search flags refuses them with this error.
bool searchFlagsMissing() { return GetLastError() == ERROR_INVALID_PARAMETER; }

// The same place without the flags: the full path in the system folder. A library loaded this way
// looks for its own imports in its folder, the system folder, first.
HMODULE loadFromSystemFolder(const char* name)
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    for (const char* c = name; *c; ++c)
        path += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

void limitLibrarySearchToSystemFolder()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto limit = procAddress<SetDefaultDllDirectoriesFunction>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (limit)
        limit(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE loadSystemLibrary(const char* name)
{
    const HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module || !searchFlagsMissing() ? module : loadFromSystemFolder(name);
}

HMODULE loadLibraryAtPath(const wchar_t* path)
{
    const HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Its folder is then searched for its imports as well, after the known system libraries.
    return module || !searchFlagsMissing() ? module
                                           : LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
