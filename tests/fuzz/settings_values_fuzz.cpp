// The settings values' rules: the wheel-time correction, and the cut of a long value on a
// character boundary in a given code page. Whatever the bytes, the cut keeps a prefix that fits
// and ends where a character ends; for text that is well formed in its code page (judged here by
// a reader of its own), it keeps the longest such prefix.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "broken_promise.h"
#include "settings/value_rules.h"

namespace {

bool within(unsigned byte, unsigned first, unsigned last) { return byte >= first && byte <= last; }

// Where the characters of well-formed Shift-JIS text begin, ending with its size; empty when the
// text is not well formed.
std::vector<std::size_t> shiftJisStarts(const std::string& text)
{
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < text.size(); ++at) {
        starts.push_back(at);
        const unsigned byte = static_cast<std::uint8_t>(text[at]);
        if (within(byte, 0x81, 0x9F) || within(byte, 0xE0, 0xFC)) {
            if (at + 1 == text.size())
                return {};
            const unsigned second = static_cast<std::uint8_t>(text[++at]);
            if (!within(second, 0x40, 0x7E) && !within(second, 0x80, 0xFC))
                return {};
        }
    }
    starts.push_back(text.size());
    return starts;
}

// The same for UTF-8, by its table of well-formed sequences.
std::vector<std::size_t> utf8Starts(const std::string& text)
{
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < text.size();) {
        starts.push_back(at);
        const unsigned byte = static_cast<std::uint8_t>(text[at]);
        unsigned more = 0;
        unsigned low = 0x80;
        unsigned high = 0xBF;
        if (byte < 0x80) {
        } else if (within(byte, 0xC2, 0xDF)) {
            more = 1;
        } else if (within(byte, 0xE0, 0xEF)) {
            more = 2;
            low = byte == 0xE0 ? 0xA0 : 0x80;
            high = byte == 0xED ? 0x9F : 0xBF;
        } else if (within(byte, 0xF0, 0xF4)) {
            more = 3;
            low = byte == 0xF0 ? 0x90 : 0x80;
            high = byte == 0xF4 ? 0x8F : 0xBF;
        } else {
            return {};
        }
        if (text.size() - at - 1 < more)
            return {};
        for (unsigned i = 1; i <= more; ++i) {
            const unsigned next = static_cast<std::uint8_t>(text[at + i]);
            if (!within(next, i == 1 ? low : 0x80, i == 1 ? high : 0xBF))
                return {};
        }
        at += 1 + more;
    }
    starts.push_back(text.size());
    return starts;
}

std::vector<std::size_t> singleByteStarts(const std::string& text)
{
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at <= text.size(); ++at)
        starts.push_back(at);
    return starts;
}

void checkCut(const std::string& text, std::size_t maxBytes, const CodePage& codePage,
    const std::vector<std::size_t>& wellFormedStarts)
{
    std::string kept = text;
    keepWholeCharacters(kept, maxBytes, codePage);
    require(kept.size() <= maxBytes && text.compare(0, kept.size(), kept) == 0, "a prefix that fits");
    std::size_t end = 0;
    while (end < kept.size()) {
        const std::size_t length = characterAt(codePage, std::string_view(kept).substr(end)).length;
        require(length > 0, "no character cut short");
        end += length;
    }
    require(end == kept.size(), "ends where a character ends");
    std::string again = kept;
    keepWholeCharacters(again, maxBytes, codePage);
    require(again == kept, "a value cut again stays the same");
    if (wellFormedStarts.empty())
        return;
    std::size_t longest = 0;
    for (const std::size_t start : wellFormedStarts)
        longest = start <= maxBytes ? start : longest;
    require(kept.size() == longest, "the longest whole prefix of well-formed text");
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
        checkCut(text, maxBytes, kShiftJis, shiftJisStarts(text));
        break;
    case 1:
        checkCut(text, maxBytes, kUtf8, utf8Starts(text));
        break;
    case 2:
        checkCut(text, maxBytes, kWestern, singleByteStarts(text));
        break;
    case 3: { // a double-byte code page as the system describes it, lead-byte pairs from the input
        const std::size_t pairs = std::min<std::size_t>(text.size(), 12);
        const CodePage described = codePageWithLeadBytes(936, std::span<const std::uint8_t>(data + 6, pairs));
        checkCut(text, maxBytes, described, {});
        break;
    }
    }
    return 0;
}
