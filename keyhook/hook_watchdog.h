#pragma once
// Notices that the system took the hooks away. Windows removes a low-level hook that misses its
// time limit without telling its owner, and a hook can also be kept from input by another one;
// either way the system goes on taking input that the hooks never see. Lives on the hook thread;
// the decision itself is watchdog_rule's, over the clocks read here.
#include <windows.h>

#include "watchdog_rule.h"

namespace keyhook {

class HookWatchdog {
public:
    // Starts a thread timer on the calling thread: the one wake-up of an idle hook thread.
    HookWatchdog();
    ~HookWatchdog();
    HookWatchdog(const HookWatchdog&) = delete;
    HookWatchdog& operator=(const HookWatchdog&) = delete;

    bool owns(UINT_PTR timerId) const { return timer != 0 && timerId == timer; }
    // False while the system refuses the timer; the thread's loop then wakes by itself once a
    // period and calls retryTimer.
    bool hasTimer() const { return timer != 0; }
    void retryTimer();

    // Every call of either hook, as it returns.
    void onHookCall() { marks.latestHookCall = GetTickCount(); }
    // Asks the clocks now; changes nothing.
    bool shouldReinstall() const;
    // The outcome of an install (the first one included).
    void recordInstall(bool installed);

private:
    WatchdogFacts factsNow() const;

    UINT_PTR timer = 0;
    WatchdogMarks marks;
};

} // namespace keyhook
