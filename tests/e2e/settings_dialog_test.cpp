// The settings dialog of the running program, opened through its menu command: what it shows,
// what OK keeps (seen when it opens again, and in the settings file once the program has ended),
// what it changes at once on the window, and that the keyboard keeps lighting meanwhile.
#include <gtest/gtest.h>

#include "e2e_helpers.h"
#include "support/settings_dialog_access.h"

using namespace e2e;
using namespace testing_support;

namespace {

void setCheck(HWND dialog, int id, bool checked)
{
    if (isChecked(dialog, id) != checked)
        click(dialog, id);
}

DialogView viewOf(const SettingsValues& values)
{
    return testing_support::viewOf(values.defaultPosition, values.mostTop, values.memorizePosition,
        values.useCustomImage, std::to_string(values.wheelInitTime), values.customImageName);
}

// Sets every control to the values (the position even when its button is greyed).
void enter(HWND dialog, const SettingsValues& values)
{
    setCheck(dialog, IDC_MEMORIZE, false);
    click(dialog, IDC_POSITION + values.defaultPosition);
    setCheck(dialog, IDC_MEMORIZE, values.memorizePosition);
    setCheck(dialog, IDC_MOSTTOP, values.mostTop);
    setCheck(dialog, IDC_USECUSTOM, values.useCustomImage);
    setText(dialog, IDC_IMAGENAME, values.customImageName);
    setText(dialog, IDC_WHEELTIME, std::to_string(values.wheelInitTime));
}

bool standsAt(HWND window, POINT place)
{
    return pumpUntil(
        [&] {
            const RECT rect = windowRect(window);
            return rect.left == place.x && rect.top == place.y;
        },
        kProgramWait);
}

TEST(SettingsDialog, ShowsTheFileValuesGreysByTheCheckBoxesAndChangesNothingWhenDismissed)
{
    SettingsValues settings;
    settings.customImageName = "mine.bmp";
    settings.useCustomImage = 1;
    settings.wheelInitTime = 250;
    settings.defaultPosition = 3;
    settings.memorizePosition = 0;
    settings.mostTop = 0;
    InstalledProgram program;
    const HWND window = startShowingBasePicture(program, settings.text());
    ASSERT_NE(window, nullptr);
    const POINT place = gridPlace(3);

    HWND dialog = openSettingsDialog(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(readDialog(dialog), viewOf(settings));
    for (int id : {IDOK, IDCANCEL, IDC_MOSTTOP, IDC_MEMORIZE, IDC_USECUSTOM, IDC_WHEELTIME})
        EXPECT_TRUE(isEnabled(dialog, id)) << id;
    click(dialog, IDC_MEMORIZE);
    click(dialog, IDC_USECUSTOM);
    EXPECT_EQ(readDialog(dialog), testing_support::viewOf(3, false, true, false, "250", "mine.bmp"));

    // Keys typed while it is open light up; only the part that the dialog leaves uncovered is read.
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const RECT uncovered{windowRect(dialog).right - origin.x, 0, kLayoutWidth, kLayoutHeight};
    ASSERT_LT(uncovered.left, kRightCtrl.left);
    {
        Held ctrl(VK_RCONTROL, 0x1D, true);
        EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kRightCtrl}), uncovered));
    }
    EXPECT_TRUE(program.waitForPicture(programBasePicture(), uncovered));

    for (const DialogEnd how : {DialogEnd::cancelButton, DialogEnd::escapeKey, DialogEnd::closeBox}) {
        SCOPED_TRACE(static_cast<int>(how));
        SettingsValues other{"other.bmp", 0, 5, 0, -1, 1, 1, -1};
        enter(dialog, other);
        ASSERT_EQ(readDialog(dialog), viewOf(other));
        ASSERT_TRUE(endDialog(dialog, how));
        ASSERT_TRUE(program.sync());
        EXPECT_FALSE(isTopmost(window));
        EXPECT_EQ(windowRect(window).left, place.x);
        EXPECT_EQ(windowRect(window).top, place.y);
        dialog = openSettingsDialog(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(readDialog(dialog), viewOf(settings));
    }
    ASSERT_TRUE(endDialog(dialog, DialogEnd::cancelButton));
    EXPECT_TRUE(program.closeCleanly());
    EXPECT_EQ(program.settingsLines(), settings.closedAt(place).lines());
}

TEST(SettingsDialog, OkKeepsTheValuesReappliesTopmostAndMovesTheWindowOnlyForANewPlace)
{
    InstalledProgram program;
    const HWND window = startShowingBasePicture(program);
    ASSERT_NE(window, nullptr);
    HWND dialog = openSettingsDialog(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(readDialog(dialog), viewOf(SettingsValues{}));

    // The time is the number that the text starts with, and at least one.
    const std::pair<const char*, const char*> times[]
        = {{"abc", "1"}, {"0", "1"}, {"-20", "1"}, {"", "1"}, {"250", "250"}, {"250ms", "250"}};
    for (const auto& [typed, stored] : times) {
        setText(dialog, IDC_WHEELTIME, typed);
        ASSERT_TRUE(endDialog(dialog, DialogEnd::ok));
        dialog = openSettingsDialog(window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(text(dialog, IDC_WHEELTIME), stored) << "typed: " << typed;
    }
    std::string name;
    for (int i = 0; name.size() < 296; ++i)
        name += static_cast<char>('a' + i % 26);
    setText(dialog, IDC_IMAGENAME, name + ".bmp");
    ASSERT_TRUE(endDialog(dialog, DialogEnd::ok));
    dialog = openSettingsDialog(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(text(dialog, IDC_IMAGENAME), (name + ".bmp").substr(0, 255));

    // The same place: a hand-moved window stays, the topmost state follows the box both ways.
    SetWindowPos(window, nullptr, 200, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(program.sync());
    for (const bool topmost : {false, true}) {
        click(dialog, IDC_MOSTTOP);
        ASSERT_TRUE(endDialog(dialog, DialogEnd::ok));
        EXPECT_TRUE(pumpUntil([&] { return isTopmost(window) == topmost; }, kProgramWait));
        ASSERT_TRUE(program.sync());
        EXPECT_EQ(windowRect(window).left, 200);
        EXPECT_EQ(windowRect(window).top, 100);
        dialog = openSettingsDialog(window);
        ASSERT_NE(dialog, nullptr);
    }

    const POINT place = gridPlace(0);
    const SettingsValues chosen{"mine.bmp", 1, 250, 0, place.x, 0, 0, place.y};
    enter(dialog, chosen);
    ASSERT_TRUE(endDialog(dialog, DialogEnd::ok));
    EXPECT_TRUE(pumpUntil([&] { return !isTopmost(window); }, kProgramWait));
    EXPECT_TRUE(standsAt(window, place));
    EXPECT_FALSE(program.hasSettings()) << "written before the program ended";
    EXPECT_TRUE(program.closeCleanly());
    EXPECT_EQ(program.settingsLines(), chosen.lines());
}

} // namespace
