#pragma once
// Helpers for tests that run a program in a process of its own: scratch directories, files,
// child processes with their own environment and current directory, and the message boxes that a
// child shows.
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/win32_test_helpers.h"

namespace testing_support {

// The directory of the running test executable, where the build puts its helper programs.
std::string executableDirectory();
std::string currentDirectory();

// A fresh, empty directory under the system's temporary directory, removed with everything in it
// (read-only files too) when the object goes.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& path() const { return directory; }
    // A path inside the directory.
    std::string file(const std::string& name) const { return directory + "\\" + name; }

private:
    std::string directory;
};

bool copyFile(const std::string& from, const std::string& to);
// True for a file or a directory.
bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);
// The names in a directory in byte order, "." and ".." left out.
std::vector<std::string> directoryEntries(const std::string& directory);
// A path of this process's code page in UTF-16, for names that the code page cannot spell.
std::wstring widePath(const std::string& path);
// Every file below the directory, as paths relative to it, in order.
std::vector<std::wstring> filesBelow(const std::wstring& directory);
// The whole file; empty when it cannot be read.
std::string readFile(const std::string& path);
std::string readFile(const std::wstring& path);
// The file's lines without their line ends.
std::vector<std::string> readLines(const std::string& path);
std::vector<std::string> readLines(const std::wstring& path);
// The lines, each ended by CRLF: a whole file as the profile writer writes it.
std::string crlfText(const std::vector<std::string>& lines);
// Writes the bytes as the whole file, replacing any; true when all were written.
bool writeFile(const std::string& path, std::string_view contents);
bool writeFile(const std::wstring& path, std::string_view contents);

// A child process, ended by force if it still runs when the object goes.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the program with the arguments, in the given current directory (empty: this one),
    // with this process's environment changed by the given name/value pairs.
    bool start(const std::string& program, const std::string& arguments = {},
        const std::string& currentDirectory = {},
        const std::vector<std::pair<std::string, std::string>>& environment = {});
    // The same for names that this process's code page cannot spell.
    bool start(const std::wstring& program, const std::wstring& arguments,
        const std::wstring& currentDirectory,
        const std::vector<std::pair<std::string, std::string>>& environment);
    // The same with a primary token of the caller's (for example limitedToken's).
    bool startAs(HANDLE token, const std::wstring& program, const std::wstring& arguments,
        const std::wstring& currentDirectory);
    DWORD id() const { return processId; }
    HANDLE handle() const { return process; }
    // True when the process ended within the time.
    bool waitForExit(DWORD timeoutMilliseconds);
    // The exit code once ended, STILL_ACTIVE before.
    DWORD exitCode() const;

private:
    bool startWith(HANDLE token, const std::wstring& program, const std::wstring& arguments,
        const std::wstring& currentDirectory, std::vector<char> environment);

    HANDLE process = nullptr;
    DWORD processId = 0;
};

// A primary token for a program that runs without administrator rights: the limited token linked
// to this process's own (every Wine process runs as administrator). Null when there is none; the
// caller closes it.
HANDLE limitedToken();

// Waits for the child to end, reading and dismissing with OK every message box it shows meanwhile.
// The boxes in the order seen; the caller checks waitForExit/exitCode afterwards.
std::vector<SeenMessageBox> answerMessageBoxesUntilExit(ChildProcess& child, DWORD timeoutMilliseconds);

// The value of an environment variable of this process; empty when unset.
std::string environmentVariable(const char* name);

} // namespace testing_support
