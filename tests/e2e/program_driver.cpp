#include "program_driver.h"

namespace e2e {

using namespace testing_support;

namespace {

struct WindowSearch {
    DWORD processId; // 0: any process
    const char* className;
    const char* caption;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search->processId != 0 && owner != search->processId)
        return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, search->className) != 0)
        return TRUE;
    if (search->caption) {
        char caption[256] = {};
        GetWindowTextA(window, caption, sizeof caption);
        if (lstrcmpA(caption, search->caption) != 0)
            return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
}

} // namespace

InstalledCopy::InstalledCopy(const std::string& hookSource)
{
    const std::string bin = executableDirectory();
    installed = copyFile(bin + "\\TaveloKeyboard.exe", program());
    if (!hookSource.empty())
        installed = installed && copyFile(bin + "\\" + hookSource, directory.file("keyhook.dll"));
}

bool InstalledCopy::writeSettings(const std::string& text) const { return writeFile(settingsPath(), text); }

bool InstalledCopy::hasSettings() const { return fileExists(settingsPath()); }

std::string InstalledCopy::settingsText() const { return readFile(settingsPath()); }

std::vector<std::string> InstalledCopy::settingsLines() const { return readLines(settingsPath()); }

bool RunningCopy::start(const InstalledCopy& copy)
{
    mainWindow = nullptr;
    return child.start(copy.program(), {}, copy.path());
}

HWND RunningCopy::waitForWindow()
{
    waitUntil([&] {
        const std::vector<HWND> windows = topLevelWindows(child.id(), kWindowClass);
        if (windows.size() == 1 && IsWindowVisible(windows.front()))
            mainWindow = windows.front();
        return mainWindow != nullptr || child.waitForExit(0);
    });
    // The window shows half-way through its set-up; wait for the message loop to run.
    if (mainWindow && (WaitForInputIdle(child.handle(), kWaitMilliseconds) != 0 || !sync()))
        mainWindow = nullptr;
    return mainWindow;
}

bool RunningCopy::sync() const
{
    DWORD_PTR result = 0;
    return mainWindow
        && SendMessageTimeoutA(mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMilliseconds, &result) != 0;
}

DWORD RunningCopy::closeAndWait()
{
    if (mainWindow)
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    return waitForExit();
}

DWORD RunningCopy::waitForExit()
{
    child.waitForExit(kWaitMilliseconds);
    return child.exitCode();
}

std::vector<HWND> topLevelWindows(DWORD processId, const char* className, const char* caption)
{
    WindowSearch search{processId, className, caption, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int countWindowsOfClass(const char* className)
{
    return static_cast<int>(topLevelWindows(0, className).size());
}

RECT windowRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

SIZE clientSize(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool isTopmost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

SIZE expectedWindowSize()
{
    return {2 * GetSystemMetrics(SM_CXDLGFRAME) + kClientWidth,
        GetSystemMetrics(SM_CYMENU) + 2 * GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION)
            + kClientHeight};
}

POINT gridPlace(int position)
{
    RECT screen{};
    GetClientRect(GetDesktopWindow(), &screen);
    const SIZE size = expectedWindowSize();
    const LONG freeWidth = screen.right - screen.left - size.cx;
    const LONG freeHeight = screen.bottom - screen.top - size.cy;
    const LONG rows[] = {0, freeHeight / 2, freeHeight};
    const LONG columns[] = {0, freeWidth / 2, freeWidth};
    return {columns[position % 3], rows[position / 3]};
}

} // namespace e2e
