#include "settings/app_settings.h"

int DefaultPosition = 0;
bool MostTop = false;
bool MemorizePosition = false;
int Left = 0;
int Top = 0;
bool UseCustomImage = false;
int WheelInitTime = 0;

void bindAppSettings(SettingsRegistry& registry)
{
    registry.bindIntInRange("Window", "DefaultPosition", &DefaultPosition, 7, 0, 8);
    registry.bindBool("Window", "MostTop", &MostTop, true);
    registry.bindBool("Window", "MemorizePosition", &MemorizePosition, true);
    registry.bindInt("Window", "Left", &Left, -1);
    registry.bindInt("Window", "Top", &Top, -1);
    registry.bindBool("System", "UseCustomImage", &UseCustomImage, false);
    registry.bindString("System", "CustomImageName", &CustomImageName, "keyboard.bmp");
    registry.bindInt("System", "WheelInitTime", &WheelInitTime, 1000);
    // The corrected value is also what goes back to the file.
    WheelInitTime = correctedWheelTime(WheelInitTime);
}
