#include "common/module_directory.h"

#include <windows.h>

#include <cstring>

#include "common/path_helpers.h"

ModuleDirectoryStorage ModuleDirectory;

namespace {

// Beyond the longest path that the system can give; stops the growing.
constexpr DWORD kLargestPathBuffer = 65536;

} // namespace

std::string executablePath(unsigned firstBufferSize)
{
    // A path that does not fit is grown for rather than cut: a cut directory would put the
    // settings file somewhere else.
    for (DWORD size = firstBufferSize ? firstBufferSize : 1; size <= kLargestPathBuffer; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0)
            break;
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
    }
    return std::string();
}

void storeDirectoryOf(ModuleDirectoryStorage& storage, const char* path)
{
    std::string directory(std::strlen(path) + 1, '\0');
    directoryPart(directory.data(), path);
    const size_t length = std::strlen(directory.c_str());
    if (length < sizeof storage.text) {
        std::memcpy(storage.text, directory.c_str(), length + 1);
        return;
    }
    char* held = new char[length + 1];
    std::memcpy(held, directory.c_str(), length + 1);
    storage.longText = held;
}

bool prepareModuleDirectory()
{
    if (ModuleDirectory.empty())
        storeDirectoryOf(ModuleDirectory, executablePath().c_str());
    return SetCurrentDirectoryA(ModuleDirectory.get()) != FALSE;
}

const char* moduleDirectory()
{
    prepareModuleDirectory();
    return ModuleDirectory.get();
}
