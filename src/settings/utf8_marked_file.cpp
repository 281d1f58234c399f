#include "settings/utf8_marked_file.h"

#include "common/code_pages.h"
#include "common/whole_file.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

// The text up to and including its first line end: CR and LF are never part of a character in
// UTF-8 or in any code page the system may have, so the cut never splits one.
std::string_view firstLine(std::string_view text)
{
    const size_t end = text.find_first_of("\r\n");
    return text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
}

struct BothForms {
    std::string narrow; // in the code page; given up once a character cannot be spelled there
    std::wstring wide;
    bool narrowPossible = true;
    bool widePossible = true;
};

void addLine(BothForms& forms, std::string_view line, unsigned codePage)
{
    if (const std::optional<std::wstring> converted = fromCodePageExactly(line, kUtf8CodePage)) {
        forms.wide += *converted;
        const std::optional<std::string> spelled
            = forms.narrowPossible ? toCodePageExactly(*converted, codePage) : std::nullopt;
        forms.narrowPossible = spelled.has_value();
        if (spelled)
            forms.narrow += *spelled;
        return;
    }
    forms.narrow += line;
    const std::optional<std::wstring> read = fromCodePageExactly(line, codePage);
    forms.widePossible = forms.widePossible && read;
    if (read)
        forms.wide += *read;
}

} // namespace

std::optional<std::string> unmarkedSettingsText(std::string_view afterMark, unsigned codePage)
{
    BothForms forms;
    for (std::string_view rest = afterMark; !rest.empty();) {
        const std::string_view line = firstLine(rest);
        addLine(forms, line, codePage);
        rest.remove_prefix(line.size());
    }
    if (forms.narrowPossible)
        return forms.narrow;
    if (!forms.widePossible)
        return std::nullopt;
    // Little-endian, as Windows keeps UTF-16.
    std::string unicode(kUtf16Mark);
    for (const wchar_t unit : forms.wide) {
        unicode += static_cast<char>(unit & 0xFF);
        unicode += static_cast<char>((unit >> 8) & 0xFF);
    }
    return unicode;
}

void convertUtf8MarkedFile(const std::wstring& path)
{
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes || !bytes->starts_with(kUtf8Mark))
        return;
    const std::optional<std::string> text
        = unmarkedSettingsText(std::string_view(*bytes).substr(kUtf8Mark.size()), systemCodePage().number);
    if (text)
        replaceWholeFile(path, *text);
}
