// The settings dialog of the running program, opened through its menu command: what it shows,
// what OK keeps (read from the settings file once the program has ended) and what it changes at
// once on the window.
#include <gtest/gtest.h>

#include "keyboard_screen.h"
#include "program_driver.h"
#include "settings_dialog_driver.h"
#include "settings_file.h"

using namespace e2e;

namespace {

class SettingsDialog : public ::testing::Test {
protected:
    // Starts the program with the given settings file (none when empty).
    void startWith(const std::string& settingsText = {})
    {
        ASSERT_TRUE(copy.ready());
        if (!settingsText.empty()) {
            ASSERT_TRUE(copy.writeSettings(settingsText));
        }
        ASSERT_TRUE(program.start(copy));
        window = program.waitForWindow();
        ASSERT_NE(window, nullptr);
    }
    HWND open()
    {
        const HWND dialog = openSettingsDialog(window);
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    // Closes the program and reads what it left in the settings file.
    std::vector<std::string> closeAndReadSettings()
    {
        EXPECT_EQ(program.closeAndWait(), 0u);
        return copy.settingsLines();
    }
    // What a run that changed nothing writes, with the window at its first start place.
    static SettingsValues untouched()
    {
        SettingsValues values;
        values.left = gridPlace(7).x;
        values.top = gridPlace(7).y;
        return values;
    }

    InstalledCopy copy;
    RunningCopy program;
    HWND window = nullptr;
};

int checkedPosition(HWND dialog)
{
    int found = -1;
    for (int position = 0; position < 9; ++position)
        if (isChecked(dialog, kPositionButton + position))
            found = found == -1 ? position : -2;
    return found; // -2: more than one
}

bool positionsEnabled(HWND dialog, bool enabled)
{
    for (int position = 0; position < 9; ++position)
        if (isEnabled(dialog, kPositionButton + position) != enabled)
            return false;
    return true;
}

TEST_F(SettingsDialog, OpensWithTheDefaultsAndGreysWhatTheCheckBoxesRule)
{
    startWith();
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    EXPECT_EQ(checkedPosition(dialog), 7);
    EXPECT_TRUE(positionsEnabled(dialog, false));
    EXPECT_TRUE(isChecked(dialog, kMostTopBox));
    EXPECT_TRUE(isChecked(dialog, kMemorizeBox));
    EXPECT_FALSE(isChecked(dialog, kUseCustomBox));
    EXPECT_FALSE(isEnabled(dialog, kImageNameEdit));
    EXPECT_EQ(text(dialog, kImageNameEdit), "keyboard.bmp");
    EXPECT_EQ(text(dialog, kWheelTimeEdit), "1000");
    for (int id : {IDOK, IDCANCEL, kMostTopBox, kMemorizeBox, kUseCustomBox, kWheelTimeEdit})
        EXPECT_TRUE(isEnabled(dialog, id)) << id;

    click(dialog, kMemorizeBox);
    EXPECT_TRUE(positionsEnabled(dialog, true));
    click(dialog, kMemorizeBox);
    EXPECT_TRUE(positionsEnabled(dialog, false));
    click(dialog, kUseCustomBox);
    EXPECT_TRUE(isEnabled(dialog, kImageNameEdit));
    click(dialog, kUseCustomBox);
    EXPECT_FALSE(isEnabled(dialog, kImageNameEdit));

    EXPECT_TRUE(endDialog(dialog, DialogEnd::cancelButton));
    EXPECT_EQ(closeAndReadSettings(), untouched().lines());
}

TEST_F(SettingsDialog, OpensWithTheValuesOfTheSettingsFile)
{
    SettingsValues settings;
    settings.customImageName = "mine.bmp";
    settings.useCustomImage = 1;
    settings.wheelInitTime = 250;
    settings.defaultPosition = 3;
    settings.memorizePosition = 0;
    settings.mostTop = 0;
    startWith(settings.text());
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    EXPECT_EQ(checkedPosition(dialog), 3);
    EXPECT_TRUE(positionsEnabled(dialog, true));
    EXPECT_FALSE(isChecked(dialog, kMostTopBox));
    EXPECT_FALSE(isChecked(dialog, kMemorizeBox));
    EXPECT_TRUE(isChecked(dialog, kUseCustomBox));
    EXPECT_TRUE(isEnabled(dialog, kImageNameEdit));
    EXPECT_EQ(text(dialog, kImageNameEdit), "mine.bmp");
    EXPECT_EQ(text(dialog, kWheelTimeEdit), "250");
    EXPECT_TRUE(endDialog(dialog, DialogEnd::closeBox));
    EXPECT_EQ(program.closeAndWait(), 0u);
}

struct WheelTimeCase {
    const char* name;
    const char* typed;
    int stored;
};

class WheelTimeText : public SettingsDialog, public ::testing::WithParamInterface<WheelTimeCase> { };

TEST_P(WheelTimeText, OkStoresTheNumberThatTheTextStartsWithAndAtLeastOne)
{
    startWith();
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    setText(dialog, kWheelTimeEdit, GetParam().typed);
    ASSERT_TRUE(endDialog(dialog, DialogEnd::ok));
    ASSERT_TRUE(program.sync());
    EXPECT_FALSE(copy.hasSettings()) << "written before the program ended";

    SettingsValues expected = untouched();
    expected.wheelInitTime = GetParam().stored;
    EXPECT_EQ(closeAndReadSettings(), expected.lines());
}

INSTANTIATE_TEST_SUITE_P(SettingsDialog, WheelTimeText,
    ::testing::Values(WheelTimeCase{"Letters", "abc", 1}, WheelTimeCase{"Zero", "0", 1},
        WheelTimeCase{"Negative", "-20", 1}, WheelTimeCase{"Empty", "", 1},
        WheelTimeCase{"Number", "250", 250}, WheelTimeCase{"NumberWithUnit", "250ms", 250}),
    [](const ::testing::TestParamInfo<WheelTimeCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsDialog, OkCutsALongImageNameTo255Bytes)
{
    startWith();
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    std::string name;
    for (int i = 0; name.size() < 296; ++i)
        name += static_cast<char>('a' + i % 26);
    name += ".bmp";
    ASSERT_EQ(name.size(), 300u);
    click(dialog, kUseCustomBox);
    setText(dialog, kImageNameEdit, name);
    ASSERT_TRUE(endDialog(dialog, DialogEnd::ok));

    SettingsValues expected = untouched();
    expected.useCustomImage = 1;
    expected.customImageName = name.substr(0, 255);
    EXPECT_EQ(closeAndReadSettings(), expected.lines());
}

TEST_F(SettingsDialog, OkWithEveryControlChangedKeepsAllAndMovesTheWindowToTheNewPlace)
{
    startWith();
    ASSERT_TRUE(isTopmost(window));
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    click(dialog, kMemorizeBox);
    click(dialog, kPositionButton + 0);
    click(dialog, kMostTopBox);
    click(dialog, kUseCustomBox);
    setText(dialog, kImageNameEdit, "mine.bmp");
    setText(dialog, kWheelTimeEdit, "250");
    ASSERT_TRUE(endDialog(dialog, DialogEnd::ok));

    EXPECT_TRUE(waitUntil([&] { return !isTopmost(window); }));
    const POINT place = gridPlace(0);
    EXPECT_TRUE(waitUntil([&] {
        const RECT rect = windowRect(window);
        return rect.left == place.x && rect.top == place.y;
    }));
    EXPECT_FALSE(copy.hasSettings()) << "written before the program ended";

    const SettingsValues expected{"mine.bmp", 1, 250, 0, place.x, 0, 0, place.y};
    EXPECT_EQ(closeAndReadSettings(), expected.lines());
}

TEST_F(SettingsDialog, OkWithTheSamePlaceLeavesAHandMovedWindowAndReappliesTopmost)
{
    startWith();
    SetWindowPos(window, nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(program.sync());
    ASSERT_EQ(windowRect(window).left, 200);

    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    click(dialog, kMostTopBox);
    ASSERT_TRUE(endDialog(dialog, DialogEnd::ok));
    EXPECT_TRUE(waitUntil([&] { return !isTopmost(window); }));

    dialog = open();
    ASSERT_NE(dialog, nullptr);
    click(dialog, kMostTopBox);
    ASSERT_TRUE(endDialog(dialog, DialogEnd::ok));
    EXPECT_TRUE(waitUntil([&] { return isTopmost(window); }));
    ASSERT_TRUE(program.sync());
    EXPECT_EQ(windowRect(window).left, 200);
    EXPECT_EQ(windowRect(window).top, 100);

    SettingsValues expected;
    expected.left = 200;
    expected.top = 100;
    EXPECT_EQ(closeAndReadSettings(), expected.lines());
}

struct DismissCase {
    const char* name;
    DialogEnd how;
};

class DialogDismissed : public SettingsDialog, public ::testing::WithParamInterface<DismissCase> { };

TEST_P(DialogDismissed, ChangesNothingWhateverTheControlsSay)
{
    startWith();
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    click(dialog, kMemorizeBox);
    click(dialog, kPositionButton + 0);
    click(dialog, kMostTopBox);
    click(dialog, kUseCustomBox);
    setText(dialog, kImageNameEdit, "mine.bmp");
    setText(dialog, kWheelTimeEdit, "250");
    ASSERT_TRUE(endDialog(dialog, GetParam().how));

    ASSERT_TRUE(program.sync());
    EXPECT_TRUE(isTopmost(window));
    EXPECT_EQ(windowRect(window).left, gridPlace(7).x);
    EXPECT_EQ(windowRect(window).top, gridPlace(7).y);
    EXPECT_EQ(closeAndReadSettings(), untouched().lines());
}

INSTANTIATE_TEST_SUITE_P(SettingsDialog, DialogDismissed,
    ::testing::Values(DismissCase{"CancelButton", DialogEnd::cancelButton},
        DismissCase{"EscapeKey", DialogEnd::escapeKey}, DismissCase{"CloseBox", DialogEnd::closeBox}),
    [](const ::testing::TestParamInfo<DismissCase>& info) { return std::string(info.param.name); });

TEST_F(SettingsDialog, KeysTypedWhileItIsOpenLightUpOnTheKeyboard)
{
    startWith();
    ASSERT_EQ(differencesAfterWaiting(window, basePicture()), 0);
    const HWND dialog = open();
    ASSERT_NE(dialog, nullptr);

    // Only the part of the picture that the dialog leaves uncovered can be read.
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const RECT uncovered{windowRect(dialog).right - origin.x, 0, kClientWidth, kClientHeight};
    ASSERT_LT(uncovered.left, kRightCtrl.left);
    {
        HeldKey ctrl(VK_RCONTROL, 0x1D, true);
        EXPECT_EQ(differencesAfterWaiting(window, pictureWithLit({kRightCtrl}), uncovered), 0);
    }
    EXPECT_EQ(differencesAfterWaiting(window, basePicture(), uncovered), 0);
    EXPECT_TRUE(endDialog(dialog, DialogEnd::cancelButton));
    EXPECT_EQ(program.closeAndWait(), 0u);
}

} // namespace
