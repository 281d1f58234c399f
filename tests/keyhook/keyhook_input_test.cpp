// keyhook.dll under real input: SendInput and mouse_event reach its low-level hooks as a
// keyboard or mouse driver's events would.
#include <gtest/gtest.h>

#include "common/owned_handle.h"
#include "hook_library.h"

using namespace keyhook_testing;

namespace {

class HookedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(library.loaded());
        ASSERT_NE(window.get(), nullptr);
        ASSERT_NE(library.start(window.get()), FALSE);
    }
    void TearDown() override { library.end(); }

    LoadedKeyhook library;
    EventWindow window;
};

TEST_F(HookedTest, ModifiersAreReportedWithTheirSidesAlsoWhenSentSideNeutral)
{
    // Wine hands the side-neutral ones to the hooks as 0x10, 0x11 and 0x12: the side comes from the
    // scan code and the extended flag.
    const struct {
        WORD sided, neutral, scan;
        bool extended;
    } modifiers[]{{VK_LSHIFT, VK_SHIFT, 0x2A, false}, {VK_RSHIFT, VK_SHIFT, 0x36, false},
        {VK_LCONTROL, VK_CONTROL, 0x1D, false}, {VK_RCONTROL, VK_CONTROL, 0x1D, true},
        {VK_LMENU, VK_MENU, 0x38, false}, {VK_RMENU, VK_MENU, 0x38, true}};
    std::vector<HookEvent> expected;
    for (const auto& modifier : modifiers) {
        tapKey(modifier.sided, modifier.scan, modifier.extended);
        tapKey(modifier.neutral, modifier.scan, modifier.extended);
        for (int twice = 0; twice < 2; ++twice) {
            expected.push_back(keyEvent(modifier.sided, true));
            expected.push_back(keyEvent(modifier.sided, false));
        }
    }
    EXPECT_EQ(window.eventsThroughMarker(), withMarker(expected));
}

TEST_F(HookedTest, KeysAreReportedInOrderWithoutAutoRepeat)
{
    sendKey('A', 0x1E, false);
    sendKey('A', 0x1E, false);
    sendKey('S', 0x1F, false);
    sendKey('A', 0x1E, true);
    sendKey('A', 0x1E, false);
    sendKey('S', 0x1F, true);
    sendKey('A', 0x1E, true);
    EXPECT_EQ(window.eventsThroughMarker(),
        withMarker({keyEvent('A', true), keyEvent('S', true), keyEvent('A', false), keyEvent('A', true),
            keyEvent('S', false), keyEvent('A', false)}));
}

TEST_F(HookedTest, AKeyReleasedUnderAnotherCodeReleasesTheCodeItWasPressedWith)
{
    // NumLock toggled while keypad 7 is held: it repeats and goes up as Home.
    sendKey(VK_NUMPAD7, 0x47, false);
    sendKey(VK_HOME, 0x47, false);
    sendKey(VK_HOME, 0x47, true);
    // Wine keeps its key state by code, so it still holds Numpad7; a second release of the same
    // key must not be reported again.
    sendKey(VK_NUMPAD7, 0x47, true);
    EXPECT_EQ(
        window.eventsThroughMarker(), withMarker({keyEvent(VK_NUMPAD7, true), keyEvent(VK_NUMPAD7, false)}));
}

TEST_F(HookedTest, ShiftThatTheSystemLiftsAroundAKeypadKeyStaysLit)
{
    // Shift held, NumLock on, keypad 7 pressed: the system lifts Shift (scan code 0x22A) before
    // the key goes down and up, and presses it again (plain 0x2A) afterwards. The key is held
    // long enough for several stuck-key rounds, which must trust the lifted Shift meanwhile.
    sendKey(VK_LSHIFT, 0x2A, false);
    sendKey(VK_LSHIFT, 0x22A, true);
    sendKey(VK_HOME, 0x47, false);
    testing_support::pumpMessages(1200);
    sendKey(VK_LSHIFT, 0x22A, true);
    sendKey(VK_HOME, 0x47, true);
    sendKey(VK_LSHIFT, 0x2A, false);
    testing_support::pumpMessages(800);
    sendKey(VK_LSHIFT, 0x2A, true);
    EXPECT_EQ(window.eventsThroughMarker(),
        withMarker({keyEvent(VK_LSHIFT, true), keyEvent(VK_HOME, true), keyEvent(VK_HOME, false),
            keyEvent(VK_LSHIFT, false)}));
}

