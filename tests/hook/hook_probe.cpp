// Runs the program's hook binding the way the program does: the process-wide objects in the
// program's order, the library started while the main window is created, and the teardown after
// the entry function returns. Stand-ins log when the settings are written back and when the
// pictures go, so that a test sees where EndHook falls among them.
#include <windows.h>

#include <string>

#include "common/process_globals.h"
#include "fake_hook_log.h"
#include "hook/hook_library.h"

namespace {

struct LoggedOnDestruction {
    explicit LoggedOnDestruction(const char* text)
        : line(text)
    {
    }
    ~LoggedOnDestruction() { appendLogLine(line); }
    std::string line;
};

} // namespace

std::string CustomImageName;
HookLibrary hookLibrary;
LoggedOnDestruction pictures("pictures deleted");
LoggedOnDestruction settingsRegistry("settings written");
HWND mainWindow = GetDesktopWindow();

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
