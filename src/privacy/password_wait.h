#pragma once
#include <windows.h>

#include <optional>

#include "common/window_timers.h"
#include "privacy/typing_gate.h"

// How typing follows the password judge's news (WM_PASSWORD_JUDGE): after the focus moves, new key
// presses wait for the answer, at most a short while, or longer while the program asked is known
// to be working on it. The window's own timer (PASSWORD_WAIT_TIMER_ID) keeps the limit; nothing
// here waits.

// The news for the gate, with the wait timer started or stopped on `window`: the answer that the
// keys follow now, when the news is one.
std::optional<TypingAnswer> heedPasswordNews(TypingGate& gate, HWND window, WPARAM news);
// The wait timer fired: it stops, and no answer came in time.
TypingAnswer stopPasswordWait(HWND window);
