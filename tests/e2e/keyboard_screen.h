#pragma once
// What the keyboard window should show: the base picture built into the program, with the
// rectangles of held keys taken from its pressed picture; and real input to hold keys with.
#include <windows.h>

#include <initializer_list>

#include "support/window_pixels.h"

namespace e2e {

// Where keys and mouse parts are drawn, in client pixels (left, top, right, bottom).
constexpr RECT kKeyA{71, 126, 71 + 38, 126 + 38};
constexpr RECT kLeftShift{0, 165, 89, 165 + 38};
constexpr RECT kRightCtrl{550, 204, 550 + 49, 204 + 38};
constexpr RECT kLeftButton{904, 0, 904 + 39, 54};
constexpr RECT kWheelUp{940, 54, 940 + 19, 54 + 31};
constexpr RECT kWheelDown{940, 85, 940 + 19, 85 + 31};
constexpr RECT kWholeClient{0, 0, 1000, 242};

// Bitmap resources 103 (every key up) and 105 (every key down) of the built program, read from
// the executable file; empty when they cannot be read.
const testing_support::Pixels& basePicture();
const testing_support::Pixels& pressedPicture();
// The base picture with the given rectangles taken from the pressed picture.
testing_support::Pixels pictureWithLit(std::initializer_list<RECT> lit);

// Waits until the window's client area shows the expected pixels inside the area; the number of
// pixels that still differed at the last look (0 on success).
int differencesAfterWaiting(
    HWND window, const testing_support::Pixels& expected, const RECT& area = kWholeClient);

// A key held down through SendInput until released or destroyed.
class HeldKey {
public:
    HeldKey(WORD virtualKey, WORD scanCode, bool extended = false);
    ~HeldKey() { release(); }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;
    void release();

private:
    void send(bool up) const;
    WORD virtualKey;
    WORD scanCode;
    bool extended;
    bool down = true;
};

// The left mouse button held down through SendInput until released or destroyed.
class HeldLeftButton {
public:
    HeldLeftButton();
    ~HeldLeftButton() { release(); }
    HeldLeftButton(const HeldLeftButton&) = delete;
    HeldLeftButton& operator=(const HeldLeftButton&) = delete;
    void release();

private:
    bool down = true;
};

// One wheel notch away from the user (up) or towards the user (down).
void turnWheel(bool up);
// Puts the mouse pointer on a screen corner outside the window, so that buttons and the wheel
// act on the bare desktop.
void parkPointerAwayFrom(HWND window);

} // namespace e2e
