#include "settings/settings_registry.h"

#include <algorithm>
#include <cstring>

namespace {

// Unsigned bytes, shorter-is-less on a common prefix; no case folding, no code page.
bool bytesLess(const std::string& a, const std::string& b)
{
    const int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (order != 0)
        return order < 0;
    return a.size() < b.size();
}

// The longest text that the reads give back, and a size that shows whether there was more.
constexpr size_t kLongestRead = 1023;
constexpr unsigned kProbeSize = 1026;

} // namespace

SettingBinding::SettingBinding(const char* section, const char* key, int* target)
    : intTarget(target)
    , kind(BindingKind::Int)
    , section(section)
    , key(key)
{
}

SettingBinding::SettingBinding(const char* section, const char* key, bool* target)
    : boolTarget(target)
    , kind(BindingKind::Bool)
    , section(section)
    , key(key)
{
}

SettingBinding::SettingBinding(const char* section, const char* key, std::string* target)
    : stringTarget(target)
    , kind(BindingKind::String)
    , section(section)
    , key(key)
{
}

bool SettingBinding::less(const SettingBinding& other) const
{
    if (section != other.section)
        return bytesLess(section, other.section);
    return bytesLess(key, other.key);
}

SettingsRegistry::SettingsRegistry(const char* fileName, bool isFullPath)
    : ini(fileName, isFullPath)
{
}

void SettingsRegistry::prepareFile()
{
    if (!filePrepared)
        ini.dropUtf8Mark();
    filePrepared = true;
}

SettingsRegistry::~SettingsRegistry() { writeAll(); }

void SettingsRegistry::bindInt(const char* section, const char* key, int* target, int defaultValue)
{
    prepareFile();
    bindings.insert(SettingBinding(section, key, target));
    *target = ini.getInt(section, key, defaultValue);
}

void SettingsRegistry::bindIntInRange(
    const char* section, const char* key, int* target, int defaultValue, int minimum, int maximum)
{
    prepareFile();
    bindings.insert(SettingBinding(section, key, target));
    *target = ini.getIntInRange(section, key, defaultValue, minimum, maximum);
}

void SettingsRegistry::bindBool(const char* section, const char* key, bool* target, bool defaultValue)
{
    prepareFile();
    bindings.insert(SettingBinding(section, key, target));
    *target = ini.getBool(section, key, defaultValue);
}

void SettingsRegistry::bindString(
    const char* section, const char* key, std::string* target, const char* defaultText)
{
    prepareFile();
    const std::string value = ini.getString(section, key, defaultText);
    SettingBinding binding(section, key, target);
    // A read may stop a byte early rather than split a double-byte character.
    if (value.size() + 1 >= kLongestRead) {
        char probe[kProbeSize] = {};
        ini.getStringToBuffer(section, key, probe, sizeof probe, defaultText);
        if (std::strlen(probe) > value.size()) {
            binding.readShortened = true;
            binding.shortenedText = value;
        }
    }
    bindings.insert(binding);
    *target = value;
}

void SettingsRegistry::writeAll() const
{
    if (ini.path().empty())
        return;
    // Each write stands alone: one that fails stops nothing.
    for (const SettingBinding& binding : bindings)
        write(binding);
}

void SettingsRegistry::write(const SettingBinding& binding) const
{
    const char* section = binding.section.c_str();
    const char* key = binding.key.c_str();
    switch (binding.kind) {
    case BindingKind::Int:
        if (binding.intTarget)
            ini.putInt(section, key, *binding.intTarget);
        break;
    case BindingKind::Bool:
        if (binding.boolTarget)
            ini.putBool(section, key, *binding.boolTarget);
        break;
    case BindingKind::String:
        if (binding.stringTarget
            && !(binding.readShortened && *binding.stringTarget == binding.shortenedText))
            ini.putString(section, key, *binding.stringTarget);
        break;
    }
}
