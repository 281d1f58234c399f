// A Western or a Japanese system code page, and a folder whose name that code page may not spell
// or whose bytes look like Shift-JIS to a Western one: the program is found whole, reads as
// Japanese, and keeps its settings in its own folder.
#include <gtest/gtest.h>

#include "e2e_helpers.h"

using namespace e2e;
using namespace testing_support;

namespace {

constexpr std::uint32_t kCustomColour = rgb(0x20, 0x90, 0x70);
std::uint32_t customColour(int, int) { return kCustomColour; }

struct Folder {
    const char* name;
    const wchar_t* path;
};

// The system code page is this process's: the suite runs once in a Japanese and once in a Western
// locale, and the program started from it takes the same code page.
class CodePageAndFolder : public ::testing::TestWithParam<Folder> { };

// The user's own picture beside the program lights the key, so the settings file was read there.
TEST_P(CodePageAndFolder, StartsWithoutAWarningLightsAKeyAndWritesItsSettingsInItsFolder)
{
    InstalledProgram program("keyhook.dll", GetParam().path);
    ASSERT_TRUE(program.installed());
    SettingsValues settings;
    settings.useCustomImage = 1;
    BitmapFileShape shape;
    shape.width = kLayoutWidth;
    shape.height = kLayoutHeight;
    shape.colourAt = customColour;
    const std::vector<unsigned char> picture = bitmapFileBytes(shape);
    ASSERT_TRUE(program.writeBeside(L"keyboard.bmp", std::string(picture.begin(), picture.end())));
    ASSERT_TRUE(program.writeSettings(settings.text()));
    ASSERT_TRUE(program.start());
    const HWND window = program.waitForWindow();
    const HWND box = findMessageBoxOf(program.id());
    ASSERT_EQ(box, nullptr) << "a warning";
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(program.waitForPicture(programBasePicture()));
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Taveloキーボード Ver1.02");
    {
        Held a('A', 0x1E);
        const Pixels custom{kLayoutWidth, kLayoutHeight,
            std::vector<std::uint32_t>(size_t{kLayoutWidth} * kLayoutHeight, kCustomColour)};
        EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kKeyA}, custom)));
    }
    EXPECT_TRUE(program.closeCleanly());

    EXPECT_EQ(program.settingsLines(), settings.closedAt(gridPlace(7)).lines());
    const std::wstring home = std::wstring(GetParam().path) + L"\\";
    EXPECT_EQ(program.scratchFiles(),
        (std::vector<std::wstring>{home + L"TaveloKeyboard.exe", home + L"TaveloKeyboard.ini",
            home + L"keyboard.bmp", home + L"keyhook.dll"}));
}

// 表 ends in the byte 0x5C; 932 has no é and no Hangul, 1252 no 表; in 1252 é and the separator after
// it are bytes that Shift-JIS would take for one character.
INSTANTIATE_TEST_SUITE_P(CodePage, CodePageAndFolder,
    ::testing::Values(Folder{"Hyouji", L"表示\\kb"}, Folder{"Jose", L"José\\kb"},
        Folder{"Hangul", L"한글\\kb"}, Folder{"Cafe", L"Tools\\Café"}),
    [](const ::testing::TestParamInfo<Folder>& info) { return info.param.name + std::to_string(GetACP()); });

TEST(CodePage, TheHookWarningReadsAsJapanese)
{
    InstalledProgram program("");
    ASSERT_TRUE(program.installed());
    ASSERT_TRUE(program.start());
    HWND box = nullptr;
    wchar_t text[64] = {};
    ASSERT_TRUE(pumpUntil(
        [&] {
            box = findMessageBoxOf(program.id());
            return box && GetDlgItemTextW(box, 0xFFFF, text, 64) > 0; // the box's text control
        },
        kProgramWait));
    wchar_t caption[16] = {};
    GetWindowTextW(box, caption, 16);
    EXPECT_STREQ(text, L"keyhook.dllの初期化に失敗しました");
    EXPECT_STREQ(caption, L"エラー");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_NE(program.waitForWindow(), nullptr);
    EXPECT_TRUE(program.closeCleanly());
}

} // namespace
