#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/path_helpers.h"

namespace {

std::string directoryOf(const char* path)
{
    std::string destination(std::strlen(path) + 1, '\x7F');
    directoryPart(destination.data(), path);
    return destination.c_str();
}

// Double-byte characters whose second byte is the backslash.
const char kHyou[] = "\x95\x5C"; // 表
const char kSo[] = "\x83\x5C";   // ソ
const char kNou[] = "\x94\x5C";  // 能

TEST(PathHelpers, SourceLiteralsAreShiftJis)
{
    EXPECT_STREQ("表", kHyou);
    EXPECT_STREQ("ソ", kSo);
    EXPECT_STREQ("能", kNou);
}

TEST(PathHelpers, PlainPaths)
{
    EXPECT_STREQ("prog.exe", fileNamePart("C:\\Tools\\kb\\prog.exe"));
    EXPECT_EQ("C:\\Tools\\kb", directoryOf("C:\\Tools\\kb\\prog.exe"));
    EXPECT_EQ("D:", directoryOf("D:\\prog.exe"));
    EXPECT_EQ("C:/Tools", directoryOf("C:/Tools/prog.exe"));
    EXPECT_STREQ("prog.exe", fileNamePart("C:/Tools/prog.exe"));
    EXPECT_EQ("C:\\a/b", directoryOf("C:\\a/b\\c.exe"));
}

TEST(PathHelpers, TrailingSeparators)
{
    const char* path = "C:\\Tools\\";
    EXPECT_EQ(path + std::strlen(path), fileNamePart(path));
    EXPECT_EQ("C:\\Tools", directoryOf(path));
    EXPECT_EQ("C:\\Tools\\", directoryOf("C:\\Tools\\\\"));
    EXPECT_EQ("C:", directoryOf("C:\\"));
    EXPECT_EQ("C:\\Tools", directoryOf("C:\\Tools/"));
}

TEST(PathHelpers, EmptyAndBarePaths)
{
    const char* empty = "";
    EXPECT_EQ(empty, fileNamePart(empty));
    EXPECT_EQ("", directoryOf(empty));
    // A bare name has no directory; nothing before it may be read or written.
    const char* bare = "prog.exe";
    EXPECT_EQ(bare, fileNamePart(bare));
    EXPECT_EQ("", directoryOf(bare));
}

TEST(PathHelpers, SecondByteBackslashIsNoSeparator)
{
    for (const char* character : {kHyou, kSo, kNou}) {
        const std::string directory = std::string("C:\\") + character;
        const std::string path = directory + "\\prog.exe";
        EXPECT_STREQ("prog.exe", fileNamePart(path.c_str())) << directory;
        EXPECT_EQ(directory, directoryOf(path.c_str()));
        // The character as the last one of a name and as the whole name.
        const std::string named = std::string("C:\\x") + character;
        EXPECT_STREQ(named.c_str() + 3, fileNamePart(named.c_str()));
        EXPECT_EQ("C:", directoryOf(named.c_str()));
        const std::string trailing = directory + "\\";
        EXPECT_EQ(directory, directoryOf(trailing.c_str()));
    }
    EXPECT_EQ("C:\\表\\ソ\\能", directoryOf("C:\\表\\ソ\\能\\TaveloKeyboard.ini"));
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

TEST(PathHelpers, LoneLeadByteAtTheEnd)
{
    const char* path = "C:\\dir\\name\x95";
    EXPECT_STREQ("name\x95", fileNamePart(path));
    EXPECT_EQ("C:\\dir", directoryOf(path));
}

TEST(PathHelpers, ByteKindWalk)
{
    const char* text = "\x95\x5C\x41";
    EXPECT_EQ(LeadByte, byteKindAt(text, 0));
    EXPECT_EQ(TrailByte, byteKindAt(text, 1));
    EXPECT_EQ(SingleByte, byteKindAt(text, 2));
    EXPECT_EQ(SingleByte, byteKindAt(text, 3));
    EXPECT_EQ(SingleByte, byteKindAt(text, 40));
    EXPECT_EQ(SingleByte, byteKindAt(text, -1));
    EXPECT_EQ(SingleByte, byteKindAt("", 0));
    // Two lead-range bytes in a row make one character; the third starts a new one.
    const char* pairs = "\x81\x81\x81\x5C";
    EXPECT_EQ(LeadByte, byteKindAt(pairs, 0));
    EXPECT_EQ(TrailByte, byteKindAt(pairs, 1));
    EXPECT_EQ(LeadByte, byteKindAt(pairs, 2));
    EXPECT_EQ(TrailByte, byteKindAt(pairs, 3));
    // Not a valid second byte: a character of its own.
    EXPECT_EQ(SingleByte, byteKindAt("\xE0\x7F", 1));
    EXPECT_EQ(SingleByte, byteKindAt("\xFC\x3F", 1));
    EXPECT_EQ(SingleByte, byteKindAt("\xA0\x5C", 0)); // half-width katakana is single
    EXPECT_EQ(SingleByte, byteKindAt("\xA0\x5C", 1));
    EXPECT_EQ(LeadByte, byteKindAt("\xFC\xFC", 0));
    EXPECT_EQ(TrailByte, byteKindAt("\xFC\xFC", 1));
}

} // namespace
