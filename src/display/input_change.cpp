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

// Lit by a press, and not only waiting out its minimum.
bool showsHeld(InputState& state, const LitTimes& times, unsigned slot)
{
    return slotState(state, slot) && !times.releaseWaiting[slot];
}

// A press lights the slot; only a press that finds it dark or waiting for its release starts a new
// minimum, so the repeats of a held key do not stretch it.
void press(InputState& state, LitTimes& times, InputChange& change, unsigned slot, std::uint64_t now)
{
    if (!showsHeld(state, times, slot))
        times.litUntil[slot] = now + kMinimumLitMilliseconds;
    times.releaseWaiting[slot] = false;
    setLit(state, change, slot, 1);
}

void release(InputState& state, LitTimes& times, InputChange& change, unsigned slot, std::uint64_t now)
{
    if (slotState(state, slot) && now < times.litUntil[slot]) {
        times.releaseWaiting[slot] = true;
        return;
    }
    times.releaseWaiting[slot] = false;
    setLit(state, change, slot, 0);
}

bool isWheel(unsigned slot)
{
    return slot == kPointerBase + PointerWheelUp || slot == kPointerBase + PointerWheelDown;
}

bool keptDark(const Pause& pause, unsigned slot) { return pause.on || pause.darkUntilRelease[slot]; }

void turnPause(InputState& state, LitTimes& times, Pause& pause, InputChange& change)
{
    pause.on = !pause.on;
    pause.darkUntilRelease |= pause.held;
    if (!pause.on)
        return; // nothing lit meanwhile
    change.changed |= clearAllAt(state, times).changed;
    change.minimumLitTimer.action = TimerChange::Stop;
}

// The pause follows every event before the lit state takes it: what is held, and the chord, a
// press of one Ctrl key (not a repeat) while the other is held. True when a press may light.
bool pauseLets(
    InputState& state, LitTimes& times, Pause& pause, InputChange& change, unsigned slot, bool pressed)
{
    if (!pressed) {
        pause.held.reset(slot);
        pause.darkUntilRelease.reset(slot);
        return true;
    }
    const unsigned otherCtrl = slot == kLeftCtrlCode ? kRightCtrlCode : kLeftCtrlCode;
    const bool chord
        = (slot == kLeftCtrlCode || slot == kRightCtrlCode) && !pause.held[slot] && pause.held[otherCtrl];
    if (!isWheel(slot)) // a notch is a press without a release: nothing of it is held
        pause.held.set(slot);
    if (chord)
        turnPause(state, times, pause, change);
    return !keptDark(pause, slot);
}

void keyEvent(InputState& state, LitTimes& times, TypingGate& gate, Pause& pause, InputChange& change,
    std::uint8_t code, bool pressed, std::uint64_t now)
{
    const bool mayShow = pauseLets(state, times, pause, change, code, pressed);
    if (!pressed) {
        gate.released(code);
        release(state, times, change, code, now);
    } else if (mayShow && !showsHeld(state, times, code) && gate.admitsPress(code)) {
        press(state, times, change, code, now); // a held key's repeats show nothing new: not asked
    }
}

void applyKeyboardEvent(InputState& state, LitTimes& times, TypingGate& gate, Pause& pause,
    InputChange& change, const HookEvent& event, std::uint64_t now)
{
    if (event.code >= 256)
        return;
    if (event.code == VK_OEM_AUTO_CODE)
        keyEvent(state, times, gate, pause, change, VK_OEM_COPY_CODE, false, now);
    keyEvent(state, times, gate, pause, change, static_cast<std::uint8_t>(event.code), event.pressed, now);
}

void wheelNotch(InputState& state, LitTimes& times, InputChange& change, unsigned code, std::uint64_t now,
    std::uint64_t period)
{
    // One arrow at a time; each notch keeps it lit for the full period again.
    setLit(state, change, kPointerBase + (code == PointerWheelUp ? PointerWheelDown : PointerWheelUp), 0);
    times.wheelUntil = now + period;
    change.wheelTimer = {TimerChange::Start, period};
}

void applyMouseEvent(InputState& state, LitTimes& times, Pause& pause, InputChange& change,
    const HookEvent& event, std::uint64_t now, std::uint64_t wheelPeriod)
{
    const unsigned code = event.code;
    if (code >= PointerSlotCount)
        return;
    const unsigned slot = kPointerBase + code;
    if (!pauseLets(state, times, pause, change, slot, event.pressed))
        return;
    if (!isWheel(slot)) {
        if (event.pressed)
            press(state, times, change, slot, now);
        else
            release(state, times, change, slot, now);
        return;
    }
    setLit(state, change, slot, event.pressed ? 1 : 0);
    if (event.pressed)
        wheelNotch(state, times, change, code, now, wheelPeriod);
}

