// Loading the two pictures: the built-in ones from this executable's resources (it carries the
// program's), the user's file from a scratch directory made the current directory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/process_globals.h"
#include "keyboard/key_layout.h"
#include "pictures/pictures.h"
#include "pictures_test_data.h"
#include "resource_ids.h"
#include "support/process_tools.h"
#include "support/window_pixels.h"

using testing_support::bitmapFileBytes;
using testing_support::BitmapFileShape;
using testing_support::bitmapPixels;
using testing_support::bitmapSize;
using testing_support::countDifferences;
using testing_support::Pixels;
using testing_support::rgb;
using testing_support::TempDirectory;
using testing_support::writeFile;

namespace {

constexpr std::uint32_t kBlue = rgb(0, 0, 255);
constexpr std::uint32_t kGreen = rgb(0, 255, 0);
constexpr std::uint32_t kYellow = rgb(255, 255, 0);
constexpr std::uint32_t kRed = rgb(255, 0, 0);

HBITMAP slot(unsigned index) { return static_cast<HBITMAP>(imagePair[index].get()); }

const Pixels& builtInPicture(int id)
{
    static Pixels pictures[2];
    Pixels& picture = pictures[id == IDB_BASE ? 0 : 1];
    if (picture.empty()) {
        HANDLE loaded = LoadImageA(
            GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
        picture = bitmapPixels(static_cast<HBITMAP>(loaded));
        DeleteObject(loaded);
    }
    return picture;
}

bool holds(unsigned index, int id)
{
    const Pixels held = bitmapPixels(slot(index));
    const Pixels& expected = builtInPicture(id);
    return !held.empty() && held.width == expected.width && held.height == expected.height
        && countDifferences(held, expected, RECT{0, 0, held.width, held.height}) == 0;
}

std::uint32_t solidBlue(int, int) { return kBlue; }
// Top half yellow, bottom half green, so that the rows' order shows.
std::uint32_t halves(int, int y) { return y < 121 ? kYellow : kGreen; }
unsigned stripes(int x, int) { return (x / 10) % 4; }
unsigned checker(int x, int y) { return (x + y) % 2; }

BitmapFileShape pictureShape(int bits, bool topDown = false)
{
    BitmapFileShape shape;
    shape.width = kLayoutWidth;
    shape.height = kLayoutHeight;
    shape.bitsPerPixel = bits;
    shape.topDown = topDown;
    shape.colourAt = halves;
    shape.indexAt = stripes;
    shape.palette = {kBlue, kGreen, kYellow, 0x000000};
    return shape;
}

class PicturesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(nullptr);
        imagePair[0].reset();
        imagePair[1].reset();
        baseWidth = 0;
        baseHeight = 0;
        // A scratch directory of its own is the current directory, as the program's directory is.
        GetCurrentDirectoryA(MAX_PATH, previous);
        ASSERT_TRUE(SetCurrentDirectoryA(scratch.path().c_str()));
    }
    void TearDown() override
    {
        imagePair[0].reset();
        imagePair[1].reset();
        SetCurrentDirectoryA(previous);
    }

    void write(const std::string& file, const std::vector<unsigned char>& bytes)
    {
        ASSERT_TRUE(writeFile(file, std::string(bytes.begin(), bytes.end())));
    }
    void write(const std::string& file, const BitmapFileShape& shape) { write(file, bitmapFileBytes(shape)); }

    TempDirectory scratch;
    char previous[MAX_PATH] = {};
};

// Loading again puts new bitmaps in the slots and releases the earlier ones.
TEST_F(PicturesTest, BasePictureLoadsWithItsSizeAndLoadingAgainReleasesTheEarlierBitmaps)
{
    ASSERT_TRUE(loadBasePicture());
    EXPECT_EQ(baseWidth, 1000);
    EXPECT_EQ(baseHeight, 242);
    EXPECT_TRUE(holds(BasePictureSlot, IDB_BASE));
    EXPECT_EQ(slot(PressedPictureSlot), nullptr);

    loadPressedPicture(false, "");
    const HGDIOBJ firstBase = slot(BasePictureSlot);
    const HGDIOBJ firstPressed = slot(PressedPictureSlot);
    ASSERT_TRUE(loadBasePicture());
    loadPressedPicture(false, "");
    EXPECT_NE(slot(BasePictureSlot), firstBase);
    EXPECT_NE(slot(PressedPictureSlot), firstPressed);
    EXPECT_EQ(GetObjectType(firstBase), 0u);
    EXPECT_EQ(GetObjectType(firstPressed), 0u);
}

