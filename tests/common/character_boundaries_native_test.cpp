#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "common/character_boundaries.h"

namespace {

// UTF-8 as RFC 3629 draws its borders: the least and greatest sequence of each length, and the
// first byte strings past each border (overlong forms, surrogates, beyond U+10FFFF).
TEST(CharacterAt, Utf8SequencesAndTheirBorders)
{
    const CodePage utf8{kUtf8CodePage};
    const struct {
        std::string_view bytes;
        std::size_t length;
        bool wellFormed;
    } cases[]{{"\x7F", 1, true}, {"\xC2\x80", 2, true}, {"\xDF\xBF", 2, true}, {"\xE0\xA0\x80", 3, true},
        {"\xED\x9F\xBF", 3, true}, {"\xEF\xBF\xBF", 3, true}, {"\xF0\x90\x80\x80", 4, true},
        {"\xF4\x8F\xBF\xBF", 4, true}, {"\x80", 1, false}, {"\xC1\xBF", 1, false}, {"\xE0\x9F\xBF", 1, false},
        {"\xED\xA0\x80", 1, false}, {"\xF0\x8F\xBF\xBF", 1, false}, {"\xF4\x90\x80\x80", 1, false},
        {"\xF5\x80\x80\x80", 1, false}, {"\xF0\x90\x80\x41", 3, false}, {"\xF0\x90\x80", 0, true},
        {"", 0, true}};
    for (const auto& c : cases) {
        const CharacterAtFront character = characterAt(utf8, c.bytes);
        EXPECT_EQ(c.length, character.length) << "case " << &c - cases;
        EXPECT_EQ(c.wellFormed, character.wellFormed) << "case " << &c - cases;
    }
}

// The system's list of lead-byte pairs, as GetCPInfo gives it: zeros after the last pair, or as many as
// given.
TEST(CharacterAt, DoubleByteCodePageFromTheSystemsLeadBytes)
{
    const std::uint8_t chinese[2] = {0x81, 0xFE};
    const CodePage gbk = codePageWithLeadBytes(936, chinese);
    EXPECT_EQ(2u, characterAt(gbk, "\xFE\x5C").length);
    EXPECT_TRUE(characterAt(gbk, "\xFE\x01").wellFormed);
    EXPECT_EQ(1u, characterAt(gbk, "\xFF\x5C").length);
    const std::uint8_t japanese[12] = {0x81, 0x9F, 0xE0, 0xFC};
    const CodePage shiftJis = codePageWithLeadBytes(932, japanese);
    EXPECT_EQ(2u, characterAt(shiftJis, "\xE0\x7F").length);
    EXPECT_FALSE(characterAt(shiftJis, "\xE0\x7F").wellFormed);
    EXPECT_EQ(1u, characterAt(shiftJis, "\xA0\x5C").length);
    // A seventh pair is more than the system ever lists, and is not taken.
    const std::uint8_t seven[14] = {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7};
    const CodePage many = codePageWithLeadBytes(1, seven);
    EXPECT_EQ(1u, characterAt(many, "\x07\x07").length);
    EXPECT_EQ(2u, characterAt(many, "\x06\x08").length);
    EXPECT_TRUE(characterAt(many, "\x06\x08").wellFormed);
}

} // namespace
