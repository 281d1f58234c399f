#include "e2e_helpers.h"

#include "support/input_sender.h"
#include "support/settings_dialog_access.h"

namespace e2e {

using namespace testing_support;

Held::Held(WORD virtualKey, WORD scanCode, bool extended)
    : virtualKey(virtualKey)
    , scanCode(scanCode)
    , extended(extended)
{
    send(false);
}

void Held::release()
{
    if (down)
        send(true);
    down = false;
}

void Held::send(bool up) const
{
    if (virtualKey == VK_LBUTTON)
        return sendMouse(up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN);
    sendKey(virtualKey, scanCode, up, extended);
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

bool minimise(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return pumpUntil([&] { return IsIconic(window) != FALSE; }, kProgramWait);
}

bool restore(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    return pumpUntil([&] { return !IsIconic(window) && IsWindowVisible(window); }, kProgramWait);
}

HWND openSettingsDialog(HWND mainWindow)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWindow, &processId);
    PostMessageA(mainWindow, WM_COMMAND, IDM_SETTINGS, 0);
    HWND dialog = nullptr;
    pumpUntil([&] { return (dialog = findSettingsDialog(processId)) != nullptr; }, kProgramWait);
    return dialog;
}

bool endDialog(HWND dialog, DialogEnd how)
{
    if (how == DialogEnd::ok || how == DialogEnd::cancelButton) {
        click(dialog, how == DialogEnd::ok ? IDOK : IDCANCEL);
    } else if (how == DialogEnd::escapeKey) {
        Held escape(VK_ESCAPE, 0x01);
    } else {
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return pumpUntil([&] { return !IsWindow(dialog); }, kProgramWait);
}

std::vector<std::string> SettingsValues::lines() const
{
    return {"[System]", "CustomImageName=" + customImageName,
        "UseCustomImage=" + std::to_string(useCustomImage), "WheelInitTime=" + std::to_string(wheelInitTime),
        "[Window]", "DefaultPosition=" + std::to_string(defaultPosition), "Left=" + std::to_string(left),
        "MemorizePosition=" + std::to_string(memorizePosition), "MostTop=" + std::to_string(mostTop),
        "Top=" + std::to_string(top)};
}

std::string SettingsValues::text() const
{
    std::string text;
    for (const std::string& line : lines())
        text += line + "\r\n";
    return text;
}

SettingsValues SettingsValues::closedAt(POINT place) const
{
    SettingsValues values = *this;
    values.left = place.x;
    values.top = place.y;
    return values;
}

} // namespace e2e