TEST_F(PicturesTest, MissingResourcesLeaveSlotsAndSizeAlone)
{
    instanceHandle = GetModuleHandleA("kernel32.dll"); // a module without the pictures
    EXPECT_FALSE(loadBasePicture());
    EXPECT_EQ(baseWidth, 0);
    EXPECT_EQ(baseHeight, 0);
    EXPECT_EQ(slot(BasePictureSlot), nullptr);

    HBITMAP kept = CreateBitmap(4, 4, 1, 32, nullptr);
    imagePair[PressedPictureSlot].attach(kept);
    loadPressedPicture(false, "");
    EXPECT_EQ(slot(PressedPictureSlot), kept);
    loadPressedPicture(true, "absent.bmp");
    EXPECT_EQ(slot(PressedPictureSlot), kept);
}

TEST_F(PicturesTest, AbsolutePathIsUsedAsItIs)
{
    write("mine.bmp", pictureShape(24));
    const std::string path = scratch.file("mine.bmp");
    SetCurrentDirectoryA(previous);
    loadPressedPicture(true, path);
    EXPECT_EQ(bitmapPixels(slot(PressedPictureSlot)).at(10, 10), kYellow);
}

// The built-in pressed picture when the flag is off, the name is empty, or the file is missing,
// not a bitmap or empty.
TEST_F(PicturesTest, BuiltInPressedPictureUnlessAUsableFileIsAskedFor)
{
    const std::string text = "This is not a picture.\r\n";
    write("keyboard.bmp", pictureShape(24));
    write("text.bmp", std::vector<unsigned char>(text.begin(), text.end()));
    write("empty.bmp", std::vector<unsigned char>());
    const std::pair<bool, const char*> cases[] = {
        {false, "keyboard.bmp"}, {true, ""}, {true, "absent.bmp"}, {true, "text.bmp"}, {true, "empty.bmp"}};
    for (const auto& [useCustom, name] : cases) {
        SCOPED_TRACE(name);
        imagePair[PressedPictureSlot].reset();
        loadPressedPicture(useCustom, name);
        EXPECT_TRUE(holds(PressedPictureSlot, IDB_PRESSED));
    }
}

// A damaged file leaves slot 1 with a picture (the file's or the built-in one) and nothing
// breaks. A top-down file (negative height) is used and shown upright: yellow on top.
TEST_F(PicturesTest, DamagedFilesGiveSomePictureWithoutHarmAndTopDownFilesAreUsed)
{
    const std::vector<unsigned char> whole = bitmapFileBytes(pictureShape(24));
    std::vector<std::pair<std::vector<unsigned char>, bool>> files; // the bytes, whether surely used
    for (size_t length : {size_t{2}, size_t{14}, size_t{30}, size_t{54}, whole.size() / 3, whole.size() - 1})
        files.emplace_back(std::vector<unsigned char>(whole.begin(), whole.begin() + length), false);
    for (int bits : {8, 24, 32})
        files.emplace_back(bitmapFileBytes(pictureShape(bits, true)), true);
    for (const auto& [bytes, used] : files) {
        SCOPED_TRACE(::testing::Message() << bytes.size() << " bytes");
        imagePair[PressedPictureSlot].reset();
        write("keyboard.bmp", bytes);
        loadPressedPicture(true, "keyboard.bmp");
        ASSERT_NE(slot(PressedPictureSlot), nullptr);
        const SIZE size = bitmapSize(slot(PressedPictureSlot));
        EXPECT_EQ(size.cx, 1000);
        EXPECT_EQ(size.cy, 242);
        if (used) {
            EXPECT_FALSE(holds(PressedPictureSlot, IDB_PRESSED));
            EXPECT_EQ(bitmapPixels(slot(PressedPictureSlot)).at(500, 10), kYellow);
        }
    }
}

