#include "installed_program.h"

#include "display/key_layout.h"
#include "support/win32_test_helpers.h"

using testing_support::Pixels;

namespace robustness {

namespace {

constexpr DWORD kWindowTimeout = 30000;
constexpr DWORD kExitTimeout = 30000;
constexpr int kBaseResource = 103;
constexpr int kPressedResource = 105;

Pixels resourcePicture(HMODULE module, int id)
{
    HANDLE picture = LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
    if (!picture)
        return {};
    Pixels pixels = testing_support::bitmapPixels(static_cast<HBITMAP>(picture));
    DeleteObject(picture);
    return pixels;
}

BuiltInPictures loadBuiltInPictures()
{
    const std::string program = testing_support::executableDirectory() + "\\TaveloKeyboard.exe";
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return {};
    BuiltInPictures pictures{
        resourcePicture(module, kBaseResource), resourcePicture(module, kPressedResource)};
    FreeLibrary(module);
    return pictures;
}

void copyRect(Pixels& target, const Pixels& source, const KeyRect& rect)
{
    if (!isDrawable(rect))
        return;
    for (int y = rect.y; y < rect.y + rect.height && y < target.height && y < source.height; ++y)
        for (int x = rect.x; x < rect.x + rect.width && x < target.width && x < source.width; ++x)
            target.data[static_cast<size_t>(y) * target.width + x] = source.at(x, y);
}

struct WindowSearch {
    DWORD processId; // 0: any process
    std::vector<HWND> found;
};

BOOL CALLBACK collectProgramWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (lstrcmpA(className, kWindowClass) == 0 && IsWindowVisible(window)
        && (search->processId == 0 || owner == search->processId))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> windowsOf(DWORD processId)
{
    WindowSearch search{processId, {}};
    EnumWindows(collectProgramWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

const BuiltInPictures& builtInPictures()
{
    static const BuiltInPictures pictures = loadBuiltInPictures();
    return pictures;
}

Pixels composedPicture(const HeldState& held, const Pixels& pressed)
{
    Pixels picture = builtInPictures().base;
    // In the order the program draws them, so that overlapping rectangles agree.
    for (unsigned code = 0; code < held.keys.size(); ++code)
        if (held.keys[code])
            copyRect(picture, pressed, keyRect(code));
    for (unsigned slot = 0; slot < held.pointers.size(); ++slot)
        if (held.pointers[slot])
            copyRect(picture, pressed, pointerRect(slot));
    return picture;
}

POINT gridPlace(int position)
{
    const int width = 2 * GetSystemMetrics(SM_CXDLGFRAME) + kPictureWidth;
    const int height = GetSystemMetrics(SM_CYMENU) + 2 * GetSystemMetrics(SM_CYDLGFRAME)
        + GetSystemMetrics(SM_CYCAPTION) + kPictureHeight;
    RECT screen{};
    GetClientRect(GetDesktopWindow(), &screen);
    const int freeWidth = screen.right - screen.left - width;
    const int freeHeight = screen.bottom - screen.top - height;
    const int row = position / 3;
    const int column = position % 3;
    return POINT{column == 0 ? 0
            : column == 1    ? freeWidth / 2
                             : freeWidth,
        row == 0       ? 0
            : row == 1 ? freeHeight / 2
                       : freeHeight};
}

std::vector<HWND> programWindows() { return windowsOf(0); }

bool syncWith(HWND window)
{
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer) != 0;
}

InstalledProgram::InstalledProgram()
{
    const std::string built = testing_support::executableDirectory();
    complete = testing_support::copyFile(built + "\\TaveloKeyboard.exe", executable())
        && testing_support::copyFile(built + "\\keyhook.dll", file("keyhook.dll"));
}

bool InstalledProgram::start() { return child.start(executable(), {}, directory.path()); }

HWND InstalledProgram::waitForWindow()
{
    HWND window = nullptr;
    testing_support::pumpUntil(
        [&] {
            const auto found = windowsOf(child.id());
            window = found.empty() ? nullptr : found.front();
            return window != nullptr || child.waitForExit(0);
        },
        kWindowTimeout);
    return window;
}

Pixels InstalledProgram::capture(HWND window) const
{
    return testing_support::captureClient(window, kPictureWidth, kPictureHeight);
}

::testing::AssertionResult InstalledProgram::waitForPicture(HWND window, const Pixels& expected)
{
    Pixels shown;
    if (testing_support::pumpUntil(
            [&] {
                shown = capture(window);
                return !shown.empty() && shown.data == expected.data;
            },
            kWindowTimeout))
        return ::testing::AssertionSuccess();
    if (shown.empty() || expected.empty())
        return ::testing::AssertionFailure() << "no pixels to compare";
    const RECT whole{0, 0, kPictureWidth, kPictureHeight};
    auto failure = ::testing::AssertionFailure()
        << testing_support::countDifferences(shown, expected, whole) << " pixels differ";
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x)
            if (shown.at(x, y) != expected.at(x, y))
                return failure << ", the first at (" << x << ", " << y << "): shown " << std::hex
                               << shown.at(x, y) << ", expected " << expected.at(x, y);
    return failure;
}

bool InstalledProgram::showsMessageBox() const
{
    return testing_support::findMessageBoxOf(child.id()) != nullptr;
}

std::vector<testing_support::SeenMessageBox> InstalledProgram::close(HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
    return testing_support::answerMessageBoxesUntilExit(child, kExitTimeout);
}

} // namespace robustness
