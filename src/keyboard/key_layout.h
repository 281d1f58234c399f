#pragma once
#include <array>

// A rectangle in picture pixels, origin at the top-left corner. It covers columns x..x+width-1
// and rows y..y+height-1.
struct KeyRect {
    int x;
    int y;
    int width;
    int height;
};

constexpr bool isDrawable(const KeyRect& rect) { return rect.width > 0 && rect.height > 0; }

// Where each virtual-key code (0..255) and each PointerSlot (0..4) is drawn in the two keyboard
// pictures. Codes that the pictures do not show have the empty rectangle.
const KeyRect& keyRect(unsigned code);
const KeyRect& pointerRect(unsigned slot);

constexpr int kLayoutWidth = 1000;
constexpr int kLayoutHeight = 242;
