#include "support/process_tools.h"

#include <algorithm>

namespace testing_support {

namespace {

bool sameName(const std::string& entry, const std::string& name)
{
    return entry.size() > name.size() && entry[name.size()] == '='
        && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, entry.c_str(), static_cast<int>(name.size()),
               name.c_str(), static_cast<int>(name.size()))
        == CSTR_EQUAL;
}

// This process's environment block with the given variables replaced or added.
std::vector<char> environmentBlock(const std::vector<std::pair<std::string, std::string>>& changes)
{
    std::vector<std::string> entries;
    char* strings = GetEnvironmentStringsA();
    for (const char* entry = strings; *entry; entry += lstrlenA(entry) + 1)
        entries.emplace_back(entry);
    FreeEnvironmentStringsA(strings);
    for (const auto& [name, value] : changes) {
        std::erase_if(entries, [&](const std::string& entry) { return sameName(entry, name); });
        entries.push_back(name + "=" + value);
    }
    std::vector<char> block;
    for (const std::string& entry : entries)
        block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    block.push_back(0);
    return block;
}

// Removes the directory and everything below it, read-only files too.
void removeTree(const std::string& path)
{
    if (path.empty())
        return;
    for (const std::string& name : directoryEntries(path)) {
        const std::string child = path + "\\" + name;
        if (directoryExists(child)) {
            removeTree(child);
        } else {
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(child.c_str());
        }
    }
    RemoveDirectoryA(path.c_str());
}

} // namespace

std::string executableDirectory()
{
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string directory = path;
    return directory.substr(0, directory.find_last_of("\\/"));
}

std::string currentDirectory()
{
    char path[MAX_PATH * 4] = {};
    GetCurrentDirectoryA(sizeof path, path);
    return path;
}

TempDirectory::TempDirectory()
{
    static unsigned counter = 0;
    char base[MAX_PATH] = {};
    GetTempPathA(sizeof base, base);
    char name[64];
    for (;;) {
        wsprintfA(name, "tavelo-%lu-%lu-%u", GetCurrentProcessId(), GetTickCount(), ++counter);
        directory = std::string(base) + name;
        if (CreateDirectoryA(directory.c_str(), nullptr))
            return;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

TempDirectory::~TempDirectory() { removeTree(directory); }

bool copyFile(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool directoryExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> directoryEntries(const std::string& directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (lstrcmpA(found.cFileName, ".") != 0 && lstrcmpA(found.cFileName, "..") != 0)
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring widePath(const std::string& path)
{
    std::wstring wide(path.size(), L'\0');
    wide.resize(MultiByteToWideChar(
        CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), static_cast<int>(wide.size())));
    return wide;
}

std::vector<std::wstring> filesBelow(const std::wstring& directory)
{
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((directory + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(name);
        for (const std::wstring& inner : filesBelow(directory + L"\\" + name))
            files.push_back(name + L"\\" + inner);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

std::string readFile(const std::string& path) { return readFile(widePath(path)); }

std::string readFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string contents;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        contents.append(buffer, read);
    CloseHandle(file);
    return contents;
}

std::vector<std::string> readLines(const std::string& path) { return readLines(widePath(path)); }

std::vector<std::string> readLines(const std::wstring& path)
{
    const std::string contents = readFile(path);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < contents.size()) {
        size_t end = contents.find('\n', start);
        if (end == std::string::npos)
            end = contents.size();
        std::string line = contents.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string crlfText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

bool writeFile(const std::string& path, std::string_view contents)
{
    return writeFile(widePath(path), contents);
}

bool writeFile(const std::wstring& path, std::string_view contents)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr)
        && written == contents.size();
    CloseHandle(file);
    return ok;
}

ChildProcess::~ChildProcess()
{
    if (!process)
        return;
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 10000);
    }
    CloseHandle(process);
}

bool ChildProcess::start(const std::string& program, const std::string& arguments,
    const std::string& currentDirectory, const std::vector<std::pair<std::string, std::string>>& environment)
{
    return start(widePath(program), widePath(arguments), widePath(currentDirectory), environment);
}

bool ChildProcess::start(const std::wstring& program, const std::wstring& arguments,
    const std::wstring& currentDirectory, const std::vector<std::pair<std::string, std::string>>& environment)
{
    return startWith(nullptr, program, arguments, currentDirectory, environmentBlock(environment));
}

bool ChildProcess::startAs(HANDLE token, const std::wstring& program, const std::wstring& arguments,
    const std::wstring& currentDirectory)
{
    return startWith(token, program, arguments, currentDirectory, {});
}

// With a token, as the user it names; without one, as this process's user.
bool ChildProcess::startWith(HANDLE token, const std::wstring& program, const std::wstring& arguments,
    const std::wstring& currentDirectory, std::vector<char> environment)
{
    std::wstring line = L"\"" + program + L"\"";
    if (!arguments.empty())
        line += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    void* block = environment.empty() ? nullptr : environment.data();
    const wchar_t* directory = currentDirectory.empty() ? nullptr : currentDirectory.c_str();
    const BOOL created = token ? CreateProcessAsUserW(token, program.c_str(), line.data(), nullptr, nullptr,
                             FALSE, 0, block, directory, &startup, &info)
                               : CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                                   block, directory, &startup, &info);
    if (!created)
        return false;
    CloseHandle(info.hThread);
    process = info.hProcess;
    processId = info.dwProcessId;
    return true;
}

bool ChildProcess::waitForExit(DWORD timeoutMilliseconds)
{
    return process && WaitForSingleObject(process, timeoutMilliseconds) == WAIT_OBJECT_0;
}

DWORD ChildProcess::exitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (process)
        GetExitCodeProcess(process, &code);
    return code;
}

std::vector<SeenMessageBox> answerMessageBoxesUntilExit(ChildProcess& child, DWORD timeoutMilliseconds)
{
    std::vector<SeenMessageBox> boxes;
    const ULONGLONG end = GetTickCount64() + timeoutMilliseconds;
    const auto record = [&](const SeenMessageBox& box) { boxes.push_back(box); };
    while (!child.waitForExit(20) && GetTickCount64() < end)
        answerMessageBox(child.id(), record, static_cast<DWORD>(end - GetTickCount64()));
    return boxes;
}

HANDLE limitedToken()
{
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own))
        return nullptr;
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    const bool found = GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size);
    CloseHandle(own);
    if (!found)
        return nullptr;
    HANDLE primary = nullptr;
    DuplicateTokenEx(
        linked.LinkedToken, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary, &primary);
    CloseHandle(linked.LinkedToken);
    return primary;
}

std::string environmentVariable(const char* name)
{
    char value[32768] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

} // namespace testing_support
