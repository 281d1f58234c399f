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

// The window's side of the lit keys: it reads the clock, carries out what the rules decide (the
// timers of `mainWindow`) and asks for the paints.
extern InputState inputState;
// Asks the next WM_PAINT to redraw; set by every change request, cleared by the painter.
extern unsigned char redrawPending;

// True when the event was the chord that began or ended the pause.
bool applyHookEvent(WPARAM device, LPARAM lParam);
// The pause's menu item for `window`: while paused nothing lights, and keys held through it stay
// dark until pressed again.
void togglePause(HWND window);
bool paused();
// The password judge's news (WM_PASSWORD_JUDGE) for `window`: while typing is hidden no key press
// shows; the mouse shows as always. The wait for an answer runs on `window`'s timer.
void followPasswordJudge(HWND window, WPARAM news);
// The password wait timer fired: what waits shows, and the judge's answer still counts later.
void endPasswordWait(HWND window);
// The wheel timer fired: both arrows go dark and the timer stops.
void expireWheel(HWND timerWindow);
// The minimum-lit timer fired: the short taps whose time is up go dark.
void expireMinimumLit(HWND timerWindow);
// Releases every key and slot; the caller repaints.
void clearAll();
