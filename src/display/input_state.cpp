#include "display/input_state.h"

#include "common/process_globals.h"
#include "display/painting.h"
#include "privacy/typing_gate.h"
#include "settings/app_settings.h"

InputState inputState;
unsigned char redrawPending;

namespace {

MinimumLit minimumLit;
TypingGate typingGate;

// Privacy's one question: may this keyboard event light its key? A release always may.
bool keyEventMayShow(unsigned code, bool pressed)
{
    if (code >= 256)
        return false;
    if (code == VK_OEM_AUTO_CODE)
        typingGate.forget(VK_OEM_COPY_CODE); // the key's release is never reported by itself
    return typingGate.admits(code, pressed);
}

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

void carryOut(const InputChange& change)
{
    if (change.startWheelTimer)
        SetTimer(mainWindow, WHEEL_TIMER_ID, static_cast<UINT>(WheelInitTime), nullptr);
    if (change.minimumLitTimer == InputChange::Timer::Start)
        SetTimer(mainWindow, MINIMUM_LIT_TIMER_ID, static_cast<UINT>(change.minimumLitDelay), nullptr);
    else if (change.minimumLitTimer == InputChange::Timer::Stop)
        KillTimer(mainWindow, MINIMUM_LIT_TIMER_ID);
}

} // namespace

void applyHookEvent(WPARAM device, LPARAM lParam)
{
    const HookEvent event = decodeHookEvent(device, static_cast<std::uint32_t>(lParam));
    const bool pressMayShow = event.device != HookKeyboard || keyEventMayShow(event.code, event.pressed);
    carryOut(applyHookEventAt(inputState, minimumLit, event, pressMayShow, nowMilliseconds()));
    requestKeyPaint(mainWindow);
}

void hideTyping(bool hidden)
{
    // Taps already released go dark now: held dark until their release, they would wait for one
    // that has come already.
    if (hidden)
        carryOut(releaseWaitingNow(inputState, minimumLit));
    typingGate.judged(hidden, inputState.keyState);
}

bool holdNewPresses() { return typingGate.focusMoved(); }

bool pressesHeldBack() { return typingGate.waiting(); }

void showHeldPresses() { typingGate.stopWaiting(inputState.keyState); }

void expireWheel(HWND timerWindow)
{
    inputState.pointerState[PointerWheelDown] = 0;
    inputState.pointerState[PointerWheelUp] = 0;
    KillTimer(mainWindow, WHEEL_TIMER_ID);
    requestKeyPaint(timerWindow);
}

void expireMinimumLit(HWND timerWindow)
{
    const InputChange change = endMinimumLit(inputState, minimumLit, nowMilliseconds());
    carryOut(change);
    if (change.changed.any()) // a new press may have taken the waiting release back
        requestKeyPaint(timerWindow);
}

void clearAll()
{
    for (auto& key : inputState.keyState)
        key = 0;
    for (auto& slot : inputState.pointerState)
        slot = 0;
    minimumLit = MinimumLit{};
    KillTimer(mainWindow, MINIMUM_LIT_TIMER_ID);
}
