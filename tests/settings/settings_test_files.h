#pragma once
// Real files for the settings tests: a private temporary directory and whole-file reads and writes.
// Paths are code page 932 byte strings, as the program's own. The helpers reach the files through
// the system's wide, extended-length calls, the only ones that take paths longer than MAX_PATH, so
// that the tests can set up and inspect deep directories that the program must cope with.
#include <string>
#include <vector>

namespace settings_testing {

// A new, empty directory under the system's temporary directory, removed with everything in it
// when the object goes.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& path() const { return directory; }
    // path() + "\" + name
    std::string file(const std::string& name) const;

private:
    std::string directory;
};

// Removes a directory and everything below it.
void removeTree(const std::string& directory);

// A path as the wide, extended-length calls take it.
std::wstring wide(const std::string& text);
std::wstring extendedPath(const std::string& path);

bool createDirectory(const std::string& path);
bool copyFile(const std::string& from, const std::string& to);
std::string readFile(const std::string& path);
bool writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);
// The names in a directory in byte order, "." and ".." left out.
std::vector<std::string> directoryEntries(const std::string& directory);

// The file's lines without their CRLF ends, blank ones left out.
std::vector<std::string> nonBlankLines(const std::string& text);
// True when every line break is CRLF and the text ends with one.
bool allLinesEndWithCrLf(const std::string& text);

// The executable's own directory, read independently of the code under test.
std::string testProgramDirectory();

// Runs a program to its end from the given current directory; its exit code, or a negative number
// when it could not be started or did not end within a minute.
long runProgram(
    const std::string& program, const std::string& arguments, const std::string& workingDirectory);

} // namespace settings_testing
