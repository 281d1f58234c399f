#pragma once
#include <string>
#include <string_view>

#include "common/code_pages.h"

// Byte-string paths are in the system's code page, in which the second byte of a double-byte
// character may be 0x5C: the byte routines here walk character by character in that code page (or
// the one given), and never take part of a character for a separator.

enum ByteKind : int {
    SingleByte = 0,
    LeadByte = 1,  // first byte of a character of more than one byte
    TrailByte = 2, // any later byte of one
};

// Writes everything before the path's last separator (that separator excluded) into destination,
// which must hold at least as many bytes as the path with its terminator. A path that ends with a
// separator loses just that one; a bare name without any separator gives an empty text.
void directoryPart(char* destination, const char* path, const CodePage& codePage = systemCodePage());

// The same for a UTF-16 path, in which no part of another character is ever a separator.
std::wstring directoryPart(const std::wstring& path);

// The first byte after the path's last separator: the whole path without one, the terminator when
// the path ends with one.
const char* fileNamePart(const char* path, const CodePage& codePage = systemCodePage());

// The start of the character after the one at p; p itself at the terminator. A character that the
// terminator cuts short ends there; the bytes after a lead byte belong to it whatever their value.
const char* nextChar(const char* p, const CodePage& codePage = systemCodePage());

// The kind of the byte at index, found by walking the text from its start; SingleByte outside it.
// A byte that follows a lead byte without being a valid second byte is a SingleByte.
ByteKind byteKindAt(const char* text, int index, const CodePage& codePage = systemCodePage());

// The program that a command line starts: the text between its first pair of quotes when it begins
// with one, else everything up to its first space, as the system reads a startup command.
std::wstring_view commandProgram(std::wstring_view command);
