#include "keyboard/key_layout.h"

#include <initializer_list>

namespace {

struct KeyEntry {
    unsigned code;
    KeyRect rect;
};

constexpr std::array<KeyRect, 256> buildKeyTable(std::initializer_list<KeyEntry> entries)
{
    std::array<KeyRect, 256> table{};
    for (const auto& entry : entries)
        table[entry.code] = entry.rect;
    return table;
}

// A Japanese 106/109-key keyboard in 1000 x 242 pixels. Rows start at y = 0 (Esc and function
// keys), 48, 87, 126, 165 and 204; the navigation block starts at x = 610, the keypad at x = 738.
// Modifiers appear only under their left/right codes; 0x14 and 0xF0 share the CapsLk key.
constexpr std::array<KeyRect, 256> kKeyTable = buildKeyTable({
    {0x08, {560, 48, 38, 38}},  // VK_BACK
    {0x09, {0, 87, 59, 38}},    // VK_TAB
    {0x0D, {546, 87, 53, 77}},  // VK_RETURN
    {0x13, {690, 0, 38, 38}},   // VK_PAUSE
    {0x14, {0, 126, 70, 38}},   // VK_CAPITAL
    {0x1B, {0, 0, 38, 38}},     // VK_ESCAPE
    {0x1C, {320, 204, 59, 38}}, // VK_CONVERT
    {0x1D, {160, 204, 59, 38}}, // VK_NONCONVERT
    {0x20, {220, 204, 99, 38}}, // VK_SPACE
    {0x21, {690, 48, 38, 38}},  // VK_PRIOR
    {0x22, {690, 87, 38, 38}},  // VK_NEXT
    {0x23, {650, 87, 38, 38}},  // VK_END
    {0x24, {650, 48, 38, 38}},  // VK_HOME
    {0x25, {610, 204, 38, 38}}, // VK_LEFT
    {0x26, {650, 165, 38, 38}}, // VK_UP
    {0x27, {690, 204, 38, 38}}, // VK_RIGHT
    {0x28, {650, 204, 38, 38}}, // VK_DOWN
    {0x2C, {610, 0, 38, 38}},   // VK_SNAPSHOT
    {0x2D, {610, 48, 38, 38}},  // VK_INSERT
    {0x2E, {610, 87, 38, 38}},  // VK_DELETE
    {0x30, {400, 48, 38, 38}},  // 0 わ
    {0x31, {40, 48, 38, 38}},   // 1 ぬ
    {0x32, {80, 48, 38, 38}},   // 2 ふ
    {0x33, {120, 48, 38, 38}},  // 3 あ
    {0x34, {160, 48, 38, 38}},  // 4 う
    {0x35, {200, 48, 38, 38}},  // 5 え
    {0x36, {240, 48, 38, 38}},  // 6 お
    {0x37, {280, 48, 38, 38}},  // 7 や
    {0x38, {320, 48, 38, 38}},  // 8 ゆ
    {0x39, {360, 48, 38, 38}},  // 9 よ
    {0x41, {71, 126, 38, 38}},  // A ち
    {0x42, {250, 165, 38, 38}}, // B こ
    {0x43, {170, 165, 38, 38}}, // C そ
    {0x44, {151, 126, 38, 38}}, // D し
    {0x45, {140, 87, 38, 38}},  // E い
    {0x46, {191, 126, 38, 38}}, // F は
    {0x47, {231, 126, 38, 38}}, // G き
    {0x48, {271, 126, 38, 38}}, // H く
    {0x49, {340, 87, 38, 38}},  // I に
    {0x4A, {311, 126, 38, 38}}, // J ま
    {0x4B, {351, 126, 38, 38}}, // K の
    {0x4C, {391, 126, 38, 38}}, // L り
    {0x4D, {330, 165, 38, 38}}, // M も
    {0x4E, {290, 165, 38, 38}}, // N み
    {0x4F, {380, 87, 38, 38}},  // O ら
    {0x50, {420, 87, 38, 38}},  // P せ
    {0x51, {60, 87, 38, 38}},   // Q た
    {0x52, {180, 87, 38, 38}},  // R す
    {0x53, {111, 126, 38, 38}}, // S と
    {0x54, {220, 87, 38, 38}},  // T か
    {0x55, {300, 87, 38, 38}},  // U な
    {0x56, {210, 165, 38, 38}}, // V ひ
    {0x57, {100, 87, 38, 38}},  // W て
    {0x58, {130, 165, 38, 38}}, // X さ
    {0x59, {260, 87, 38, 38}},  // Y ん
    {0x5A, {90, 165, 38, 38}},  // Z つ
    {0x5B, {60, 204, 48, 38}},  // VK_LWIN
    {0x5C, {470, 204, 38, 38}}, // VK_RWIN
    {0x5D, {510, 204, 38, 38}}, // VK_APPS
    {0x60, {738, 204, 79, 38}}, // VK_NUMPAD0
    {0x61, {738, 165, 38, 38}}, // VK_NUMPAD1
    {0x62, {778, 165, 38, 38}}, // VK_NUMPAD2
    {0x63, {818, 165, 38, 38}}, // VK_NUMPAD3
    {0x64, {738, 126, 38, 38}}, // VK_NUMPAD4
    {0x65, {778, 126, 38, 38}}, // VK_NUMPAD5
    {0x66, {818, 126, 38, 38}}, // VK_NUMPAD6
    {0x67, {738, 87, 38, 38}},  // VK_NUMPAD7
    {0x68, {778, 87, 38, 38}},  // VK_NUMPAD8
    {0x69, {818, 87, 38, 38}},  // VK_NUMPAD9
    {0x6A, {818, 48, 38, 38}},  // VK_MULTIPLY
    {0x6B, {858, 87, 38, 77}},  // VK_ADD
    {0x6D, {858, 48, 38, 38}},  // VK_SUBTRACT
    {0x6E, {818, 204, 38, 38}}, // VK_DECIMAL
    {0x6F, {778, 48, 38, 38}},  // VK_DIVIDE
    {0x70, {80, 0, 38, 38}},    // VK_F1
    {0x71, {120, 0, 38, 38}},   // VK_F2
    {0x72, {160, 0, 38, 38}},   // VK_F3
    {0x73, {200, 0, 38, 38}},   // VK_F4
    {0x74, {260, 0, 38, 38}},   // VK_F5
    {0x75, {300, 0, 38, 38}},   // VK_F6
    {0x76, {340, 0, 38, 38}},   // VK_F7
    {0x77, {380, 0, 38, 38}},   // VK_F8
    {0x78, {440, 0, 38, 38}},   // VK_F9
    {0x79, {480, 0, 38, 38}},   // VK_F10
    {0x7A, {520, 0, 38, 38}},   // VK_F11
    {0x7B, {560, 0, 38, 38}},   // VK_F12
    {0x90, {738, 48, 38, 38}},  // VK_NUMLOCK
    {0x91, {650, 0, 38, 38}},   // VK_SCROLL
    {0xA0, {0, 165, 89, 38}},   // VK_LSHIFT
    {0xA1, {530, 165, 69, 38}}, // VK_RSHIFT
    {0xA2, {0, 204, 59, 38}},   // VK_LCONTROL
    {0xA3, {550, 204, 49, 38}}, // VK_RCONTROL
    {0xA4, {110, 204, 49, 38}}, // VK_LMENU
    {0xA5, {430, 204, 38, 38}}, // VK_RMENU
    {0xBA, {471, 126, 38, 38}}, // VK_OEM_1
    {0xBB, {431, 126, 38, 38}}, // VK_OEM_PLUS
    {0xBC, {370, 165, 38, 38}}, // VK_OEM_COMMA
    {0xBD, {440, 48, 38, 38}},  // VK_OEM_MINUS
    {0xBE, {410, 165, 38, 38}}, // VK_OEM_PERIOD
    {0xBF, {450, 165, 38, 38}}, // VK_OEM_2
    {0xC0, {460, 87, 38, 38}},  // VK_OEM_3
    {0xDB, {500, 87, 38, 38}},  // VK_OEM_4
    {0xDC, {520, 48, 38, 38}},  // VK_OEM_5
    {0xDD, {511, 126, 38, 38}}, // VK_OEM_6
    {0xDE, {480, 48, 38, 38}},  // VK_OEM_7
    {0xE2, {490, 165, 38, 38}}, // VK_OEM_102
    {0xF0, {0, 126, 70, 38}},   // VK_OEM_ATTN
    {0xF2, {380, 204, 49, 38}}, // VK_OEM_COPY
    {0xF4, {0, 48, 38, 38}},    // VK_OEM_ENLW
});

// The mouse at the right end: left button, right button, wheel, and the two halves of the wheel
// arrow that only the pressed picture shows.
constexpr std::array<KeyRect, 5> kPointerTable{{
    {904, 0, 39, 54},
    {956, 0, 39, 54},
    {943, 0, 13, 54},
    {940, 54, 19, 31},
    {940, 85, 19, 31},
}};

constexpr KeyRect kNoRect{};

} // namespace

const KeyRect& keyRect(unsigned code) { return code < kKeyTable.size() ? kKeyTable[code] : kNoRect; }

const KeyRect& pointerRect(unsigned slot)
{
    return slot < kPointerTable.size() ? kPointerTable[slot] : kNoRect;
}
