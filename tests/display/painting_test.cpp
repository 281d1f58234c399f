// Painting into a real window under the real window manager: what the window shows is read back
// from its pixels and compared with the two pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "common/process_globals.h"
#include "display/input_state.h"
#include "display/painting.h"
#include "keyboard/key_layout.h"
#include "pictures/pictures.h"
#include "support/installed_program.h"

using namespace testing_support;

namespace {

int paintCount = 0;

LRESULT CALLBACK keyboardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        ++paintCount;
        return onPaintMessage(window);
    }
    if (message == WM_HOOKEVENT) {
        applyHookEvent(wParam, lParam);
        return 0;
    }
    if (message == WM_TIMER && wParam == MINIMUM_LIT_TIMER_ID) {
        expireMinimumLit(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const RECT kWhole = kWholePicture;

class PaintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(nullptr);
        clearAll();
        redrawPending = 0;
        firstPaintPending = 0;
        ASSERT_TRUE(loadBasePicture());
        loadPressedPicture(false, "");
        base = bitmapPixels(static_cast<HBITMAP>(imagePair[BasePictureSlot].get()));
        pressed = bitmapPixels(static_cast<HBITMAP>(imagePair[PressedPictureSlot].get()));
        ASSERT_EQ(base.width, kLayoutWidth);
        ASSERT_EQ(pressed.width, kLayoutWidth);
    }
    void TearDown() override
    {
        clearAll();
        redrawPending = 0;
        firstPaintPending = 0;
        if (mainWindow)
            settle();
        imagePair[0].reset();
        imagePair[1].reset();
    }
    // Under Wine without a window manager, destroying a shown window takes two seconds: the
    // suite shares one window.
    static void TearDownTestSuite()
    {
        window.reset();
        mainWindow = nullptr;
    }

    // The window with a client area of the picture's size at the screen's top-left corner, erased
    // and painted for the first time as the creation sequence does it.
    void open()
    {
        if (!window)
            window = std::make_unique<TestWindow>(keyboardWindowProc, WS_POPUP);
        mainWindow = window->get();
        ASSERT_NE(mainWindow, nullptr);
        SetWindowPos(mainWindow, HWND_TOP, 0, 0, baseWidth, baseHeight, SWP_SHOWWINDOW);
        // The keys of an earlier test were cleared behind the painter's back.
        requestWholePaint(mainWindow);
        RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        firstPaintPending = 1;
        ASSERT_TRUE(settle());
    }

    // Dispatches messages until no paint is pending, then whatever the last paint left queued.
    bool settle()
    {
        const bool quiet = pumpUntil([&] { return !GetUpdateRect(mainWindow, nullptr, FALSE); }, 3000);
        pumpMessages(0);
        return quiet && !GetUpdateRect(mainWindow, nullptr, FALSE);
    }
    // How many key bytes are lit.
    static std::size_t litKeys()
    {
        return std::count(std::begin(inputState.keyState), std::end(inputState.keyState), 1);
    }

    void requestRedraw()
    {
        redrawPending = 1;
        InvalidateRect(mainWindow, nullptr, FALSE);
    }

    Pixels shown() const { return captureClient(mainWindow, kLayoutWidth, kLayoutHeight); }

    // The base picture with the given rectangles cut through to the pressed picture.
    Pixels expected(const std::vector<KeyRect>& held) const
    {
        std::vector<RECT> rects;
        for (const KeyRect& r : held)
            rects.push_back(toRect(r));
        return composed(base, pressed, rects);
    }
    // How many pixels of the window differ from the base picture with these rectangles pressed.
    int differencesFrom(const std::vector<KeyRect>& held) const
    {
        return countDifferences(shown(), expected(held), kWhole);
    }

    static std::unique_ptr<TestWindow> window;
    Pixels base;
    Pixels pressed;
};

std::unique_ptr<TestWindow> PaintingTest::window;

