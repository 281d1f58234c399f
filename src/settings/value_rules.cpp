#include "settings/value_rules.h"

#include <algorithm>
#include <string_view>

void keepWholeCharacters(std::string& text, std::size_t maxBytes, const CodePage& codePage)
{
    const std::string_view kept(text.data(), std::min(text.size(), maxBytes));
    std::size_t end = 0;
    std::size_t whole = 0;
    while (end < kept.size()) {
        const std::size_t length = characterAt(codePage, kept.substr(end)).length;
        if (length == 0)
            break;
        end += length;
        // A broken sequence is told apart by the byte after it; left last, it would read as a
        // character cut short and be dropped at the next cut, so a value would change each time.
        if (characterAt(codePage, kept.substr(end - length, length)).length == length)
            whole = end;
    }
    text.resize(whole);
}
