#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "common/module_directory.h"
#include "settings/ini_file.h"
#include "support/process_tools.h"

namespace {

using namespace testing_support;
using Lines = std::vector<std::string>;

// The settings file that the probe writes at its first run with the position 120, 80.
Lines firstRunLines(const char* left = "120", const char* top = "80")
{
    return {"[System]", "CustomImageName=keyboard.bmp", "UseCustomImage=0", "WheelInitTime=1000", "[Window]",
        "DefaultPosition=7", std::string("Left=") + left, "MemorizePosition=1", "MostTop=1",
        std::string("Top=") + top};
}

// Runs the probe to its end from the given current directory; its exit code, STILL_ACTIVE when it
// could not start or did not end.
DWORD runProbe(const std::string& program, const std::string& arguments, const std::string& from)
{
    ChildProcess probe;
    if (!probe.start(program, arguments, from) || !probe.waitForExit(60000))
        return STILL_ACTIVE;
    return probe.exitCode();
}

// Absolute settings file names are kept as they are; any other goes beside the program, whose
// directory then becomes the current one, and again at every later preparation.
TEST(ModuleDirectory, SettingsFileNamesAndTheProgramsDirectoryAsTheCurrentOne)
{
    const std::string directory = executableDirectory();
    TempDirectory elsewhere;
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path().c_str()));
    const std::string before = currentDirectory();
    for (const char* name : {"C:\\x.ini", "z:\\dir\\x.ini"})
        EXPECT_EQ(widePath(name), IniFile(name, false).path());
    for (const char* name : {"relative.ini", "C:/x.ini"})
        EXPECT_EQ(widePath(name), IniFile(name, true).path());
    EXPECT_EQ(before, currentDirectory()) << "nothing asked for the program's directory";

    for (const auto& [name, path] : {std::pair{"C:/x.ini", "\\C:/x.ini"},
             {"\\\\server\\share\\x.ini", "\\\\\\server\\share\\x.ini"}, {"sub\\x.ini", "\\sub\\x.ini"},
             {"\\x.ini", "\\\\x.ini"}, {"C:", "\\C:"}, {"TaveloKeyboard.ini", "\\TaveloKeyboard.ini"}}) {
        EXPECT_EQ(widePath(directory + path), IniFile(name, false).path()) << name;
        EXPECT_EQ(directory, currentDirectory()) << name;
        ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path().c_str()));
    }
    const wchar_t* first = moduleDirectory();
    EXPECT_EQ(widePath(directory), first);
    EXPECT_EQ(directory, currentDirectory());
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path().c_str()));
    EXPECT_TRUE(prepareModuleDirectory());
    EXPECT_EQ(directory, currentDirectory());
    EXPECT_EQ(first, moduleDirectory());
}

TEST(ModuleDirectory, SettingsGoBesideAProgramInAShiftJisDirectory)
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string windowsFile = std::string(windows) + "\\TaveloKeyboard.ini";
    const bool windowsFileBefore = fileExists(windowsFile);
    // The test's own directory may hold a settings file of a program run there by hand.
    const std::string ownFile = executableDirectory() + "\\TaveloKeyboard.ini";
    const bool ownFileBefore = fileExists(ownFile);
    const std::string ownFileContents = readFile(ownFile);
    TempDirectory temp;
    // 表 ends in the byte 0x5C, the backslash.
    const std::string directory = temp.file("\x95\x5C");
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    const std::string program = directory + "\\settings_probe.exe";
    ASSERT_TRUE(copyFile(executableDirectory() + "\\settings_probe.exe", program));

    ASSERT_EQ(0u, runProbe(program, "", temp.path()));
    EXPECT_EQ(crlfText(firstRunLines()), readFile(directory + "\\TaveloKeyboard.ini"));
    EXPECT_EQ((Lines{"\x95\x5C"}), directoryEntries(temp.path()));
    EXPECT_EQ((Lines{"TaveloKeyboard.ini", "settings_probe.exe"}), directoryEntries(directory));
    EXPECT_EQ(ownFileBefore, fileExists(ownFile));
    EXPECT_EQ(ownFileContents, readFile(ownFile));
    EXPECT_EQ(windowsFileBefore, fileExists(windowsFile));

    // A second run reads the file it wrote and changes only the position.
    ASSERT_EQ(0u, runProbe(program, "5 -7", temp.path()));
    EXPECT_EQ(crlfText(firstRunLines("5", "-7")), readFile(directory + "\\TaveloKeyboard.ini"));
}

TEST(ModuleDirectory, DirectoryLongerThanTheFixedBufferIsHeldWhole)
{
    std::wstring directory = L"C:";
    while (directory.size() < 700)
        directory += L"\\表ソ能" + std::wstring(20, L'd');
    const std::wstring path = directory + L"\\prog.exe";
    ModuleDirectoryStorage storage{};
    storeDirectoryOf(storage, path.c_str());
    EXPECT_EQ(directory, storage.get());
    delete[] storage.longText;

    // 511 characters fit beside their terminator; 512 do not.
    for (size_t length : {511u, 512u}) {
        const std::wstring edge = L"C:\\" + std::wstring(length - 3, L'e');
        ModuleDirectoryStorage edgeStorage{};
        storeDirectoryOf(edgeStorage, (edge + L"\\prog.exe").c_str());
        EXPECT_EQ(edge, edgeStorage.get());
        EXPECT_EQ(length > 511, edgeStorage.longText != nullptr);
        delete[] edgeStorage.longText;
    }
}

} // namespace
