// The key tracker's event stream: any mix of presses, releases, keys the system holds unseen and
// stuck-key rounds, as the hook may see them. What it reports must make sense to the program: a
// press only for a key not lit, a release only for a lit one, never more lit keys than it can
// hold, no lit key it does not know of, and none left lit once the system holds nothing.
#include <cstdint>
#include <span>

#include "broken_promise.h"
#include "key_tracker.h"

using keyhook::KeyInput;
using keyhook::KeyTracker;
using keyhook::KeyTransition;

namespace {

// What the program shows, built from the transitions alone.
struct Lit {
    bool byCode[256] = {};
    unsigned count = 0;

    void apply(const KeyTransition& transition)
    {
        require(transition.code > 0 && transition.code < 0xFF, "a key code");
        require(byCode[transition.code] != transition.pressed,
            "a press for an unlit key, a release for a lit one");
        byCode[transition.code] = transition.pressed;
        count += transition.pressed ? 1 : -1;
        require(count <= KeyTracker::kMaxHeld, "no more lit keys than it holds");
    }
    void apply(const std::optional<KeyTransition>& transition)
    {
        if (transition)
            apply(*transition);
    }
};

// Codes and scan codes drawn from a few that matter (the modifiers, their scan codes, the
// system's simulated bit), so that the fuzzer meets the interesting cases often.
unsigned code(std::uint8_t byte)
{
    constexpr unsigned kCodes[] = {0x10, 0x11, 0x12, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x24, 0x67, 0x41};
    return byte & 0x80 ? kCodes[byte % std::size(kCodes)] : byte * 2 + (byte >> 6);
}
unsigned scan(std::uint8_t byte)
{
    constexpr unsigned kScans[] = {0, 0x2A, 0x36, 0x22A, 0x236, 0x1D, 0x38, 0x47};
    return byte & 0x80 ? kScans[byte % std::size(kScans)] : byte | (byte & 0x40 ? 0x200 : 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    KeyTracker tracker;
    Lit lit;
    const auto emit = [&](const KeyTransition& transition) { lit.apply(transition); };
    const std::span<const std::uint8_t> bytes(data, size);
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        const std::uint8_t what = bytes[at];
        switch (what % 4) {
        case 0:
        case 1:
            lit.apply(tracker.onKey(
                KeyInput{code(bytes[at + 1]), scan(bytes[at + 2]), (what & 4) != 0, what % 4 == 1}));
            break;
        case 2:
            lit.apply(tracker.onHeldBySystem(code(bytes[at + 1])));
            break;
        case 3: { // a stuck-key round against a system that holds codes with these bits
            const std::uint32_t held = bytes[at + 1] | bytes[at + 2] << 8 | bytes[at + 3] << 16;
            if (tracker.needsPolling())
                tracker.pollReleases([&](unsigned vk) { return (held >> (vk % 24) & 1) != 0; }, emit);
            break;
        }
        }
        const unsigned touched = code(bytes[at + 1]);
        require(tracker.isHeld(touched) == (touched < 256 && lit.byCode[touched]), "it holds the keys lit");
        require(tracker.needsPolling() == (lit.count > 0), "polled exactly while a key is lit");
    }
    for (unsigned vk = 0; vk < 256; ++vk)
        require(tracker.isHeld(vk) == lit.byCode[vk], "it holds the keys lit");
    // Once the system holds nothing, a few rounds let every key go.
    for (int round = 0; round < 3; ++round)
        tracker.pollReleases([](unsigned) { return false; }, emit);
    require(lit.count == 0 && !tracker.needsPolling(), "no key left lit");
    return 0;
}