// Each held state shows the base picture with exactly the held rectangles from the pressed one;
// codes that the pictures do not show (VK_SHIFT, 0xF3) change nothing.
TEST_F(PaintingTest, ShowsThePressedPictureInTheRectanglesOfHeldKeysAndSlotsOnly)
{
    open();
    EXPECT_EQ(firstPaintPending, 0);
    ASSERT_FALSE(shown().empty());
    EXPECT_EQ(countDifferences(shown(), base, kWhole), 0);
    EXPECT_GT(countDifferences(base, pressed, toRect(keyRect(0x41))), 0); // the checks below mean something

    std::vector<KeyRect> everything;
    std::vector<unsigned> allCodes;
    for (unsigned code = 0; code < 256; ++code) {
        allCodes.push_back(code);
        if (isDrawable(keyRect(code)))
            everything.push_back(keyRect(code));
    }
    for (unsigned index = 0; index < PointerSlotCount; ++index)
        everything.push_back(pointerRect(index));
    const struct {
        std::vector<unsigned> codes;
        std::vector<unsigned> slots;
        std::vector<KeyRect> lit;
    } cases[] = {{{0x41}, {}, {keyRect(0x41)}}, {{}, {}, {}}, {{0x10, 0xF3}, {}, {}},
        {{}, {PointerWheelUp}, {pointerRect(PointerWheelUp)}}, {allCodes, {0, 1, 2, 3, 4}, everything}};
    for (const auto& [codes, slots, lit] : cases) {
        SCOPED_TRACE(::testing::Message() << codes.size() << " codes, " << slots.size() << " slots");
        clearAll();
        for (unsigned code : codes)
            inputState.keyState[code] = 1;
        for (unsigned slot : slots)
            inputState.pointerState[slot] = 1;
        requestRedraw();
        ASSERT_TRUE(settle());
        EXPECT_EQ(redrawPending, 0);
        EXPECT_EQ(differencesFrom(lit), 0);
    }
}

// Hook events in batches, each batch handled before a paint, with nothing else asking for one: the
// paints that the events asked for leave the window showing exactly the held keys. Read without
// invalidating the window, so that a rectangle that was not asked for stays wrong on screen.
TEST_F(PaintingTest, EventsAskForThePaintsThatShowTheHeldKeys)
{
    constexpr LPARAM kPressed = 0x10000;
    using Batch = std::vector<LPARAM>; // keyboard events
    const struct {
        const char* what;
        std::vector<Batch> batches;
        std::vector<KeyRect> lit;
    } cases[] = {
        {"A tapped before a paint, then held", {{kPressed | 0x41, 0x41}, {kPressed | 0x41}}, {keyRect(0x41)}},
        {"0xF0 held while 0x14 is released", {{kPressed | 0xF0, kPressed | 0x14}, {0x14}}, {keyRect(0xF0)}},
        {"] held while Enter is released", {{kPressed | 0xDD, kPressed | 0x0D}, {0x0D}}, {keyRect(0xDD)}},
    };
    open();
    for (const auto& [what, batches, lit] : cases) {
        SCOPED_TRACE(what);
        clearAll();
        paintNow();
        ASSERT_TRUE(settle());
        for (const Batch& batch : batches) {
            for (LPARAM event : batch)
                applyHookEvent(HookKeyboard, event);
            ASSERT_TRUE(settle());
        }
        // The taps' releases come when their minimum is up.
        ASSERT_TRUE(pumpUntil([&] { return litKeys() == lit.size(); }, 3000));
        ASSERT_TRUE(settle());
        EXPECT_EQ(differencesFrom(lit), 0);
    }
}

// A tap whose press and release reach the window back to back, before any paint: the paint shows
// it lit, and it is dark again a paint after its minimum, with no timer left running.
TEST_F(PaintingTest, ATapPostedBackToBackIsPaintedLitThenDarkAfterItsMinimum)
{
    open();
    paintCount = 0;
    const ULONGLONG posted = GetTickCount64();
    PostMessageA(mainWindow, WM_HOOKEVENT, HookKeyboard, keyhook::hookEventParam(0x41, true));
    PostMessageA(mainWindow, WM_HOOKEVENT, HookKeyboard, keyhook::hookEventParam(0x41, false));
    ASSERT_TRUE(pumpUntil([] { return paintCount > 0; }, 3000));
    EXPECT_EQ(differencesFrom({keyRect(0x41)}), 0);
    ASSERT_TRUE(
        pumpUntil([&] { return paintCount > 1 && !GetUpdateRect(mainWindow, nullptr, FALSE); }, 3000));
    const ULONGLONG darkAfter = GetTickCount64() - posted;
    EXPECT_EQ(differencesFrom({}), 0);
    EXPECT_GE(darkAfter, kMinimumLitMilliseconds - 5);
    EXPECT_LE(darkAfter, kMinimumLitMilliseconds + 500) << "generous for a loaded machine";
    EXPECT_FALSE(KillTimer(mainWindow, MINIMUM_LIT_TIMER_ID));
}

