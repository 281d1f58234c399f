#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/module_directory.h"
#include "settings/settings_test_files.h"

namespace {

using settings_testing::TempDirectory;
using Lines = std::vector<std::string>;

std::string currentDirectory()
{
    std::string buffer(32768, '\0');
    buffer.resize(GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data()));
    return buffer;
}

std::string probeProgram() { return settings_testing::testProgramDirectory() + "\\settings_probe.exe"; }

const Lines kFirstRunLines{"[System]", "CustomImageName=keyboard.bmp", "UseCustomImage=0",
    "WheelInitTime=1000", "[Window]", "DefaultPosition=7", "Left=120", "MemorizePosition=1", "MostTop=1",
    "Top=80"};

std::string windowsSettingsFile()
{
    char directory[MAX_PATH] = {};
    GetWindowsDirectoryA(directory, sizeof directory);
    return std::string(directory) + "\\TaveloKeyboard.ini";
}

TEST(ModuleDirectory, IsTheProgramsDirectoryAndBecomesCurrent)
{
    const std::string expected = settings_testing::testProgramDirectory();
    TempDirectory elsewhere;
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path().c_str()));
    const char* first = moduleDirectory();
    EXPECT_EQ(expected, first);
    EXPECT_EQ(expected, currentDirectory());

    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path().c_str()));
    EXPECT_TRUE(prepareModuleDirectory());
    EXPECT_EQ(expected, currentDirectory());
    EXPECT_EQ(first, moduleDirectory());
}

TEST(ModuleDirectory, SettingsGoBesideAProgramInAShiftJisDirectory)
{
    const bool windowsFileBefore = settings_testing::fileExists(windowsSettingsFile());
    // The test's own directory may hold a settings file of a program run there by hand.
    const std::string ownSettingsFile = settings_testing::testProgramDirectory() + "\\TaveloKeyboard.ini";
    const bool ownFileBefore = settings_testing::fileExists(ownSettingsFile);
    const std::string ownFileContents = ownFileBefore ? settings_testing::readFile(ownSettingsFile) : "";
    TempDirectory temp;
    // 表 ends in the byte 0x5C, the backslash.
    const std::string directory = temp.file("\x95\x5C");
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    const std::string program = directory + "\\settings_probe.exe";
    ASSERT_TRUE(CopyFileA(probeProgram().c_str(), program.c_str(), FALSE));

    ASSERT_EQ(0, settings_testing::runProgram(program, "", temp.path()));
    EXPECT_EQ(kFirstRunLines,
        settings_testing::nonBlankLines(settings_testing::readFile(directory + "\\TaveloKeyboard.ini")));
    EXPECT_EQ((Lines{"\x95\x5C"}), settings_testing::directoryEntries(temp.path()));
    EXPECT_EQ(
        (Lines{"TaveloKeyboard.ini", "settings_probe.exe"}), settings_testing::directoryEntries(directory));
    EXPECT_EQ(ownFileBefore, settings_testing::fileExists(ownSettingsFile));
    if (ownFileBefore)
        EXPECT_EQ(ownFileContents, settings_testing::readFile(ownSettingsFile));
    EXPECT_EQ(windowsFileBefore, settings_testing::fileExists(windowsSettingsFile()));

    // A second run reads the file it wrote and changes only the position.
    ASSERT_EQ(0, settings_testing::runProgram(program, "5 -7", temp.path()));
    Lines expected = kFirstRunLines;
    expected[6] = "Left=5";
    expected[9] = "Top=-7";
    EXPECT_EQ(expected,
        settings_testing::nonBlankLines(settings_testing::readFile(directory + "\\TaveloKeyboard.ini")));
}

TEST(ModuleDirectory, PathLongerThanTheFirstBufferIsGrownFor)
{
    const std::string whole = settings_testing::testProgramDirectory() + "\\settings_tests.exe";
    for (unsigned firstSize : {1u, 8u, 16u, 512u})
        EXPECT_EQ(whole, executablePath(firstSize)) << firstSize;
}

TEST(ModuleDirectory, DirectoryLongerThanTheFixedBufferIsHeldWhole)
{
    std::string directory = "C:";
    while (directory.size() < 700)
        directory += "\\表ソ能" + std::string(20, 'd');
    const std::string path = directory + "\\prog.exe";
    ModuleDirectoryStorage storage{};
    storeDirectoryOf(storage, path.c_str());
    EXPECT_EQ(directory, storage.get());
    delete[] storage.longText;

    // 511 bytes fit beside their terminator; 512 do not.
    for (size_t length : {511u, 512u}) {
        const std::string edge = "C:\\" + std::string(length - 3, 'e');
        ModuleDirectoryStorage edgeStorage{};
        storeDirectoryOf(edgeStorage, (edge + "\\prog.exe").c_str());
        EXPECT_EQ(edge, edgeStorage.get());
        EXPECT_EQ(length > 511, edgeStorage.longText != nullptr);
        delete[] edgeStorage.longText;
    }
}

} // namespace
