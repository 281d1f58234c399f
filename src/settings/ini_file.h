#pragma once
#include <string>

// The settings file, reached only through the system's private-profile functions. Every read falls
// back to the caller's default; every write is fire-and-forget. No handle is held, so the file may
// be missing, created or edited by hand between calls. Sections, keys and values are text of the
// system's code page; the file holds them so, or in UTF-16 after its mark. The path is UTF-16, so
// that any folder can hold it.
class IniFile {
public:
    // A name like "X:\..." or one given with isFullPath is taken as it is; any other name is placed
    // in the executable's directory (which also becomes the current directory).
    IniFile(const char* fileName, bool isFullPath);

    // Empty when there is no file to use; fixed after construction.
    const std::wstring& path() const { return filePath; }

    // A file that starts with the UTF-8 mark is rewritten once without it, every byte kept (see
    // convertUtf8MarkedFile). A read-only file is left as it is.
    void dropUtf8Mark() const;

    int getInt(const char* section, const char* key, int defaultValue) const;
    // A value outside [minimum, maximum] gives the default, never the nearer bound.
    int getIntInRange(const char* section, const char* key, int defaultValue, int minimum, int maximum) const;
    // Any non-zero number is true.
    bool getBool(const char* section, const char* key, bool defaultValue) const;
    // The text cut to size - 1 bytes and always terminated; an empty text without a file.
    void getStringToBuffer(
        const char* section, const char* key, char* buffer, unsigned size, const char* defaultText) const;
    // At most 1023 bytes. A key present with an empty value gives an empty string, not the default.
    std::string getString(const char* section, const char* key, const char* defaultText) const;

    // An empty text writes the key with an empty value; it never deletes anything.
    bool putString(const char* section, const char* key, const std::string& text) const;
    void putInt(const char* section, const char* key, int value) const;
    void putBool(const char* section, const char* key, bool value) const;

private:
    std::wstring filePath;
};
