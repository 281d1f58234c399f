#include "common/module_directory.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/path_helpers.h"

ModuleDirectoryStorage ModuleDirectory;

namespace {

// Beyond the longest path that the system can give; stops the growing.
constexpr DWORD kLargestPathBuffer = 65536;

// The executable's full path, however long; empty when it cannot be had. A path that does not fit
// is grown for rather than cut: a cut directory would put the settings file somewhere else.
std::vector<char> executablePath()
{
    for (DWORD size = 512; size <= kLargestPathBuffer; size *= 2) {
        std::vector<char> buffer(size, 0);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0)
            break;
        if (length < size)
            return buffer;
    }
    return std::vector<char>(1, 0);
}

void computeModuleDirectory()
{
    const std::vector<char> path = executablePath();
    std::vector<char> directory(path.size(), 0);
    directoryPart(directory.data(), path.data());
    const size_t length = std::strlen(directory.data());
    if (length < sizeof ModuleDirectory.text) {
        std::memcpy(ModuleDirectory.text, directory.data(), length + 1);
        return;
    }
    char* held = new char[length + 1];
    std::memcpy(held, directory.data(), length + 1);
    ModuleDirectory.longText = held;
}

} // namespace

bool prepareModuleDirectory()
{
    if (ModuleDirectory.empty())
        computeModuleDirectory();
    return SetCurrentDirectoryA(ModuleDirectory.get()) != FALSE;
}

const char* moduleDirectory()
{
    prepareModuleDirectory();
    return ModuleDirectory.get();
}
