#include "dialog_driver.h"

#include "ui/settings_dialog.h"

namespace dialog_driver {

namespace {

constexpr DWORD kWaitMilliseconds = 10000;

struct Search {
    DWORD processId;
    HWND dialog;
};

BOOL CALLBACK findSettingsDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[32] = {};
    char caption[64] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (owner == search->processId && lstrcmpA(className, "#32770") == 0 && lstrcmpA(caption, "設定") == 0
        && IsWindowVisible(window)) {
        search->dialog = window;
        return FALSE;
    }
    return TRUE;
}

template <typename Predicate>
bool waitFor(Predicate done)
{
    const ULONGLONG end = GetTickCount64() + kWaitMilliseconds;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(10);
    }
    return true;
}

struct DriverState {
    const std::function<void(HWND)>* script;
    bool found = false;
    bool closed = false;
};

DWORD WINAPI drive(void* param)
{
    auto* state = static_cast<DriverState*>(param);
    Search search{GetCurrentProcessId(), nullptr};
    state->found = waitFor([&] {
        EnumWindows(findSettingsDialog, reinterpret_cast<LPARAM>(&search));
        return search.dialog != nullptr;
    });
    if (!state->found)
        return 0;
    (*state->script)(search.dialog);
    state->closed = waitFor([&] { return !IsWindow(search.dialog); });
    if (!state->closed)
        PostMessageA(search.dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

} // namespace

DrivenRun runDriven(HWND owner, const std::function<void(HWND dialog)>& script)
{
    DriverState state{&script};
    HANDLE thread = CreateThread(nullptr, 0, drive, &state, 0, nullptr);
    DrivenRun run;
    run.result = runSettingsDialog(owner);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    run.found = state.found;
    run.closed = state.closed;
    return run;
}

void click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool isChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void setText(HWND dialog, int id, const std::string& text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string text(HWND dialog, int id)
{
    char buffer[1024] = {};
    SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

void pressEscape(HWND dialog)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    const HWND target = info.hwndFocus ? info.hwndFocus : dialog;
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

} // namespace dialog_driver
