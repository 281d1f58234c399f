// Binds the application's settings from TaveloKeyboard.ini beside this program, sets the window
// position and ends, writing them back. Arguments: [left top [report file]]; the position is
// 120, 80 when none is given; the report file receives the directory that the program found.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "common/module_directory.h"
#include "common/owned_handle.h"
#include "settings/app_settings.h"

std::string CustomImageName;

namespace {

bool report(const char* fileName, const char* text)
{
    KernelHandle file;
    file.attach(CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const DWORD length = lstrlenA(text);
    return WriteFile(file.get(), text, length, &written, nullptr) && written == length;
}

} // namespace

int main(int argc, char** argv)
{
    SettingsRegistry registry("TaveloKeyboard.ini", false);
    bindAppSettings(registry);
    Left = argc > 2 ? std::atoi(argv[1]) : 120;
    Top = argc > 2 ? std::atoi(argv[2]) : 80;
    if (argc > 3 && !report(argv[3], moduleDirectory()))
        return 1;
    return 0;
}
