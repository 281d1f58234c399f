#include "display/input_change.h"

using namespace keyhook;

namespace {

// A pointer slot's place after the key codes.
constexpr unsigned kPointerBase = 256;

void setLit(InputState& state, InputChange& change, unsigned slot, unsigned char lit)
{
    unsigned char& byte = slotState(state, slot);
    if (byte != lit)
        change.changed.set(slot);
    byte = lit;
}

// A press lights the slot; only a press that finds it dark or waiting for its release starts a new
// minimum, so the repeats of a held key do not stretch it.
void press(InputState& state, MinimumLit& lit, InputChange& change, unsigned slot, std::uint64_t now)
{
    if (!slotState(state, slot) || lit.releaseWaiting[slot])
        lit.litUntil[slot] = now + kMinimumLitMilliseconds;
    lit.releaseWaiting[slot] = false;
    setLit(state, change, slot, 1);
}

void release(InputState& state, MinimumLit& lit, InputChange& change, unsigned slot, std::uint64_t now)
{
    if (slotState(state, slot) && now < lit.litUntil[slot]) {
        lit.releaseWaiting[slot] = true;
        return;
    }
    lit.releaseWaiting[slot] = false;
    setLit(state, change, slot, 0);
}

void applyKeyboardEvent(InputState& state, MinimumLit& lit, InputChange& change, const HookEvent& event,
    bool pressMayShow, std::uint64_t now)
{
    if (event.code >= 256)
        return;
    if (event.code == VK_OEM_AUTO_CODE)
        release(state, lit, change, VK_OEM_COPY_CODE, now);
    if (!event.pressed)
        release(state, lit, change, event.code, now);
    else if (pressMayShow)
        press(state, lit, change, event.code, now);
}

void applyMouseEvent(
    InputState& state, MinimumLit& lit, InputChange& change, const HookEvent& event, std::uint64_t now)
{
    const unsigned code = event.code;
    if (code >= PointerSlotCount)
        return;
    const unsigned slot = kPointerBase + code;
    if (code != PointerWheelUp && code != PointerWheelDown) {
        if (event.pressed)
            press(state, lit, change, slot, now);
        else
            release(state, lit, change, slot, now);
        return;
    }
    setLit(state, change, slot, event.pressed ? 1 : 0);
    if (!event.pressed)
        return;
    // One arrow at a time; each notch keeps it lit for the full period again.
    setLit(state, change, kPointerBase + (code == PointerWheelUp ? PointerWheelDown : PointerWheelUp), 0);
    change.startWheelTimer = true;
}

// One timer for all waiting releases, due at the earliest of them. A press that takes a release
// back leaves it running: it stops when it fires with nothing waiting, rather than at the cost of
// a call to the system for every event of a flood of taps.
void scheduleTimer(MinimumLit& lit, InputChange& change, std::uint64_t now)
{
    std::uint64_t earliest = 0;
    for (unsigned slot = 0; slot < kInputSlotCount; ++slot) {
        if (lit.releaseWaiting[slot] && (earliest == 0 || lit.litUntil[slot] < earliest))
            earliest = lit.litUntil[slot];
    }
    if (earliest == 0 || (lit.timerDue != 0 && lit.timerDue <= earliest))
        return; // none waits, or the timer fires first and then finds the next
    lit.timerDue = earliest;
    change.minimumLitTimer = InputChange::Timer::Start;
    change.minimumLitDelay = earliest > now ? earliest - now : 1;
}

} // namespace

HookEvent decodeHookEvent(std::uint64_t wParam, std::uint32_t lParam)
{
    return HookEvent{wParam, lParam & 0xFFFFu, (lParam >> 16) != 0};
}

InputChange applyHookEventAt(
    InputState& state, MinimumLit& lit, const HookEvent& event, bool pressMayShow, std::uint64_t now)
{
    InputChange change;
    if (event.device == HookKeyboard)
        applyKeyboardEvent(state, lit, change, event, pressMayShow, now);
    else if (event.device == HookMouse)
        applyMouseEvent(state, lit, change, event, now);
    scheduleTimer(lit, change, now);
    return change;
}

InputChange endMinimumLit(InputState& state, MinimumLit& lit, std::uint64_t now)
{
    InputChange change;
    for (unsigned slot = 0; slot < kInputSlotCount; ++slot) {
        if (lit.releaseWaiting[slot] && lit.litUntil[slot] <= now) {
            lit.releaseWaiting[slot] = false;
            setLit(state, change, slot, 0);
        }
    }
    // A periodic timer: it is started again for the next release, or stopped.
    lit.timerDue = 0;
    scheduleTimer(lit, change, now);
    if (change.minimumLitTimer == InputChange::Timer::Keep)
        change.minimumLitTimer = InputChange::Timer::Stop;
    return change;
}

InputChange releaseWaitingNow(InputState& state, MinimumLit& lit)
{
    InputChange change;
    for (unsigned slot = 0; slot < kInputSlotCount; ++slot) {
        if (lit.releaseWaiting[slot]) {
            lit.releaseWaiting[slot] = false;
            setLit(state, change, slot, 0);
        }
    }
    return change; // a running timer finds nothing waiting and stops
}
