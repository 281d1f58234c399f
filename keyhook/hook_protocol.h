#pragma once
// What keyhook.dll posts to its target window. The library and the program are built apart; this
// header is all they share.
#include <windows.h>

namespace keyhook {

// wParam: the device; lParam: bits 0..15 the code, bits 16..31 non-zero for a press.
constexpr UINT WM_HOOKEVENT = WM_USER;

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

constexpr LPARAM hookEventParam(unsigned code, bool pressed)
{
    return static_cast<LPARAM>((pressed ? 0x00010000u : 0u) | (code & 0xFFFFu));
}

} // namespace keyhook
