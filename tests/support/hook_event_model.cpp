#include "support/hook_event_model.h"

#include "scale/display_scale.h"
#include "support/installed_program.h"

namespace testing_support {

RECT scaledRect(const RECT& rect, UINT dpi)
{
    return {scaleEdge(rect.left, dpi), scaleEdge(rect.top, dpi), scaleEdge(rect.right, dpi),
        scaleEdge(rect.bottom, dpi)};
}

std::vector<RECT> HeldState::lit(UINT dpi) const
{
    std::vector<RECT> rects;
    for (unsigned code = 0; code < keys.size(); ++code)
        if (keys[code] && isDrawable(keyRect(code)))
            rects.push_back(scaledRect(toRect(keyRect(code)), dpi));
    for (unsigned slot = 0; slot < pointers.size(); ++slot)
        if (pointers[slot])
            rects.push_back(scaledRect(toRect(pointerRect(slot)), dpi));
    return rects;
}

void apply(HeldState& held, WPARAM device, LPARAM lParam)
{
    const auto bits = static_cast<std::uint32_t>(lParam);
    const unsigned code = bits & 0xFFFF;
    const unsigned char pressed = (bits >> 16) != 0;
    if (device == 0 && code < held.keys.size()) {
        held.keys[code] = pressed;
        if (code == 0xF3)
            held.keys[0xF2] = 0;
    } else if (device == 1 && code < held.pointers.size()) {
        held.pointers[code] = pressed;
        if (pressed && code == 3)
            held.pointers[4] = 0;
        if (pressed && code == 4)
            held.pointers[3] = 0;
    }
}

WPARAM EventSource::device()
{
    const unsigned pick = random() % 10;
    return pick < 5 ? 0 : pick < 9 ? 1 : static_cast<WPARAM>(random());
}

LPARAM EventSource::lParam(WPARAM device)
{
    const std::uint64_t noise = random();
    unsigned code = static_cast<unsigned>(noise & 0xFFFF);
    if (random() % 4 != 0)
        code = device == 1 ? code % 8 : code % 256;
    const unsigned transition = random() % 2 ? static_cast<unsigned>(noise >> 16) & 0xFFFF : 0;
    return static_cast<LPARAM>((noise & 0xFFFFFFFF00000000ull) | (transition << 16) | code);
}

bool postWhenTaken(HWND window, WPARAM device, LPARAM lParam)
{
    const ULONGLONG end = GetTickCount64() + kProgramWait;
    while (!PostMessageA(window, kHookEventMessage, device, lParam)) {
        if (GetLastError() != ERROR_NOT_ENOUGH_QUOTA || GetTickCount64() >= end)
            return false;
        Sleep(1);
    }
    return true;
}

} // namespace testing_support
