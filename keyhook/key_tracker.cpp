#include "key_tracker.h"

namespace keyhook {

namespace {

// The system's virtual-key codes of the modifiers, kept here so that the tracker needs no system
// header and builds anywhere.
constexpr unsigned kShift = 0x10;
constexpr unsigned kControl = 0x11;
constexpr unsigned kAlt = 0x12;
constexpr unsigned kLeftShift = 0xA0;
constexpr unsigned kRightShift = 0xA1;
constexpr unsigned kLeftControl = 0xA2;
constexpr unsigned kRightControl = 0xA3;
constexpr unsigned kLeftAlt = 0xA4;
constexpr unsigned kRightAlt = 0xA5;

// Set in the scan code of the events that the system makes up itself, e.g. the Shift release
// it sends before a keypad key so that Shift+Numpad7 arrives as Home.
constexpr unsigned kSimulatedScanBit = 0x200;
constexpr unsigned kLeftShiftScan = 0x2A;
constexpr unsigned kRightShiftScan = 0x36;
// Keys injected without a scan code are told apart by their code instead.
constexpr unsigned kScanlessIdentity = 0x10000;

bool isShift(unsigned code) { return code == kLeftShift || code == kRightShift; }

unsigned identityOf(const KeyInput& input, unsigned code)
{
    const unsigned scan = input.scanCode & 0xFF;
    if (scan == 0)
        return kScanlessIdentity | code;
    return (input.extended ? 0x100u : 0u) | scan;
}

} // namespace

unsigned sidedCode(unsigned vk, unsigned scanCode, bool extended)
{
    switch (vk) {
    case kShift:
        return (scanCode & 0xFF) == kRightShiftScan ? kRightShift : kLeftShift;
    case kControl:
        return extended ? kRightControl : kLeftControl;
    case kAlt:
        return extended ? kRightAlt : kLeftAlt;
    default:
        return vk;
    }
}

unsigned neutralCode(unsigned code)
{
    switch (code) {
    case kLeftShift:
    case kRightShift:
        return kShift;
    case kLeftControl:
    case kRightControl:
        return kControl;
    case kLeftAlt:
    case kRightAlt:
        return kAlt;
    default:
        return 0;
    }
}

std::optional<KeyTransition> KeyTracker::onKey(const KeyInput& input)
{
    if (input.vk == 0 || input.vk >= 0xFF)
        return std::nullopt;
    const unsigned code = sidedCode(input.vk, input.scanCode, input.extended);
    if (isShift(code) && (input.scanCode & kSimulatedScanBit)) {
        onFakeShift(code, input.up);
        return std::nullopt;
    }
    // E0 2A is the keyboard's own fake Shift around the grey navigation keys; no physical Shift
    // carries the extended flag with that scan code.
    if (isShift(code) && input.extended && (input.scanCode & 0xFF) == kLeftShiftScan)
        return std::nullopt;
    const unsigned identity = identityOf(input, code);
    if (input.up)
        return release(identity, code, (identity & kScanlessIdentity) != 0);
    return press(identity, code);
}

std::optional<KeyTransition> KeyTracker::onHeldBySystem(unsigned code)
{
    if (code == 0 || code >= 0xFF || isHeld(code) || heldCount == kMaxHeld)
        return std::nullopt;
    held[heldCount++] = HeldKey{kScanlessIdentity | code, code, false, true};
    return KeyTransition{code, true};
}

std::optional<KeyTransition> KeyTracker::press(unsigned identity, unsigned code)
{
    if (const int index = find(identity); index >= 0) {
        // Auto-repeat, or the system pressing Shift again after a keypad key.
        held[index].systemReleased = false;
        return std::nullopt;
    }
    if (const int index = findFoundHeld(code); index >= 0) {
        held[index].identity = identity;
        held[index].foundHeld = false;
        return std::nullopt;
    }
    // A key that cannot be followed to its release is better not lit at all.
    if (heldCount == kMaxHeld)
        return std::nullopt;
    const bool alreadyLit = holderCount(code) != 0;
    held[heldCount++] = HeldKey{identity, code, false, false};
    if (alreadyLit)
        return std::nullopt;
    return KeyTransition{code, true};
}

std::optional<KeyTransition> KeyTracker::release(unsigned identity, unsigned code, bool scanless)
{
    int index = find(identity);
    if (index < 0)
        index = findScanless(code, scanless);
    if (index < 0)
        return std::nullopt;
    return removeAt(static_cast<unsigned>(index));
}

void KeyTracker::onFakeShift(unsigned code, bool up)
{
    for (unsigned index = 0; index < heldCount; ++index) {
        if (held[index].code == code)
            held[index].systemReleased = up;
    }
}

std::optional<KeyTransition> KeyTracker::removeAt(unsigned index)
{
    const unsigned code = held[index].code;
    // Kept in order of pressing, so that the stuck-key check releases in that order too.
    for (unsigned next = index + 1; next < heldCount; ++next)
        held[next - 1] = held[next];
    --heldCount;
    if (holderCount(code) != 0)
        return std::nullopt;
    return KeyTransition{code, false};
}

int KeyTracker::find(unsigned identity) const
{
    for (unsigned index = 0; index < heldCount; ++index) {
        if (held[index].identity == identity)
            return static_cast<int>(index);
    }
    return -1;
}

int KeyTracker::findScanless(unsigned code, bool anyIdentity) const
{
    for (unsigned index = 0; index < heldCount; ++index) {
        const bool scanless = (held[index].identity & kScanlessIdentity) != 0;
        if (held[index].code == code && (anyIdentity || scanless))
            return static_cast<int>(index);
    }
    return -1;
}

int KeyTracker::findFoundHeld(unsigned code) const
{
    for (unsigned index = 0; index < heldCount; ++index) {
        if (held[index].foundHeld && held[index].code == code)
            return static_cast<int>(index);
    }
    return -1;
}

unsigned KeyTracker::holderCount(unsigned code) const
{
    unsigned count = 0;
    for (unsigned index = 0; index < heldCount; ++index)
        count += held[index].code == code ? 1 : 0;
    return count;
}

bool KeyTracker::anyHeldByUser() const
{
    for (unsigned index = 0; index < heldCount; ++index) {
        if (!held[index].systemReleased)
            return true;
    }
    return false;
}

} // namespace keyhook
