#pragma once
#include <windows.h>

#include "app/single_instance_guard.h"
#include "settings/settings_registry.h"

// The system menu's command 管理者として再起動: the low four bits clear, below the system's own.
constexpr UINT kRestartAsAdministratorCommand = 0x0010;

// Puts 管理者として再起動 above Close in the window's system menu, with the shield as its mark,
// when the program runs without administrator rights; does nothing when it has them.
void addRestartAsAdministratorItem(HWND window);

// Starts a copy of the program that runs as administrator; false when it did not start (the user
// said no to the prompt). The hand-over's one step that tests replace.
using AdministratorStart = bool (*)(HWND owner);
// This program's own executable, through the system's prompt.
bool startAsAdministrator(HWND owner);

// Hands over to a copy that runs as administrator once the window's position is recorded: writes
// the settings as at exit, lets the single-instance mutex `name` go (released, not only closed,
// so that a handle held elsewhere cannot keep it owned) so that the new copy becomes the running
// one, and starts it. True when this copy must end: the new copy started (the settings
// are not written again, as it may change them), or it did not and another copy took the mutex
// meanwhile (that copy's window comes forward). False when nothing started: this copy holds the
// mutex again and goes on as before.
bool handOverToAdministratorCopy(HWND window, const char* name, SingleInstanceGuard& guard,
    SettingsRegistry& settings, AdministratorStart start);
