// The pictures and the icon as they are built into TaveloKeyboard.exe, read from the executable
// beside this test as data.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "keyboard/key_layout.h"
#include "resource_ids.h"
#include "support/process_tools.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 242;
constexpr size_t kHeaderSize = 40;
constexpr size_t kPaletteSize = 16 * 4;
constexpr size_t kRowBytes = 500;
constexpr size_t kResourceSize = kHeaderSize + kPaletteSize + kRowBytes * kHeight;

constexpr unsigned kRedIndex = 9;
constexpr KeyRect kKeypadEnter{858, 165, 38, 77};
constexpr KeyRect kArrow{940, 54, 19, 62};
// The part of the Enter key's rectangle below its upper part: the right edge of the ] key.
constexpr KeyRect kEnterNotch{546, 126, 3, 38};

std::string programPath() { return testing_support::executableDirectory() + "\\TaveloKeyboard.exe"; }

std::vector<unsigned char> resourceBytes(HMODULE module, LPCSTR type, int id)
{
    const HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    const auto* bytes
        = found ? static_cast<const unsigned char*>(LockResource(LoadResource(module, found))) : nullptr;
    return bytes ? std::vector<unsigned char>(bytes, bytes + SizeofResource(module, found))
                 : std::vector<unsigned char>{};
}

template <typename T>
T readAt(const std::vector<unsigned char>& bytes, size_t offset)
{
    T value{};
    if (offset + sizeof value <= bytes.size())
        std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// A 4-bit bitmap resource: header, palette and pixel indices read from its bytes.
struct FourBitPicture {
    BITMAPINFOHEADER header{};
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::vector<unsigned char> bytes;

    explicit FourBitPicture(std::vector<unsigned char> data)
        : header(readAt<BITMAPINFOHEADER>(data, 0))
        , bytes(std::move(data))
    {
        for (size_t i = 0; i < 16; ++i) // blue, green, red, unused
            palette.push_back(readAt<std::uint32_t>(bytes, kHeaderSize + 4 * i) & 0xFFFFFF);
    }

    unsigned index(int x, int y) const
    {
        const size_t row = static_cast<size_t>(kHeight - 1 - y); // rows are stored bottom-up
        const unsigned char byte = bytes[kHeaderSize + kPaletteSize + row * kRowBytes + x / 2];
        return x % 2 == 0 ? byte >> 4 : byte & 0x0F;
    }
    std::uint32_t colour(int x, int y) const { return palette[index(x, y)]; }

    int countRed(const KeyRect& rect) const
    {
        int count = 0;
        for (int y = rect.y; y < rect.y + rect.height; ++y)
            for (int x = rect.x; x < rect.x + rect.width; ++x)
                count += colour(x, y) == 0xFF0000u;
        return count;
    }
    int redInRow(const KeyRect& rect, int y) const { return countRed(KeyRect{rect.x, y, rect.width, 1}); }
};

bool contains(const KeyRect& rect, int x, int y)
{
    return x >= rect.x && x < rect.x + rect.width && y >= rect.y && y < rect.y + rect.height;
}

// Every drawable key and pointer rectangle of the layout, with a name for messages.
std::vector<std::pair<std::string, KeyRect>> layoutRectangles()
{
    std::vector<std::pair<std::string, KeyRect>> rects;
    for (unsigned code = 0; code < 256; ++code)
        if (isDrawable(keyRect(code)))
            rects.emplace_back("key " + std::to_string(code), keyRect(code));
    for (unsigned slot = 0; slot < 5; ++slot)
        rects.emplace_back("pointer slot " + std::to_string(slot), pointerRect(slot));
    return rects;
}

class ProgramResources : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        module = LoadLibraryExA(programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        base = FourBitPicture(resourceBytes(module, RT_BITMAP, IDB_BASE));
        pressed = FourBitPicture(resourceBytes(module, RT_BITMAP, IDB_PRESSED));
    }
    static void TearDownTestSuite()
    {
        if (module)
            FreeLibrary(module);
        module = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(module, nullptr) << "cannot open " << programPath();
        ASSERT_EQ(base.bytes.size(), kResourceSize);
        ASSERT_EQ(pressed.bytes.size(), kResourceSize);
    }

    static inline HMODULE module = nullptr;
    static inline FourBitPicture base{{}};
    static inline FourBitPicture pressed{{}};
};

