#pragma once
// What keyhook.dll posts to its target window. The library and the program are built apart; this
// header and the codes it includes are all they share.
#include <windows.h>

#include "hook_codes.h"

namespace keyhook {

// wParam: the device; lParam: bits 0..15 the code, bits 16..31 non-zero for a press.
constexpr UINT WM_HOOKEVENT = WM_USER;

constexpr LPARAM hookEventParam(unsigned code, bool pressed)
{
    return static_cast<LPARAM>((pressed ? 0x00010000u : 0u) | (code & 0xFFFFu));
}

} // namespace keyhook
