#pragma once
// The real program, installed with a hook library into a scratch directory of its own, started as
// a separate process and watched from outside as a user (or a second program) sees it: its
// windows, their place and pixels, its settings file and its exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyboard/key_layout.h"
#include "support/process_tools.h"
#include "support/window_pixels.h"

namespace testing_support {

constexpr char kProgramClass[] = "TAVELO_WindowClass";
constexpr char kProgramTitle[] = "Taveloキーボード Ver1.02";
constexpr UINT kHookEventMessage = WM_USER;
constexpr RECT kWholePicture{0, 0, kLayoutWidth, kLayoutHeight};
// Generous: under Xvfb without a window manager each window show takes about 2 s.
constexpr DWORD kProgramWait = 30000;

// Bitmap resources 103 (every key up) and 105 (every key down) of the built program, read from
// its executable file; empty when they cannot be read.
const Pixels& programBasePicture();
// Any picture resource of the built program by its id: a bitmap through the system, PNG data through
// the tests' own reader; empty when unreadable.
Pixels programPicture(int id);
const Pixels& programPressedPicture();
RECT toRect(const KeyRect& rect);
// The base picture with each rectangle taken from the pressed picture.
Pixels composed(const Pixels& base, const Pixels& pressed, const std::vector<RECT>& lit);
// The program's own base picture with the rectangles taken from the given pressed picture.
Pixels programPictureWithLit(const std::vector<RECT>& lit, const Pixels& pressed = programPressedPicture());

// Top-level windows of the process (0: any) with the class (null: any) and, when given, the caption.
std::vector<HWND> topLevelWindows(DWORD processId, const char* className, const char* caption = nullptr);
// Every visible main window of the program, of any process.
std::vector<HWND> programWindows();
RECT windowRect(HWND window);
SIZE clientSize(HWND window);
bool isTopmost(HWND window);
// The outer size of a window of the program's styles, with its menu bar, around a client area of
// this size at this scale, as the system frames it (at the system's own scale where it frames for
// no other).
SIZE programWindowSizeAround(SIZE client, UINT dpi);
// The main window's outer size at 100 %, and the top-left corner of grid place 0..8 on this
// system's screen.
SIZE expectedWindowSize();
POINT gridPlace(int position);

class InstalledProgram {
public:
    // hookSource: the file of the build's bin directory installed as keyhook.dll; empty: none.
    // folder: where below the scratch directory the program goes, made level by level; the
    // scratch directory itself when empty. Its name need not be spelt in this process's code page.
    explicit InstalledProgram(const std::string& hookSource = "keyhook.dll", const std::wstring& folder = {});
    InstalledProgram(const InstalledProgram&) = delete;
    InstalledProgram& operator=(const InstalledProgram&) = delete;

    bool installed() const { return complete; }
    const std::string& path() const { return directory.path(); }
    std::string file(const std::string& name) const { return directory.file(name); }
    std::string executable() const { return file("TaveloKeyboard.exe"); }
    // The program's full path as the system spells it, whatever the code page.
    std::wstring wideExecutable() const { return home + L"\\TaveloKeyboard.exe"; }
    std::string settingsPath() const { return file("TaveloKeyboard.ini"); }
    // Writes a file into the program's folder.
    bool writeBeside(const std::wstring& name, const std::string& contents) const
    {
        return writeFile(home + L"\\" + name, contents);
    }
    bool writeSettings(const std::string& text) const { return writeBeside(L"TaveloKeyboard.ini", text); }
    bool hasSettings() const { return fileExists(settingsPath()); }
    std::vector<std::string> settingsLines() const { return readLines(home + L"\\TaveloKeyboard.ini"); }
    // Every file below the scratch directory, relative to it.
    std::vector<std::wstring> scratchFiles() const { return filesBelow(widePath(path())); }

    // Started in its own folder.
    bool start();
    ChildProcess& process() { return child; }
    DWORD id() const { return child.id(); }
    // The program's one main window once it is visible and its message loop waits for input;
    // null when it did not get there in time.
    HWND waitForWindow();
    HWND window() const { return mainWindow; }
    // True once the program has handled everything posted to its main window before.
    bool sync() const;
    // Success once the client area, read at the expected picture's size, shows exactly that picture
    // inside the area; otherwise
    // how many pixels still differed when the time ran out, and the first of them.
    ::testing::AssertionResult waitForPicture(const Pixels& expected, const RECT& area = kWholePicture) const;
    // Closes the main window as its close box does and waits for the process to end, answering
    // any message box on the way. Success when it ended with exit code 0 and showed no box.
    ::testing::AssertionResult closeCleanly();

private:
    TempDirectory directory;
    std::wstring home; // the program's folder
    ChildProcess child;
    HWND mainWindow = nullptr;
    bool complete = false;
};

} // namespace testing_support
