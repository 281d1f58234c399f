#include "common/character_boundaries.h"

namespace {

template <std::size_t Size>
bool inRanges(const std::array<ByteRange, Size>& ranges, std::uint8_t byte)
{
    for (const ByteRange& range : ranges)
        if (range.last != 0 && byte >= range.first && byte <= range.last)
            return true;
    return false;
}

bool isSecondByte(const CodePage& codePage, std::uint8_t byte)
{
    return codePage.trailBytes[0].last == 0 ? byte != 0 : inRanges(codePage.trailBytes, byte);
}

CharacterAtFront doubleByteCharacterAt(const CodePage& codePage, std::string_view text)
{
    const auto first = static_cast<std::uint8_t>(text[0]);
    if (!inRanges(codePage.leadBytes, first))
        return {1, true};
    if (text.size() < 2)
        return {0, true};
    return {2, isSecondByte(codePage, static_cast<std::uint8_t>(text[1]))};
}

// UTF-8 as RFC 3629 defines it: no overlong forms, no surrogates, nothing beyond U+10FFFF. The
// second byte's range depends on the first; every later byte is 0x80..0xBF.
CharacterAtFront utf8CharacterAt(std::string_view text)
{
    const auto first = static_cast<std::uint8_t>(text[0]);
    if (first < 0x80)
        return {1, true};
    std::size_t length = 0;
    ByteRange second{0x80, 0xBF};
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        second = first == 0xE0 ? ByteRange{0xA0, 0xBF} : first == 0xED ? ByteRange{0x80, 0x9F} : second;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        second = first == 0xF0 ? ByteRange{0x90, 0xBF} : first == 0xF4 ? ByteRange{0x80, 0x8F} : second;
    } else {
        return {1, false};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (i == text.size())
            return {0, true};
        const auto byte = static_cast<std::uint8_t>(text[i]);
        if (byte < second.first || byte > second.last)
            return {i, false};
        second = {0x80, 0xBF};
    }
    return {length, true};
}

} // namespace

CodePage codePageWithLeadBytes(unsigned number, std::span<const std::uint8_t> pairs)
{
    CodePage codePage{number};
    for (std::size_t i = 0; i + 1 < pairs.size() && i / 2 < codePage.leadBytes.size(); i += 2)
        codePage.leadBytes[i / 2] = {pairs[i], pairs[i + 1]};
    if (number == kShiftJis.number)
        codePage.trailBytes = kShiftJis.trailBytes;
    return codePage;
}

CharacterAtFront characterAt(const CodePage& codePage, std::string_view text)
{
    if (text.empty())
        return {0, true};
    if (codePage.number == kUtf8CodePage)
        return utf8CharacterAt(text);
    return doubleByteCharacterAt(codePage, text);
}
