#pragma once
#include <optional>
#include <string>
#include <string_view>

// Windows reads a settings file as Unicode only when it starts with the UTF-16 mark; one that an
// editor saved as UTF-8 with its mark (EF BB BF) would be read in the system's code page, the mark
// stuck to its first line. Windows writes such a file back in the code page, so it soon holds lines
// of both.

// The bytes that follow the mark, as the profile functions must read them: each line that is UTF-8
// converted, each other line (already in the code page) kept byte for byte, every line end kept.
// In the code page when it spells every character; otherwise UTF-16LE with its mark, which the
// profile functions read and write as Unicode. Nothing when neither keeps every character (a
// line that is neither UTF-8 nor text of the code page, beside a character that only Unicode
// spells): the file is then better left as it is.
std::optional<std::string> unmarkedSettingsText(std::string_view afterMark, unsigned codePage);

// Rewrites a file that starts with the UTF-8 mark as unmarkedSettingsText says for the system's
// code page, whole or not at all; leaves any other file as it is.
void convertUtf8MarkedFile(const std::wstring& path);
