#pragma once
#include <windows.h>

#include "common/window_timers.h"
#include "display/input_change.h"
#include "hook_protocol.h"

using keyhook::HookDevice;
using keyhook::PointerSlot;
using keyhook::WM_HOOKEVENT;
using enum keyhook::HookDevice;
using enum keyhook::PointerSlot;

extern InputState inputState;
// Asks the next WM_PAINT to redraw; set by every change request, cleared by the painter.
extern unsigned char redrawPending;

void applyHookEvent(WPARAM device, LPARAM lParam);
// While typing is hidden (a password field has the focus) no key press shows, and the keys held
// when it begins go dark: even Shift gives something away. A key pressed meanwhile stays dark
// until its release, wherever the focus goes; the mouse shows as always. The caller repaints.
// Called with the password judge's answer, which also ends a wait begun by holdNewPresses.
void hideTyping(bool hidden);
// The focus moved: new key presses wait for the answer. False when they were waiting already.
bool holdNewPresses();
bool pressesHeldBack();
// No answer in time: the waiting presses light; the caller repaints.
void showHeldPresses();
// The wheel timer fired: both arrows go dark and the timer stops.
void expireWheel(HWND timerWindow);
// The minimum-lit timer fired: the short taps whose time is up go dark.
void expireMinimumLit(HWND timerWindow);
// Releases every key and slot; the caller repaints.
void clearAll();
