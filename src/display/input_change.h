#pragma once
// What one hook event, a timer, a password answer or a minimise changes in the lit keys and slots:
// plain rules over the facts they are given. The window's side gathers the facts (the clock, the
// judge's news) and carries the answer out (timers, paints).
#include <bitset>
#include <cstdint>

#include "hook_codes.h"
#include "privacy/typing_gate.h"

// Which keys and mouse slots are lit right now: every byte is 1 while lit, else 0. The painter
// draws a lit one from the pressed picture, any other from the base picture.
struct InputState {
    unsigned char keyState[256];   // by virtual-key code
    unsigned char pointerState[5]; // by PointerSlot
};

// A press stays lit at least this long, so that a screen recorder's frame catches even a tap whose
// release came with it: 3 frames at 30 a second.
constexpr std::uint64_t kMinimumLitMilliseconds = 100;

// Every key code, then every pointer slot: the order of the painter's rectangles.
constexpr unsigned kInputSlotCount = 256 + keyhook::PointerSlotCount;

// The byte of a key code (below 256) or of a pointer slot (256 on).
inline unsigned char& slotState(InputState& state, unsigned slot)
{
    return slot < 256 ? state.keyState[slot] : state.pointerState[slot - 256];
}

// What the rules keep beside the bytes. Times are milliseconds of one steady clock.
struct LitTimes {
    std::uint64_t litUntil[kInputSlotCount]; // the end of the minimum of the press that lit it
    bool releaseWaiting[kInputSlotCount];    // released early: goes dark at litUntil
    std::uint64_t timerDue;                  // when the minimum-lit timer fires; 0: none runs
    std::uint64_t wheelUntil;                // the wheel's arrows go dark then
};

// The pause at the user's hand: both Ctrl keys held together, in either order, or the system menu's
// item. While it is on nothing lights; a key or button held at its start or its end stays dark until
// it is pressed again, so that the chord's own Ctrl keys never flash.
struct Pause {
    bool on = false;
    std::bitset<kInputSlotCount> held;             // pressed and not yet released; a wheel notch never
    std::bitset<kInputSlotCount> darkUntilRelease; // held when the pause began or ended
};

// The two Ctrl keys as the hook library reports them, VK_LCONTROL and VK_RCONTROL.
constexpr unsigned kLeftCtrlCode = 0xA2;
constexpr unsigned kRightCtrlCode = 0xA3;

// Every event of 0xF3 (VK_OEM_AUTO, one of the two codes of the 半角/全角 key), pressed or released,
// also releases 0xF2 (VK_OEM_COPY, the カタカナ ひらがな key), whose release is never reported by
// itself; 0xF4 is left as it is.
constexpr unsigned VK_OEM_AUTO_CODE = 0xF3;
constexpr unsigned VK_OEM_COPY_CODE = 0xF2;

// One WM_HOOKEVENT as the hook library posts it.
struct HookEvent {
    std::uint64_t device = 0; // 0 keyboard, 1 mouse, anything else: nothing
    unsigned code = 0;        // virtual-key code or PointerSlot
    bool pressed = false;
};
// wParam is the device; lParam's bits 0..15 the code, bits 16..31 non-zero for a press.
HookEvent decodeHookEvent(std::uint64_t wParam, std::uint32_t lParam);

// One of the window's timers, as a change leaves it. A started timer fires every `delay` until it
// is started again or stopped.
struct TimerChange {
    enum Action : std::uint8_t { Keep, Start, Stop } action = Keep;
    std::uint64_t delay = 0; // with Start: milliseconds from now to its first firing
};

// What the caller does after a change.
struct InputChange {
    std::bitset<kInputSlotCount> changed; // keys, then slots: the rectangles to repaint
    TimerChange minimumLitTimer;
    TimerChange wheelTimer;
};

// These rules are the only writers of the bytes; each returns what the caller carries out.

// One hook event at `now`; the pause, then the gate decide whether a key press may show (a press
// they hold back changes nothing; the gate is not asked while the pause keeps it dark). The press of
// a Ctrl key while the other is held turns the pause. A press lights its key or button for at least the
// minimum; a release within it waits for its end; a new press meanwhile keeps it lit. A wheel notch lights
// its arrow, darkens the other, and keeps it lit until `wheelPeriod` after the last notch.
InputChange applyHookEventAt(InputState& state, LitTimes& times, TypingGate& gate, Pause& pause,
    const HookEvent& event, std::uint64_t now, std::uint64_t wheelPeriod);
// The minimum-lit timer fired at `now`: every waiting release that is due goes dark.
InputChange endMinimumLit(InputState& state, LitTimes& times, std::uint64_t now);
// The wheel timer fired at `now`: both arrows go dark once their time is up, and the timer stops.
InputChange endWheel(InputState& state, LitTimes& times, std::uint64_t now);
// The gate's answer at `now`: keys it held back light as if pressed now, each for at least the
// minimum, unless the pause keeps them dark; a password darkens every key, waiting taps too, and no
// mouse button.
InputChange followTypingAnswer(InputState& state, LitTimes& times, TypingGate& gate, const Pause& pause,
    TypingAnswer answer, std::uint64_t now);
// The pause's menu item: the pause begins (everything goes dark and nothing waits) or ends.
InputChange togglePauseAt(InputState& state, LitTimes& times, Pause& pause);
// Everything goes dark and nothing waits; the wheel's timer runs on and then finds nothing to do.
InputChange clearAllAt(InputState& state, LitTimes& times);