// A file of any depth or size is used when asked for: indexed ones show their palette's stripes
// (1 bit a black and white checker), the others their halves, yellow on top. The base size stays.
TEST_F(PicturesTest, FilesOfEveryDepthAndSizeAreUsed)
{
    ASSERT_TRUE(loadBasePicture());
    struct Seen {
        int x, y;
        std::uint32_t colour;
    };
    const std::vector<Seen> stripesSeen{{5, 5, kBlue}, {15, 5, kGreen}, {25, 230, kYellow}, {35, 230, 0}};
    const std::vector<Seen> halvesSeen{
        {80, 60, kYellow}, {80, 200, kGreen}, {500, 10, kYellow}, {500, 230, kGreen}};
    BitmapFileShape checkered = pictureShape(1);
    checkered.palette = {0x000000, 0xFFFFFF};
    checkered.indexAt = checker;
    BitmapFileShape small = pictureShape(24);
    small.width = 500;
    small.height = 100;
    small.colourAt = solidBlue;
    const std::pair<BitmapFileShape, std::vector<Seen>> cases[]
        = {{checkered, {{0, 0, 0x000000}, {1, 0, 0xFFFFFF}, {999, 241, 0x000000}}},
            {pictureShape(4), stripesSeen}, {pictureShape(8), stripesSeen}, {pictureShape(24), halvesSeen},
            {pictureShape(32), halvesSeen}, {small, {{0, 0, kBlue}, {499, 99, kBlue}}}};
    for (const auto& [shape, seen] : cases) {
        SCOPED_TRACE(::testing::Message() << shape.bitsPerPixel << " bits, " << shape.width << " wide");
        write("keyboard.bmp", shape);
        loadPressedPicture(true, "keyboard.bmp");
        const Pixels held = bitmapPixels(slot(PressedPictureSlot));
        ASSERT_EQ(held.width, shape.width);
        ASSERT_EQ(held.height, shape.height);
        for (const auto& [x, y, colour] : seen)
            EXPECT_EQ(held.at(x, y), colour) << x << "," << y;
    }
    EXPECT_EQ(baseWidth, 1000);
    EXPECT_EQ(baseHeight, 242);
}

// Two headers that the files above do not use, both 2 x 1 pixels, blue then yellow: the old
// 12-byte header with colours of 3 bytes (blue, green, red), and 16 bits with 5-6-5 masks.
TEST_F(PicturesTest, OldHeadersAndMaskedPixelsShowTheirColours)
{
    const std::vector<unsigned char> oldHeader{'B', 'M', 36, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0, 12, 0, 0, 0, 2,
        0, 1, 0, 1, 0, 1, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0x40, 0, 0, 0};
    const std::vector<unsigned char> masked{'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 66, 0, 0, 0, 40, 0, 0, 0, 2, 0,
        0, 0, 1, 0, 0, 0, 1, 0, 16, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0, 0x1F, 0, 0xE0, 0xFF};
    for (const std::vector<unsigned char>* file : {&oldHeader, &masked}) {
        write("keyboard.bmp", *file);
        loadPressedPicture(true, "keyboard.bmp");
        const Pixels held = bitmapPixels(slot(PressedPictureSlot));
        ASSERT_EQ(held.width, 2);
        EXPECT_EQ(held.at(0, 0), kBlue);
        EXPECT_EQ(held.at(1, 0), kYellow);
    }
}

// The colour-coded sample that ships beside the program works as the custom picture: every key
// and pointer slot lights in a colour of its own, and where the pictures show no key face (the
// notch of the Enter key) it matches the base picture.
TEST_F(PicturesTest, ShippedSampleLightsEveryKey)
{
    HRSRC found = FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_SAMPLE_PICTURE), RT_RCDATA);
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, found)));
    write("keyboard.bmp", std::vector<unsigned char>(data, data + SizeofResource(nullptr, found)));

    loadPressedPicture(true, "keyboard.bmp");
    ASSERT_FALSE(holds(PressedPictureSlot, IDB_PRESSED));
    const Pixels sample = bitmapPixels(slot(PressedPictureSlot));
    const Pixels& base = builtInPicture(IDB_BASE);
    ASSERT_EQ(sample.width, 1000);
    ASSERT_EQ(sample.height, 242);

    const auto facesDiffer = [&](const KeyRect& r) {
        return countDifferences(sample, base, RECT{r.x, r.y, r.x + r.width, r.y + r.height})
            > r.width * r.height / 3;
    };
    for (unsigned code = 0; code < 256; ++code) {
        if (!isDrawable(keyRect(code)))
            continue;
        EXPECT_TRUE(facesDiffer(keyRect(code))) << "key " << code;
    }
    for (unsigned index = 0; index < 5; ++index) {
        const KeyRect r = pointerRect(index);
        EXPECT_GT(
            testing_support::countColour(sample, RECT{r.x, r.y, r.x + r.width, r.y + r.height}, kRed), 0)
            << "slot " << index;
    }
    EXPECT_EQ(countDifferences(sample, base, RECT{546, 126, 549, 164}), 0);
    // Keys typed by different fingers differ: A (little finger) and S (ring finger).
    EXPECT_NE(sample.at(90, 140), sample.at(130, 140));
}

} // namespace
