// The real modal settings dialog, opened on the test thread and worked from a driver thread.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "app/process_globals.h"
#include "dialog_driver.h"
#include "resource_ids.h"
#include "settings/app_settings.h"
#include "support/win32_test_helpers.h"
#include "ui/settings_dialog.h"

using namespace dialog_driver;
using namespace testing_support;

namespace {

struct Settings {
    int defaultPosition;
    bool mostTop;
    bool memorizePosition;
    int left;
    int top;
    bool useCustomImage;
    std::string customImageName;
    int wheelInitTime;
    bool operator==(const Settings&) const = default;
};

// What a first run without a settings file holds.
const Settings kDefaults{7, true, true, -1, -1, false, "keyboard.bmp", 1000};

Settings currentSettings()
{
    return {DefaultPosition, MostTop, MemorizePosition, Left, Top, UseCustomImage, CustomImageName,
        WheelInitTime};
}

void store(const Settings& settings)
{
    DefaultPosition = settings.defaultPosition;
    MostTop = settings.mostTop;
    MemorizePosition = settings.memorizePosition;
    Left = settings.left;
    Top = settings.top;
    UseCustomImage = settings.useCustomImage;
    CustomImageName = settings.customImageName;
    WheelInitTime = settings.wheelInitTime;
}

// What a dialog opened on the settings shows.
DialogView shownFor(const Settings& settings)
{
    return testing_support::viewOf(settings.defaultPosition, settings.mostTop, settings.memorizePosition,
        settings.useCustomImage, std::to_string(settings.wheelInitTime), settings.customImageName);
}

// Opens the dialog, types the time text and presses OK; the stored WheelInitTime.
int wheelTimeAfterOk(HWND owner, const std::string& typed)
{
    WheelInitTime = 1000;
    const DrivenRun run = runDriven(owner, [&](HWND dialog) {
        setText(dialog, IDC_WHEELTIME, typed);
        click(dialog, IDOK);
    });
    EXPECT_TRUE(run.found && run.closed && run.result) << "typed: " << typed;
    return WheelInitTime;
}

// Opens the dialog, types the file name and presses OK; the stored CustomImageName.
std::string imageNameAfterOk(HWND owner, const std::string& typed)
{
    const DrivenRun run = runDriven(owner, [&](HWND dialog) {
        setText(dialog, IDC_IMAGENAME, typed);
        click(dialog, IDOK);
    });
    EXPECT_TRUE(run.found && run.closed && run.result);
    return CustomImageName;
}

std::string repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// One owner window for the whole suite: under Wine without a window manager every top-level
// window takes seconds to go away.
class SettingsDialog : public testing::Test {
protected:
    static void SetUpTestSuite() { sharedOwner = std::make_unique<TestWindow>(); }
    static void TearDownTestSuite() { sharedOwner.reset(); }
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(nullptr);
        store(kDefaults);
    }
    void TearDown() override { store(kDefaults); }

    static inline std::unique_ptr<TestWindow> sharedOwner;
    TestWindow& owner = *sharedOwner;
};

} // namespace

