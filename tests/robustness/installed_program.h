#pragma once
// The real program, installed with its hook library into a scratch directory of its own, started
// as a separate process and watched from outside: its window, its pixels, its exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "support/process_tools.h"
#include "support/window_pixels.h"

namespace robustness {

constexpr int kPictureWidth = 1000;
constexpr int kPictureHeight = 242;
constexpr UINT kHookEventMessage = WM_USER;
constexpr char kWindowClass[] = "TAVELO_WindowClass";
constexpr char kSettingsName[] = "TaveloKeyboard.ini";

// The built-in base and pressed pictures, read from the built executable.
struct BuiltInPictures {
    testing_support::Pixels base;
    testing_support::Pixels pressed;
};
const BuiltInPictures& builtInPictures();

// Which keys and pointer slots are held, and the picture the window must show for them: the
// base picture with each held rectangle taken from the pressed one.
struct HeldState {
    std::array<unsigned char, 256> keys{};
    std::array<unsigned char, 5> pointers{};
};
testing_support::Pixels composedPicture(const HeldState& held, const testing_support::Pixels& pressed);

// The top-left corner of the window when it opens at the given place of the 3 x 3 screen grid.
POINT gridPlace(int position);

// Every visible main window of the program, of any process.
std::vector<HWND> programWindows();

// Sends WM_NULL and waits for the answer: the window has handled everything posted before it.
bool syncWith(HWND window);

class InstalledProgram {
public:
    InstalledProgram();
    InstalledProgram(const InstalledProgram&) = delete;
    InstalledProgram& operator=(const InstalledProgram&) = delete;

    bool installed() const { return complete; }
    const std::string& path() const { return directory.path(); }
    std::string file(const std::string& name) const { return directory.file(name); }
    std::string executable() const { return file("TaveloKeyboard.exe"); }
    std::string settingsPath() const { return file(kSettingsName); }

    bool start();
    testing_support::ChildProcess& process() { return child; }

    // The program's main window once it is shown, or null when none appears in time.
    HWND waitForWindow();
    // Success once the window shows exactly the expected picture; otherwise where it still
    // differed when the time ran out.
    ::testing::AssertionResult waitForPicture(HWND window, const testing_support::Pixels& expected);
    testing_support::Pixels capture(HWND window) const;
    // A visible message box of the program right now.
    bool showsMessageBox() const;
    // Closes the window as its close box does and waits for the process to end, answering any
    // message box on the way; the boxes seen.
    std::vector<testing_support::SeenMessageBox> close(HWND window);

private:
    testing_support::TempDirectory directory;
    testing_support::ChildProcess child;
    bool complete = false;
};

} // namespace robustness
