#include "hook_session.h"

#include "hook_protocol.h"

namespace keyhook {

namespace {

// Often enough that a lost release is noticed at once, rare enough to cost nothing.
constexpr UINT kStuckKeyCheckMilliseconds = 250;

bool systemHolds(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

} // namespace

HookSession::~HookSession()
{
    if (timer)
        KillTimer(nullptr, timer);
}

void HookSession::onKeyboard(const KBDLLHOOKSTRUCT& event)
{
    const KeyInput input{
        event.vkCode, event.scanCode, (event.flags & LLKHF_EXTENDED) != 0, (event.flags & LLKHF_UP) != 0};
    if (const auto transition = keys.onKey(input))
        post(HookKeyboard, transition->code, transition->pressed);
    updateTimer();
}

void HookSession::onMouse(WPARAM message, const MSLLHOOKSTRUCT& event)
{
    const auto seen = pointerTransitionOf(static_cast<UINT>(message), event.mouseData);
    if (!seen)
        return;
    if (const auto transition = buttons.onPointer(*seen))
        post(HookMouse, transition->slot, transition->pressed);
    updateTimer();
}

bool HookSession::onTimer(UINT_PTR timerId)
{
    if (timerId != timer || !timer)
        return false;
    keys.pollReleases([](unsigned vk) { return systemHolds(static_cast<int>(vk)); },
        [this](KeyTransition released) { post(HookKeyboard, released.code, false); });
    buttons.pollReleases([](int vk) { return systemHolds(vk); }, GetSystemMetrics(SM_SWAPBUTTON) != 0,
        [this](PointerTransition released) { post(HookMouse, released.slot, false); });
    updateTimer();
    return true;
}

void HookSession::post(unsigned device, unsigned code, bool pressed) const
{
    // Fails once the window is gone; those events have no one to show them.
    PostMessageA(target, WM_HOOKEVENT, device, hookEventParam(code, pressed));
}

void HookSession::updateTimer()
{
    const bool wanted = keys.needsPolling() || buttons.needsPolling();
    if (wanted && !timer) {
        timer = SetTimer(nullptr, 0, kStuckKeyCheckMilliseconds, nullptr);
    } else if (!wanted && timer) {
        KillTimer(nullptr, timer);
        timer = 0;
    }
}

} // namespace keyhook
