#include "common/path_helpers.h"

#include <cstring>
#include <string_view>

namespace {

bool isSeparator(char byte) { return byte == '\\' || byte == '/'; }

// The text from p on, as far as one character can reach (four bytes) and not past the terminator.
std::string_view oneCharacterAhead(const char* p)
{
    std::size_t size = 0;
    while (size < 4 && p[size] != 0)
        ++size;
    return {p, size};
}

} // namespace

const char* nextChar(const char* p, const CodePage& codePage)
{
    const std::string_view ahead = oneCharacterAhead(p);
    const std::size_t length = characterAt(codePage, ahead).length;
    // A character cut short by the terminator ends there, so the end is never passed.
    return p + (length != 0 ? length : ahead.size());
}

const char* fileNamePart(const char* path, const CodePage& codePage)
{
    const char* name = path;
    for (const char* p = path; *p; p = nextChar(p, codePage)) {
        if (isSeparator(*p))
            name = p + 1;
    }
    return name;
}

void directoryPart(char* destination, const char* path, const CodePage& codePage)
{
    const char* name = fileNamePart(path, codePage);
    if (name == path) {
        // No separator at all: there is no directory to give.
        destination[0] = 0;
        return;
    }
    if (*name) {
        const size_t length = static_cast<size_t>(name - path) - 1;
        std::memcpy(destination, path, length);
        destination[length] = 0;
        return;
    }
    const size_t length = std::strlen(path);
    std::memcpy(destination, path, length + 1);
    const int last = static_cast<int>(length) - 1;
    if (last >= 0 && byteKindAt(destination, last, codePage) == SingleByte && isSeparator(destination[last]))
        destination[last] = 0;
    else
        destination[0] = 0;
}

std::wstring directoryPart(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

ByteKind byteKindAt(const char* text, int index, const CodePage& codePage)
{
    if (index < 0)
        return SingleByte;
    const std::string_view whole(text);
    std::size_t start = 0;
    while (start < whole.size()) {
        const CharacterAtFront character = characterAt(codePage, whole.substr(start));
        const std::size_t length = character.length != 0 ? character.length : whole.size() - start;
        const auto at = static_cast<std::size_t>(index);
        if (at < start + length) {
            // A lone byte, or the first of several (cut short by the end or not), or a later one.
            if (at == start)
                return length > 1 || character.length == 0 ? LeadByte : SingleByte;
            return character.wellFormed ? TrailByte : SingleByte;
        }
        start += length;
    }
    return SingleByte;
}

std::wstring_view commandProgram(std::wstring_view command)
{
    if (command.starts_with(L'"')) {
        command.remove_prefix(1);
        return command.substr(0, command.find(L'"'));
    }
    return command.substr(0, command.find(L' '));
}
