#include "keyboard_screen.h"

#include "program_driver.h"

namespace e2e {

using namespace testing_support;

namespace {

Pixels programBitmap(int id)
{
    const std::string path = testing_support::executableDirectory() + "\\TaveloKeyboard.exe";
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return {};
    Pixels pixels;
    if (HANDLE bitmap = LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) {
        pixels = bitmapPixels(static_cast<HBITMAP>(bitmap));
        DeleteObject(bitmap);
    }
    FreeLibrary(module);
    return pixels;
}

void sendMouse(DWORD flags, DWORD data = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    SendInput(1, &input, sizeof input);
}

} // namespace

const Pixels& basePicture()
{
    static const Pixels picture = programBitmap(103);
    return picture;
}

const Pixels& pressedPicture()
{
    static const Pixels picture = programBitmap(105);
    return picture;
}

Pixels pictureWithLit(std::initializer_list<RECT> lit)
{
    Pixels picture = basePicture();
    const Pixels& pressed = pressedPicture();
    if (picture.empty() || pressed.empty())
        return picture;
    for (const RECT& rect : lit)
        for (LONG y = rect.top; y < rect.bottom; ++y)
            for (LONG x = rect.left; x < rect.right; ++x)
                picture.data[static_cast<size_t>(y) * picture.width + x] = pressed.at(x, y);
    return picture;
}

int differencesAfterWaiting(HWND window, const Pixels& expected, const RECT& area)
{
    int differences = -1;
    waitUntil([&] {
        const Pixels shown = captureClient(window, kClientWidth, kClientHeight);
        differences = shown.empty() ? -1 : countDifferences(shown, expected, area);
        return differences == 0;
    });
    return differences;
}

HeldKey::HeldKey(WORD virtualKey, WORD scanCode, bool extended)
    : virtualKey(virtualKey)
    , scanCode(scanCode)
    , extended(extended)
{
    send(false);
}

void HeldKey::release()
{
    if (down)
        send(true);
    down = false;
}

void HeldKey::send(bool up) const
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = scanCode;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof input);
}

HeldLeftButton::HeldLeftButton() { sendMouse(MOUSEEVENTF_LEFTDOWN); }

void HeldLeftButton::release()
{
    if (down)
        sendMouse(MOUSEEVENTF_LEFTUP);
    down = false;
}

void turnWheel(bool up) { sendMouse(MOUSEEVENTF_WHEEL, up ? WHEEL_DELTA : static_cast<DWORD>(-WHEEL_DELTA)); }

void parkPointerAwayFrom(HWND window)
{
    RECT screen{};
    GetClientRect(GetDesktopWindow(), &screen);
    const RECT occupied = windowRect(window);
    const POINT corners[] = {{screen.left + 2, screen.top + 2}, {screen.right - 3, screen.top + 2},
        {screen.left + 2, screen.bottom - 3}, {screen.right - 3, screen.bottom - 3}};
    for (const POINT& corner : corners) {
        if (!PtInRect(&occupied, corner)) {
            SetCursorPos(corner.x, corner.y);
            return;
        }
    }
}

} // namespace e2e
