#include "display/input_state.h"

#include "common/process_globals.h"
#include "display/painting.h"
#include "privacy/typing_gate.h"
#include "settings/app_settings.h"

InputState inputState;
unsigned char redrawPending;

namespace {

TypingGate typingGate;

// Every event of 0xF3 (VK_OEM_AUTO, one of the two codes of the 半角/全角 key), pressed or released,
// also clears 0xF2 (VK_OEM_COPY, the カタカナ ひらがな key); 0xF4 is left as it is.
constexpr unsigned VK_OEM_AUTO_CODE = 0xF3;
constexpr unsigned VK_OEM_COPY_CODE = 0xF2;

void applyKeyboardEvent(unsigned code, unsigned char pressed)
{
    if (code >= 256)
        return;
    if (code == VK_OEM_AUTO_CODE) {
        inputState.keyState[VK_OEM_COPY_CODE] = 0;
        typingGate.forget(VK_OEM_COPY_CODE); // the key's release is never reported by itself
    }
    if (typingGate.admits(code, pressed))
        inputState.keyState[code] = pressed;
}

void applyMouseEvent(unsigned code, unsigned char pressed)
{
    if (code >= PointerSlotCount)
        return;
    inputState.pointerState[code] = pressed;
    if (!pressed || (code != PointerWheelUp && code != PointerWheelDown))
        return;
    // One arrow at a time; each notch keeps it lit for the full period again.
    inputState.pointerState[code == PointerWheelUp ? PointerWheelDown : PointerWheelUp] = 0;
    SetTimer(mainWindow, WHEEL_TIMER_ID, static_cast<UINT>(WheelInitTime), nullptr);
}

} // namespace

void applyHookEvent(WPARAM device, LPARAM lParam)
{
    const auto bits = static_cast<DWORD>(lParam);
    const unsigned code = bits & 0xFFFF;
    const unsigned char pressed = (bits >> 16) != 0 ? 1 : 0;

    if (device == HookKeyboard)
        applyKeyboardEvent(code, pressed);
    else if (device == HookMouse)
        applyMouseEvent(code, pressed);

    requestKeyPaint(mainWindow);
}

void hideTyping(bool hidden) { typingGate.judged(hidden, inputState.keyState); }

bool holdNewPresses() { return typingGate.focusMoved(); }

bool pressesHeldBack() { return typingGate.waiting(); }

void showHeldPresses() { typingGate.stopWaiting(inputState.keyState); }

void expireWheel(HWND timerWindow)
{
    inputState.pointerState[PointerWheelDown] = 0;
    inputState.pointerState[PointerWheelUp] = 0;
    KillTimer(mainWindow, WHEEL_TIMER_ID);
    requestKeyPaint(timerWindow);
}

void clearAll()
{
    for (auto& key : inputState.keyState)
        key = 0;
    for (auto& slot : inputState.pointerState)
        slot = 0;
}
