#pragma once
// The devices and mouse slots that a hook event names; window-free, so that rules over the events
// need no system headers.

namespace keyhook {

enum HookDevice : unsigned {
    HookKeyboard = 0,
    HookMouse = 1,
};

enum PointerSlot : unsigned {
    PointerLeft = 0,
    PointerRight = 1,
    PointerMiddle = 2,
    PointerWheelUp = 3,
    PointerWheelDown = 4,
    PointerSlotCount = 5,
};

} // namespace keyhook
