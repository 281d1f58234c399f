// Settings files that a user, an editor or a crash could leave behind, each given to the real
// program: it must open where its rules say, keep running, exit cleanly and leave every line that
// is not one of its own keys in the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlwapi.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "support/installed_program.h"

using namespace testing_support;

namespace {

// What the program must use after reading the file, and so write back at exit.
struct Expected {
    int defaultPosition = 7;
    bool mostTop = true;
    bool memorizePosition = true;
    int wheelInitTime = 1000;
    bool useCustomImage = false;
    std::string customImageName = "keyboard.bmp";
    std::optional<POINT> remembered; // where the window reopens, when it does not use the grid

    Expected& position(int value) { return set(defaultPosition, value); }
    Expected& topmost(bool value) { return set(mostTop, value); }
    Expected& memorize(bool value) { return set(memorizePosition, value); }
    Expected& wheel(int value) { return set(wheelInitTime, value); }
    Expected& useCustom(bool value) { return set(useCustomImage, value); }
    Expected& pictureName(const std::string& value) { return set(customImageName, value); }
    Expected& reopensAt(POINT value) { return set(remembered, std::optional<POINT>(value)); }

private:
    template <typename T>
    Expected& set(T& field, const T& value)
    {
        field = value;
        return *this;
    }
};

POINT openingPlace(const Expected& expected)
{
    return expected.remembered ? *expected.remembered : gridPlace(expected.defaultPosition);
}

// Lines split at CR LF, LF or a lone CR; blank lines left out.
std::vector<std::string> textLines(const std::string& contents)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i <= contents.size(); ++i) {
        const bool end = i == contents.size() || contents[i] == '\n' || contents[i] == '\r';
        if (!end) {
            line += contents[i];
            continue;
        }
        if (!line.empty())
            lines.push_back(line);
        line.clear();
        if (i + 1 < contents.size() && contents[i] == '\r' && contents[i + 1] == '\n')
            ++i;
    }
    return lines;
}

// The lines that must survive, in their order, among the lines of the file.
void expectLinesKept(const std::vector<std::string>& kept, const std::string& contents)
{
    const std::vector<std::string> lines = textLines(contents);
    size_t next = 0;
    for (const std::string& wanted : kept) {
        while (next < lines.size() && lines[next] != wanted)
            ++next;
        EXPECT_LT(next, lines.size())
            << "lost or reordered: " << wanted.substr(0, 80) << " (" << wanted.size() << " bytes)";
        if (next == lines.size())
            return;
        ++next;
    }
}

