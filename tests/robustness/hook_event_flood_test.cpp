// A million hook events with random devices, codes and directions, posted to the real program as
// fast as its queue takes them: it keeps running, shows exactly the keys that the events left
// held, and its memory does not grow.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include "support/hook_event_model.h"
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
