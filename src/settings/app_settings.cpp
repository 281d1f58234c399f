#include "settings/app_settings.h"

int DefaultPosition = 0;
bool MostTop = false;
bool MemorizePosition = false;
int Left = 0;
int Top = 0;
bool UseCustomImage = false;
int WheelInitTime = 0;