std::string profileText(const std::string& path, const char* section, const char* key)
{
    std::vector<char> buffer(200000);
    GetPrivateProfileStringA(
        section, key, "<missing>", buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
    return buffer.data();
}

void expectWrittenBack(const std::string& path, const Expected& expected, POINT closedAt)
{
    EXPECT_EQ(profileText(path, "Window", "DefaultPosition"), std::to_string(expected.defaultPosition));
    EXPECT_EQ(profileText(path, "Window", "MostTop"), expected.mostTop ? "1" : "0");
    EXPECT_EQ(profileText(path, "Window", "MemorizePosition"), expected.memorizePosition ? "1" : "0");
    EXPECT_EQ(profileText(path, "Window", "Left"), std::to_string(closedAt.x));
    EXPECT_EQ(profileText(path, "Window", "Top"), std::to_string(closedAt.y));
    EXPECT_EQ(profileText(path, "System", "UseCustomImage"), expected.useCustomImage ? "1" : "0");
    EXPECT_EQ(profileText(path, "System", "WheelInitTime"), std::to_string(expected.wheelInitTime));
    if (expected.customImageName.size() < 1000) {
        EXPECT_EQ(profileText(path, "System", "CustomImageName"), expected.customImageName);
    }
}

// Starts the program, checks where and how its window opened, that it paints and shows no
// warning, closes it and checks its exit. The window's top-left corner at close.
POINT runAndClose(InstalledProgram& program, const Expected& expected)
{
    EXPECT_TRUE(program.start()) << "error " << GetLastError();
    const HWND window = program.waitForWindow();
    EXPECT_NE(window, nullptr) << "no window; exit code " << program.process().exitCode();
    if (!window)
        return {};
    EXPECT_TRUE(program.waitForPicture(programBasePicture()));
    const RECT rect = windowRect(window);
    const POINT place = openingPlace(expected);
    EXPECT_EQ(rect.left, place.x);
    EXPECT_EQ(rect.top, place.y);
    EXPECT_EQ(isTopmost(window), expected.mostTop);
    EXPECT_EQ(findMessageBoxOf(program.id()), nullptr);
    EXPECT_TRUE(program.closeCleanly());
    return POINT{rect.left, rect.top};
}

struct SettingsCase {
    std::string contents;
    Expected expected;
    std::vector<std::string> kept; // foreign lines, in order
};

void runCase(const SettingsCase& settingsCase)
{
    InstalledProgram program;
    ASSERT_TRUE(program.installed());
    ASSERT_TRUE(writeFile(program.settingsPath(), settingsCase.contents));
    const POINT closedAt = runAndClose(program, settingsCase.expected);
    const std::string after = readFile(program.settingsPath());
    expectWrittenBack(program.settingsPath(), settingsCase.expected, closedAt);
    expectLinesKept(settingsCase.kept, after);
}

std::string junk(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

} // namespace

TEST(MalformedSettings, BinaryJunkGivesTheDefaults)
{
    SettingsCase junkFile{junk(4096, 20240601), {}, {}};
    runCase(junkFile);
}

TEST(MalformedSettings, KeysOutsideAnySectionAreNotTheProgramsAndStay)
{
    runCase({"DefaultPosition=2\r\nMostTop=0\r\n[Window]\r\nMemorizePosition=0\r\n",
        Expected{}.memorize(false), {"DefaultPosition=2", "MostTop=0", "[Window]"}});
}

TEST(MalformedSettings, AHundredThousandByteLineIsKeptWholeAndTheKeysAfterItAreRead)
{
    const std::string longValue(100000, 'x');
    const std::string longComment = ";" + std::string(99999, 'c');
    const std::string longName(100000, 'n');
    runCase({"[Window]\r\nNote=" + longValue + "\r\n" + longComment + "\r\nDefaultPosition=1\r\n"
            + "MemorizePosition=0\r\n[System]\r\nCustomImageName=" + longName + "\r\nWheelInitTime=5\r\n",
        Expected{}.position(1).memorize(false).wheel(5).pictureName(longName),
        {"[Window]", "Note=" + longValue, longComment, "[System]", "CustomImageName=" + longName}});
}

TEST(MalformedSettings, OutOfRangeAndNonNumericValuesGiveTheDefaultsOrTheirCorrection)
{
    // 9 and -1 lie outside the grid; a time of 0 or less is raised to 1.
    runCase({"[Window]\r\nDefaultPosition=9\r\nMostTop=-3\r\nMemorizePosition=0\r\nLeft=-1\r\nTop=-1\r\n"
             "[System]\r\nWheelInitTime=-5\r\nUseCustomImage=7\r\nCustomImageName=\r\n",
        Expected{}.topmost(true).memorize(false).wheel(1).useCustom(true).pictureName(""), {}});
    runCase({"[Window]\r\nDefaultPosition=-1\r\n[System]\r\nWheelInitTime=0\r\n", Expected{}.wheel(1), {}});
}

TEST(MalformedSettings, HugeNumbersNeverPlaceTheWindowOutsideTheGrid)
{
    // Whatever the platform makes of a number beyond 32 bits, the program only ever uses a grid
    // place of 0..8, and writes back what it used.
    runCase({"[Window]\r\nDefaultPosition=99999999999999999999\r\nMemorizePosition=0\r\n"
             "Left=99999999999999999999\r\nTop=-99999999999999999999\r\n[System]\r\n"
             "WheelInitTime=-99999999999999999999\r\n",
        Expected{}.memorize(false).wheel(1), {}});
}

TEST(MalformedSettings, DuplicatedSectionsAndKeysUseTheFirstAndKeepTheRest)
{
    runCase({"[Window]\r\nDefaultPosition=2\r\nMemorizePosition=0\r\nDefaultPosition=5\r\nExtra=first\r\n"
             "[System]\r\nWheelInitTime=250\r\n[Window]\r\nDefaultPosition=8\r\nExtra=second\r\n",
        Expected{}.position(2).memorize(false).wheel(250),
        {"[Window]", "DefaultPosition=5", "Extra=first", "[System]", "[Window]", "DefaultPosition=8",
            "Extra=second"}});
}

TEST(MalformedSettings, AUtf8ByteOrderMarkIsReadAndKept)
{
    // コメント and 画像.bmp in UTF-8; the program sees the name in its own code page.
    const std::string comment = ";\xE3\x82\xB3\xE3\x83\xA1\xE3\x83\xB3\xE3\x83\x88";
    runCase({"\xEF\xBB\xBF[Window]\r\nDefaultPosition=3\r\nMemorizePosition=0\r\n" + comment
            + "\r\n[System]\r\nCustomImageName=\xE7\x94\xBB\xE5\x83\x8F.bmp\r\n",
        Expected{}.position(3).memorize(false).pictureName("\x89\xE6\x91\x9C.bmp"),
        {"\xEF\xBB\xBF[Window]", comment, "[System]", "CustomImageName=\xE7\x94\xBB\xE5\x83\x8F.bmp"}});
}

TEST(MalformedSettings, LfOnlyAndCrOnlyLineEndsAreRead)
{
    runCase({"[Window]\nDefaultPosition=6\nLeft=100\nTop=50\nForeign=lf\n[System]\nWheelInitTime=77\n",
        Expected{}.position(6).wheel(77).reopensAt(POINT{100, 50}), {"[Window]", "Foreign=lf", "[System]"}});
    runCase({"[Window]\rDefaultPosition=5\rMemorizePosition=0\rForeign=cr\r[System]\rWheelInitTime=66\r",
        Expected{}.position(5).memorize(false).wheel(66), {"[Window]", "Foreign=cr", "[System]"}});
}

TEST(MalformedSettings, ADirectoryInPlaceOfTheFileGivesTheDefaultsAndStaysADirectory)
{
    InstalledProgram program;
    ASSERT_TRUE(program.installed());
    ASSERT_TRUE(CreateDirectoryA(program.settingsPath().c_str(), nullptr));
    runAndClose(program, {});
    const DWORD attributes = GetFileAttributesA(program.settingsPath().c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(PathIsDirectoryEmptyA(program.settingsPath().c_str()));
}

TEST(MalformedSettings, AReadOnlyFileIsReadAndLeftUntouched)
{
    InstalledProgram program;
    ASSERT_TRUE(program.installed());
    const std::string contents = "[Window]\r\nDefaultPosition=0\r\nMemorizePosition=0\r\n;mine\r\n";
    ASSERT_TRUE(writeFile(program.settingsPath(), contents));
    ASSERT_TRUE(SetFileAttributesA(program.settingsPath().c_str(), FILE_ATTRIBUTE_READONLY));
    runAndClose(program, Expected{}.position(0).memorize(false));
    EXPECT_EQ(readFile(program.settingsPath()), contents);
    SetFileAttributesA(program.settingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}
