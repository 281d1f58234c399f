// The dialog template and the menu, read back from the resources built into this executable.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "resource_ids.h"

namespace {

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr WORD kNoId = 0xFFFF;

// A name-or-ordinal field of a dialog template: 0 is none, 0xFFFF an ordinal, else a string.
struct NameOrOrdinal {
    WORD ordinal = 0;
    std::wstring name;
};

struct ItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal caption;
    WORD extraBytes = 0;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::wstring caption;
    WORD pointSize = 0;
    std::wstring face;
    std::vector<ItemTemplate> items;
};

class TemplateReader {
public:
    TemplateReader(const BYTE* data, size_t size)
        : data(data)
        , size(size)
    {
    }

    bool failed() const { return overrun; }

    WORD word()
    {
        if (at + 2 > size) {
            overrun = true;
            return 0;
        }
        const WORD value = static_cast<WORD>(data[at] | data[at + 1] << 8);
        at += 2;
        return value;
    }
    DWORD dword()
    {
        const DWORD low = word();
        return low | static_cast<DWORD>(word()) << 16;
    }
    short coordinate() { return static_cast<short>(word()); }
    std::wstring string()
    {
        std::wstring text;
        for (WORD c = word(); c && !overrun; c = word())
            text += static_cast<wchar_t>(c);
        return text;
    }
    NameOrOrdinal nameOrOrdinal()
    {
        NameOrOrdinal field;
        const WORD first = word();
        if (first == 0xFFFF) {
            field.ordinal = word();
        } else if (first != 0) {
            field.name = static_cast<wchar_t>(first) + string();
        }
        return field;
    }
    void alignToDword() { at = (at + 3) & ~size_t{3}; }
    void skip(size_t bytes) { at += bytes; }

private:
    const BYTE* data;
    size_t size;
    size_t at = 0;
    bool overrun = false;
};

ItemTemplate readItem(TemplateReader& reader)
{
    reader.alignToDword();
    ItemTemplate item;
    item.style = reader.dword();
    item.exStyle = reader.dword();
    item.x = reader.coordinate();
    item.y = reader.coordinate();
    item.cx = reader.coordinate();
    item.cy = reader.coordinate();
    item.id = reader.word();
    item.windowClass = reader.nameOrOrdinal();
    item.caption = reader.nameOrOrdinal();
    item.extraBytes = reader.word();
    reader.skip(item.extraBytes);
    return item;
}

// Parses a classic DLGTEMPLATE with its items; false when the bytes run out.
bool readDialogTemplate(const BYTE* data, size_t size, DialogTemplate& dialog)
{
    TemplateReader reader(data, size);
    dialog.style = reader.dword();
    dialog.exStyle = reader.dword();
    const WORD count = reader.word();
    dialog.x = reader.coordinate();
    dialog.y = reader.coordinate();
    dialog.cx = reader.coordinate();
    dialog.cy = reader.coordinate();
    dialog.menu = reader.nameOrOrdinal();
    dialog.windowClass = reader.nameOrOrdinal();
    dialog.caption = reader.string();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = reader.word();
        dialog.face = reader.string();
    }
    for (WORD i = 0; i < count && !reader.failed(); ++i)
        dialog.items.push_back(readItem(reader));
    return !reader.failed();
}

bool loadSettingsTemplate(DialogTemplate& dialog)
{
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC found
        = FindResourceA(module, MAKEINTRESOURCEA(IDD_SETTINGS), MAKEINTRESOURCEA(5)); // RT_DIALOG
    if (!found)
        return false;
    const HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    return bytes && readDialogTemplate(bytes, SizeofResource(module, found), dialog);
}

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

TEST(SettingsDialogTemplate, IsAModalFrameAtTheOwnersOriginWithItsCaptionAndFont)
{
    DialogTemplate dialog;
    ASSERT_TRUE(loadSettingsTemplate(dialog));
    EXPECT_EQ(dialog.style, 0x80C800C0u);
    EXPECT_EQ(
        dialog.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 254);
    EXPECT_EQ(dialog.cy, 165);
    EXPECT_EQ(dialog.menu.ordinal, 0);
    EXPECT_TRUE(dialog.menu.name.empty());
    EXPECT_EQ(dialog.windowClass.ordinal, 0);
    EXPECT_TRUE(dialog.windowClass.name.empty());
    EXPECT_EQ(dialog.caption, L"設定");
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.face, L"ＭＳ Ｐゴシック");
}

TEST(SettingsDialogTemplate, HoldsTheTwentyControlsInTabOrderExactly)
{
    DialogTemplate dialog;
    ASSERT_TRUE(loadSettingsTemplate(dialog));
    ASSERT_EQ(dialog.items.size(), std::size(kExpectedItems));
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        const ItemTemplate& item = dialog.items[i];
        const ExpectedItem& expected = kExpectedItems[i];
        EXPECT_EQ(item.id, expected.id);
        EXPECT_EQ(item.windowClass.ordinal, expected.windowClass);
        EXPECT_EQ(item.style, WS_CHILD | WS_VISIBLE | expected.style);
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.caption.ordinal, 0);
        EXPECT_EQ(item.caption.name, expected.caption);
        EXPECT_EQ(item.x, expected.x);
        EXPECT_EQ(item.y, expected.y);
        EXPECT_EQ(item.cx, expected.cx);
        EXPECT_EQ(item.cy, expected.cy);
        EXPECT_EQ(item.extraBytes, 0);
    }
}

TEST(SettingsMenu, IsOneCommandDirectlyOnTheBar)
{
    const HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 1);
    EXPECT_EQ(GetSubMenu(menu, 0), nullptr);
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(IDM_SETTINGS));
    EXPECT_EQ(GetMenuItemID(menu, 0), 40001u);
    char caption[64] = {};
    GetMenuStringA(menu, 0, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "設定(&C)");
    DestroyMenu(menu);
}
