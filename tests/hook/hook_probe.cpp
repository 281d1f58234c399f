// Runs the program's hook binding the way the program does: the program's own process-wide
// objects (src/app/process_objects.cpp, compiled against stand-ins that log their destruction),
// the library started while the main window is created, and the teardown after the entry function
// returns, so that a test sees where EndHook falls among the objects' ends.
#include <windows.h>

#include "app/process_objects.h"

namespace {

LRESULT CALLBACK probeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CREATE)
        return DefWindowProcA(window, message, wParam, lParam);
    mainWindow = window;
    appendLogLine("window " + windowText(window));
    hookLibrary.loadAndStart(window);
    appendLogLine("started");
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    instanceHandle = instance;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = probeProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "TaveloHookProbe";
    if (!RegisterClassA(&windowClass))
        return 2;
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "probe", 0x80CA0000, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 3;
    DestroyWindow(window);
    appendLogLine("window destroyed");
    return 0;
}
