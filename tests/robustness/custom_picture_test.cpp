// Broken pressed pictures in place of the user's keyboard.bmp: the program must fall back to its
// built-in pressed picture without a word, and still light a held key. A sound picture is used.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "support/installed_program.h"
#include "support/program_start.h"

using namespace testing_support;

namespace {

constexpr unsigned kKeyA = 0x41;
constexpr char kUseCustomPicture[] = "[System]\r\nUseCustomImage=1\r\nCustomImageName=keyboard.bmp\r\n";

std::uint32_t customColour(int x, int y) { return rgb(x % 256, y, 0x5A); }

std::vector<unsigned char> soundPicture()
{
    BitmapFileShape shape;
    shape.width = kLayoutWidth;
    shape.height = kLayoutHeight;
    shape.bitsPerPixel = 24;
    shape.colourAt = customColour;
    return bitmapFileBytes(shape);
}

void put32(std::vector<unsigned char>& bytes, size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

std::vector<unsigned char> firstBytes(size_t count)
{
    std::vector<unsigned char> bytes = soundPicture();
    bytes.resize(count);
    return bytes;
}

// An 8-bit run-length compressed picture of the given runs, 1000 x 242, palette entry i of
// colour paletteColour(i).
std::uint32_t paletteColour(unsigned index) { return rgb(index, 255 - index, 0x33); }

std::vector<unsigned char> runLengthPicture(const std::vector<unsigned char>& runs)
{
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    std::vector<unsigned char> bytes(offset, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(bytes, 2, offset + static_cast<std::uint32_t>(runs.size()));
    put32(bytes, 10, offset);
    put32(bytes, 14, 40);
    put32(bytes, 18, kLayoutWidth);
    put32(bytes, 22, kLayoutHeight);
    bytes[26] = 1; // planes
    bytes[28] = 8; // bits per pixel
    put32(bytes, 30, BI_RLE8);
    put32(bytes, 34, static_cast<std::uint32_t>(runs.size()));
    for (unsigned i = 0; i < 256; ++i)
        put32(bytes, 54 + 4 * i, paletteColour(i));
    bytes.insert(bytes.end(), runs.begin(), runs.end());
    return bytes;
}

// Each row, bottom first, in runs of 250 pixels of the colours 10 + row % 7 and onwards.
std::vector<unsigned char> soundRuns()
{
    std::vector<unsigned char> runs;
    for (int row = 0; row < kLayoutHeight; ++row) {
        for (int run = 0; run < 4; ++run) {
            runs.push_back(250);
            runs.push_back(static_cast<unsigned char>(10 + row % 7 + run));
        }
        runs.insert(runs.end(), {0, 0});
    }
    runs.insert(runs.end(), {0, 1});
    return runs;
}

std::uint32_t soundRunsColour(int x, int y)
{
    const int row = kLayoutHeight - 1 - y;
    return paletteColour(10 + row % 7 + x / 250);
}

// Runs the program with the picture file in place, holds A and checks that the window shows the
// pressed picture given, with no message box at any point and a clean exit. pictureFile null puts
// a directory in the file's place.
void expectHeldKeyShows(const std::vector<unsigned char>* pictureFile, const Pixels& pressed)
{
    InstalledProgram program;
    ASSERT_TRUE(program.installed());
    if (pictureFile) {
        ASSERT_TRUE(
            writeFile(program.file("keyboard.bmp"), std::string(pictureFile->begin(), pictureFile->end())));
    } else {
        ASSERT_TRUE(CreateDirectoryA(program.file("keyboard.bmp").c_str(), nullptr));
    }
    const HWND window = startShowingBasePicture(program, kUseCustomPicture);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PostMessageA(window, kHookEventMessage, 0, 0x00010000 | kKeyA));
    ASSERT_TRUE(program.sync());
    EXPECT_TRUE(program.waitForPicture(programPictureWithLit({toRect(keyRect(kKeyA))}, pressed)));
    EXPECT_EQ(findMessageBoxOf(program.id()), nullptr);
    EXPECT_TRUE(program.closeCleanly());
}

Pixels pictureOf(std::uint32_t (*colourAt)(int x, int y))
{
    Pixels pixels;
    pixels.width = kLayoutWidth;
    pixels.height = kLayoutHeight;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            pixels.data.push_back(colourAt(x, y));
    return pixels;
}

} // namespace

// Sound pictures are used for held keys; a broken file or a directory gives the built-in pressed
// picture. Which bytes make a sound picture is checked natively, with the bitmap layout.
TEST(CustomPicture, SoundPicturesAreUsedAndBrokenFilesFallBackToTheBuiltInPicture)
{
    const Pixels& builtIn = programPressedPicture();
    const std::tuple<const char*, std::vector<unsigned char>, Pixels> files[]
        = {{"sound", soundPicture(), pictureOf(customColour)},
            {"sound runs", runLengthPicture(soundRuns()), pictureOf(soundRunsColour)},
            {"ten rows", firstBytes(54 + 1000 * 3 * 10), builtIn}};
    for (const auto& [name, file, pressed] : files) {
        SCOPED_TRACE(name);
        expectHeldKeyShows(&file, pressed);
    }
    SCOPED_TRACE("a directory");
    expectHeldKeyShows(nullptr, builtIn);
}
