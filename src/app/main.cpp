#include <windows.h>

#include "app/process_globals.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    instanceHandle = instance;
    return 0;
}
