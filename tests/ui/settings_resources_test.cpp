// The dialog template and the menu, read back from the resources built into this executable. The
// template's bytes are compared with a template written here from one table of the controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "resource_ids.h"

namespace {

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr WORD kNoId = 0xFFFF;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
static_assert(kDialogStyle == 0x80C800C0);

// A classic DLGTEMPLATE, little-endian, as the resource compiler lays it out.
struct TemplateBytes {
    std::vector<BYTE> bytes;

    TemplateBytes& word(unsigned value)
    {
        bytes.push_back(static_cast<BYTE>(value & 0xFF));
        bytes.push_back(static_cast<BYTE>(value >> 8 & 0xFF));
        return *this;
    }
    TemplateBytes& dword(DWORD value) { return word(value & 0xFFFF).word(value >> 16); }
    TemplateBytes& text(std::wstring_view text)
    {
        for (const wchar_t c : text)
            word(c);
        return word(0);
    }
    TemplateBytes& alignToDword()
    {
        while (bytes.size() % 4)
            bytes.push_back(0);
        return *this;
    }
};

struct ExpectedItem {
    WORD id;
    WORD windowClass;
    DWORD style; // without WS_CHILD | WS_VISIBLE, which every control has
    const wchar_t* caption;
    short x, y, cx, cy;
};

constexpr DWORD kPositionButton = BS_AUTORADIOBUTTON | BS_PUSHLIKE;
constexpr DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kTextField = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

// In tab order.
const ExpectedItem kExpectedItems[] = {
    {IDOK, kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, L"OK", 75, 145, 40, 14},
    {IDCANCEL, kButton, BS_PUSHBUTTON | WS_TABSTOP, L"Cancel", 120, 145, 40, 14},
    {kNoId, kButton, BS_GROUPBOX, L"起動時のウィンドウ初期位置", 5, 5, 95, 105},
    {1000, kButton, kPositionButton | WS_GROUP, L"左上", 20, 20, 20, 20},
    {1001, kButton, kPositionButton, L"上", 40, 20, 20, 20},
    {1002, kButton, kPositionButton, L"右上", 60, 20, 20, 20},
    {1003, kButton, kPositionButton, L"左", 20, 40, 20, 20},
    {1004, kButton, kPositionButton, L"中央", 40, 40, 20, 20},
    {1005, kButton, kPositionButton, L"右", 60, 40, 20, 20},
    {1006, kButton, kPositionButton, L"左下", 20, 60, 20, 20},
    {1007, kButton, kPositionButton, L"下", 40, 60, 20, 20},
    {1008, kButton, kPositionButton, L"右下", 60, 60, 20, 20},
    {1009, kButton, kCheckBox, L"常に手前に表示", 110, 85, 75, 15},
    {1010, kButton, kCheckBox, L"終了時の位置を記憶", 10, 90, 85, 15},
    {kNoId, kStatic, SS_LEFT | WS_GROUP, L"マウスホイールの回転表示を初期化するまでの時間（ミリ秒）", 5, 120,
        175, 10},
    {1011, kEdit, kTextField, L"", 185, 115, 45, 15},
    {1012, kButton, kCheckBox, L"色分け画像を使用する（再起動後に反映）", 110, 15, 130, 15},
    {1013, kEdit, kTextField, L"", 120, 51, 115, 15},
    {kNoId, kStatic, SS_LEFT | WS_GROUP, L"色分け画像ファイル名（bmpのみ）", 120, 35, 115, 15},
    {kNoId, kButton, BS_GROUPBOX, L"色分け画像", 105, 5, 140, 75},
};

} // namespace

// A modal frame at the owner's origin, without menu or class, with its caption and font; then the
// twenty controls, each with its id, class ordinal, style, caption, place and no extra data.
TEST(SettingsDialogTemplate, IsExactlyTheDialogAndItsTwentyControls)
{
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found
        = FindResourceA(module, MAKEINTRESOURCEA(IDD_SETTINGS), MAKEINTRESOURCEA(5)); // RT_DIALOG
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(data, nullptr);
    const std::vector<BYTE> actual(data, data + SizeofResource(module, found));

    TemplateBytes expected;
    expected.dword(kDialogStyle).dword(0).word(std::size(kExpectedItems));
    expected.word(0).word(0).word(254).word(165).word(0).word(0).text(L"設定").word(9).text(
        L"ＭＳ Ｐゴシック");
    std::vector<size_t> starts{0};
    for (const ExpectedItem& item : kExpectedItems) {
        starts.push_back(expected.alignToDword().bytes.size());
        expected.dword(WS_CHILD | WS_VISIBLE | item.style).dword(0);
        expected.word(item.x).word(item.y).word(item.cx).word(item.cy).word(item.id);
        expected.word(0xFFFF).word(item.windowClass).text(item.caption).word(0);
    }
    starts.push_back(expected.bytes.size());

    // The parts one by one, so that a difference names its control (0 is the dialog itself).
    for (size_t part = 0; part + 1 < starts.size(); ++part) {
        SCOPED_TRACE("part " + std::to_string(part));
        ASSERT_GE(actual.size(), starts[part + 1]);
        EXPECT_EQ(std::vector<BYTE>(actual.begin() + starts[part], actual.begin() + starts[part + 1]),
            std::vector<BYTE>(
                expected.bytes.begin() + starts[part], expected.bytes.begin() + starts[part + 1]));
    }
    EXPECT_EQ(actual.size(), expected.bytes.size());
}

TEST(SettingsMenu, IsOneCommandDirectlyOnTheBar)
{
    const HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 1);
    EXPECT_EQ(GetSubMenu(menu, 0), nullptr);
    EXPECT_EQ(GetMenuItemID(menu, 0), 40001u);
    static_assert(IDM_SETTINGS == 40001);
    char caption[64] = {};
    GetMenuStringA(menu, 0, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "設定(&C)");
    DestroyMenu(menu);
}
