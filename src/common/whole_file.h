#pragma once
#include <optional>
#include <string>
#include <string_view>

// Files read and written whole: a settings file, a keyboard picture.

// The file's bytes; nothing when it cannot be read or holds more than 64 MiB, far more than any
// file of this program, so that a wrong name never fills the memory.
std::optional<std::string> readWholeFile(const std::wstring& path);

// Gives an existing file the bytes as its whole contents, or leaves it exactly as it was: they
// are written beside it, flushed to the disk and then moved over it, so that a power cut leaves
// either the old file or the new one. A link stays a link: its target gets the bytes.
bool replaceWholeFile(const std::wstring& path, std::string_view bytes);
