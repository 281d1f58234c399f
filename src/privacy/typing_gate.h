#pragma once
#include <cstdint>

// Decides which key presses may show while the focus may be in a password field. After the focus
// or the foreground moves, new presses wait until the new focus is judged: "not a password" lights
// every key still held, "a password" keeps them dark until released. Keys lit before the move stay
// lit (a held Shift does not flicker) until the answer says "a password". A press made while a
// password field has the focus stays dark until its release, wherever the focus goes.
class TypingGate {
public:
    // A key event: true when the key's byte takes the new state now. A press held back leaves the
    // byte as it is, so that a key lit already stays lit.
    bool admits(unsigned code, bool pressed);
    // A key whose release is reported through another key's event.
    void forget(unsigned code);
    // The focus moved: new presses wait for the answer. False when they were waiting already.
    bool focusMoved();
    bool waiting() const { return waitingForAnswer; }
    // The answer; the keys' bytes follow it.
    void judged(bool password, unsigned char (&keys)[256]);
    // No answer in time: what waits shows, and new presses show at once until the next move. An
    // answer that comes later still counts.
    void stopWaiting(unsigned char (&keys)[256]);

private:
    enum class Hold : std::uint8_t { none, untilAnswer, untilRelease };
    Hold holds[256]{};
    bool hidden = false;
    bool waitingForAnswer = false;
};
