#include "settings/ini_file.h"

#include <windows.h>

#include <charconv>
#include <cstring>

#include "common/code_pages.h"
#include "common/module_directory.h"
#include "settings/utf8_marked_file.h"
#include "settings/value_rules.h"

namespace {

// "X:\" at the start; the drive letter itself is not looked at.
bool hasDrivePrefix(const char* fileName)
{
    return std::strlen(fileName) >= 3 && fileName[1] == ':' && fileName[2] == '\\';
}

std::wstring resolvePath(const char* fileName, bool isFullPath)
{
    if (isFullPath || hasDrivePrefix(fileName))
        return fromSystemCodePage(fileName);
    return besideProgram(fromSystemCodePage(fileName));
}

std::wstring systemText(const char* text) { return fromSystemCodePage(text ? text : ""); }

// A file that the user marked read-only is left alone even where the system would still let a
// write through (an administrator's process on some systems).
bool isReadOnly(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

} // namespace

IniFile::IniFile(const char* fileName, bool isFullPath)
    : filePath(resolvePath(fileName, isFullPath))
{
}

void IniFile::dropUtf8Mark() const
{
    if (!filePath.empty() && !isReadOnly(filePath))
        convertUtf8MarkedFile(filePath);
}

int IniFile::getInt(const char* section, const char* key, int defaultValue) const
{
    if (filePath.empty())
        return defaultValue;
    return static_cast<int>(GetPrivateProfileIntW(
        systemText(section).c_str(), systemText(key).c_str(), defaultValue, filePath.c_str()));
}

int IniFile::getIntInRange(
    const char* section, const char* key, int defaultValue, int minimum, int maximum) const
{
    const int value = getInt(section, key, defaultValue);
    if (value < minimum || value > maximum)
        return defaultValue;
    return value;
}

bool IniFile::getBool(const char* section, const char* key, bool defaultValue) const
{
    return getInt(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::getStringToBuffer(
    const char* section, const char* key, char* buffer, unsigned size, const char* defaultText) const
{
    if (size == 0)
        return;
    if (filePath.empty()) {
        buffer[0] = 0;
        return;
    }
    // The file's text comes back in UTF-16 and goes out in the system's code page, cut where the
    // byte buffer ends as the "A" call cuts it: never inside a character.
    std::wstring wide(size, L'\0');
    GetPrivateProfileStringW(systemText(section).c_str(), systemText(key).c_str(),
        systemText(defaultText).c_str(), wide.data(), size, filePath.c_str());
    std::string text = toSystemCodePage(wide.c_str());
    keepWholeCharacters(text, size - 1, systemCodePage());
    std::memcpy(buffer, text.c_str(), text.size() + 1);
}

std::string IniFile::getString(const char* section, const char* key, const char* defaultText) const
{
    char buffer[1024] = {};
    getStringToBuffer(section, key, buffer, sizeof buffer, defaultText);
    return std::string(buffer);
}

bool IniFile::putString(const char* section, const char* key, const std::string& text) const
{
    if (filePath.empty() || isReadOnly(filePath))
        return false;
    // A file that is not Unicode gets the text in the system's code page, as the "A" call writes it.
    return WritePrivateProfileStringW(systemText(section).c_str(), systemText(key).c_str(),
               fromSystemCodePage(text).c_str(), filePath.c_str())
        != FALSE;
}

void IniFile::putInt(const char* section, const char* key, int value) const
{
    // to_chars, not printf: the same decimal text without linking a formatter into the program.
    char text[16] = {};
    std::to_chars(text, text + sizeof text - 1, value);
    putString(section, key, text);
}

void IniFile::putBool(const char* section, const char* key, bool value) const
{
    putInt(section, key, value ? 1 : 0);
}
