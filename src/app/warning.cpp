#include "app/warning.h"

#include "app/process_globals.h"

bool showWarning(const char* text)
{
    MessageBoxA(mainWindow, text, "エラー", MB_OK | MB_ICONEXCLAMATION);
    return false;
}
