#pragma once
#include <windows.h>

// Which keys and mouse slots are held right now. Every byte is 0 or 1: the painter uses it as the
// index of the picture to copy from.
struct InputState {
    unsigned char keyState[256];   // by virtual-key code
    unsigned char pointerState[5]; // by PointerSlot
};

enum PointerSlot : unsigned {
    PointerLeft = 0,
    PointerRight = 1,
    PointerMiddle = 2,
    PointerWheelUp = 3,
    PointerWheelDown = 4,
    PointerSlotCount = 5,
};

enum HookDevice : unsigned {
    HookKeyboard = 0,
    HookMouse = 1,
};

// Posted by keyhook.dll for every transition: wParam is the HookDevice, lParam bits 0..15 the
// virtual-key code or PointerSlot, bits 16..31 non-zero for a press (or one wheel notch).
constexpr UINT WM_HOOKEVENT = WM_USER;
constexpr UINT_PTR WHEEL_TIMER_ID = 1;

extern InputState inputState;
// Asks the next WM_PAINT to redraw; set by every change request, cleared by the painter.
extern unsigned char redrawPending;

void applyHookEvent(WPARAM device, LPARAM lParam);
// The wheel timer fired: both arrows go dark and the timer stops.
void expireWheel(HWND timerWindow);
// Releases every key and slot; the caller repaints.
void clearAll();
