#pragma once
// Notices that the system took the hooks away. Windows removes a low-level hook that misses its
// time limit without telling its owner, and a hook can also be kept from input by another one;
// either way the system goes on taking input that the hooks never see. Lives on the hook thread.
#include <windows.h>

namespace keyhook {

class HookWatchdog {
public:
    // Starts a thread timer on the calling thread: the one wake-up of an idle hook thread.
    HookWatchdog();
    ~HookWatchdog();
    HookWatchdog(const HookWatchdog&) = delete;
    HookWatchdog& operator=(const HookWatchdog&) = delete;

    bool owns(UINT_PTR timerId) const { return timer != 0 && timerId == timer; }
    // Every call of either hook, as it returns.
    void onHookCall() { latestHookCall = GetTickCount(); }
    // On its timer: true when the system had input that the hooks were not called for, and the
    // hooks were not installed within the last second.
    bool reinstallDue();
    // The hooks were installed (again): input up to now counts as seen.
    void onInstalled();

private:
    bool missedInput();

    UINT_PTR timer = 0;
    DWORD latestHookCall = 0;
    // The latest input that the hooks have been installed again for, or that was found missed.
    DWORD accountedInput = 0;
    DWORD lastInstall = 0;
};

} // namespace keyhook
