#pragma once
// Installs the built program into a scratch directory, starts it as a process of its own and finds
// the windows it shows, the way a user (or a second program) sees them from outside.
#include <windows.h>

#include <string>
#include <vector>

#include "support/process_tools.h"

namespace e2e {

constexpr char kWindowClass[] = "TAVELO_WindowClass";
constexpr char kWindowTitle[] = "Taveloキーボード Ver1.02";
constexpr int kClientWidth = 1000;
constexpr int kClientHeight = 242;
// Generous: under Xvfb without a window manager each window show takes about 2 s.
constexpr DWORD kWaitMilliseconds = 20000;

// Polls the predicate every 20 ms until it holds or the time runs out; true when it held.
template <typename Predicate>
bool waitUntil(Predicate done, DWORD timeoutMilliseconds = kWaitMilliseconds)
{
    const ULONGLONG end = GetTickCount64() + timeoutMilliseconds;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(20);
    }
    return true;
}

// TaveloKeyboard.exe and a hook library copied from the build's bin directory into a fresh
// directory, with or without a prepared settings file.
class InstalledCopy {
public:
    // hookSource: the file of the bin directory installed as keyhook.dll; empty installs none.
    explicit InstalledCopy(const std::string& hookSource = "keyhook.dll");

    bool ready() const { return installed; }
    std::string program() const { return directory.file("TaveloKeyboard.exe"); }
    const std::string& path() const { return directory.path(); }
    std::string settingsPath() const { return directory.file("TaveloKeyboard.ini"); }

    bool writeSettings(const std::string& text) const;
    bool hasSettings() const;
    std::string settingsText() const;
    std::vector<std::string> settingsLines() const;

private:
    testing_support::TempDirectory directory;
    bool installed = false;
};

// One run of the installed program.
class RunningCopy {
public:
    bool start(const InstalledCopy& copy);
    // The program's main window once it is visible and the program waits for input; null when
    // it did not get there in time.
    HWND waitForWindow();
    HWND window() const { return mainWindow; }
    DWORD id() const { return child.id(); }
    testing_support::ChildProcess& process() { return child; }

    // True once the program has handled everything posted to its main window before.
    bool sync() const;
    // Posts WM_CLOSE and waits for the process to end; its exit code, or STILL_ACTIVE.
    DWORD closeAndWait();
    // Waits for the process to end by itself; its exit code, or STILL_ACTIVE.
    DWORD waitForExit();

private:
    testing_support::ChildProcess child;
    HWND mainWindow = nullptr;
};

// Top-level windows of the process with the class (and, when given, the caption).
std::vector<HWND> topLevelWindows(DWORD processId, const char* className, const char* caption = nullptr);
// Every top-level window of the class, whichever process owns it.
int countWindowsOfClass(const char* className);

// The window's rectangle in screen coordinates.
RECT windowRect(HWND window);
// The client area's size.
SIZE clientSize(HWND window);
bool isTopmost(HWND window);

// The window's size and the grid place it takes for a DefaultPosition, from this system's metrics
// and screen.
SIZE expectedWindowSize();
POINT gridPlace(int position);

} // namespace e2e
