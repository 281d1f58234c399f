#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/path_helpers.h"

namespace {

struct PathCase {
    std::string path;
    std::string directory;
    std::string fileName;
};

TEST(PathHelpers, DirectoryAndFileNameParts)
{
    // The source's literals are code page 932, so that 表, ソ and 能 end in the byte 0x5C.
    ASSERT_STREQ("\x95\x5C\x83\x5C\x94\x5C", "表ソ能");
    std::vector<PathCase> cases{
        {"C:\\Tools\\kb\\prog.exe", "C:\\Tools\\kb", "prog.exe"},
        {"D:\\prog.exe", "D:", "prog.exe"},
        {"C:/Tools/prog.exe", "C:/Tools", "prog.exe"},
        {"C:\\a/b\\c.exe", "C:\\a/b", "c.exe"},
        {"C:\\Tools\\", "C:\\Tools", ""},
        {"C:\\Tools\\\\", "C:\\Tools\\", ""},
        {"C:\\", "C:", ""},
        {"C:\\Tools/", "C:\\Tools", ""},
        // Nothing before a bare name may be read or written.
        {"", "", ""},
        {"prog.exe", "", "prog.exe"},
        // A lone lead byte at the end is a character of its own.
        {"C:\\dir\\name\x95", "C:\\dir", "name\x95"},
        {"C:\\表\\ソ\\能\\TaveloKeyboard.ini", "C:\\表\\ソ\\能", "TaveloKeyboard.ini"},
    };
    // A second byte 0x5C is no separator: at the end of a directory, of a name and as a whole name.
    for (const std::string character : {"表", "ソ", "能"}) {
        cases.push_back({"C:\\" + character + "\\prog.exe", "C:\\" + character, "prog.exe"});
        cases.push_back({"C:\\x" + character, "C:", "x" + character});
        cases.push_back({"C:\\" + character + "\\", "C:\\" + character, ""});
    }
    for (const PathCase& c : cases) {
        std::string directory(c.path.size() + 1, '\x7F');
        directoryPart(directory.data(), c.path.c_str());
        EXPECT_EQ(c.directory, directory.c_str()) << c.path;
        // The name is the path's own tail, not a copy.
        EXPECT_EQ(c.path.c_str() + c.path.size() - c.fileName.size(), fileNamePart(c.path.c_str())) << c.path;
    }
}

TEST(PathHelpers, NextCharSteps)
{
    const char* text = "a表\x95";
    EXPECT_EQ(text + 1, nextChar(text));
    EXPECT_EQ(text + 3, nextChar(text + 1));
    // A lone lead byte before the terminator is one character, and the end is never passed.
    EXPECT_EQ(text + 4, nextChar(text + 3));
    EXPECT_EQ(text + 4, nextChar(text + 4));
    // Any non-zero byte after a lead byte belongs to it.
    const char* odd = "\x81\x01z";
    EXPECT_EQ(odd + 2, nextChar(odd));
}

// Two lead-range bytes in a row make one character and a third starts a new one; a byte that is
// no valid second byte (or half-width katakana) is a character of its own; outside the text is
// single.
TEST(PathHelpers, ByteKindWalk)
{
    const char* text = "\x95\x5C\x41";
    const char* pairs = "\x81\x81\x81\x5C";
    const struct {
        const char* text;
        int index;
        ByteKind kind;
    } cases[]{{text, 0, LeadByte}, {text, 1, TrailByte}, {text, 2, SingleByte}, {text, 3, SingleByte},
        {text, 40, SingleByte}, {text, -1, SingleByte}, {"", 0, SingleByte}, {pairs, 0, LeadByte},
        {pairs, 1, TrailByte}, {pairs, 2, LeadByte}, {pairs, 3, TrailByte}, {"\xE0\x7F", 1, SingleByte},
        {"\xFC\x3F", 1, SingleByte}, {"\xA0\x5C", 0, SingleByte}, {"\xA0\x5C", 1, SingleByte},
        {"\xFC\xFC", 0, LeadByte}, {"\xFC\xFC", 1, TrailByte}};
    for (const auto& c : cases)
        EXPECT_EQ(c.kind, byteKindAt(c.text, c.index)) << "case " << &c - cases;
}

} // namespace
