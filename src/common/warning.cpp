#include "common/warning.h"

#include "common/code_pages.h"
#include "common/process_globals.h"

bool showWarning(const char* text)
{
    MessageBoxW(
        mainWindow, programText(text).c_str(), programText("エラー").c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}
