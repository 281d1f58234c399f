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

class ButtonTracker {
public:
    // The transition to report, if any: a button's press only when it was up, its release only
    // when it was reported down; wheel notches always.
    std::optional<PointerTransition> onPointer(const PointerTransition& transition);

    bool needsPolling() const { return held[0] || held[1] || held[2]; }

    // Reports the release of every held button that the system no longer holds. isDown(vk) asks
    // the system about a physical button. With swapped buttons either physical one may be the
    // one that was reported, so either keeps a left or right slot lit.
    template <typename IsDown, typename Emit>
    void pollReleases(IsDown isDown, bool buttonsSwapped, Emit emit);

private:
    bool held[3] = {};
};

template <typename IsDown, typename Emit>
void ButtonTracker::pollReleases(IsDown isDown, bool buttonsSwapped, Emit emit)
{
    static constexpr int kButtonVk[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    for (unsigned slot = 0; slot < 3; ++slot) {
        if (!held[slot])
            continue;
        bool down = isDown(kButtonVk[slot]);
        if (buttonsSwapped && slot != PointerMiddle)
            down = down || isDown(kButtonVk[1 - slot]);
        if (down)
            continue;
        held[slot] = false;
        emit(PointerTransition{slot, false});
    }
}

} // namespace keyhook
