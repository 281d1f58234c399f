#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/path_helpers.h"

namespace {

// Bytes of real characters, worked out once with Python's codecs ("表".encode("cp932") and so on).
const std::string kHyo932 = "\x95\x5C";            // 表
const std::string kSo932 = "\x83\x5C";             // ソ
const std::string kNou932 = "\x94\x5C";            // 能
const std::string kHyoUtf8 = "\xE8\xA1\xA8";       // 表
const std::string kYoshiUtf8 = "\xF0\xA0\xAE\xB7"; // 𠮷, beyond the 16-bit range
const std::string kCafe1252 = "Caf\xE9";           // Café; 0xE9 is a lead byte in 932
const CodePage kWestern{1252};
const CodePage kUtf8{kUtf8CodePage};

struct PathCase {
    const CodePage& codePage;
    std::string path;
    std::string directory;
    std::string fileName;
};

TEST(PathHelpers, DirectoryAndFileNameParts)
{
    std::vector<PathCase> cases{
        {kShiftJis, "C:\\Tools\\kb\\prog.exe", "C:\\Tools\\kb", "prog.exe"},
        {kShiftJis, "D:\\prog.exe", "D:", "prog.exe"},
        {kShiftJis, "C:/Tools/prog.exe", "C:/Tools", "prog.exe"},
        {kShiftJis, "C:\\a/b\\c.exe", "C:\\a/b", "c.exe"},
        {kShiftJis, "C:\\Tools\\", "C:\\Tools", ""},
        {kShiftJis, "C:\\Tools\\\\", "C:\\Tools\\", ""},
        {kShiftJis, "C:\\", "C:", ""},
        {kShiftJis, "C:\\Tools/", "C:\\Tools", ""},
        // Nothing before a bare name may be read or written.
        {kShiftJis, "", "", ""},
        {kShiftJis, "prog.exe", "", "prog.exe"},
        // A lone lead byte at the end is a character of its own.
        {kShiftJis, "C:\\dir\\name\x95", "C:\\dir", "name\x95"},
        {kShiftJis, "C:\\" + kHyo932 + "\\" + kSo932 + "\\" + kNou932 + "\\TaveloKeyboard.ini",
            "C:\\" + kHyo932 + "\\" + kSo932 + "\\" + kNou932, "TaveloKeyboard.ini"},
        // The same bytes are • and a separator in a Western code page, and 0xE9 is é there.
        {kWestern, "C:\\" + kHyo932 + "x", "C:\\\x95", "x"},
        {kWestern, "C:\\" + kCafe1252 + "\\menu.ini", "C:\\" + kCafe1252, "menu.ini"},
        // UTF-8: three- and four-byte characters; one cut short by the end; a lead byte that a
        // separator breaks off stands alone, and the separator counts.
        {kUtf8, "C:\\" + kHyoUtf8 + "\\" + kYoshiUtf8 + "\\TaveloKeyboard.ini",
            "C:\\" + kHyoUtf8 + "\\" + kYoshiUtf8, "TaveloKeyboard.ini"},
        {kUtf8, "C:\\dir\\name\xE8\xA1", "C:\\dir", "name\xE8\xA1"},
        {kUtf8, "C:\\x\xE8\\y", "C:\\x\xE8", "y"},
        {kUtf8, "C:\\" + kCafe1252 + "\\menu.ini", "C:\\" + kCafe1252, "menu.ini"},
    };
    // A second byte 0x5C is no separator: at the end of a directory, of a name and as a whole name.
    for (const std::string& character : {kHyo932, kSo932, kNou932}) {
        cases.push_back({kShiftJis, "C:\\" + character + "\\prog.exe", "C:\\" + character, "prog.exe"});
        cases.push_back({kShiftJis, "C:\\x" + character, "C:", "x" + character});
        cases.push_back({kShiftJis, "C:\\" + character + "\\", "C:\\" + character, ""});
    }
    for (const PathCase& c : cases) {
        std::string directory(c.path.size() + 1, '\x7F');
        directoryPart(directory.data(), c.path.c_str(), c.codePage);
        EXPECT_EQ(c.directory, directory.c_str()) << c.path << " in " << c.codePage.number;
        // The name is the path's own tail, not a copy.
        EXPECT_EQ(
            c.path.c_str() + c.path.size() - c.fileName.size(), fileNamePart(c.path.c_str(), c.codePage))
            << c.path << " in " << c.codePage.number;
    }
}

TEST(PathHelpers, NextCharSteps)
{
    const std::string text = "a" + kHyo932 + "\x95";
    const char* p = text.c_str();
    EXPECT_EQ(p + 1, nextChar(p, kShiftJis));
    EXPECT_EQ(p + 3, nextChar(p + 1, kShiftJis));
    // A lone lead byte before the terminator is one character, and the end is never passed.
    EXPECT_EQ(p + 4, nextChar(p + 3, kShiftJis));
    EXPECT_EQ(p + 4, nextChar(p + 4, kShiftJis));
    // Any non-zero byte after a lead byte belongs to it.
    const char* odd = "\x81\x01z";
    EXPECT_EQ(odd + 2, nextChar(odd, kShiftJis));
    EXPECT_EQ(odd + 1, nextChar(odd, kWestern));
    // UTF-8 characters of three and four bytes, then one that the terminator cuts short.
    const std::string utf8 = kHyoUtf8 + kYoshiUtf8 + "\xF0\xA0\xAE";
    const char* u = utf8.c_str();
    EXPECT_EQ(u + 3, nextChar(u, kUtf8));
    EXPECT_EQ(u + 7, nextChar(u + 3, kUtf8));
    EXPECT_EQ(u + 10, nextChar(u + 7, kUtf8));
}

// Two lead-range bytes in a row make one character and a third starts a new one; a byte that is
// no valid second byte (or half-width katakana) is a character of its own; outside the text is
// single.
TEST(PathHelpers, ByteKindWalk)
{
    const char* text = "\x95\x5C\x41";
    const char* pairs = "\x81\x81\x81\x5C";
    const struct {
        const CodePage& codePage;
        const char* text;
        int index;
        ByteKind kind;
    } cases[]{{kShiftJis, text, 0, LeadByte}, {kShiftJis, text, 1, TrailByte},
        {kShiftJis, text, 2, SingleByte}, {kShiftJis, text, 3, SingleByte}, {kShiftJis, text, 40, SingleByte},
        {kShiftJis, text, -1, SingleByte}, {kShiftJis, "", 0, SingleByte}, {kShiftJis, pairs, 0, LeadByte},
        {kShiftJis, pairs, 1, TrailByte}, {kShiftJis, pairs, 2, LeadByte}, {kShiftJis, pairs, 3, TrailByte},
        {kShiftJis, "\xE0\x7F", 1, SingleByte}, {kShiftJis, "\xFC\x3F", 1, SingleByte},
        {kShiftJis, "\xA0\x5C", 0, SingleByte}, {kShiftJis, "\xA0\x5C", 1, SingleByte},
        {kShiftJis, "\xFC\xFC", 0, LeadByte}, {kShiftJis, "\xFC\xFC", 1, TrailByte},
        {kWestern, text, 0, SingleByte}, {kWestern, text, 1, SingleByte},
        {kUtf8, "\xE8\xA1\xA8", 0, LeadByte}, {kUtf8, "\xE8\xA1\xA8", 2, TrailByte},
        {kUtf8, "\xE8\x41", 0, SingleByte}, {kUtf8, "\xE8\xA1\x41", 1, SingleByte},
        {kUtf8, "\xE8\xA1", 0, LeadByte}, {kUtf8, "\xE8\xA1", 1, TrailByte}};
    for (const auto& c : cases)
        EXPECT_EQ(c.kind, byteKindAt(c.text, c.index, c.codePage)) << "case " << &c - cases;
}

} // namespace

TEST(PathHelpers, CommandProgram)
{
    for (const auto& [command, program] :
        {std::pair{L"\"C:\\Program Files\\k b.exe\" /x", L"C:\\Program Files\\k b.exe"},
            {L"C:\\Tools\\kb.exe /x", L"C:\\Tools\\kb.exe"}, {L"\"C:\\unclosed.exe", L"C:\\unclosed.exe"},
            {L"", L""}, {L"\"\"", L""}})
        EXPECT_EQ(commandProgram(command), program);
}
