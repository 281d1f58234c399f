#pragma once
// Which keys the hook has reported down, and what each keyboard event means for the picture. Plain
// state, no system calls: the hook thread feeds it events and asks it what to post.
#include <array>
#include <optional>

namespace keyhook {

// One low-level keyboard event, as the hook received it.
struct KeyInput {
    unsigned vk = 0;
    unsigned scanCode = 0; // as reported, including the system's 0x200 "simulated" bit
    bool extended = false;
    bool up = false;
};

struct KeyTransition {
    unsigned code;
    bool pressed;
    bool operator==(const KeyTransition&) const = default;
};

// The left/right code of a side-neutral Shift, Ctrl or Alt; any other code unchanged.
unsigned sidedCode(unsigned vk, unsigned scanCode, bool extended);

// The side-neutral code of a left/right modifier; 0 for every other code.
unsigned neutralCode(unsigned code);

class KeyTracker {
public:
    static constexpr unsigned kMaxHeld = 64;

    // The transition to report for this event, if any: presses and releases only, never
    // auto-repeat, never the Shift events that the system fakes around keypad keys.
    std::optional<KeyTransition> onKey(const KeyInput& input);

    // A key that the system holds although its press never came: lit now unless it is lit
    // already. Its release is matched by code; its press, if it comes late, takes the entry
    // over without being reported again.
    std::optional<KeyTransition> onHeldBySystem(unsigned code);

    // True while any reported key is still down: only then must the system be asked.
    bool needsPolling() const { return heldCount != 0; }

    // Reports the release of every held key that the system no longer holds. isDown(vk) asks the
    // system; emit(KeyTransition) receives each release.
    template <typename IsDown, typename Emit>
    void pollReleases(IsDown isDown, Emit emit);

    bool isHeld(unsigned code) const { return holderCount(code) != 0; }

private:
    struct HeldKey {
        unsigned identity;   // the physical key: scan code and extended flag
        unsigned code;       // the code its press was reported with
        bool systemReleased; // the system let go of it for a keypad key while the user holds it
        bool foundHeld;      // lit from the system's key state, its press unseen
    };

    std::optional<KeyTransition> press(unsigned identity, unsigned code);
    std::optional<KeyTransition> release(unsigned identity, unsigned code, bool scanless);
    void onFakeShift(unsigned code, bool up);
    std::optional<KeyTransition> removeAt(unsigned index);
    int find(unsigned identity) const;
    int findScanless(unsigned code, bool anyIdentity) const;
    int findFoundHeld(unsigned code) const;
    unsigned holderCount(unsigned code) const;
    bool anyHeldByUser() const;

    std::array<HeldKey, kMaxHeld> held{};
    unsigned heldCount = 0;
};

template <typename IsDown, typename Emit>
void KeyTracker::pollReleases(IsDown isDown, Emit emit)
{
    const bool othersHeld = anyHeldByUser();
    unsigned index = 0;
    while (index < heldCount) {
        HeldKey& key = held[index];
        if (key.systemReleased) {
            // Trusted while the keypad key that caused it is down; once that is gone the
            // system gives the key back, so it is checked again from the next round on.
            if (!othersHeld)
                key.systemReleased = false;
            ++index;
            continue;
        }
        const unsigned neutral = neutralCode(key.code);
        if (isDown(key.code) || (neutral != 0 && isDown(neutral))) {
            ++index;
            continue;
        }
        if (const auto transition = removeAt(index))
            emit(*transition);
    }
}

} // namespace keyhook
