#pragma once
// Every timer of the keyboard window, numbered here and nowhere else so that no two share an
// identifier. The window procedure routes each one by name; app/process_map.h says who owns it.
#include <windows.h>

// The wheel arrows' lit time.
inline constexpr UINT_PTR WHEEL_TIMER_ID = 1;
// Runs only while a short tap's release waits for the end of its minimum.
inline constexpr UINT_PTR MINIMUM_LIT_TIMER_ID = 2;
// The longest that new key presses wait for the password judge's answer.
inline constexpr UINT_PTR PASSWORD_WAIT_TIMER_ID = 3;
// The once-a-second look at the foreground while the administrator sign shows. It has a callback
// of its own, so it never reaches the window procedure.
inline constexpr UINT_PTR FOREGROUND_RIGHTS_TIMER_ID = 4;
// The deadline of the password judge's open accessibility question. It has a callback of its own
// too.
inline constexpr UINT_PTR PASSWORD_JUDGE_DEADLINE_TIMER_ID = 5;
