// keyhook.dll when the system takes its hooks away: they are removed here as Windows removes
// them, with UnhookWindowsHookEx on their handles from another thread, without a word to the
// library.
#include <gtest/gtest.h>

#include <functional>

#include "hook_library.h"
#include "installed_hooks.h"
#include "watchdog_rule.h"

using namespace keyhook_testing;

namespace {

bool reinstalledSince(int installs)
{
    return testing_support::pumpUntil([&] { return hookInstallCount() >= installs + 2; }, 10000);
}

// Wine hands raw input to no window while no window is in front, a state that programs of the
// same session leave behind when their windows close in front without a window manager. A user's
// desktop always has one in front, its own at least.
bool desktopInFront()
{
    if (!GetForegroundWindow())
        SetForegroundWindow(GetDesktopWindow());
    return testing_support::pumpUntil([] { return GetForegroundWindow() != nullptr; }, 10000);
}

// Input within the allowance after an event that the hooks saw may be taken for that event's:
// waits until the latest input is older than that.
void letTheLatestInputAge()
{
    testing_support::pumpUntil(
        [] {
            LASTINPUTINFO latest{sizeof latest, 0};
            return GetLastInputInfo(&latest) && GetTickCount() - latest.dwTime > keyhook::kHookCallAllowance;
        },
        10000);
}

// The hooks go after `rest` without input; the first key after it is missed, and the hooks are
// back for the next ones.
std::vector<HookEvent> missedThenSeen(DWORD rest)
{
    testing_support::pumpMessages(rest);
    const int installs = hookInstallCount();
    EXPECT_TRUE(removeLatestHooks());
    tapKey('M', 0x32);
    EXPECT_TRUE(reinstalledSince(installs));
    tapKey('N', 0x31);
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    sendMouse(MOUSEEVENTF_LEFTUP);
    return std::vector{
        keyEvent('N', true), keyEvent('N', false), pointerEvent(0, true), pointerEvent(0, false)};
}

struct Row {
    const char* name;
    // Runs the case; what the window is to have received, through the marker.
    std::function<std::vector<HookEvent>(const EventWindow&)> run;
};

const Row rows[]{
    {"hooks removed: a key and a button pressed after the first missed input light",
        [](const EventWindow&) { return missedThenSeen(0); }},
    // Long enough for the check to have stopped.
    {"hooks removed at rest: the next key press brings them back",
        [](const EventWindow&) {
            return missedThenSeen(keyhook::kWatchdogRest + 2 * keyhook::kWatchdogPeriod);
        }},
    {"no input after the start: the first install is not made again",
        [](const EventWindow&) {
            const int installs = hookInstallCount();
            testing_support::pumpMessages(2500);
            EXPECT_EQ(hookInstallCount(), installs);
            return std::vector<HookEvent>{};
        }},
    {"a key and a button pressed while the hooks were gone and held at the reinstall light",
        [](const EventWindow& window) {
            const int installs = hookInstallCount();
            EXPECT_TRUE(removeLatestHooks());
            sendKey('P', 0x19, false);
            sendMouse(MOUSEEVENTF_RIGHTDOWN);
            EXPECT_TRUE(reinstalledSince(installs));
            EXPECT_TRUE(window.waitForEvents(2));
            sendKey('P', 0x19, true);
            sendMouse(MOUSEEVENTF_RIGHTUP);
            return std::vector{
                keyEvent('P', true), pointerEvent(1, true), keyEvent('P', false), pointerEvent(1, false)};
        }},
    {"hooks removed while a key is held: the key does not stay lit",
        [](const EventWindow& window) {
            sendKey('R', 0x13, false);
            EXPECT_TRUE(window.waitForEvents(1));
            letTheLatestInputAge();
            const int installs = hookInstallCount();
            EXPECT_TRUE(removeLatestHooks());
            sendKey('R', 0x13, true);
            EXPECT_TRUE(reinstalledSince(installs));
            return std::vector{keyEvent('R', true), keyEvent('R', false)};
        }},
    {"no transition is doubled or lost across a reinstall",
        [](const EventWindow& window) {
            // H is lit and held throughout; P goes down while the hooks are gone.
            sendKey('H', 0x23, false);
            EXPECT_TRUE(window.waitForEvents(1));
            letTheLatestInputAge();
            const int installs = hookInstallCount();
            EXPECT_TRUE(removeLatestHooks());
            sendKey('P', 0x19, false);
            EXPECT_TRUE(reinstalledSince(installs));
            sendKey('H', 0x23, true);
            sendKey('P', 0x19, true);
            return std::vector{
                keyEvent('H', true), keyEvent('P', true), keyEvent('H', false), keyEvent('P', false)};
        }},
    {"nothing is reinstalled while the hooks are intact",
        [](const EventWindow&) {
            const int installs = hookInstallCount();
            std::vector<HookEvent> expected;
            const ULONGLONG end = GetTickCount64() + 3000;
            while (GetTickCount64() < end) {
                tapKey('T', 0x14);
                sendMouse(MOUSEEVENTF_MOVE);
                expected.push_back(keyEvent('T', true));
                expected.push_back(keyEvent('T', false));
                testing_support::pumpMessages(100);
            }
            // Moves alone, back and forth (the system drops one that goes nowhere): the hooks
            // answer them first, and they still count as seen.
            for (int move = 0; move < 10; ++move) {
                INPUT nudge{};
                nudge.type = INPUT_MOUSE;
                nudge.mi.dx = move % 2 ? -1 : 1;
                nudge.mi.dwFlags = MOUSEEVENTF_MOVE;
                SendInput(1, &nudge, sizeof nudge);
                testing_support::pumpMessages(100);
            }
            // Input this frequent is always too fresh to judge: the watchdog judges it once it stops.
            testing_support::pumpMessages(2 * keyhook::kWatchdogPeriod);
            EXPECT_EQ(hookInstallCount(), installs);
            return expected;
        }},
};

TEST(HookWatchdog, PutsBackHooksThatTheSystemRemoved)
{
    LoadedKeyhook library;
    ASSERT_TRUE(library.loaded());
    ASSERT_TRUE(watchHookInstalls(library.handle()));
    ASSERT_TRUE(desktopInFront());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EventWindow window;
        ASSERT_NE(library.start(window.get()), FALSE);
        const std::vector<HookEvent> expected = row.run(window);
        EXPECT_EQ(window.eventsThroughMarker(), withMarker(expected));
        library.end();
    }
}

} // namespace
