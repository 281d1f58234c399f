// The program at 125, 150, 175 and 200 % display scale: a window sized for the scale, art drawn for it
// (the generator's own pictures, pixel for pixel), held keys lit exactly in their scaled
// rectangles, a custom picture grown to the window, and a change of scale while it runs.
#include <gtest/gtest.h>

#include "e2e_helpers.h"
#include "print_probe.h"
#include "resource_ids.h"
#include "support/hook_event_model.h"
#include "support/system_dpi.h"

using namespace e2e;
using namespace testing_support;

namespace {

// The client area is the 1000 x 242 layout at the scale, each side rounded to the nearest pixel,
// halves up: 1000 x 1.25, 1.5, 1.75, 2 = 1250, 1500, 1750, 2000; 242 x 1.25 = 302.5 -> 303,
// x 1.5 = 363, x 1.75 = 423.5 -> 424, x 2 = 484.
struct ScaleCase {
    UINT dpi;
    int baseId;
    int pressedId;
    RECT whole;
};
constexpr ScaleCase kScales[] = {{120, IDB_BASE_120, IDB_PRESSED_120, {0, 0, 1250, 303}},
    {144, IDB_BASE_144, IDB_PRESSED_144, {0, 0, 1500, 363}},
    {168, IDB_BASE_168, IDB_PRESSED_168, {0, 0, 1750, 424}},
    {192, IDB_BASE_192, IDB_PRESSED_192, {0, 0, 2000, 484}}};

// WM_GETDPISCALEDSIZE, which older headers lack.
constexpr UINT kGetDpiScaledSize = 0x02E4;
constexpr std::uint32_t kCustomColour = rgb(0, 160, 64);
// No timer darkens an arrow while the pictures are compared.
constexpr char kLongWheelTime[] = "[System]\r\nWheelInitTime=36000000\r\n";
constexpr char kCustomPictureSettings[]
    = "[System]\r\nUseCustomImage=1\r\nCustomImageName=flat.bmp\r\nWheelInitTime=36000000\r\n";

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

// A value in the program's memory, as the system hands a RECT to WM_DPICHANGED and a SIZE to
// WM_GETDPISCALEDSIZE.
template <typename Value>
class RemoteValue {
public:
    RemoteValue(HANDLE process, const Value& value)
        : process(process)
        , address(VirtualAllocEx(process, nullptr, sizeof value, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
        if (address && !WriteProcessMemory(process, address, &value, sizeof value, nullptr))
            address = nullptr;
    }
    ~RemoteValue()
    {
        if (address)
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
    }
    RemoteValue(const RemoteValue&) = delete;
    RemoteValue& operator=(const RemoteValue&) = delete;
    LPARAM lParam() const { return reinterpret_cast<LPARAM>(address); }
    Value read() const
    {
        Value value{};
        ReadProcessMemory(process, address, &value, sizeof value, nullptr);
        return value;
    }

private:
    HANDLE process;
    void* address;
};

template <typename Function>
Function exported(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

// What PrintWindow gives for the client area, as a capture tool asks for it; run on the window's
// own thread by the print probe's message hook. Empty when the probe could not run.
Pixels printedClientArea(const InstalledProgram& program, const RECT& whole)
{
    const DWORD bytes = static_cast<DWORD>(whole.right * whole.bottom * 4);
    const HANDLE section
        = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, bytes, kPrintProbePixels);
    auto* pixels = section
        ? static_cast<std::uint32_t*>(MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, bytes))
        : nullptr;
    const HMODULE probe = LoadLibraryA("print_probe.dll");
    const auto hook = exported<HOOKPROC>(probe, kPrintProbeHook);
    const HWND window = program.window();
    const HHOOK placed = hook
        ? SetWindowsHookExA(WH_GETMESSAGE, hook, probe, GetWindowThreadProcessId(window, nullptr))
        : nullptr;
    Pixels printed;
    if (pixels && placed
        && PostMessageA(window, RegisterWindowMessageA(kPrintProbeMessage), whole.right, whole.bottom)
        && program.sync()) {
        printed = Pixels{whole.right, whole.bottom, std::vector<std::uint32_t>(pixels, pixels + bytes / 4)};
        for (auto& pixel : printed.data)
            pixel &= 0x00FFFFFFu;
    }
    if (placed)
        UnhookWindowsHookEx(placed);
    if (probe)
        FreeLibrary(probe);
    if (pixels)
        UnmapViewOfFile(pixels);
    if (section)
        CloseHandle(section);
    return printed;
}

} // namespace

