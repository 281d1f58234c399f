#include "settings_file.h"

namespace e2e {

std::vector<std::string> SettingsValues::lines() const
{
    return {
        "[System]",
        "CustomImageName=" + customImageName,
        "UseCustomImage=" + std::to_string(useCustomImage),
        "WheelInitTime=" + std::to_string(wheelInitTime),
        "[Window]",
        "DefaultPosition=" + std::to_string(defaultPosition),
        "Left=" + std::to_string(left),
        "MemorizePosition=" + std::to_string(memorizePosition),
        "MostTop=" + std::to_string(mostTop),
        "Top=" + std::to_string(top),
    };
}

std::string SettingsValues::text() const
{
    std::string text;
    for (const std::string& line : lines())
        text += line + "\r\n";
    return text;
}

} // namespace e2e
