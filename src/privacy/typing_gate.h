#pragma once
#include <bitset>
#include <cstdint>

// The password judge's answer for the focus, or the end of the wait for one.
enum class TypingAnswer : std::uint8_t { notPassword, password, noAnswerInTime };

// What the keys do at an answer, by key code.
struct TypingShown {
    std::bitset<256> held;   // pressed while the answer was awaited, still held: lit as if pressed now
    std::bitset<256> tapped; // pressed and released while it was awaited: lit for the minimum only
    bool darkenKeys = false; // a password: every lit key goes dark, waiting taps too
};

// Decides which key presses may show while the focus may be in a password field. After the focus
// or the foreground moves, new presses wait until the new focus is judged: "not a password" shows
// every key pressed meanwhile, "a password" keeps them dark until released. Keys lit before the
// move stay lit (a held Shift does not flicker) until the answer says "a password". A press made
// while a password field has the focus stays dark until its release, wherever the focus goes.
// Codes are one byte: the caller has turned every other code away.
class TypingGate {
public:
    // A press of a key that does not show held already: true when it may light now.
    bool admitsPress(std::uint8_t code);
    void released(std::uint8_t code);
    // The focus moved: new presses wait for the answer. False when they were waiting already.
    bool focusMoved();
    bool waiting() const { return waitingForAnswer; }
    // `heldShown`: the keys that show held now, which a password keeps dark until their release.
    // No answer in time shows what waits, and new presses show at once until the next move; an
    // answer that comes later still counts.
    TypingShown answered(TypingAnswer answer, const std::bitset<256>& heldShown);

private:
    enum class Hold : std::uint8_t { none, untilAnswer, tappedUntilAnswer, untilRelease };
    void hideHeld(const std::bitset<256>& heldShown);
    Hold holds[256]{};
    bool hidden = false;
    bool waitingForAnswer = false;
};
