#include "common/warning.h"

#include "common/process_globals.h"

bool showWarning(const char* text)
{
    MessageBoxA(mainWindow, text, "エラー", MB_OK | MB_ICONEXCLAMATION);
    return false;
}
