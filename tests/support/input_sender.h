#pragma once
// Real input through SendInput, as from a keyboard or mouse driver: it reaches every low-level hook
// on the desktop, whichever window has the focus.
#include <windows.h>

namespace testing_support {

void sendKey(WORD vk, WORD scan, bool up, bool extended = false);
void sendMouse(DWORD flags, DWORD data = 0);

} // namespace testing_support
