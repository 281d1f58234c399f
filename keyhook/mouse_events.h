#pragma once
// What each low-level mouse message means for the picture, and which buttons the hook has
// reported down. Plain state, no system calls.
#include <windows.h>

#include <optional>

#include "hook_protocol.h"

namespace keyhook {

struct PointerTransition {
    unsigned slot;
    bool pressed;
    bool operator==(const PointerTransition&) const = default;
};

// Buttons give their slot's press and release; every vertical wheel message one press of the
// up or down slot, whatever its size. Movement, X buttons and the horizontal wheel give nothing.
std::optional<PointerTransition> pointerTransitionOf(UINT message, DWORD mouseData);

// The button that the system's key state asks about for a slot: the key state names the physical
// buttons, the hooks report the logical ones.
int systemButtonOf(unsigned slot, bool buttonsSwapped);

class ButtonTracker {
public:
    // The transition to report, if any: a button's press only when it was up, its release only
    // when it was reported down; wheel notches always.
    std::optional<PointerTransition> onPointer(const PointerTransition& transition);

    bool needsPolling() const { return held[0] || held[1] || held[2]; }

    // Brings the buttons in line with the system's: reports the press of each button that it
    // holds unreported (when the hooks may have missed input) or the release of each reported one
    // that it no longer holds. isDown(vk) asks the system's key state.
    template <typename IsDown, typename Emit>
    void pollPresses(IsDown isDown, bool buttonsSwapped, Emit emit)
    {
        follow(isDown, buttonsSwapped, true, emit);
    }
    template <typename IsDown, typename Emit>
    void pollReleases(IsDown isDown, bool buttonsSwapped, Emit emit)
    {
        follow(isDown, buttonsSwapped, false, emit);
    }

private:
    template <typename IsDown, typename Emit>
    void follow(IsDown isDown, bool buttonsSwapped, bool pressed, Emit emit);

    bool held[3] = {};
};

template <typename IsDown, typename Emit>
void ButtonTracker::follow(IsDown isDown, bool buttonsSwapped, bool pressed, Emit emit)
{
    for (unsigned slot = PointerLeft; slot <= PointerMiddle; ++slot) {
        if (held[slot] == pressed || isDown(systemButtonOf(slot, buttonsSwapped)) != pressed)
            continue;
        held[slot] = pressed;
        emit(PointerTransition{slot, pressed});
    }
}

} // namespace keyhook
