// Starting and ending keyhook.dll's hooks, and what it does with windows that come and go.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <iterator>

#include "hook_library.h"
#include "support/win32_test_helpers.h"

using namespace keyhook_testing;

namespace {

class LifecycleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.loaded()); }
    void TearDown() override { library.end(); }

    // Taps a key; true when `window` got exactly its two events.
    static bool reaches(const EventWindow& window)
    {
        tapKey('K', 0x25);
        return window.eventsThroughMarker() == withMarker({keyEvent('K', true), keyEvent('K', false)});
    }

    LoadedKeyhook library;
};

TEST_F(LifecycleTest, NothingIsPostedAfterEndHook)
{
    EventWindow window;
    ASSERT_NE(library.start(window.get()), FALSE);
    library.end();
    tapKey('Q', 0x10);
    ASSERT_NE(library.start(window.get()), FALSE);
    EXPECT_EQ(window.eventsThroughMarker(), withMarker({}));
}

TEST_F(LifecycleTest, SecondStartHookMovesTheEventsToTheNewWindow)
{
    EventWindow first;
    EventWindow second;
    ASSERT_NE(library.start(first.get()), FALSE);
    const size_t threadsWithOneHook = threadIds().size();
    ASSERT_NE(library.start(second.get()), FALSE);
    EXPECT_EQ(threadIds().size(), threadsWithOneHook);
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

// The stuck-key check and the watchdog run on thread timers of the hook thread; a message hook on
// that thread counts the timer messages it takes from its queue.
std::atomic<int> hookThreadTimerMessages{0};

LRESULT CALLBACK countTimerMessages(int code, WPARAM removal, LPARAM data)
{
    const auto* message = reinterpret_cast<const MSG*>(data);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_TIMER)
        ++hookThreadTimerMessages;
    return CallNextHookEx(nullptr, code, removal, data);
}

TEST_F(LifecycleTest, HooksRunOnAThreadThatEndHookJoinsAndThatRestsWhenNothingIsHeldAndNoInputComes)
{
    // Harmless before any start; no start without a live window.
    library.end();
    library.end();
    EXPECT_FALSE(library.hooking());
    EXPECT_EQ(library.start(nullptr), FALSE);
    EXPECT_FALSE(library.hooking());
    {
        EventWindow gone;
        const HWND handle = gone.get();
        gone.destroy();
        EXPECT_EQ(library.start(handle), FALSE);
        EXPECT_FALSE(library.hooking());
    }

    EventWindow window;
    const std::set<DWORD> before = threadIds();
    ASSERT_NE(library.start(window.get()), FALSE);
    EXPECT_TRUE(library.hooking());
    std::vector<DWORD> added;
    std::ranges::set_difference(threadIds(), before, std::back_inserter(added));
    ASSERT_EQ(added.size(), 1u);
    const HHOOK counter = SetWindowsHookExA(WH_GETMESSAGE, countTimerMessages, nullptr, added[0]);
    ASSERT_NE(counter, nullptr);
    EXPECT_TRUE(reaches(window));

    sendKey('J', 0x24, false);
    EXPECT_TRUE(testing_support::pumpUntil([] { return hookThreadTimerMessages >= 2; }, 10000));
    sendKey('J', 0x24, true);
    std::vector<HookEvent> expected = withMarker({keyEvent('K', true), keyEvent('K', false)});
    expected.push_back(keyEvent('J', true));
    expected.push_back(keyEvent('J', false));
    ASSERT_EQ(window.eventsThroughMarker(), withMarker(expected));
    // Nothing held and no more input: the stuck-key check stops at once, the watchdog's a few
    // seconds later, and then the thread is not woken at all (for longer than two of its periods).
    int seen = hookThreadTimerMessages;
    ULONGLONG quietSince = GetTickCount64();
    EXPECT_TRUE(testing_support::pumpUntil(
        [&] {
            if (hookThreadTimerMessages != seen) {
                seen = hookThreadTimerMessages;
                quietSince = GetTickCount64();
            }
            return GetTickCount64() - quietSince >= 2500;
        },
        10000));
    UnhookWindowsHookEx(counter);

    library.end();
    EXPECT_FALSE(library.hooking());
    EXPECT_EQ(threadIds(), before);
    library.end();
    EXPECT_FALSE(library.hooking());
}

} // namespace
