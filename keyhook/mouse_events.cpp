#include "mouse_events.h"

namespace keyhook {

std::optional<PointerTransition> pointerTransitionOf(UINT message, DWORD mouseData)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        return PointerTransition{PointerLeft, true};
    case WM_LBUTTONUP:
        return PointerTransition{PointerLeft, false};
    case WM_RBUTTONDOWN:
        return PointerTransition{PointerRight, true};
    case WM_RBUTTONUP:
        return PointerTransition{PointerRight, false};
    case WM_MBUTTONDOWN:
        return PointerTransition{PointerMiddle, true};
    case WM_MBUTTONUP:
        return PointerTransition{PointerMiddle, false};
    case WM_MOUSEWHEEL: {
        const auto delta = static_cast<short>(HIWORD(mouseData));
        if (delta == 0)
            return std::nullopt;
        return PointerTransition{delta > 0 ? PointerWheelUp : PointerWheelDown, true};
    }
    default:
        return std::nullopt;
    }
}

int systemButtonOf(unsigned slot, bool buttonsSwapped)
{
    if (slot == PointerMiddle)
        return VK_MBUTTON;
    return (slot == PointerLeft) != buttonsSwapped ? VK_LBUTTON : VK_RBUTTON;
}

std::optional<PointerTransition> ButtonTracker::onPointer(const PointerTransition& transition)
{
    if (transition.slot > PointerMiddle)
        return transition;
    if (held[transition.slot] == transition.pressed)
        return std::nullopt;
    held[transition.slot] = transition.pressed;
    return transition;
}

} // namespace keyhook
