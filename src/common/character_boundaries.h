#pragma once
// Where the characters of a byte string begin, in one code page: a double-byte code page by its
// lead-byte ranges, a single-byte one, or UTF-8. Every cut and every walk over text of the
// system's code page asks here, so that none splits a character or takes part of one for a
// separator.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

struct ByteRange {
    std::uint8_t first;
    std::uint8_t last; // inclusive; {0, 0} marks an unused entry
};

struct CodePage {
    unsigned number = 0;
    // The first bytes of double-byte characters, as the system lists them; none in other code pages.
    std::array<ByteRange, 6> leadBytes{};
    // The valid second bytes where the code page's definition is known; with none listed, every
    // byte but zero is taken as a second byte.
    std::array<ByteRange, 2> trailBytes{};
};

inline constexpr unsigned kUtf8CodePage = 65001;
inline constexpr CodePage kShiftJis{932, {{{0x81, 0x9F}, {0xE0, 0xFC}}}, {{{0x40, 0x7E}, {0x80, 0xFC}}}};

// The code page the system names, from its number and the lead-byte pairs it reports (first, last,
// ..., zeros where the list ends; at most six pairs are kept); Shift-JIS's second bytes are known.
CodePage codePageWithLeadBytes(unsigned number, std::span<const std::uint8_t> pairs);

// The character at the front of a byte string.
struct CharacterAtFront {
    // Its bytes; 0 when the text ends before the character does (a lead byte last, or a UTF-8
    // sequence cut short), and for an empty text.
    std::size_t length = 0;
    // False when its bytes do not spell a character: a lead byte followed by a byte that is no valid
    // second byte, which is then still taken as part of it (double-byte), or a UTF-8 sequence broken
    // off early or a byte that starts none (each then stands alone).
    bool wellFormed = true;
};
CharacterAtFront characterAt(const CodePage& codePage, std::string_view text);
