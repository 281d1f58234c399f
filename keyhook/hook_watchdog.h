#pragma once
// Notices that the system took the hooks away. Windows removes a low-level hook that misses its
// time limit without telling its owner, and a hook can also be kept from input by another one;
// either way the system goes on taking input that the hooks never see. Lives on the hook thread;
// the decisions themselves are watchdog_rule's, over the clocks read here.
//
// The check runs once a period while input flows and rests a few seconds after it stops; at rest
// the raw input sink hears the next input, seen by the hooks or not, and starts the check again.
// An idle hook thread is never woken.
#include <windows.h>

#include "raw_input_sink.h"
#include "watchdog_rule.h"

namespace keyhook {

class HookWatchdog {
public:
    // Checking from the start: the first input may already pass the hooks by. The sink's window
    // belongs to `module`.
    explicit HookWatchdog(HMODULE module);
    ~HookWatchdog();
    HookWatchdog(const HookWatchdog&) = delete;
    HookWatchdog& operator=(const HookWatchdog&) = delete;

    bool owns(UINT_PTR timerId) const { return timer != 0 && timerId == timer; }
    // True while the check runs without the timer that the system refused; the thread's loop
    // then wakes by itself once a period and calls retryTimer.
    bool needsTimer() const { return checking && !timer; }
    void retryTimer();

    // Every call of either hook, as it returns. Cheap enough for each mouse move.
    void onHookCall() { marks.latestHookCall = GetTickCount(); }
    // The sink announced input: the resting check starts again.
    void wake();
    // Asks the clocks now; changes nothing.
    bool shouldReinstall() const;
    // The outcome of an install (the first one included).
    void recordInstall(bool installed);
    // After each check: stops the check once input has stopped, and lets the sink listen.
    void restIfIdle();

private:
    WatchdogFacts factsNow() const;
    void stopTimer();

    RawInputSink sink;
    bool checking = true;
    UINT_PTR timer = 0;
    WatchdogMarks marks;
};

} // namespace keyhook
