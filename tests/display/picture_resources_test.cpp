// The pictures and the icon as they are built into TaveloKeyboard.exe, read from the executable
// beside this test as data.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/key_layout.h"
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
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found)
        return {};
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

// A 4-bit bitmap resource: header, palette and pixel indices read from its bytes.
struct FourBitPicture {
    BITMAPINFOHEADER header{};
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::vector<unsigned char> bytes;

    explicit FourBitPicture(std::vector<unsigned char> data)
        : bytes(std::move(data))
    {
        if (bytes.size() < kHeaderSize + kPaletteSize)
            return;
        std::memcpy(&header, bytes.data(), sizeof header);
        for (size_t i = 0; i < 16; ++i) {
            const unsigned char* entry = &bytes[kHeaderSize + 4 * i];
            palette.push_back((entry[2] << 16) | (entry[1] << 8) | entry[0]);
        }
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
    char name[32];
    for (unsigned code = 0; code < 256; ++code) {
        if (isDrawable(keyRect(code))) {
            wsprintfA(name, "key 0x%02X", code);
            rects.emplace_back(name, keyRect(code));
        }
    }
    for (unsigned slot = 0; slot < 5; ++slot) {
        wsprintfA(name, "pointer slot %u", slot);
        rects.emplace_back(name, pointerRect(slot));
    }
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

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInResource;
    WORD id;
};
#pragma pack(pop)

// Each also loads as an icon of its size from this executable, which carries the same resources.
TEST_F(ProgramResources, IconGroupHoldsFourSixteenColourImages)
{
    const std::vector<unsigned char> group = resourceBytes(module, RT_GROUP_ICON, IDI_MAIN);
    ASSERT_GE(group.size(), sizeof(GroupIconHeader));
    GroupIconHeader header;
    std::memcpy(&header, group.data(), sizeof header);
    EXPECT_EQ(header.type, 1);
    ASSERT_EQ(header.count, 4);
    ASSERT_EQ(group.size(), sizeof header + 4 * sizeof(GroupIconEntry));

    const int sizes[] = {256, 48, 32, 16};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(sizes[i]);
        GroupIconEntry entry;
        std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
        EXPECT_EQ(entry.width == 0 ? 256 : entry.width, sizes[i]);
        EXPECT_EQ(entry.height == 0 ? 256 : entry.height, sizes[i]);
        EXPECT_EQ(entry.bitCount, 4);
        EXPECT_EQ(entry.colourCount, 16);

        const std::vector<unsigned char> image = resourceBytes(module, RT_ICON, entry.id);
        ASSERT_EQ(image.size(), entry.bytesInResource);
        BITMAPINFOHEADER info;
        ASSERT_GE(image.size(), sizeof info);
        std::memcpy(&info, image.data(), sizeof info);
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
