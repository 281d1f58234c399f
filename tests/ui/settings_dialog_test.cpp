// The real modal settings dialog, opened on the test thread and worked from a driver thread.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "common/process_globals.h"
#include "resource_ids.h"
#include "settings/app_settings.h"
#include "support/settings_dialog_access.h"
#include "support/win32_test_helpers.h"
#include "ui/settings_dialog.h"

using namespace testing_support;

namespace {

DWORD WINAPI runFunction(void* function)
{
    (*static_cast<std::function<void()>*>(function))();
    return 0;
}

// How one run of the dialog went: what runSettingsDialog answered, whether the script saw the
// dialog, and whether the dialog was gone after the script without help.
struct DrivenRun {
    bool result = false;
    bool found = false;
    bool closed = false;
};

// Runs runSettingsDialog on this thread, sitting in the dialog's own message loop, while another
// thread runs the script with the dialog as a user would. A dialog left open is cancelled.
DrivenRun runDriven(HWND owner, const std::function<void(HWND dialog)>& script)
{
    DrivenRun run;
    std::function<void()> drive = [&] {
        HWND dialog = nullptr;
        run.found = pumpUntil(
            [&] { return (dialog = findSettingsDialog(GetCurrentProcessId())) != nullptr; }, 10000);
        if (!run.found)
            return;
        script(dialog);
        run.closed = pumpUntil([&] { return !IsWindow(dialog); }, 10000);
        if (!run.closed)
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    const HANDLE driver = CreateThread(nullptr, 0, runFunction, &drive, 0, nullptr);
    run.result = runSettingsDialog(owner);
    WaitForSingleObject(driver, INFINITE);
    CloseHandle(driver);
    return run;
}

// A real Esc key for the control that has the focus, through the dialog's message loop.
void pressEscape(HWND dialog)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    const HWND target = info.hwndFocus ? info.hwndFocus : dialog;
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

// The six settings and the remembered place, in the order of the process's variables.
using Settings = std::tuple<int, bool, bool, int, int, bool, std::string, int>;
auto variables()
{
    return std::tie(DefaultPosition, MostTop, MemorizePosition, Left, Top, UseCustomImage, CustomImageName,
        WheelInitTime);
}
Settings currentSettings() { return variables(); }
void store(const Settings& settings) { variables() = settings; }

// What a first run without a settings file holds.
const Settings kDefaults{7, true, true, -1, -1, false, "keyboard.bmp", 1000};

// What a dialog opened on the settings shows.
DialogView shownFor(const Settings& settings)
{
    const auto& [position, mostTop, memorize, left, top, useCustom, name, time] = settings;
    return viewOf(position, mostTop, memorize, useCustom, std::to_string(time), name);
}

// Opens the dialog, types the text into the field and presses OK.
void typeAndOk(HWND owner, int id, const std::string& typed)
{
    const DrivenRun run = runDriven(owner, [&](HWND dialog) {
        setText(dialog, id, typed);
        click(dialog, IDOK);
    });
    EXPECT_TRUE(run.found && run.closed && run.result) << "typed: " << typed;
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

TEST_F(SettingsDialog, TimeTextIsReadLikeAtoiKeptAtLeastOneAndBelowThirtyTwoBits)
{
    const std::pair<const char*, int> cases[]
        = {{"abc", 1}, {"0", 1}, {"-20", 1}, {"", 1}, {"250", 250}, {"250ms", 250}, {"  +42", 42},
            {"99999999999", INT_MAX}, {"2147483648", INT_MAX}, {"-99999999999", 1}};
    for (const auto& [typed, stored] : cases) {
        WheelInitTime = 1000;
        typeAndOk(owner.get(), IDC_WHEELTIME, typed);
        EXPECT_EQ(WheelInitTime, stored) << "typed: " << typed;
    }
}

// 255 bytes may end in the middle of a double-byte character of the system's code page: it is left
// out whole.
TEST_F(SettingsDialog, FileNameIsStoredAsTypedUpTo255Bytes)
{
    const std::pair<std::string, std::string> cases[]
        = {{"C:\\絵\\表.bmp", "C:\\絵\\表.bmp"}, {"not a picture.txt", "not a picture.txt"}, {"", ""},
            {std::string(300, 'x'), std::string(255, 'x')}, {repeated("あ", 150), repeated("あ", 127)}};
    for (const auto& [typed, stored] : cases) {
        typeAndOk(owner.get(), IDC_IMAGENAME, typed);
        EXPECT_EQ(CustomImageName, stored);
    }
}

namespace {

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
    const std::pair<const char*, void (*)(HWND)> ways[] = {{"Cancel", [](HWND d) { click(d, IDCANCEL); }},
        {"Esc", pressEscape}, {"WM_CLOSE", [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }},
        {"SC_CLOSE", [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }}};
    for (const auto& [name, dismiss] : ways) {
        SCOPED_TRACE(name);
        bool changed = false;
        const DrivenRun run = runDriven(owner.get(), [&](HWND dialog) {
            changed = changeEverything(dialog);
            dismiss(dialog);
        });
        ASSERT_TRUE(run.found);
        EXPECT_TRUE(changed);
        EXPECT_TRUE(run.closed);
        EXPECT_FALSE(run.result);
        EXPECT_EQ(currentSettings(), kDefaults);
        EXPECT_TRUE(IsWindowEnabled(owner.get()));
    }
}

// Whatever the last dialog showed, the next shows the variables, and OK without changes keeps
// them all; with no position remembered and the picture used, the grid and the name are enabled.
TEST_F(SettingsDialog, EachOpeningStartsFromTheVariablesAgainAndOkWithoutChangesKeepsThem)
{
    runDriven(owner.get(), [&](HWND dialog) {
        changeEverything(dialog);
        click(dialog, IDCANCEL);
    });
    for (const Settings& settings : {Settings{3, false, false, -1, -1, true, "next.bmp", 77},
             Settings{4, false, false, 120, 80, true, "", 5},
             Settings{0, true, false, -1, -1, true, "keyboard.bmp", 1000}}) {
        store(settings);
        DialogView view;
        const DrivenRun run = runDriven(owner.get(), [&](HWND dialog) {
            view = readDialog(dialog);
            click(dialog, IDOK);
        });
        ASSERT_TRUE(run.found);
        EXPECT_TRUE(run.result);
        EXPECT_EQ(view, shownFor(settings));
        EXPECT_EQ(view.enabledPositions, 9);
        EXPECT_TRUE(view.imageNameEnabled);
        EXPECT_EQ(currentSettings(), settings);
    }
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
