// Settings files that a user, an editor or a crash could leave behind, each given to the real
// program: it must open where its rules say, keep running, exit cleanly and leave every line that
// is not one of its own keys in the file.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlwapi.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "support/installed_program.h"
#include "support/program_start.h"

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
    std::optional<POINT> remembered{}; // where the window reopens, when it does not use the grid
};

POINT openingPlace(const Expected& expected)
{
    return expected.remembered ? *expected.remembered : gridPlace(expected.defaultPosition);
}

// The lines that must survive, in their order, among the lines of the file: split at CR LF, LF
// or a lone CR, blank lines left out.
void expectLinesKept(const std::vector<std::string>& kept, const std::string& contents)
{
    std::vector<std::string> lines{""};
    for (const char c : contents) {
        if (c != '\r' && c != '\n')
            lines.back() += c;
        else if (!lines.back().empty())
            lines.emplace_back();
    }
    auto next = lines.begin();
    for (const std::string& wanted : kept) {
        next = std::find(next, lines.end(), wanted);
        ASSERT_NE(next, lines.end()) << "lost or reordered: " << wanted.substr(0, 80) << " (" << wanted.size()
                                     << " bytes)";
        ++next;
    }
}

void expectWrittenBack(const std::string& path, const Expected& expected, POINT closedAt)
{
    const auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
    const std::tuple<const char*, const char*, std::string> written[]
        = {{"Window", "DefaultPosition", std::to_string(expected.defaultPosition)},
            {"Window", "MostTop", flag(expected.mostTop)},
            {"Window", "MemorizePosition", flag(expected.memorizePosition)},
            {"Window", "Left", std::to_string(closedAt.x)}, {"Window", "Top", std::to_string(closedAt.y)},
            {"System", "UseCustomImage", flag(expected.useCustomImage)},
            {"System", "WheelInitTime", std::to_string(expected.wheelInitTime)},
            {"System", "CustomImageName", expected.customImageName}};
    std::vector<char> buffer(200000);
    for (const auto& [section, key, value] : written) {
        if (value.size() >= 1000) // a long name is checked among the kept lines
            continue;
        GetPrivateProfileStringA(
            section, key, "<missing>", buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
        EXPECT_EQ(buffer.data(), value) << key;
    }
}

// Starts the program, checks where and how its window opened, that it paints and shows no
// warning, closes it and checks its exit. The window's top-left corner at close.
POINT runAndClose(
    InstalledProgram& program, const Expected& expected, const std::string& onDiskAfterStart = {})
{
    const HWND window = startShowingBasePicture(program);
    if (!window)
        return {};
    if (!onDiskAfterStart.empty()) {
        EXPECT_EQ(readFile(program.settingsPath()), onDiskAfterStart);
    }
    const RECT rect = windowRect(window);
    const POINT place = openingPlace(expected);
    EXPECT_EQ(rect.left, place.x);
    EXPECT_EQ(rect.top, place.y);
    EXPECT_EQ(isTopmost(window), expected.mostTop);
    EXPECT_EQ(findMessageBoxOf(program.id()), nullptr);
    EXPECT_TRUE(program.closeCleanly());
    return POINT{rect.left, rect.top};
}

// A UTF-16LE file with its mark, as the compiler spells the text.
std::string utf16File(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// The file's text in UTF-8 when it is UTF-16 after its mark, else its bytes as they are.
std::string comparable(const std::string& contents)
{
    if (!contents.starts_with("\xFF\xFE"))
        return contents;
    const auto* units = reinterpret_cast<const wchar_t*>(contents.data() + 2);
    const int length = static_cast<int>(contents.size() / 2 - 1);
    std::string text(static_cast<size_t>(length) * 4, '\0');
    text.resize(static_cast<size_t>(WideCharToMultiByte(
        CP_UTF8, 0, units, length, text.data(), static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

std::string junk(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

struct SettingsCase {
    const char* name;
    std::string contents;
    Expected expected;
    std::vector<std::string> kept;  // foreign lines, in order
    std::string onDiskAfterStart{}; // when given: the file's bytes while the program runs
};

// 9 and -1 lie outside the grid; a time of 0 or less is raised to 1. Whatever the platform makes
// of a number beyond 32 bits, the program only ever uses a grid place of 0..8, and writes back
// what it used. Duplicated sections and keys: the first is used, the rest kept.
std::vector<SettingsCase> corpus()
{
    const std::string longValue(100000, 'x');
    const std::string longComment = std::string(1, ';').append(99999, 'c');
    const std::string longName(100000, 'n');
    // コメント and 画像.bmp in UTF-8 and in code page 932.
    const std::string utf8Comment = ";\xE3\x82\xB3\xE3\x83\xA1\xE3\x83\xB3\xE3\x83\x88";
    const std::string comment932 = ";\x83\x52\x83\x81\x83\x93\x83\x67";
    const std::string name932 = "\x89\xE6\x91\x9C.bmp";
    const std::string emoji = "\xF0\x9F\x98\x80";
    return {
        {"binary junk", junk(4096, 20240601), {}, {}},
        {"keys outside any section", "DefaultPosition=2\r\nMostTop=0\r\n[Window]\r\nMemorizePosition=0\r\n",
            {.memorizePosition = false}, {"DefaultPosition=2", "MostTop=0", "[Window]"}},
        {"hundred-thousand-byte lines",
            "[Window]\r\nNote=" + longValue + "\r\n" + longComment + "\r\nDefaultPosition=1\r\n"
                + "MemorizePosition=0\r\n[System]\r\nCustomImageName=" + longName + "\r\nWheelInitTime=5\r\n",
            {.defaultPosition = 1,
                .memorizePosition = false,
                .wheelInitTime = 5,
                .customImageName = longName},
            {"[Window]", "Note=" + longValue, longComment, "[System]", "CustomImageName=" + longName}},
        {"out of range and not numbers",
            "[Window]\r\nDefaultPosition=9\r\nMostTop=-3\r\nMemorizePosition=0\r\nLeft=-1\r\nTop=-1\r\n"
            "[System]\r\nWheelInitTime=-5\r\nUseCustomImage=7\r\nCustomImageName=\r\n",
            {.mostTop = true,
                .memorizePosition = false,
                .wheelInitTime = 1,
                .useCustomImage = true,
                .customImageName = ""},
            {}},
        {"below the range", "[Window]\r\nDefaultPosition=-1\r\n[System]\r\nWheelInitTime=0\r\n",
            {.wheelInitTime = 1}, {}},
        {"beyond 32 bits",
            "[Window]\r\nDefaultPosition=99999999999999999999\r\nMemorizePosition=0\r\n"
            "Left=99999999999999999999\r\nTop=-99999999999999999999\r\n[System]\r\n"
            "WheelInitTime=-99999999999999999999\r\n",
            {.memorizePosition = false, .wheelInitTime = 1}, {}},
        {"duplicates",
            "[Window]\r\nDefaultPosition=2\r\nMemorizePosition=0\r\nDefaultPosition=5\r\nExtra=first\r\n"
            "[System]\r\nWheelInitTime=250\r\n[Window]\r\nDefaultPosition=8\r\nExtra=second\r\n",
            {.defaultPosition = 2, .memorizePosition = false, .wheelInitTime = 250},
            {"[Window]", "DefaultPosition=5", "Extra=first", "[System]", "[Window]", "DefaultPosition=8",
                "Extra=second"}},
        // Windows would read the mark as part of the first line; the program rewrites the file at
        // start in the system's code page without it.
        {"UTF-8 byte order mark",
            "\xEF\xBB\xBF[Window]\r\nDefaultPosition=3\r\nMemorizePosition=0\r\n" + utf8Comment
                + "\r\n[System]\nCustomImageName=\xE7\x94\xBB\xE5\x83\x8F.bmp\r\n",
            {.defaultPosition = 3, .memorizePosition = false, .customImageName = name932},
            {"[Window]", comment932, "[System]", "CustomImageName=" + name932},
            "[Window]\r\nDefaultPosition=3\r\nMemorizePosition=0\r\n" + comment932
                + "\r\n[System]\nCustomImageName=" + name932 + "\r\n"},
        // Windows writes a marked file back in the code page: it soon holds lines of both. A character
        // that the code page cannot spell makes the file Unicode, and keeps it so.
        {"UTF-8 mark, a Shift-JIS value and an emoji",
            "\xEF\xBB\xBF[Window]\r\nDefaultPosition=3\r\nMemorizePosition=0\r\n" + utf8Comment + emoji
                + "\r\n[System]\r\nCustomImageName=" + name932 + "\r\n",
            {.defaultPosition = 3, .memorizePosition = false, .customImageName = name932},
            {"[Window]", utf8Comment + emoji, "[System]", "CustomImageName=\xE7\x94\xBB\xE5\x83\x8F.bmp"},
            utf16File(u"[Window]\r\nDefaultPosition=3\r\nMemorizePosition=0\r\n;コメント\U0001F600\r\n"
                      u"[System]\r\nCustomImageName=画像.bmp\r\n")},
        {"UTF-8 mark and a byte that is not UTF-8", "\xEF\xBB\xBF[S]\r\nK=1\r\n;\xFF", {},
            {"[S]", "K=1", ";\xFF"}, "[S]\r\nK=1\r\n;\xFF"},
        {"LF line ends",
            "[Window]\nDefaultPosition=6\nLeft=100\nTop=50\nForeign=lf\n[System]\nWheelInitTime=77\n",
            {.defaultPosition = 6, .wheelInitTime = 77, .remembered = POINT{100, 50}},
            {"[Window]", "Foreign=lf", "[System]"}},
        {"CR line ends",
            "[Window]\rDefaultPosition=5\rMemorizePosition=0\rForeign=cr\r[System]\rWheelInitTime=66\r",
            {.defaultPosition = 5, .memorizePosition = false, .wheelInitTime = 66},
            {"[Window]", "Foreign=cr", "[System]"}},
    };
}

} // namespace

// Each file is given to the program in a fresh directory of its own.
TEST(MalformedSettings, EveryFileOfTheCorpusIsReadByTheRulesAndItsForeignLinesKept)
{
    for (const SettingsCase& settingsCase : corpus()) {
        SCOPED_TRACE(settingsCase.name);
        InstalledProgram program;
        ASSERT_TRUE(program.installed());
        ASSERT_TRUE(writeFile(program.settingsPath(), settingsCase.contents));
        const POINT closedAt = runAndClose(program, settingsCase.expected, settingsCase.onDiskAfterStart);
        expectWrittenBack(program.settingsPath(), settingsCase.expected, closedAt);
        const std::string written = comparable(readFile(program.settingsPath()));
        expectLinesKept(settingsCase.kept, written);
        // A file rewritten at start is one that Windows, too, reads with its first section.
        if (!settingsCase.onDiskAfterStart.empty()) {
            EXPECT_EQ(written.find("[Window]"), written.rfind("[Window]"));
        }
    }
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
    runAndClose(program, {.defaultPosition = 0, .memorizePosition = false});
    EXPECT_EQ(readFile(program.settingsPath()), contents);
    SetFileAttributesA(program.settingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}
