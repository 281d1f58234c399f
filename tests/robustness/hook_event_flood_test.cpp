// A million hook events with random devices, codes and directions, posted to the real program as
// fast as its queue takes them: it keeps running, shows exactly the keys that the events left
// held, and its memory does not grow.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include <array>
#include <cstdint>
#include <random>

#include "support/installed_program.h"
#include "support/program_start.h"

using namespace testing_support;

namespace {

constexpr int kEvents = 1000000;
// Events posted between two waits for the program to catch up: the backlog stays a few seconds
// of work, and between the waits the program never runs dry, as in a real flood.
constexpr int kDrainEvery = 50000;
// A wheel arrow that stays lit for the whole run, so that no timer changes the picture meanwhile.
constexpr char kLongWheelTime[] = "[System]\r\nWheelInitTime=36000000\r\n";
// Private memory may grow by this much for caches the system fills on first use, not per event.
constexpr SIZE_T kMemoryAllowance = 4 * 1024 * 1024;

// Which keys and pointer slots are held.
struct HeldState {
    std::array<unsigned char, 256> keys{};
    std::array<unsigned char, 5> pointers{};

    // The rectangles that the window must show pressed.
    std::vector<RECT> lit() const
    {
        std::vector<RECT> rects;
        for (unsigned code = 0; code < keys.size(); ++code)
            if (keys[code] && isDrawable(keyRect(code)))
                rects.push_back(toRect(keyRect(code)));
        for (unsigned slot = 0; slot < pointers.size(); ++slot)
            if (pointers[slot])
                rects.push_back(toRect(pointerRect(slot)));
        return rects;
    }
};

// What one event does to the held keys: the protocol of the hook library, applied to the state
// the window must then show.
void apply(HeldState& held, WPARAM device, LPARAM lParam)
{
    const auto bits = static_cast<std::uint32_t>(lParam);
    const unsigned code = bits & 0xFFFF;
    const unsigned char pressed = (bits >> 16) != 0;
    if (device == 0 && code < held.keys.size()) {
        held.keys[code] = pressed;
        if (code == 0xF3)
            held.keys[0xF2] = 0;
    } else if (device == 1 && code < held.pointers.size()) {
        held.pointers[code] = pressed;
        if (pressed && code == 3)
            held.pointers[4] = 0;
        if (pressed && code == 4)
            held.pointers[3] = 0;
    }
}

// Mostly the two devices and codes that exist, with every bit pattern mixed in.
struct EventSource {
    std::mt19937_64 random{0x7A7E10u};

    WPARAM device()
    {
        const unsigned pick = random() % 10;
        return pick < 5 ? 0 : pick < 9 ? 1 : static_cast<WPARAM>(random());
    }
    LPARAM lParam(WPARAM device)
    {
        const std::uint64_t noise = random();
        unsigned code = static_cast<unsigned>(noise & 0xFFFF);
        if (random() % 4 != 0)
            code = device == 1 ? code % 8 : code % 256;
        const unsigned transition = random() % 2 ? static_cast<unsigned>(noise >> 16) & 0xFFFF : 0;
        return static_cast<LPARAM>((noise & 0xFFFFFFFF00000000ull) | (transition << 16) | code);
    }
};

// Posts one event; when the queue is full (Windows holds 10000 messages, Wine has no cap), waits
// for it to take more.
bool postWhenTaken(HWND window, WPARAM device, LPARAM lParam)
{
    const ULONGLONG end = GetTickCount64() + kProgramWait;
    while (!PostMessageA(window, kHookEventMessage, device, lParam)) {
        if (GetLastError() != ERROR_NOT_ENOUGH_QUOTA || GetTickCount64() >= end)
            return false;
        Sleep(1);
    }
    return true;
}

// The process's private (committed) memory. Windows reports it both as PagefileUsage and as
// PrivateUsage; Wine fills only the first.
SIZE_T privateMemory(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0;
    return counters.PagefileUsage;
}

} // namespace

TEST(HookEventFlood, AMillionRandomEventsLeaveExactlyTheHeldKeysShownAndNoGrowth)
{
    InstalledProgram program;
    const HWND window = startShowingBasePicture(program, kLongWheelTime);
    ASSERT_NE(window, nullptr);
    const SIZE_T memoryAtStart = privateMemory(program.process().handle());
    ASSERT_GT(memoryAtStart, 0u);

    HeldState held;
    EventSource source;
    for (int sent = 1; sent <= kEvents; ++sent) {
        const WPARAM device = source.device();
        const LPARAM lParam = source.lParam(device);
        ASSERT_TRUE(postWhenTaken(window, device, lParam)) << "event " << sent << " not taken";
        apply(held, device, lParam);
        if (sent % kDrainEvery == 0) {
            ASSERT_TRUE(program.sync()) << "not caught up after " << sent << " events";
        }
    }
    ASSERT_EQ(program.process().exitCode(), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(program.waitForPicture(programPictureWithLit(held.lit())));

    // Releasing every code and slot there is brings back the bare keyboard.
    for (unsigned code = 0; code < 256; ++code)
        ASSERT_TRUE(PostMessageA(window, kHookEventMessage, 0, code));
    for (unsigned slot = 0; slot < 5; ++slot)
        ASSERT_TRUE(PostMessageA(window, kHookEventMessage, 1, slot));
    ASSERT_TRUE(program.sync());
    EXPECT_TRUE(program.waitForPicture(programBasePicture()));

    const SIZE_T memoryAfter = privateMemory(program.process().handle());
    EXPECT_LE(memoryAfter, memoryAtStart + kMemoryAllowance)
        << "at start " << memoryAtStart << ", after the flood " << memoryAfter;
    EXPECT_TRUE(program.closeCleanly());
}
