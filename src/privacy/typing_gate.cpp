#include "privacy/typing_gate.h"

bool TypingGate::admits(unsigned code, bool pressed)
{
    if (code >= 256)
        return false;
    if (!pressed) {
        holds[code] = Hold::none;
        return true;
    }
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

void TypingGate::forget(unsigned code)
{
    if (code < 256)
        holds[code] = Hold::none;
}

bool TypingGate::focusMoved()
{
    const bool wasWaiting = waitingForAnswer;
    waitingForAnswer = true;
    return !wasWaiting;
}

void TypingGate::judged(bool password, unsigned char (&keys)[256])
{
    waitingForAnswer = false;
    hidden = password;
    for (unsigned code = 0; code < 256; ++code) {
        if (password && (keys[code] || holds[code] == Hold::untilAnswer)) {
            keys[code] = 0;
            holds[code] = Hold::untilRelease;
        } else if (holds[code] == Hold::untilAnswer) {
            keys[code] = 1;
            holds[code] = Hold::none;
        }
    }
}

void TypingGate::stopWaiting(unsigned char (&keys)[256])
{
    waitingForAnswer = false;
    for (unsigned code = 0; code < 256; ++code) {
        if (holds[code] == Hold::untilAnswer) {
            keys[code] = 1;
            holds[code] = Hold::none;
        }
    }
}