// Releases that the hook cannot match to a press: one with another scan code, and a Shift that
// the system lifted for good (never pressed again, no keypad key down). The stuck-key guard sees
// that the system no longer holds the key and releases it.
TEST_F(HookedTest, GuardReleasesAKeyWhoseReleaseTheHookCouldNotTellApart)
{
    const struct {
        WORD vk, scan, releaseScan;
    } keys[]{{'C', 0x2E, 0x2F}, {VK_RSHIFT, 0x36, 0x236}};
    std::vector<HookEvent> expected;
    for (const auto& key : keys) {
        sendKey(key.vk, key.scan, false);
        sendKey(key.vk, key.releaseScan, true);
        const ULONGLONG lost = GetTickCount64();
        ASSERT_EQ(GetAsyncKeyState(key.vk) & 0x8000, 0);
        expected.push_back(keyEvent(key.vk, true));
        expected.push_back(keyEvent(key.vk, false));
        ASSERT_TRUE(window.waitForEvents(expected.size()));
        // The check runs several times a second; this bound leaves room for a loaded machine.
        EXPECT_LT(GetTickCount64() - lost, 1500u);
        EXPECT_EQ(window.events(), expected);
    }
}

TEST_F(HookedTest, ButtonsAndVerticalWheelAreReportedBySlotAndNothingElse)
{
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    sendMouse(MOUSEEVENTF_RIGHTDOWN);
    sendMouse(MOUSEEVENTF_LEFTUP);
    sendMouse(MOUSEEVENTF_MIDDLEDOWN);
    sendMouse(MOUSEEVENTF_MIDDLEUP);
    sendMouse(MOUSEEVENTF_RIGHTUP);
    mouse_event(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA, 0);
    mouse_event(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(-WHEEL_DELTA), 0);
    mouse_event(MOUSEEVENTF_WHEEL, 0, 0, 30, 0);
    sendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-360));
    sendMouse(MOUSEEVENTF_MOVE);
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 30000, 30000, 0, 0);
    sendMouse(MOUSEEVENTF_XDOWN, XBUTTON1);
    sendMouse(MOUSEEVENTF_XUP, XBUTTON1);
    sendMouse(MOUSEEVENTF_HWHEEL, WHEEL_DELTA);
    EXPECT_EQ(window.eventsThroughMarker(),
        withMarker({pointerEvent(0, true), pointerEvent(1, true), pointerEvent(0, false),
            pointerEvent(2, true), pointerEvent(2, false), pointerEvent(1, false), pointerEvent(3, true),
            pointerEvent(4, true), pointerEvent(3, true), pointerEvent(4, true)}));
}

// The hooks live on the library's own thread: while the program's GUI thread is blocked, input
// still passes through the hooks at once, and every event waits in the window's queue.
TEST_F(HookedTest, HooksRunWhileTheProgramsThreadIsBlocked)
{
    KernelHandle sender;
    sender.attach(CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            for (WORD vk = 'D'; vk <= 'H'; ++vk)
                tapKey(vk, static_cast<WORD>(vk - 'D' + 0x20));
            sendMouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
            return 0;
        },
        nullptr, 0, nullptr));
    ASSERT_NE(sender.get(), nullptr);
    // Not pumping: a hook on this thread could not run until the wait ends.
    EXPECT_EQ(WaitForSingleObject(sender.get(), 30000), WAIT_OBJECT_0);
    std::vector<HookEvent> expected;
    for (WORD vk = 'D'; vk <= 'H'; ++vk) {
        expected.push_back(keyEvent(vk, true));
        expected.push_back(keyEvent(vk, false));
    }
    expected.push_back(pointerEvent(3, true));
    EXPECT_EQ(window.eventsThroughMarker(), withMarker(expected));
}

} // namespace
