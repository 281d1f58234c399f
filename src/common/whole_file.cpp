#include "common/whole_file.h"

#include <windows.h>

#include "common/owned_handle.h"

namespace {

constexpr LONGLONG kLargestFile = 64LL * 1024 * 1024;

// CreateFileW's answer, a failure made empty.
HANDLE opened(HANDLE file) { return file == INVALID_HANDLE_VALUE ? nullptr : file; }

// The file that the path leads to through any links, as the system names it; the path itself
// when the system cannot say.
std::wstring finalPath(const std::wstring& path)
{
    KernelHandle file;
    file.attach(opened(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    std::wstring target(MAX_PATH, L'\0');
    for (int attempt = 0; file.get() && attempt < 2; ++attempt) {
        const DWORD length = GetFinalPathNameByHandleW(
            file.get(), target.data(), static_cast<DWORD>(target.size()), FILE_NAME_NORMALIZED);
        if (length == 0)
            break;
        if (length < target.size()) {
            target.resize(length);
            return target;
        }
        target.resize(length); // the size asked for, terminator included
    }
    return path;
}

bool writeAndFlush(const std::wstring& path, std::string_view bytes, DWORD attributes)
{
    KernelHandle file;
    file.attach(
        opened(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr)));
    DWORD written = 0;
    return file.get()
        && (bytes.empty()
            || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
                && written == bytes.size()))
        && FlushFileBuffers(file.get());
}

} // namespace

std::optional<std::string> readWholeFile(const std::wstring& path)
{
    KernelHandle file;
    file.attach(
        opened(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)));
    LARGE_INTEGER size{};
    if (!file.get() || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestFile)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty()
        && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)
            || read != bytes.size()))
        return std::nullopt;
    return bytes;
}

bool replaceWholeFile(const std::wstring& path, std::string_view bytes)
{
    const std::wstring target = finalPath(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    // A rename within the folder is all or nothing; the bytes it brings are on the disk before it.
    const std::wstring fresh = target + L".new";
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    const DWORD kept = attributes & kKept;
    if (writeAndFlush(fresh, bytes, kept ? kept : FILE_ATTRIBUTE_NORMAL)
        && MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(fresh.c_str());
    return false;
}
