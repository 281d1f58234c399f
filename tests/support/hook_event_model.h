#pragma once
// What the hook library's events do to the keys that the window must show, for tests that post
// many of them to the real program and compare its picture with the model's.
#include <windows.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace testing_support {

// A rectangle of the layout at 96, 120, 144, 168 or 192 dpi, each edge rounded on its own to the
// nearest pixel, from a table worked out apart from the program.
RECT scaledRect(const RECT& rect, UINT dpi);

// Which keys and pointer slots are held.
struct HeldState {
    std::array<unsigned char, 256> keys{};
    std::array<unsigned char, 5> pointers{};

    // The rectangles that the window must show pressed, at the display scale.
    std::vector<RECT> lit(UINT dpi = 96) const;
};

// What one event does to the held keys: the protocol of the hook library.
void apply(HeldState& held, WPARAM device, LPARAM lParam);

// Mostly the two devices and codes that exist, with every bit pattern mixed in; never the right Ctrl
// key, so that the keys are never paused.
struct EventSource {
    std::mt19937_64 random{0x7A7E10u};

    WPARAM device();
    LPARAM lParam(WPARAM device);
};

// Posts one event; when the queue is full (Windows holds 10000 messages, Wine has no cap), waits
// for it to take more.
bool postWhenTaken(HWND window, WPARAM device, LPARAM lParam);

} // namespace testing_support
