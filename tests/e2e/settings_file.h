#pragma once
// The program's settings file as the program writes it at exit: both sections, keys sorted.
#include <string>
#include <vector>

namespace e2e {

struct SettingsValues {
    std::string customImageName = "keyboard.bmp";
    int useCustomImage = 0;
    int wheelInitTime = 1000;
    int defaultPosition = 7;
    int left = -1;
    int memorizePosition = 1;
    int mostTop = 1;
    int top = -1;

    // The file's lines, in the program's sorted order.
    std::vector<std::string> lines() const;
    // The same lines with CRLF ends, for preparing a file.
    std::string text() const;
};

} // namespace e2e
