// The program at 125, 150, 175 and 200 % display scale: a window sized for the scale, art drawn for it
// (the generator's own pictures, pixel for pixel), held keys lit exactly in their scaled
// rectangles, a custom picture grown to the frame, and a change of scale while it runs.
#include <gtest/gtest.h>

#include "e2e_helpers.h"
#include "resource_ids.h"
#include "scale/display_scale.h"
#include "support/hook_event_model.h"
#include "support/system_dpi.h"

using namespace e2e;
using namespace testing_support;

namespace {

struct ScaleCase {
    UINT dpi;
    int baseId;
    int pressedId;
};
constexpr ScaleCase kScales[] = {{120, IDB_BASE_120, IDB_PRESSED_120}, {144, IDB_BASE_144, IDB_PRESSED_144},
    {168, IDB_BASE_168, IDB_PRESSED_168}, {192, IDB_BASE_192, IDB_PRESSED_192}};

constexpr std::uint32_t kCustomColour = rgb(0, 160, 64);
// No timer darkens an arrow while the pictures are compared.
constexpr char kLongWheelTime[] = "[System]\r\nWheelInitTime=36000000\r\n";
constexpr char kCustomPictureSettings[]
    = "[System]\r\nUseCustomImage=1\r\nCustomImageName=flat.bmp\r\nWheelInitTime=36000000\r\n";

RECT wholeAt(UINT dpi) { return {0, 0, scaleEdge(kLayoutWidth, dpi), scaleEdge(kLayoutHeight, dpi)}; }

Pixels flatPicture(int width, int height, std::uint32_t colour)
{
    return Pixels{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height, colour)};
}

// Events posted as the hook library posts them, with every kind of key and slot, until the model
// holds a good handful; then the window must show exactly the model's keys.
HeldState postRandomEvents(HWND window, int count)
{
    HeldState held;
    EventSource source;
    for (int sent = 0; sent < count; ++sent) {
        const WPARAM device = source.device();
        const LPARAM lParam = source.lParam(device);
        EXPECT_TRUE(postWhenTaken(window, device, lParam));
        apply(held, device, lParam);
    }
    return held;
}

// A rectangle in the program's memory, as the system hands one to WM_DPICHANGED.
class RemoteRect {
public:
    RemoteRect(HANDLE process, const RECT& rect)
        : process(process)
        , address(VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
        if (address && !WriteProcessMemory(process, address, &rect, sizeof rect, nullptr))
            address = nullptr;
    }
    ~RemoteRect()
    {
        if (address)
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
    }
    RemoteRect(const RemoteRect&) = delete;
    RemoteRect& operator=(const RemoteRect&) = delete;
    LPARAM lParam() const { return reinterpret_cast<LPARAM>(address); }

private:
    HANDLE process;
    void* address;
};

} // namespace

TEST(DisplayScale, WindowArtAndLitKeysFollowTheScaleTheProgramStartsAt)
{
    for (const ScaleCase& scale : kScales) {
        SCOPED_TRACE(::testing::Message() << scale.dpi << " dpi");
        const Pixels base = programPicture(scale.baseId);
        const Pixels pressed = programPicture(scale.pressedId);
        const RECT whole = wholeAt(scale.dpi);
        ASSERT_EQ(base.width, whole.right);
        ASSERT_EQ(base.height, whole.bottom);
        ASSERT_EQ(pressed.width, whole.right);
        const bool custom = scale.dpi == 144;

        InstalledProgram program;
        if (custom) {
            BitmapFileShape shape;
            shape.width = kLayoutWidth;
            shape.height = kLayoutHeight;
            shape.colourAt = [](int, int) { return kCustomColour; };
            ASSERT_TRUE(writeFileBytes(program.file("flat.bmp"), bitmapFileBytes(shape)));
        }
        ASSERT_TRUE(program.writeSettings(custom ? kCustomPictureSettings : kLongWheelTime));
        HWND window = nullptr;
        {
            ScopedSystemDpi systemScale(scale.dpi);
            ASSERT_TRUE(systemScale.applied());
            ASSERT_TRUE(program.start());
            window = program.waitForWindow();
        }
        ASSERT_NE(window, nullptr);
        const SIZE client = clientSize(window);
        EXPECT_EQ(client.cx, whole.right);
        EXPECT_EQ(client.cy, whole.bottom);
        EXPECT_TRUE(program.waitForPicture(base, whole));

        const Pixels shownPressed = custom ? flatPicture(whole.right, whole.bottom, kCustomColour) : pressed;
        parkPointerAwayFrom(window);
        {
            Held a('A', 0x1E);
            EXPECT_TRUE(
                program.waitForPicture(composed(base, shownPressed, {scaledRect(kKeyA, scale.dpi)}), whole));
        }
        EXPECT_TRUE(program.waitForPicture(base, whole));

        const HeldState held = postRandomEvents(window, 20000);
        ASSERT_TRUE(program.sync());
        EXPECT_TRUE(program.waitForPicture(composed(base, shownPressed, held.lit(scale.dpi)), whole));
        EXPECT_TRUE(program.closeCleanly());
    }
}

// The window dragged to a monitor of another scale: it takes the place and size offered, and
// shows the art of the new scale with the same keys lit; back at 100 % it is as it always was.
TEST(DisplayScale, ScaleChangeWhileRunningKeepsTheLitKeys)
{
    InstalledProgram program;
    const HWND window = startShowingBasePicture(program, kLongWheelTime);
    ASSERT_NE(window, nullptr);
    const HeldState held = postRandomEvents(window, 2000);
    ASSERT_TRUE(program.sync());
    ASSERT_TRUE(program.waitForPicture(programPictureWithLit(held.lit())));

    const ScaleCase back{96, 103, 105};
    std::vector<ScaleCase> sequence(std::begin(kScales), std::end(kScales));
    sequence.push_back(back);
    for (const ScaleCase& scale : sequence) {
        SCOPED_TRACE(::testing::Message() << scale.dpi << " dpi");
        const RECT whole = wholeAt(scale.dpi);
        // Somewhat larger than the frame, and somewhere else each time.
        const LONG left = 40 + 5 * static_cast<LONG>(scale.dpi % 7);
        const RECT offered{left, 30, left + whole.right + 8, 30 + whole.bottom + 60};
        const RemoteRect suggested(program.process().handle(), offered);
        ASSERT_NE(suggested.lParam(), 0);
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(window, WM_DPICHANGED, MAKEWPARAM(scale.dpi, scale.dpi),
            suggested.lParam(), SMTO_NORMAL, kProgramWait, &answer));
        const RECT placed = windowRect(window);
        EXPECT_EQ(placed.left, offered.left);
        EXPECT_EQ(placed.top, offered.top);
        EXPECT_EQ(placed.right, offered.right);
        EXPECT_EQ(placed.bottom, offered.bottom);
        EXPECT_TRUE(program.waitForPicture(
            composed(programPicture(scale.baseId), programPicture(scale.pressedId), held.lit(scale.dpi)),
            whole));
    }
    EXPECT_TRUE(program.closeCleanly());
}
