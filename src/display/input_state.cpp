#include "display/input_state.h"

#include "common/process_globals.h"
#include "display/painting.h"
#include "privacy/password_wait.h"
#include "settings/app_settings.h"

InputState inputState;
unsigned char redrawPending;

namespace {

LitTimes litTimes;
TypingGate typingGate;
Pause pause;

// The performance counter: finer than the tick count, whose steps of about 16 ms on Windows would
// cut a minimum short.
std::uint64_t nowMilliseconds()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER count{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<std::uint64_t>(count.QuadPart / (frequency.QuadPart / 1000));
}

void setTimer(UINT_PTR id, const TimerChange& timer)
{
    if (timer.action == TimerChange::Start)
        SetTimer(mainWindow, id, static_cast<UINT>(timer.delay), nullptr);
    else if (timer.action == TimerChange::Stop)
        KillTimer(mainWindow, id);
}

void carryOut(const InputChange& change)
{
    setTimer(WHEEL_TIMER_ID, change.wheelTimer);
    setTimer(MINIMUM_LIT_TIMER_ID, change.minimumLitTimer);
}

void carryOutAndPaint(HWND window, const InputChange& change)
{
    carryOut(change);
    requestKeyPaint(window, change.changed);
}

void followAnswer(HWND window, TypingAnswer answer)
{
    carryOutAndPaint(
        window, followTypingAnswer(inputState, litTimes, typingGate, pause, answer, nowMilliseconds()));
}

} // namespace

bool applyHookEvent(WPARAM device, LPARAM lParam)
{
    const HookEvent event = decodeHookEvent(device, static_cast<std::uint32_t>(lParam));
    const bool wasPaused = pause.on;
    carryOutAndPaint(mainWindow,
        applyHookEventAt(inputState, litTimes, typingGate, pause, event, nowMilliseconds(),
            static_cast<std::uint64_t>(WheelInitTime)));
    return pause.on != wasPaused;
}

void togglePause(HWND window) { carryOutAndPaint(window, togglePauseAt(inputState, litTimes, pause)); }

bool paused() { return pause.on; }

void followPasswordJudge(HWND window, WPARAM news)
{
    if (const std::optional<TypingAnswer> answer = heedPasswordNews(typingGate, window, news))
        followAnswer(window, *answer);
}

void endPasswordWait(HWND window) { followAnswer(window, stopPasswordWait(window)); }

void expireWheel(HWND timerWindow)
{
    carryOutAndPaint(timerWindow, endWheel(inputState, litTimes, nowMilliseconds()));
}

void expireMinimumLit(HWND timerWindow)
{
    const InputChange change = endMinimumLit(inputState, litTimes, nowMilliseconds());
    carryOut(change);
    if (change.changed.any()) // a new press may have taken the waiting release back
        requestKeyPaint(timerWindow, change.changed);
}

void clearAll() { carryOut(clearAllAt(inputState, litTimes)); }
