// Starting and ending keyhook.dll's hooks, and what it does with windows that come and go.
#include <gtest/gtest.h>

#include <atomic>

#include "hook_library.h"
#include "support/win32_test_helpers.h"

using namespace keyhook_testing;

namespace {

class LifecycleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.loaded()); }
    void TearDown() override { library.end(); }

    // Taps a key and the marker; true when `window` got exactly those four events.
    static bool reaches(const EventWindow& window)
    {
        sendKey('K', 0x25, false);
        sendKey('K', 0x25, true);
        sendMarker();
        std::vector<HookEvent> expected{keyEvent('K', true), keyEvent('K', false)};
        const auto marker = markerEvents();
        expected.insert(expected.end(), marker.begin(), marker.end());
        return window.waitForEvents(expected.size()) && window.events() == expected;
    }

    HookLibrary library;
};

TEST_F(LifecycleTest, EndHookIsHarmlessWithoutAHookAndWhenCalledTwice)
{
    EXPECT_FALSE(library.hooking());
    library.end();
    library.end();
    EXPECT_FALSE(library.hooking());
}

TEST_F(LifecycleTest, StartHookRunsTheHooksOnAThreadThatEndHookJoins)
{
    EventWindow window;
    const std::set<DWORD> before = threadIds();
    ASSERT_NE(library.start(window.get()), FALSE);
    EXPECT_TRUE(library.hooking());
    const std::set<DWORD> during = threadIds();
    EXPECT_EQ(during.size(), before.size() + 1);
    EXPECT_TRUE(reaches(window));

    library.end();
    EXPECT_FALSE(library.hooking());
    EXPECT_EQ(threadIds(), before);
    library.end();
    EXPECT_FALSE(library.hooking());
}

TEST_F(LifecycleTest, StartHookRefusesNoWindowAndADestroyedOne)
{
    EXPECT_EQ(library.start(nullptr), FALSE);
    EXPECT_FALSE(library.hooking());
    EventWindow window;
    const HWND gone = window.get();
    window.destroy();
    EXPECT_EQ(library.start(gone), FALSE);
    EXPECT_FALSE(library.hooking());
}

TEST_F(LifecycleTest, NothingIsPostedAfterEndHook)
{
    EventWindow window;
    ASSERT_NE(library.start(window.get()), FALSE);
    library.end();
    sendKey('Q', 0x10, false);
    sendKey('Q', 0x10, true);
    ASSERT_NE(library.start(window.get()), FALSE);
    sendMarker();
    ASSERT_TRUE(window.waitForEvents(2));
    EXPECT_EQ(window.events(), markerEvents());
}

TEST_F(LifecycleTest, SecondStartHookMovesTheEventsToTheNewWindow)
{
    EventWindow first;
    EventWindow second;
    ASSERT_NE(library.start(first.get()), FALSE);
    const int threadsWithOneHook = threadCount();
    ASSERT_NE(library.start(second.get()), FALSE);
    EXPECT_EQ(threadCount(), threadsWithOneHook);
    EXPECT_TRUE(reaches(second));
    EXPECT_TRUE(first.events().empty());
}

TEST_F(LifecycleTest, AWindowThatIsGoneCostsOnlyItsEvents)
{
    EventWindow window;
    ASSERT_NE(library.start(window.get()), FALSE);
    sendKey('W', 0x11, false);
    window.destroy();
    sendKey('W', 0x11, true);
    mouse_event(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA, 0);
    EXPECT_TRUE(library.hooking());
    library.end();
    EXPECT_FALSE(library.hooking());

    EventWindow next;
    ASSERT_NE(library.start(next.get()), FALSE);
    EXPECT_TRUE(reaches(next));
}

// The stuck-key check runs on a thread timer of the hook thread; a message hook on that thread
// counts the timer messages it takes from its queue.
std::atomic<int> hookThreadTimerMessages{0};

LRESULT CALLBACK countTimerMessages(int code, WPARAM removal, LPARAM data)
{
    const auto* message = reinterpret_cast<const MSG*>(data);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_TIMER)
        ++hookThreadTimerMessages;
    return CallNextHookEx(nullptr, code, removal, data);
}

TEST_F(LifecycleTest, StuckKeyCheckRunsOnlyWhileSomethingIsHeld)
{
    EventWindow window;
    const std::set<DWORD> before = threadIds();
    ASSERT_NE(library.start(window.get()), FALSE);
    DWORD hookThread = 0;
    for (DWORD id : threadIds()) {
        if (!before.contains(id))
            hookThread = id;
    }
    ASSERT_NE(hookThread, 0u);
    ASSERT_NE(hookThread, GetCurrentThreadId());
    const HHOOK counter = SetWindowsHookExA(WH_GETMESSAGE, countTimerMessages, nullptr, hookThread);
    ASSERT_NE(counter, nullptr);

    sendKey('J', 0x24, false);
    EXPECT_TRUE(testing_support::pumpUntil([] { return hookThreadTimerMessages >= 2; }, 10000));
    sendKey('J', 0x24, true);
    sendMarker();
    ASSERT_TRUE(window.waitForEvents(4));
    const int afterRelease = hookThreadTimerMessages;
    // Several periods of the check with nothing held.
    testing_support::pumpMessages(1500);
    EXPECT_EQ(hookThreadTimerMessages, afterRelease);
    UnhookWindowsHookEx(counter);
}

} // namespace