TEST(DisplayScale, WindowArtAndLitKeysFollowTheScaleTheProgramStartsAt)
{
    for (const ScaleCase& scale : kScales) {
        SCOPED_TRACE(::testing::Message() << scale.dpi << " dpi");
        const Pixels base = programPicture(scale.baseId);
        const Pixels pressed = programPicture(scale.pressedId);
        const RECT whole = scale.whole;
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
            const std::vector<unsigned char> picture = bitmapFileBytes(shape);
            ASSERT_TRUE(writeFile(program.file("flat.bmp"), std::string(picture.begin(), picture.end())));
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

// The window dragged to a monitor of another scale: asked first, it gives its size for the scale
// offered; it takes the place and size offered, and shows the art of the new scale with the same
// keys lit, printed as shown; back at 100 % it is as it always was.
TEST(DisplayScale, ScaleChangeWhileRunningKeepsTheLitKeys)
{
    InstalledProgram program;
    const HWND window = startShowingBasePicture(program, kLongWheelTime);
    ASSERT_NE(window, nullptr);
    HeldState held = postRandomEvents(window, 2000);
    const LPARAM wheelUp = 0x00010003; // the mouse's slot 3, pressed
    ASSERT_TRUE(postWhenTaken(window, 1, wheelUp));
    apply(held, 1, wheelUp);
    ASSERT_TRUE(program.sync());
    ASSERT_TRUE(program.waitForPicture(programPictureWithLit(held.lit())));
    // A timer that is not one of the window's own leaves the wheel arrow lit.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(window, WM_TIMER, 0x7A7E, 0, SMTO_NORMAL, kProgramWait, &answer));
    ASSERT_TRUE(program.waitForPicture(programPictureWithLit(held.lit())));

    const ScaleCase back{96, 103, 105, {0, 0, kLayoutWidth, kLayoutHeight}};
    std::vector<ScaleCase> sequence(std::begin(kScales), std::end(kScales));
    sequence.push_back(back);
    for (const ScaleCase& scale : sequence) {
        SCOPED_TRACE(::testing::Message() << scale.dpi << " dpi");
        const RECT whole = scale.whole;
        // Somewhat larger than the window, and somewhere else each time.
        const LONG left = 40 + 5 * static_cast<LONG>(scale.dpi % 7);
        const RECT offered{left, 30, left + whole.right + 8, 30 + whole.bottom + 60};
        const RemoteValue<SIZE> scaledSize(program.process().handle(), SIZE{1, 1});
        ASSERT_TRUE(SendMessageTimeoutA(
            window, kGetDpiScaledSize, scale.dpi, scaledSize.lParam(), SMTO_NORMAL, kProgramWait, &answer));
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
        const SIZE wanted = programWindowSizeAround({whole.right, whole.bottom}, scale.dpi);
        EXPECT_EQ(scaledSize.read().cx, wanted.cx);
        EXPECT_EQ(scaledSize.read().cy, wanted.cy);

        const RemoteValue<RECT> suggested(program.process().handle(), offered);
        ASSERT_NE(suggested.lParam(), 0);
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
        const Pixels printed = printedClientArea(program, whole);
        ASSERT_FALSE(printed.empty());
        EXPECT_EQ(countDifferences(printed, captureClient(window, whole.right, whole.bottom), whole), 0);
    }
    EXPECT_TRUE(program.closeCleanly());
}
