#pragma once
// The hooks that keyhook.dll installs, learnt by taking the place of SetWindowsHookExA in the
// loaded library's import table, so that a test can remove them as the system does: with
// UnhookWindowsHookEx on their handles, from outside the hook thread.
#include <windows.h>

namespace keyhook_testing {

// Replaces the library's import; true when it was found. Good until the library is unloaded.
bool watchHookInstalls(HMODULE library);
// How many hooks the library has installed since the last watchHookInstalls.
int hookInstallCount();
// Unhooks the latest keyboard and mouse hooks; true when both went.
bool removeLatestHooks();

} // namespace keyhook_testing
