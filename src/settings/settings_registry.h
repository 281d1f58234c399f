#pragma once
#include <set>
#include <string>

#include "settings/ini_file.h"

// Something that can be kept in an ordered container by its own comparison.
template <typename Item>
class SortableItem {
public:
    virtual bool less(const Item& other) const = 0;
    virtual ~SortableItem() = default;

protected:
    SortableItem() = default;
    SortableItem(const SortableItem&) = default;
    SortableItem& operator=(const SortableItem&) = default;
};

enum class BindingKind : int {
    Int,
    Bool,
    String,
};

// One program variable tied to one INI key. Only the target that matches kind is set. The variable
// is not owned and must outlive the registry.
class SettingBinding : public SortableItem<SettingBinding> {
public:
    SettingBinding(const char* section, const char* key, int* target);
    SettingBinding(const char* section, const char* key, bool* target);
    SettingBinding(const char* section, const char* key, std::string* target);

    // By section, then by key, each compared as unsigned bytes and case-sensitively, so that the
    // file is written in the same order whatever the order of binding.
    bool less(const SettingBinding& other) const override;

    int* intTarget = nullptr;
    bool* boolTarget = nullptr;
    std::string* stringTarget = nullptr;
    BindingKind kind;
    std::string section;
    std::string key;
    // Set when the file held a longer text than a read returns: while the variable still holds
    // the shortened text, writing it back would cut the user's value, so it is left alone.
    bool readShortened = false;
    std::string shortenedText;
};

// Ties program variables to keys of one INI file: each binding reads its key at once, and the
// destructor writes every bound variable back, sorted by section and key. The file is touched at
// no other time, unless the program asks for the write-back early, or the file starts with the
// UTF-8 mark: the first binding then rewrites it without (IniFile::dropUtf8Mark). Creating a
// registry reads and writes nothing, so that a copy of the program that ends at once because
// another runs leaves the file alone.
class SettingsRegistry {
public:
    SettingsRegistry(const char* fileName, bool isFullPath);
    virtual ~SettingsRegistry();
    SettingsRegistry(const SettingsRegistry&) = delete;
    SettingsRegistry& operator=(const SettingsRegistry&) = delete;

    // A (section, key) bound before keeps its first variable; the new variable still gets the value.
    void bindInt(const char* section, const char* key, int* target, int defaultValue);
    void bindIntInRange(
        const char* section, const char* key, int* target, int defaultValue, int minimum, int maximum);
    void bindBool(const char* section, const char* key, bool* target, bool defaultValue);
    void bindString(const char* section, const char* key, std::string* target, const char* defaultText);

    // The destructor's write-back, now: for when the process may end without destroying the
    // registry. Writing again later writes the values of that moment.
    void writeAll() const;
    // Unbinds every variable, so that nothing is written any more: for when another copy of the
    // program owns the file from now on.
    void unbindAll() { bindings.clear(); }

private:
    struct ByLess {
        bool operator()(const SettingBinding& a, const SettingBinding& b) const { return a.less(b); }
    };

    void write(const SettingBinding& binding) const;
    // Once, before the first binding reads the file.
    void prepareFile();

    IniFile ini;
    std::set<SettingBinding, ByLess> bindings;
    bool filePrepared = false;
};