TEST_F(PaintingTest, MissingPressedPictureDrawsNothing)
{
    imagePair[PressedPictureSlot].reset();
    inputState.keyState[0x41] = 1;
    paintCount = 0;
    open();
    EXPECT_LE(paintCount, 2); // the first paint draws nothing and asks for nothing
    const Pixels screen = shown();
    const std::uint32_t background = fromColorRef(GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(countColour(screen, kWhole, background), kLayoutWidth * kLayoutHeight);
    EXPECT_EQ(firstPaintPending, 0);
}

// paintNow (on a move, an activation or minimising) asks for one paint of the whole window, which
// shows the state.
TEST_F(PaintingTest, PaintNowShowsTheStateThroughOnePaintOfTheWholeWindow)
{
    open();
    inputState.keyState[0x41] = 1;
    paintNow();
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(mainWindow, &pending, FALSE));
    EXPECT_EQ(pending.right - pending.left, kLayoutWidth);
    EXPECT_EQ(pending.bottom - pending.top, kLayoutHeight);
    paintCount = 0;
    ASSERT_TRUE(settle());
    EXPECT_EQ(paintCount, 1);
    EXPECT_EQ(differencesFrom({keyRect(0x41)}), 0);
}

// One state change gives one paint of the changed key's rectangle only, then quiet. Then an erased area and
// an area that another window of this process covered are drawn again without another request and without a
// paint loop.
TEST_F(PaintingTest, StateChangeErasedAndUncoveredAreasPaintOnlyAsOftenAsNeeded)
{
    open();
    paintCount = 0;
    inputState.keyState[0x41] = 1;
    requestKeyPaint(mainWindow, std::bitset<kInputSlotCount>{}.set(0x41));
    RECT pending{};
    ASSERT_TRUE(GetUpdateRect(mainWindow, &pending, FALSE));
    EXPECT_EQ(pending.left, keyRect(0x41).x);
    EXPECT_EQ(pending.bottom, keyRect(0x41).y + keyRect(0x41).height);
    ASSERT_TRUE(settle());
    EXPECT_EQ(paintCount, 1);
    pumpMessages(200);
    EXPECT_EQ(paintCount, 1);
    ASSERT_EQ(redrawPending, 0);
    ASSERT_EQ(firstPaintPending, 0);

    // Part of the window is invalidated and erased at once, as when a window above it goes away
    // on a desktop without composition: it shows the class background until the paint.
    // The screen against the window's picture with A held; -1 when it cannot be read.
    const auto screenDifferences = [&] {
        const Pixels screen = captureScreen(RECT{0, 0, kLayoutWidth, kLayoutHeight});
        return screen.empty() ? -1 : countDifferences(screen, expected({keyRect(0x41)}), kWhole);
    };
    const RECT damaged{40, 100, 400, 200};
    RedrawWindow(mainWindow, &damaged, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW);
    const std::uint32_t background = fromColorRef(GetSysColor(COLOR_BTNFACE));
    ASSERT_GT(countColour(shown(), damaged, background), 300 * 90);
    paintCount = 0;
    ASSERT_TRUE(settle());
    EXPECT_EQ(paintCount, 1);
    EXPECT_EQ(differencesFrom({keyRect(0x41)}), 0);
    pumpMessages(200);
    EXPECT_EQ(paintCount, 1);
    EXPECT_EQ(redrawPending, 0);

    {
        TestWindow cover(DefWindowProcA, WS_POPUP);
        SetWindowPos(cover.get(), HWND_TOPMOST, 50, 20, 920, 180, SWP_SHOWWINDOW);
        UpdateWindow(cover.get());
        ASSERT_TRUE(pumpUntil([&] { return screenDifferences() > 0; }, 3000))
            << "the cover reached the screen";
    }
    paintCount = 0;
    ASSERT_TRUE(settle());
    EXPECT_TRUE(pumpUntil([&] { return screenDifferences() == 0; }, 3000));
    const int paints = paintCount;
    EXPECT_EQ(differencesFrom({keyRect(0x41)}), 0);
    pumpMessages(200);
    EXPECT_EQ(paintCount, paints);
    EXPECT_LE(paints, 1);
    EXPECT_FALSE(GetUpdateRect(mainWindow, nullptr, FALSE));
}

} // namespace
