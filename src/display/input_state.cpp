#include "display/input_state.h"

#include "common/process_globals.h"
#include "display/painting.h"
#include "settings/app_settings.h"

InputState inputState;
unsigned char redrawPending;

namespace {

MinimumLit minimumLit;

bool typingHidden;
// Keys pressed while typing was hidden; a press of one of them shows only after its release,
// however often the hook library reports it down again meanwhile.
unsigned char darkUntilRelease[256];

// Privacy's one question: may this keyboard event light its key? A release always may.
bool keyEventMayShow(unsigned code, bool pressed)
{
    if (code >= 256)
        return false;
    if (code == VK_OEM_AUTO_CODE)
        darkUntilRelease[VK_OEM_COPY_CODE] = 0; // the key's release is never reported by itself
    if (pressed && (typingHidden || darkUntilRelease[code])) {
        darkUntilRelease[code] = 1;
        return false;
    }
    darkUntilRelease[code] = 0;
    return true;
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
    typingHidden = hidden;
    if (!hidden)
        return;
    // Taps already released go dark now rather than waiting in the dark set for a release.
    carryOut(releaseWaitingNow(inputState, minimumLit));
    for (unsigned code = 0; code < 256; ++code) {
        if (inputState.keyState[code]) {
            inputState.keyState[code] = 0;
            darkUntilRelease[code] = 1;
        }
    }
}

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
