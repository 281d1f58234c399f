#pragma once
// What one hook event, or the end of a short tap's minimum, changes in the held keys and slots: a
// plain rule over the facts it is given. The window's side gathers the facts (the clock, whether
// privacy lets a press show) and carries the answer out (timers, paints).
#include <bitset>
#include <cstdint>

#include "hook_codes.h"

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

// The short taps whose release waits for the end of their minimum. Times are milliseconds of one
// steady clock.
struct MinimumLit {
    std::uint64_t litUntil[kInputSlotCount]; // the end of the minimum of the press that lit it
    bool releaseWaiting[kInputSlotCount];    // released early: goes dark at litUntil
    std::uint64_t timerDue;                  // when the running timer fires; 0: none runs
};

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

// What the caller does after a change.
struct InputChange {
    std::bitset<kInputSlotCount> changed; // keys, then slots: the rectangles to repaint
    bool startWheelTimer = false;         // a wheel notch: (re)start the wheel's full period
    enum class Timer { Keep, Start, Stop } minimumLitTimer = Timer::Keep;
    std::uint64_t minimumLitDelay = 0; // with Start: milliseconds from now to its first firing
};

// One hook event at `now`. `pressMayShow` is privacy's answer for a key press (a press it hides
// changes nothing). A press lights its key or button for at least the minimum; a release within it
// waits for its end; a new press meanwhile keeps it lit. The wheel's arrows keep their own time.
InputChange applyHookEventAt(
    InputState& state, MinimumLit& lit, const HookEvent& event, bool pressMayShow, std::uint64_t now);
// The minimum-lit timer fired at `now`: every waiting release that is due goes dark.
InputChange endMinimumLit(InputState& state, MinimumLit& lit, std::uint64_t now);
// Every waiting release goes dark at once, as when typing becomes hidden.
InputChange releaseWaitingNow(InputState& state, MinimumLit& lit);
