#include "common/path_helpers.h"

#include <windows.h>

#include <cstring>

namespace {

bool isLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE; }

bool isTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

bool isSeparator(char byte) { return byte == '\\' || byte == '/'; }

} // namespace

const char* nextChar(const char* p)
{
    if (*p == 0)
        return p;
    // A lead byte right before the terminator stands alone, so the end is never passed.
    if (isLeadByte(static_cast<unsigned char>(*p)) && p[1] != 0)
        return p + 2;
    return p + 1;
}

const char* fileNamePart(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; p = nextChar(p)) {
        if (isSeparator(*p))
            name = p + 1;
    }
    return name;
}

void directoryPart(char* destination, const char* path)
{
    const char* name = fileNamePart(path);
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
    if (last >= 0 && byteKindAt(destination, last) == SingleByte && isSeparator(destination[last]))
        destination[last] = 0;
    else
        destination[0] = 0;
}

std::wstring directoryPart(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

ByteKind byteKindAt(const char* text, int index)
{
    if (index < 0)
        return SingleByte;
    ByteKind kind = SingleByte;
    for (int i = 0; text[i]; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (kind == LeadByte)
            kind = isTrailByte(byte) ? TrailByte : SingleByte;
        else
            kind = isLeadByte(byte) ? LeadByte : SingleByte;
        if (i == index)
            return kind;
    }
    return SingleByte;
}
