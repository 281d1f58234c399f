#include "support/installed_program.h"

#include "support/png_reader.h"
#include "support/win32_test_helpers.h"

namespace testing_support {

namespace {

// The PNG data that the generator wrote, as the executable carries it, decoded here.
Pixels pngResourcePixels(HMODULE module, int id)
{
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes ? decodePng(static_cast<const unsigned char*>(bytes), SizeofResource(module, found))
                 : Pixels{};
}

// A picture resource of the built program, read from its executable file: a bitmap, or PNG data.
Pixels programBitmap(int id)
{
    const std::string path = executableDirectory() + "\\TaveloKeyboard.exe";
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return {};
    Pixels pixels;
    if (HANDLE bitmap = LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) {
        pixels = bitmapPixels(static_cast<HBITMAP>(bitmap));
        DeleteObject(bitmap);
    } else {
        pixels = pngResourcePixels(module, id);
    }
    FreeLibrary(module);
    return pixels;
}

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
    char className[64] = {};
    char caption[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if ((search->processId == 0 || owner == search->processId)
        && (!search->className || lstrcmpA(className, search->className) == 0)
        && (!search->caption || lstrcmpA(caption, search->caption) == 0))
        search->found.push_back(window);
    return TRUE;
}

} // namespace

Pixels programPicture(int id) { return programBitmap(id); }

const Pixels& programBasePicture()
{
    static const Pixels picture = programBitmap(103);
    return picture;
}

const Pixels& programPressedPicture()
{
    static const Pixels picture = programBitmap(105);
    return picture;
}

RECT toRect(const KeyRect& rect) { return RECT{rect.x, rect.y, rect.x + rect.width, rect.y + rect.height}; }

Pixels composed(const Pixels& base, const Pixels& pressed, const std::vector<RECT>& lit)
{
    Pixels picture = base;
    for (const RECT& rect : lit)
        for (LONG y = rect.top; y < rect.bottom && y < picture.height && y < pressed.height; ++y)
            for (LONG x = rect.left; x < rect.right && x < picture.width && x < pressed.width; ++x)
                picture.data[static_cast<size_t>(y) * picture.width + x] = pressed.at(x, y);
    return picture;
}

Pixels programPictureWithLit(const std::vector<RECT>& lit, const Pixels& pressed)
{
    return composed(programBasePicture(), pressed, lit);
}

std::vector<HWND> topLevelWindows(DWORD processId, const char* className, const char* caption)
{
    WindowSearch search{processId, className, caption, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> programWindows()
{
    std::vector<HWND> visible;
    for (HWND window : topLevelWindows(0, kProgramClass))
        if (IsWindowVisible(window))
            visible.push_back(window);
    return visible;
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

SIZE programWindowSizeAround(SIZE client, UINT dpi)
{
    // WS_POPUP | WS_BORDER | WS_DLGFRAME | WS_SYSMENU | WS_MINIMIZEBOX, and files may be dropped.
    constexpr DWORD kStyle = 0x80CA0000;
    constexpr DWORD kExtendedStyle = WS_EX_ACCEPTFILES;
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
    RECT outer{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&outer, kStyle, TRUE, kExtendedStyle, dpi))
        AdjustWindowRectEx(&outer, kStyle, TRUE, kExtendedStyle);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

SIZE expectedWindowSize()
{
    return programWindowSizeAround({kLayoutWidth, kLayoutHeight}, USER_DEFAULT_SCREEN_DPI);
}

POINT gridPlace(int position)
{
    RECT screen{};
    GetClientRect(GetDesktopWindow(), &screen);
    const SIZE size = expectedWindowSize();
    const LONG freeWidth = screen.right - screen.left - size.cx;
    const LONG freeHeight = screen.bottom - screen.top - size.cy;
    const LONG columns[] = {0, freeWidth / 2, freeWidth};
    const LONG rows[] = {0, freeHeight / 2, freeHeight};
    return {columns[position % 3], rows[position / 3]};
}

InstalledProgram::InstalledProgram(const std::string& hookSource, const std::wstring& folder)
    : home(widePath(path()))
{
    complete = true;
    for (size_t at = 0; complete && at < folder.size(); at = folder.find(L'\\', at + 1)) {
        home = widePath(path()) + L"\\" + folder.substr(0, folder.find(L'\\', at + 1));
        complete = CreateDirectoryW(home.c_str(), nullptr) != FALSE;
    }
    const std::wstring bin = widePath(executableDirectory()) + L"\\";
    const auto install = [&](const std::string& from, const wchar_t* to) {
        return CopyFileW((bin + widePath(from)).c_str(), (home + L"\\" + to).c_str(), FALSE) != FALSE;
    };
    complete = complete && install("TaveloKeyboard.exe", L"TaveloKeyboard.exe")
        && (hookSource.empty() || install(hookSource, L"keyhook.dll"));
}

bool InstalledProgram::start()
{
    mainWindow = nullptr;
    return child.start(home + L"\\TaveloKeyboard.exe", {}, home, {});
}

HWND InstalledProgram::waitForWindow()
{
    pumpUntil(
        [&] {
            const std::vector<HWND> windows = topLevelWindows(child.id(), kProgramClass);
            if (windows.size() == 1 && IsWindowVisible(windows.front()))
                mainWindow = windows.front();
            return mainWindow != nullptr || child.waitForExit(0);
        },
        kProgramWait);
    // The window shows half-way through its set-up; wait for the message loop to run.
    if (mainWindow && (WaitForInputIdle(child.handle(), kProgramWait) != 0 || !sync()))
        mainWindow = nullptr;
    return mainWindow;
}

// A message sent to another thread is handled before everything that thread has queued, so a
// WM_NULL alone returns long before a flood of posted events is handled (and Wine does not cap
// the posted queue). A paint is generated only once the posted queue is empty: invalidating the
// window and waiting until its update region is empty again proves that all posted before it has
// been handled. A minimised window has no update region; there only the WM_NULL is waited for.
bool InstalledProgram::sync() const
{
    if (!mainWindow)
        return false;
    InvalidateRect(mainWindow, nullptr, FALSE);
    if (!pumpUntil([&] { return !GetUpdateRect(mainWindow, nullptr, FALSE); }, kProgramWait))
        return false;
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, kProgramWait, &answer) != 0;
}

::testing::AssertionResult InstalledProgram::waitForPicture(const Pixels& expected, const RECT& area) const
{
    if (expected.empty())
        return ::testing::AssertionFailure() << "no expected picture";
    Pixels shown;
    int differences = -1;
    if (pumpUntil(
            [&] {
                shown = captureClient(mainWindow, expected.width, expected.height);
                differences = shown.empty() ? -1 : countDifferences(shown, expected, area);
                return differences == 0;
            },
            kProgramWait))
        return ::testing::AssertionSuccess();
    if (shown.empty())
        return ::testing::AssertionFailure() << "the window could not be read";
    auto failure = ::testing::AssertionFailure() << differences << " pixels differ";
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            if (shown.at(x, y) != expected.at(x, y))
                return failure << ", the first at (" << x << ", " << y << "): shown " << std::hex
                               << shown.at(x, y) << ", expected " << expected.at(x, y);
    return failure;
}

::testing::AssertionResult InstalledProgram::closeCleanly()
{
    if (mainWindow)
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    const std::vector<SeenMessageBox> boxes = answerMessageBoxesUntilExit(child, kProgramWait);
    if (!child.waitForExit(0))
        return ::testing::AssertionFailure() << "still running";
    if (!boxes.empty())
        return ::testing::AssertionFailure() << "showed a message box: " << boxes.front().text;
    if (child.exitCode() != 0)
        return ::testing::AssertionFailure() << "exit code " << child.exitCode();
    return ::testing::AssertionSuccess();
}

} // namespace testing_support