TEST_F(SettingsDialog, OpensOverTheDisabledOwnerShowingTheCurrentSettingsAndGreysByTheCheckBoxes)
{
    bool ownerEnabledWhileOpen = true, othersEnabled = false;
    HWND dialogOwner = nullptr;
    POINT dialogOrigin{0, 0}; // of the client area, which the template places
    std::vector<DialogView> views;
    const DrivenRun run = runDriven(owner.get(), [&](HWND dialog) {
        ownerEnabledWhileOpen = IsWindowEnabled(owner.get()) != FALSE;
        dialogOwner = GetWindow(dialog, GW_OWNER);
        ClientToScreen(dialog, &dialogOrigin);
        othersEnabled = isEnabled(dialog, IDOK) && isEnabled(dialog, IDCANCEL)
            && isEnabled(dialog, IDC_MOSTTOP) && isEnabled(dialog, IDC_MEMORIZE)
            && isEnabled(dialog, IDC_USECUSTOM) && isEnabled(dialog, IDC_WHEELTIME);
        for (int id : {0, IDC_MEMORIZE, IDC_MEMORIZE, IDC_USECUSTOM, IDC_USECUSTOM}) {
            if (id)
                click(dialog, id);
            views.push_back(readDialog(dialog));
        }
        click(dialog, IDCANCEL);
    });
    ASSERT_TRUE(run.found);
    EXPECT_TRUE(run.closed);
    EXPECT_FALSE(ownerEnabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
    EXPECT_EQ(dialogOwner, owner.get());
    POINT clientOrigin{0, 0};
    ClientToScreen(owner.get(), &clientOrigin);
    EXPECT_EQ(dialogOrigin.x, clientOrigin.x);
    EXPECT_EQ(dialogOrigin.y, clientOrigin.y);
    EXPECT_TRUE(othersEnabled);
    // "下" alone; the grid greyed while the position is remembered, the name while no picture is used.
    const std::vector<DialogView> expected{viewOf(7, true, true, false, "1000", "keyboard.bmp"),
        viewOf(7, true, false, false, "1000", "keyboard.bmp"),
        viewOf(7, true, true, false, "1000", "keyboard.bmp"),
        viewOf(7, true, true, true, "1000", "keyboard.bmp"),
        viewOf(7, true, true, false, "1000", "keyboard.bmp")};
    EXPECT_EQ(views, expected);
}

TEST_F(SettingsDialog, OpensEnabledWhenNoPositionIsRememberedAndThePictureIsUsed)
{
    store({0, true, false, -1, -1, true, "keyboard.bmp", 1000});
    DialogView view;
    const DrivenRun run = runDriven(owner.get(), [&](HWND dialog) {
        view = readDialog(dialog);
        click(dialog, IDCANCEL);
    });
    ASSERT_TRUE(run.found);
    EXPECT_EQ(view, shownFor(currentSettings()));
    EXPECT_EQ(view.enabledPositions, 9);
    EXPECT_TRUE(view.imageNameEnabled);
}

TEST_F(SettingsDialog, OkStoresEveryControlIncludingAGreyedPosition)
{
    int checked = -1;
    bool mostTopAfterPositionClick = false;
    const DrivenRun run = runDriven(owner.get(), [&](HWND dialog) {
        click(dialog, IDC_MEMORIZE); // frees the grid
        click(dialog, 1002);         // "右上"
        click(dialog, IDC_MEMORIZE); // greys it again; the choice stays
        mostTopAfterPositionClick = isChecked(dialog, IDC_MOSTTOP);
        checked = readDialog(dialog).position;
        click(dialog, IDC_MOSTTOP);
        click(dialog, IDC_USECUSTOM);
        setText(dialog, IDC_WHEELTIME, "250ms");
        setText(dialog, IDC_IMAGENAME, "色分け.bmp");
        click(dialog, IDOK);
    });
    ASSERT_TRUE(run.found);
    EXPECT_TRUE(run.closed);
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
    // The radio group spans the check boxes; a position click must leave them alone.
    EXPECT_TRUE(mostTopAfterPositionClick);
    EXPECT_EQ(checked, 2);
    const Settings expected{2, false, true, -1, -1, true, "色分け.bmp", 250};
    EXPECT_EQ(currentSettings(), expected);
}

TEST_F(SettingsDialog, OkWithoutChangesKeepsEverySetting)
{
    const Settings before{4, false, false, 120, 80, true, "", 5};
    store(before);
    const DrivenRun run = runDriven(owner.get(), [&](HWND dialog) { click(dialog, IDOK); });
    ASSERT_TRUE(run.found);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(currentSettings(), before);
}

TEST_F(SettingsDialog, TimeTextIsReadLikeAtoiAndKeptAtLeastOne)
{
    EXPECT_EQ(wheelTimeAfterOk(owner.get(), "abc"), 1);
    EXPECT_EQ(wheelTimeAfterOk(owner.get(), "0"), 1);
    EXPECT_EQ(wheelTimeAfterOk(owner.get(), "-20"), 1);
    EXPECT_EQ(wheelTimeAfterOk(owner.get(), ""), 1);
    EXPECT_EQ(wheelTimeAfterOk(owner.get(), "250"), 250);
    EXPECT_EQ(wheelTimeAfterOk(owner.get(), "250ms"), 250);
    EXPECT_EQ(wheelTimeAfterOk(owner.get(), "  +42"), 42);
}

TEST_F(SettingsDialog, TimeBeyondThirtyTwoBitsStoresTheNearestValueThatFits)
{
    EXPECT_EQ(wheelTimeAfterOk(owner.get(), "99999999999"), INT_MAX);
    EXPECT_EQ(wheelTimeAfterOk(owner.get(), "2147483648"), INT_MAX);
    EXPECT_EQ(wheelTimeAfterOk(owner.get(), "-99999999999"), 1);
}

TEST_F(SettingsDialog, FileNameIsStoredAsTypedUpTo255Bytes)
{
    EXPECT_EQ(imageNameAfterOk(owner.get(), "C:\\絵\\表.bmp"), "C:\\絵\\表.bmp");
    EXPECT_EQ(imageNameAfterOk(owner.get(), "not a picture.txt"), "not a picture.txt");
    EXPECT_EQ(imageNameAfterOk(owner.get(), ""), "");
    EXPECT_EQ(imageNameAfterOk(owner.get(), std::string(300, 'x')), std::string(255, 'x'));
    // 255 bytes end in the middle of the 128th double-byte character: it is left out whole.
    EXPECT_EQ(imageNameAfterOk(owner.get(), repeated("あ", 150)), repeated("あ", 127));
    // A trail byte in the lead byte range must not be taken for a dangling lead byte.
    EXPECT_EQ(imageNameAfterOk(owner.get(), std::string("a").append(repeated("＝", 150))),
        std::string("a").append(repeated("＝", 127)));
}

namespace {

enum class Dismissal { CancelButton, EscapeKey, CloseMessage, CloseBox };

void dismiss(HWND dialog, Dismissal how)
{
    switch (how) {
    case Dismissal::CancelButton:
        click(dialog, IDCANCEL);
        break;
    case Dismissal::EscapeKey:
        pressEscape(dialog);
        break;
    case Dismissal::CloseMessage:
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    case Dismissal::CloseBox:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}

// Changes every control away from kDefaults; true when each change took.
bool changeEverything(HWND dialog)
{
    click(dialog, IDC_MEMORIZE);
    click(dialog, 1000);
    click(dialog, IDC_MOSTTOP);
    click(dialog, IDC_USECUSTOM);
    setText(dialog, IDC_WHEELTIME, "5");
    setText(dialog, IDC_IMAGENAME, "other.bmp");
    return readDialog(dialog) == viewOf(0, false, false, true, "5", "other.bmp");
}

} // namespace

TEST_F(SettingsDialog, CancelEscAndTheCloseBoxLeaveEverySettingAlone)
{
    const std::pair<Dismissal, const char*> ways[]
        = {{Dismissal::CancelButton, "Cancel"}, {Dismissal::EscapeKey, "Esc"},
            {Dismissal::CloseMessage, "WM_CLOSE"}, {Dismissal::CloseBox, "SC_CLOSE"}};
    for (const auto& [how, name] : ways) {
        SCOPED_TRACE(name);
        bool changed = false;
        const DrivenRun run = runDriven(owner.get(), [&](HWND dialog) {
            changed = changeEverything(dialog);
            dismiss(dialog, how);
        });
        ASSERT_TRUE(run.found);
        EXPECT_TRUE(changed);
        EXPECT_TRUE(run.closed);
        EXPECT_FALSE(run.result);
        EXPECT_EQ(currentSettings(), kDefaults);
        EXPECT_TRUE(IsWindowEnabled(owner.get()));
    }
}

TEST_F(SettingsDialog, EachOpeningStartsFromTheVariablesAgain)
{
    runDriven(owner.get(), [&](HWND dialog) {
        changeEverything(dialog);
        click(dialog, IDCANCEL);
    });
    store({3, false, false, -1, -1, true, "next.bmp", 77});
    DialogView view;
    const DrivenRun run = runDriven(owner.get(), [&](HWND dialog) {
        view = readDialog(dialog);
        click(dialog, IDCANCEL);
    });
    ASSERT_TRUE(run.found);
    EXPECT_EQ(view, shownFor(currentSettings()));
}

TEST_F(SettingsDialog, WithoutItsTemplateNothingOpensAndTheAnswerIsNo)
{
    // A module that holds no dialog 107: the dialog box call fails with -1.
    instanceHandle = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(instanceHandle, nullptr);
    EXPECT_FALSE(runSettingsDialog(owner.get()));
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
    EXPECT_EQ(currentSettings(), kDefaults);
}
