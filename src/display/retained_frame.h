#pragma once
#include <windows.h>

#include <array>

#include "display/input_state.h"
#include "keyboard/key_layout.h"

// The picture as the window shows it, kept off screen at the window's size: the base picture with
// every held key and slot cut through to the pressed picture. A change of state redraws only the
// rectangles that changed, and every paint copies from here.
class RetainedFrame {
public:
    RetainedFrame() = default;
    RetainedFrame(const RetainedFrame&) = delete;
    RetainedFrame& operator=(const RetainedFrame&) = delete;
    ~RetainedFrame() { release(); }

    // Builds the whole frame for the current state from the two pictures, at their scale. False
    // when a picture is missing or the frame cannot be made; the frame is then empty.
    bool compose();
    // Redraws the rectangle of every key and slot whose state differs from what the frame shows.
    void update();
    // Asks `window` to repaint the rectangles that update() would redraw: all of it while the
    // frame is empty. A rectangle already waiting for the paint is not asked for again.
    void invalidateChanges(HWND window);
    // Copies the frame's part of `area` to the same place of `target`.
    void copyTo(HDC target, const RECT& area) const;

    bool ready() const { return context != nullptr; }
    void release();

private:
    static constexpr unsigned kRectCount = 256 + PointerSlotCount;
    unsigned char stateOf(unsigned index) const;
    void draw(HDC pictures, unsigned index);

    HDC context = nullptr;
    HGDIOBJ originalBitmap = nullptr;
    int width = 0;
    int height = 0;
    // What the frame shows for each key code, then each pointer slot, and where, at its scale.
    std::array<unsigned char, kRectCount> shown{};
    std::array<KeyRect, kRectCount> rects{};
    // Rectangles invalidated since the frame was last brought up to date.
    std::array<bool, kRectCount> invalidated{};
};
