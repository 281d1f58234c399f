#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "common/character_boundaries.h"

// The program's own texts are code page 932 byte strings whatever the system's code page is; the
// settings file holds text in the system's code page. The system is always handed UTF-16, so that
// neither is read through the other's code page.

// One of the program's own texts, for the system.
std::wstring programText(const char* text);

// Text of the system's code page and back; a character that the code page cannot spell becomes
// the code page's default character, as the "A" calls make it.
std::wstring fromSystemCodePage(const std::string& text);
std::string toSystemCodePage(const std::wstring& text);

// Exact conversions, for text that must come back byte for byte: nothing when the bytes are not
// valid in the code page (kUtf8CodePage for UTF-8), or when a character cannot be spelled there (no
// default character, no look-alike).
std::optional<std::wstring> fromCodePageExactly(std::string_view text, unsigned codePage);
std::optional<std::string> toCodePageExactly(const std::wstring& text, unsigned codePage);

// The system's code page, as it was when first asked: where its characters begin.
const CodePage& systemCodePage();
