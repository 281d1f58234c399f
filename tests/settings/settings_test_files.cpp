#include "settings/settings_test_files.h"

#include <windows.h>

#include <algorithm>

#include "common/owned_handle.h"

namespace settings_testing {

namespace {

class FindHandle {
public:
    explicit FindHandle(HANDLE handle)
        : handle(handle)
    {
    }
    ~FindHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            FindClose(handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool valid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle; }

private:
    HANDLE handle;
};

class OpenFile : public KernelHandle {
public:
    explicit OpenFile(HANDLE file) { attach(file == INVALID_HANDLE_VALUE ? nullptr : file); }
};

bool isDots(const wchar_t* name) { return lstrcmpW(name, L".") == 0 || lstrcmpW(name, L"..") == 0; }

std::string narrow(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result.c_str();
}

DWORD attributesOf(const std::string& path) { return GetFileAttributesW(extendedPath(path).c_str()); }

} // namespace

std::wstring wide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring result(size > 0 ? size : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, result.data(), size);
    return result.c_str();
}

std::wstring extendedPath(const std::string& path) { return L"\\\\?\\" + wide(path); }

TempDirectory::TempDirectory()
{
    char base[MAX_PATH] = {};
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH + 64];
        wsprintfA(name, "%stavelo-settings-%lu-%u", base, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            directory = name;
            return;
        }
    }
}

TempDirectory::~TempDirectory() { removeTree(directory); }

std::string TempDirectory::file(const std::string& name) const { return directory + "\\" + name; }

void removeTree(const std::string& directory)
{
    for (const std::string& name : directoryEntries(directory)) {
        const std::string path = directory + "\\" + name;
        if (directoryExists(path)) {
            removeTree(path);
        } else {
            SetFileAttributesW(extendedPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(extendedPath(path).c_str());
        }
    }
    RemoveDirectoryW(extendedPath(directory).c_str());
}

std::vector<std::string> directoryEntries(const std::string& directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    FindHandle search(FindFirstFileW(extendedPath(directory + "\\*").c_str(), &found));
    if (!search.valid())
        return names;
    do {
        if (!isDots(found.cFileName))
            names.push_back(narrow(found.cFileName));
    } while (FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

bool createDirectory(const std::string& path)
{
    return CreateDirectoryW(extendedPath(path).c_str(), nullptr);
}

bool copyFile(const std::string& from, const std::string& to)
{
    return CopyFileW(extendedPath(from).c_str(), extendedPath(to).c_str(), FALSE);
}

std::string readFile(const std::string& path)
{
    OpenFile file(CreateFileW(
        extendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file.get())
        return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

bool writeFile(const std::string& path, const std::string& bytes)
{
    OpenFile file(
        CreateFileW(extendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file.get()
        && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
        && written == bytes.size();
}

bool fileExists(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool directoryExists(const std::string& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
std::vector<std::string> nonBlankLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool allLinesEndWithCrLf(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return false;
    }
    return text.empty() || text.back() == '\n';
}

std::string testProgramDirectory()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    const size_t separator = path.find_last_of(L'\\');
    return separator == std::wstring::npos ? std::string() : narrow(path.substr(0, separator).c_str());
}

long runProgram(const std::string& program, const std::string& arguments, const std::string& workingDirectory)
{
    const std::wstring application = wide(program);
    std::wstring commandLine = L"\"" + application + L"\" " + wide(arguments);
    const std::wstring directory = wide(workingDirectory);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
            nullptr, directory.c_str(), &startup, &started))
        return -1;
    KernelHandle process, thread;
    process.attach(started.hProcess);
    thread.attach(started.hThread);
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0)
        return -2;
    DWORD exitCode = 0;
    GetExitCodeProcess(process.get(), &exitCode);
    return static_cast<long>(exitCode);
}

} // namespace settings_testing
