#include "settings_dialog_driver.h"

#include <vector>

#include "program_driver.h"

namespace e2e {

namespace {

LRESULT sendTo(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(
        GetDlgItem(dialog, id), message, wParam, lParam, SMTO_NORMAL, kWaitMilliseconds, &result);
    return static_cast<LRESULT>(result);
}

void pressEscape()
{
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_ESCAPE;
        input.ki.wScan = 0x01;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof inputs[0]);
}

} // namespace

HWND openSettingsDialog(HWND mainWindow)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWindow, &processId);
    PostMessageA(mainWindow, WM_COMMAND, 40001, 0);
    HWND dialog = nullptr;
    waitUntil([&] {
        for (HWND candidate : topLevelWindows(processId, "#32770", "設定"))
            if (IsWindowVisible(candidate))
                dialog = candidate;
        return dialog != nullptr;
    });
    return dialog;
}

bool isChecked(HWND dialog, int id) { return sendTo(dialog, id, BM_GETCHECK) == BST_CHECKED; }

bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void click(HWND dialog, int id) { sendTo(dialog, id, BM_CLICK); }

void setText(HWND dialog, int id, const std::string& text)
{
    sendTo(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string text(HWND dialog, int id)
{
    std::vector<char> buffer(2048);
    sendTo(dialog, id, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

bool endDialog(HWND dialog, DialogEnd how)
{
    switch (how) {
    case DialogEnd::ok:
        click(dialog, IDOK);
        break;
    case DialogEnd::cancelButton:
        click(dialog, IDCANCEL);
        break;
    case DialogEnd::escapeKey:
        pressEscape();
        break;
    case DialogEnd::closeBox:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
    return waitUntil([&] { return !IsWindow(dialog); });
}

} // namespace e2e
