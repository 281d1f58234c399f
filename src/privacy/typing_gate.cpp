#include "privacy/typing_gate.h"

bool TypingGate::admitsPress(std::uint8_t code)
{
    if (holds[code] == Hold::untilRelease || hidden) {
        holds[code] = Hold::untilRelease;
        return false;
    }
    if (waitingForAnswer) {
        holds[code] = Hold::untilAnswer;
        return false;
    }
    return true;
}

void TypingGate::released(std::uint8_t code)
{
    const bool heldBack = holds[code] == Hold::untilAnswer || holds[code] == Hold::tappedUntilAnswer;
    holds[code] = heldBack ? Hold::tappedUntilAnswer : Hold::none;
}

bool TypingGate::focusMoved()
{
    const bool wasWaiting = waitingForAnswer;
    waitingForAnswer = true;
    return !wasWaiting;
}

void TypingGate::hideHeld(const std::bitset<256>& heldShown)
{
    for (unsigned code = 0; code < 256; ++code) {
        if (heldShown[code] || holds[code] == Hold::untilAnswer)
            holds[code] = Hold::untilRelease;
        else if (holds[code] == Hold::tappedUntilAnswer)
            holds[code] = Hold::none;
    }
}

TypingShown TypingGate::answered(TypingAnswer answer, const std::bitset<256>& heldShown)
{
    waitingForAnswer = false;
    TypingShown shown;
    if (answer != TypingAnswer::noAnswerInTime)
        hidden = answer == TypingAnswer::password;
    if (answer == TypingAnswer::password) {
        hideHeld(heldShown);
        shown.darkenKeys = true;
        return shown;
    }
    for (unsigned code = 0; code < 256; ++code) {
        if (holds[code] == Hold::untilAnswer)
            shown.held.set(code);
        else if (holds[code] == Hold::tappedUntilAnswer)
            shown.tapped.set(code);
        else
            continue;
        holds[code] = Hold::none;
    }
    return shown;
}