// One timer for all waiting releases, due at the earliest of them. A press that takes a release
// back leaves it running: it stops when it fires with nothing waiting, rather than at the cost of
// a call to the system for every event of a flood of taps.
void scheduleTimer(LitTimes& times, InputChange& change, std::uint64_t now)
{
    std::uint64_t earliest = 0;
    for (unsigned slot = 0; slot < kInputSlotCount; ++slot) {
        if (times.releaseWaiting[slot] && (earliest == 0 || times.litUntil[slot] < earliest))
            earliest = times.litUntil[slot];
    }
    if (earliest == 0 || (times.timerDue != 0 && times.timerDue <= earliest))
        return; // none waits, or the timer fires first and then finds the next
    times.timerDue = earliest;
    change.minimumLitTimer = {TimerChange::Start, earliest > now ? earliest - now : 1};
}

} // namespace

HookEvent decodeHookEvent(std::uint64_t wParam, std::uint32_t lParam)
{
    return HookEvent{wParam, lParam & 0xFFFFu, (lParam >> 16) != 0};
}

InputChange applyHookEventAt(InputState& state, LitTimes& times, TypingGate& gate, Pause& pause,
    const HookEvent& event, std::uint64_t now, std::uint64_t wheelPeriod)
{
    InputChange change;
    if (event.device == HookKeyboard)
        applyKeyboardEvent(state, times, gate, pause, change, event, now);
    else if (event.device == HookMouse)
        applyMouseEvent(state, times, pause, change, event, now, wheelPeriod);
    scheduleTimer(times, change, now);
    return change;
}

InputChange endMinimumLit(InputState& state, LitTimes& times, std::uint64_t now)
{
    InputChange change;
    for (unsigned slot = 0; slot < kInputSlotCount; ++slot) {
        if (times.releaseWaiting[slot] && times.litUntil[slot] <= now) {
            times.releaseWaiting[slot] = false;
            setLit(state, change, slot, 0);
        }
    }
    // A periodic timer: it is started again for the next release, or stopped.
    times.timerDue = 0;
    scheduleTimer(times, change, now);
    if (change.minimumLitTimer.action == TimerChange::Keep)
        change.minimumLitTimer.action = TimerChange::Stop;
    return change;
}

InputChange endWheel(InputState& state, LitTimes& times, std::uint64_t now)
{
    InputChange change;
    if (now < times.wheelUntil) { // fired a little early: the rest of the period
        change.wheelTimer = {TimerChange::Start, times.wheelUntil - now};
        return change;
    }
    setLit(state, change, kPointerBase + PointerWheelDown, 0);
    setLit(state, change, kPointerBase + PointerWheelUp, 0);
    change.wheelTimer.action = TimerChange::Stop;
    return change;
}

InputChange followTypingAnswer(InputState& state, LitTimes& times, TypingGate& gate, const Pause& pause,
    TypingAnswer answer, std::uint64_t now)
{
    std::bitset<256> heldShown;
    for (unsigned code = 0; code < 256; ++code)
        heldShown[code] = showsHeld(state, times, code);
    const TypingShown shown = gate.answered(answer, heldShown);
    InputChange change;
    for (unsigned code = 0; code < 256; ++code) {
        if (shown.darkenKeys) {
            times.releaseWaiting[code] = false;
            setLit(state, change, code, 0);
        }
        if ((shown.held[code] || shown.tapped[code]) && !keptDark(pause, code))
            press(state, times, change, code, now);
        if (shown.tapped[code])
            release(state, times, change, code, now);
    }
    scheduleTimer(times, change, now); // a running timer finds no darkened tap waiting and stops
    return change;
}

InputChange clearAllAt(InputState& state, LitTimes& times)
{
    InputChange change;
    for (unsigned slot = 0; slot < kInputSlotCount; ++slot)
        setLit(state, change, slot, 0);
    times = LitTimes{};
    change.minimumLitTimer.action = TimerChange::Stop;
    return change;
}

InputChange togglePauseAt(InputState& state, LitTimes& times, Pause& pause)
{
    InputChange change;
    turnPause(state, times, pause, change);
    return change;
}
