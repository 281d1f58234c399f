#include "dialog_driver.h"

#include "support/win32_test_helpers.h"
#include "ui/settings_dialog.h"

namespace dialog_driver {

namespace {

constexpr DWORD kWaitMilliseconds = 10000;

struct DriverState {
    const std::function<void(HWND)>* script;
    bool found = false;
    bool closed = false;
};

DWORD WINAPI drive(void* param)
{
    auto* state = static_cast<DriverState*>(param);
    HWND dialog = nullptr;
    state->found = testing_support::pumpUntil(
        [&] { return (dialog = testing_support::findSettingsDialog(GetCurrentProcessId())) != nullptr; },
        kWaitMilliseconds);
    if (!state->found)
        return 0;
    (*state->script)(dialog);
    state->closed = testing_support::pumpUntil([&] { return !IsWindow(dialog); }, kWaitMilliseconds);
    if (!state->closed)
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
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
