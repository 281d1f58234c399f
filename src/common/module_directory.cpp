#include "common/module_directory.h"

#include <windows.h>

#include <cwchar>
#include <iterator>

#include "common/path_helpers.h"

ModuleDirectoryStorage ModuleDirectory;

namespace {

constexpr DWORD kFirstPathBuffer = 512;
// Beyond the longest path that the system can give; stops the growing.
constexpr DWORD kLargestPathBuffer = 65536;

} // namespace

std::wstring executablePath()
{
    // A path that does not fit is grown for rather than cut: a cut directory would put the
    // settings file somewhere else.
    for (DWORD size = kFirstPathBuffer; size <= kLargestPathBuffer; size *= 2) {
        std::wstring buffer(size, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0)
            break;
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
    }
    return std::wstring();
}

void storeDirectoryOf(ModuleDirectoryStorage& storage, const wchar_t* path)
{
    const std::wstring directory = directoryPart(std::wstring(path));
    const size_t length = directory.size();
    if (length < std::size(storage.text)) {
        std::wmemcpy(storage.text, directory.c_str(), length + 1);
        return;
    }
    wchar_t* held = new wchar_t[length + 1];
    std::wmemcpy(held, directory.c_str(), length + 1);
    storage.longText = held;
}

bool prepareModuleDirectory()
{
    if (ModuleDirectory.empty())
        storeDirectoryOf(ModuleDirectory, executablePath().c_str());
    return SetCurrentDirectoryW(ModuleDirectory.get()) != FALSE;
}

const wchar_t* moduleDirectory()
{
    prepareModuleDirectory();
    return ModuleDirectory.get();
}

std::wstring besideProgram(const std::wstring& name)
{
    const wchar_t* directory = moduleDirectory();
    if (directory[0] == 0)
        return std::wstring();
    return std::wstring(directory) + L'\\' + name;
}
