#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/value_rules.h"

namespace {

std::string repeated(const std::string& text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

// Bytes of real characters, worked out once with Python's codecs ("＝".encode("cp932") and so on).
const std::string kEquals932 = "\x81\x81";         // ＝, whose second byte is also a lead byte
const std::string kHalfWidth932 = "\xB1\xB2";      // ｱｲ, one byte each
const std::string kHyoUtf8 = "\xE8\xA1\xA8";       // 表
const std::string kYoshiUtf8 = "\xF0\xA0\xAE\xB7"; // 𠮷
const std::string kEAcuteUtf8 = "\xC3\xA9";        // é
const CodePage kWestern{1252};
const CodePage kUtf8{kUtf8CodePage};

// The 255-byte cut of a read value and of the dialog's file name, and a character that the text's
// own end has parted.
TEST(KeepWholeCharacters, CutsOnACharacterBoundaryOfTheGivenCodePage)
{
    const struct {
        const CodePage& codePage;
        std::string text;
        std::size_t maxBytes;
        std::string kept;
    } cases[]{
        {kShiftJis, "a" + repeated(kEquals932, 150), 255, "a" + repeated(kEquals932, 127)},
        {kShiftJis, "ab\x82", 3, "ab"},
        {kShiftJis, kHalfWidth932, 1, "\xB1"},
        {kWestern, repeated("\x82\xE9", 150), 255, repeated("\x82\xE9", 127) + "\x82"},
        {kUtf8, repeated(kHyoUtf8, 100), 255, repeated(kHyoUtf8, 85)},
        {kUtf8, repeated(kYoshiUtf8, 70), 255, repeated(kYoshiUtf8, 63)},
        {kUtf8, repeated(kEAcuteUtf8, 200), 255, repeated(kEAcuteUtf8, 127)},
        // A stray lead byte is told apart only by the byte after it: kept last, the next cut would
        // take it for a character cut short, and the value would change each time it is read.
        {kUtf8, "a\xE6\xE6", 3, "a"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        keepWholeCharacters(text, c.maxBytes, c.codePage);
        EXPECT_EQ(c.kept, text) << "case " << &c - cases;
    }
}

TEST(CorrectedWheelTime, OnlyTimesBelowOneChange)
{
    const std::pair<int, int> cases[]{{INT_MIN, 1}, {0, 1}, {1, 1}, {2, 2}, {INT_MAX, INT_MAX}};
    for (const auto& [read, used] : cases)
        EXPECT_EQ(used, correctedWheelTime(read)) << read;
}

} // namespace
