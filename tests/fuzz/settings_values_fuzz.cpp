// The settings values' rules: the wheel-time correction, and the cut of a long value on a
// character boundary in a given code page. Whatever the bytes, the cut keeps the longest prefix
// that fits and reads to its end: whole characters, and bytes that start none, but no character
// cut short at the end. What a character is comes from readers that share nothing with the
// program: UTF-8 as RFC 3629 spells it, code page 932 as the host's iconv reads it, and the
// double-byte rule (a lead byte takes the byte after it) for the rest.
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "broken_promise.h"
#include "settings/value_rules.h"

namespace {

bool within(unsigned byte, unsigned first, unsigned last) { return byte >= first && byte <= last; }

// RFC 3629, section 4: the well-formed UTF-8 sequences, each by the ranges of its bytes.
struct Utf8Sequence {
    std::size_t length;
    std::uint8_t ranges[4][2];
};
constexpr Utf8Sequence kUtf8Sequences[] = {
    {1, {{0x00, 0x7F}}},
    {2, {{0xC2, 0xDF}, {0x80, 0xBF}}},
    {3, {{0xE0, 0xE0}, {0xA0, 0xBF}, {0x80, 0xBF}}},
    {3, {{0xE1, 0xEC}, {0x80, 0xBF}, {0x80, 0xBF}}},
    {3, {{0xED, 0xED}, {0x80, 0x9F}, {0x80, 0xBF}}},
    {3, {{0xEE, 0xEF}, {0x80, 0xBF}, {0x80, 0xBF}}},
    {4, {{0xF0, 0xF0}, {0x90, 0xBF}, {0x80, 0xBF}, {0x80, 0xBF}}},
    {4, {{0xF1, 0xF3}, {0x80, 0xBF}, {0x80, 0xBF}, {0x80, 0xBF}}},
    {4, {{0xF4, 0xF4}, {0x80, 0x8F}, {0x80, 0xBF}, {0x80, 0xBF}}},
};

// The text's end cuts no sequence short: each well-formed sequence is passed whole, a byte that
// begins none alone.
bool utf8ReadsToEnd(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t step = 1;
        for (const Utf8Sequence& sequence : kUtf8Sequences) {
            std::size_t matched = 0;
            while (matched < sequence.length && at + matched < text.size()
                && within(static_cast<std::uint8_t>(text[at + matched]), sequence.ranges[matched][0],
                    sequence.ranges[matched][1]))
                ++matched;
            if (matched == sequence.length)
                step = matched;
            else if (at + matched == text.size())
                return false;
        }
        at += step;
    }
    return true;
}

// A lead byte and the byte after it are one character, whatever that byte is.
template <typename IsLead>
bool doubleByteReadsToEnd(std::string_view text, IsLead isLead)
{
    std::size_t at = 0;
    while (at < text.size())
        at += isLead(static_cast<std::uint8_t>(text[at])) ? 2 : 1;
    return at == text.size();
}

bool shiftJisLead(unsigned byte) { return within(byte, 0x81, 0x9F) || within(byte, 0xE0, 0xFC); }

// Whether the host's converter reads all of the text as code page 932: every character assigned.
bool iconvReadsAsCp932(std::string_view text)
{
    static const iconv_t converter = iconv_open("UTF-32LE", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> out(4 * text.size() + 4);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* next = out.data();
    std::size_t outLeft = out.size();
    return iconv(converter, &in, &inLeft, &next, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
}

template <typename Reader>
void checkCut(const std::string& text, std::size_t maxBytes, const CodePage& codePage, Reader readsToEnd)
{
    std::string kept = text;
    keepWholeCharacters(kept, maxBytes, codePage);
    std::size_t longest = std::min(text.size(), maxBytes);
    while (longest > 0 && !readsToEnd(std::string_view(text).substr(0, longest)))
        --longest;
    require(kept == text.substr(0, longest), "the longest prefix that fits and reads to its end");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 6)
        return 0;
    const int wheelTime
        = static_cast<int>(data[2] | data[3] << 8 | data[4] << 16 | std::uint32_t{data[5]} << 24);
    const int corrected = correctedWheelTime(wheelTime);
    require(corrected >= 1 && (wheelTime < 1 || corrected == wheelTime),
        "a wheel time of at least 1, kept when sound");

    const std::string text(reinterpret_cast<const char*>(data) + 6, size - 6);
    const std::size_t maxBytes = data[1];
    constexpr CodePage kWestern{1252};
    constexpr CodePage kUtf8{kUtf8CodePage};
    switch (data[0] % 4) {
    case 0:
        if (iconvReadsAsCp932(text))
            checkCut(text, maxBytes, kShiftJis, iconvReadsAsCp932);
        else
            checkCut(text, maxBytes, kShiftJis,
                [](std::string_view t) { return doubleByteReadsToEnd(t, shiftJisLead); });
        break;
    case 1:
        checkCut(text, maxBytes, kUtf8, utf8ReadsToEnd);
        break;
    case 2:
        checkCut(text, maxBytes, kWestern, [](std::string_view) { return true; });
        break;
    case 3: { // a double-byte code page as the system describes it, lead-byte pairs from the input
        const std::size_t pairs = std::min<std::size_t>(text.size(), 12);
        const std::span<const std::uint8_t> leads(data + 6, pairs);
        const auto isLead = [leads](unsigned byte) {
            for (std::size_t i = 0; i + 1 < leads.size(); i += 2)
                if (leads[i + 1] != 0 && within(byte, leads[i], leads[i + 1]))
                    return true;
            return false;
        };
        checkCut(text, maxBytes, codePageWithLeadBytes(936, leads),
            [isLead](std::string_view t) { return doubleByteReadsToEnd(t, isLead); });
        break;
    }
    }
    return 0;
}
