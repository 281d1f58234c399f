// Binds the application's settings from TaveloKeyboard.ini beside this program, sets the window
// position and ends, writing them back. Arguments: [left top]; the position is 120, 80 when none
// is given.
#include <cstdlib>
#include <string>

#include "settings/app_settings.h"

std::string CustomImageName;

int main(int argc, char** argv)
{
    SettingsRegistry registry("TaveloKeyboard.ini", false);
    bindAppSettings(registry);
    Left = argc > 2 ? std::atoi(argv[1]) : 120;
    Top = argc > 2 ? std::atoi(argv[2]) : 80;
    return 0;
}