// The base palette is sixteen greys; the pressed one has red at entry 9 and black at the end.
TEST_F(ProgramResources, BothPicturesAreFourBitBitmapsOfTheLayoutsSizeWithTheirPalettes)
{
    for (const FourBitPicture* image : {&base, &pressed}) {
        EXPECT_EQ(image->header.biSize, 40u);
        EXPECT_EQ(image->header.biWidth, kWidth);
        EXPECT_EQ(image->header.biHeight, kHeight); // positive: bottom-up
        EXPECT_EQ(image->header.biPlanes, 1);
        EXPECT_EQ(image->header.biBitCount, 4);
        EXPECT_EQ(image->header.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_TRUE(image->header.biSizeImage == 0 || image->header.biSizeImage == kRowBytes * kHeight);
        EXPECT_TRUE(image->header.biClrUsed == 0 || image->header.biClrUsed == 16);
    }
    EXPECT_EQ(kWidth, kLayoutWidth);
    EXPECT_EQ(kHeight, kLayoutHeight);
    std::vector<std::uint32_t> greys;
    for (std::uint32_t level = 0; level < 256; level += 17)
        greys.push_back(level << 16 | level << 8 | level);
    EXPECT_EQ(base.palette, greys);
    const std::vector<std::uint32_t> expected{0x000000, 0xC0C0C0, 0xC0DCC0, 0x202040, 0x404040, 0x606040,
        0x606080, 0x808080, 0xA0A0A4, 0xFF0000, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000};
    EXPECT_EQ(pressed.palette, expected);
}

// Red lies in every key and pointer rectangle of the pressed picture, and nowhere else but in the
// keypad's Enter; never in the base picture.
TEST_F(ProgramResources, EveryRectangleIsRedWhenPressedAndNeverInTheBase)
{
    const auto rects = layoutRectangles();
    for (const auto& [name, rect] : rects) {
        EXPECT_GT(pressed.countRed(rect), 0) << name;
        EXPECT_EQ(base.countRed(rect), 0) << name;
    }
    int outside = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (pressed.index(x, y) != kRedIndex)
                continue;
            bool inside = contains(kKeypadEnter, x, y);
            for (const auto& entry : rects)
                inside = inside || contains(entry.second, x, y);
            outside += !inside;
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(pressed.countRed(kKeypadEnter), 0);
}

TEST_F(ProgramResources, EnterNotchShowsTheNeighbouringKeysEdgeInBothPictures)
{
    EXPECT_EQ(pressed.countRed(kEnterNotch), 0);
    // The same drawing: wherever one picture has its outline black, so has the other.
    for (int y = kEnterNotch.y; y < kEnterNotch.y + kEnterNotch.height; ++y)
        for (int x = kEnterNotch.x; x < kEnterNotch.x + kEnterNotch.width; ++x)
            EXPECT_EQ(base.colour(x, y) == 0, pressed.colour(x, y) == 0) << x << "," << y;
}

TEST_F(ProgramResources, WheelArrowExistsOnlyInThePressedPicture)
{
    // The base picture shows the mouse's plain body there.
    const std::uint32_t body = base.colour(kArrow.x, kArrow.y);
    for (int y = kArrow.y; y < kArrow.y + kArrow.height; ++y)
        for (int x = kArrow.x; x < kArrow.x + kArrow.width; ++x)
            ASSERT_EQ(base.colour(x, y), body) << x << "," << y;

    // Upper half: the head points up, so the first red row from the tip is its narrowest and the
    // head's widest row lies nearer the tip than the far end, where the shaft runs on into the
    // other half. The lower half is the mirror image.
    for (const bool up : {true, false}) {
        SCOPED_TRACE(up ? "up" : "down");
        const KeyRect half = pointerRect(up ? 3 : 4);
        const int tipRow = up ? half.y : half.y + half.height - 1;
        const int farRow = up ? half.y + half.height - 1 : half.y;
        const int step = up ? 1 : -1;
        int tip = -1, widest = -1, widestCount = 0;
        for (int y = tipRow; y != farRow + step; y += step) {
            const int count = pressed.redInRow(half, y);
            if (count && tip < 0)
                tip = y;
            if (count > widestCount)
                widestCount = count, widest = y;
        }
        ASSERT_GE(tip, 0);
        EXPECT_LE(pressed.redInRow(half, tip), 3);
        EXPECT_GE(widestCount, 11);
        EXPECT_GT(pressed.redInRow(half, widest), pressed.redInRow(half, farRow));
        EXPECT_LT(std::abs(widest - tip), half.height / 2);
    }
    EXPECT_GT(pressed.redInRow(pointerRect(3), pointerRect(3).y + pointerRect(3).height - 1), 0);
}

// A group of 6 header bytes and one 14-byte entry per image. Each image also loads as an icon of
// its size from this executable, which carries the same resources.
TEST_F(ProgramResources, IconGroupHoldsFourSixteenColourImages)
{
    const std::vector<unsigned char> group = resourceBytes(module, RT_GROUP_ICON, IDI_MAIN);
    EXPECT_EQ(readAt<WORD>(group, 2), 1); // icons
    ASSERT_EQ(readAt<WORD>(group, 4), 4);
    ASSERT_EQ(group.size(), 6u + 4 * 14);
    const int sizes[] = {256, 48, 32, 16};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(sizes[i]);
        const size_t entry = 6 + 14 * i;
        EXPECT_EQ(group[entry] == 0 ? 256 : group[entry], sizes[i]);
        EXPECT_EQ(group[entry + 1] == 0 ? 256 : group[entry + 1], sizes[i]);
        EXPECT_EQ(group[entry + 2], 16);              // colours
        EXPECT_EQ(readAt<WORD>(group, entry + 6), 4); // bits per pixel

        const std::vector<unsigned char> image
            = resourceBytes(module, RT_ICON, readAt<WORD>(group, entry + 12));
        ASSERT_EQ(image.size(), readAt<DWORD>(group, entry + 8));
        const auto info = readAt<BITMAPINFOHEADER>(image, 0);
        EXPECT_EQ(info.biSize, 40u);
        EXPECT_EQ(info.biWidth, sizes[i]);
        EXPECT_EQ(info.biHeight, 2 * sizes[i]); // colour image and mask
        EXPECT_EQ(info.biBitCount, 4);
        const size_t xorBytes = static_cast<size_t>(sizes[i]) * sizes[i] / 2;
        const size_t andBytes = static_cast<size_t>((sizes[i] + 31) / 32 * 4) * sizes[i];
        EXPECT_EQ(image.size(), 40 + 64 + xorBytes + andBytes);
        HICON icon = static_cast<HICON>(LoadImageA(
            GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, sizes[i], sizes[i], 0));
        EXPECT_NE(icon, nullptr);
        if (icon)
            DestroyIcon(icon);
    }
}

} // namespace
