// While another program's password field has the focus, typed keys stay off the picture and the
// mouse still shows; a key pressed there stays dark until released, wherever the focus goes.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <optional>

#include "e2e_helpers.h"
#include "edit_box.h"

using namespace e2e;
using namespace testing_support;

namespace {

// The edit box program, its field focused in the foreground window.
class EditBox {
public:
    explicit EditBox(const char* kind)
        : stuck(std::strcmp(kind, "stuck") == 0)
    {
        EXPECT_TRUE(child.start(executableDirectory() + "\\edit_box.exe", kind));
        pumpUntil(
            [&] { return !topLevelWindows(child.id(), kEditBoxClass).empty() && hasFocus(); }, kProgramWait);
    }
    // A stuck program is ended by force.
    ~EditBox()
    {
        PostMessageA(frame(), WM_CLOSE, 0, 0);
        if (!stuck)
            child.waitForExit(kProgramWait);
    }
    HWND frame() const
    {
        const std::vector<HWND> frames = topLevelWindows(child.id(), kEditBoxClass);
        return frames.empty() ? nullptr : frames.front();
    }
    bool hasFocus() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetForegroundWindow() == frame()
            && GetGUIThreadInfo(GetWindowThreadProcessId(frame(), nullptr), &info) && info.hwndFocus
            && info.hwndFocus == GetWindow(frame(), GW_CHILD);
    }
    bool moveFocusTo(FieldKind kind) const
    {
        DWORD_PTR result = 0;
        if (kind == kForegroundAgain)
            return SendMessageTimeoutA(frame(), kReplaceField, kind, 0, SMTO_NORMAL, kProgramWait, &result);
        const HWND old = GetWindow(frame(), GW_CHILD);
        PostMessageA(frame(), kReplaceField, kind, 0);
        return pumpUntil([&] { return !IsWindow(old) && hasFocus(); }, kProgramWait);
    }

private:
    bool stuck;
    ChildProcess child;
};

Pixels pictureWithLit(bool a, bool leftButton)
{
    std::vector<RECT> lit;
    if (a)
        lit.push_back(kKeyA);
    if (leftButton)
        lit.push_back(kLeftButton);
    return programPictureWithLit(lit);
}

// Read without touching the window, so that only the program's own requests repaint it.
bool shows(const InstalledProgram& program, const Pixels& expected)
{
    const Pixels shown = captureClient(program.window(), expected.width, expected.height);
    return !shown.empty() && countDifferences(shown, expected, kWholePicture) == 0;
}

bool showsWithin(const InstalledProgram& program, const Pixels& expected, DWORD milliseconds)
{
    return pumpUntil([&] { return shows(program, expected); }, milliseconds);
}

bool showsThroughout(const InstalledProgram& program, const Pixels& expected, DWORD milliseconds)
{
    return !pumpUntil([&] { return !shows(program, expected); }, milliseconds);
}

// A, held until now, goes up; pressed again with the left button, A shows as `nextPressLit` says.
void releaseAndPressAgain(const InstalledProgram& program, Held& a, bool nextPressLit)
{
    a.release();
    EXPECT_TRUE(program.waitForPicture(programBasePicture()));
    Held again('A', 0x1E);
    Held button(VK_LBUTTON);
    EXPECT_TRUE(program.waitForPicture(pictureWithLit(nextPressLit, true)));
}

struct FocusCase {
    const char* name;
    const char* typedInto;               // the field that has the focus when A goes down
    bool litAtFirst;                     // A shows beside the left button
    std::optional<FieldKind> focusMoves; // the field that takes the focus while A is held
    bool litWhileHeld;                   // A, held since then, still shows
    bool nextPressLit;                   // A, released and pressed again, shows
};

TEST(PasswordField, TypedKeysStayDarkWhileAPasswordFieldHasTheFocusAndTheMouseStillShows)
{
    const FocusCase cases[] = {
        {"password edit control", "password", false, {}, false, false},
        {"plain edit control", "plain", true, {}, true, true},
        {"field that accessibility calls protected", "pad", false, {}, false, false},
        {"focus leaves the password field with A held", "password", false, kPlainField, false, true},
        {"focus enters a password field with A held", "plain", true, kPasswordField, false, false},
    };
    InstalledProgram program;
    ASSERT_NE(startShowingBasePicture(program), nullptr);
    for (const FocusCase& row : cases) {
        SCOPED_TRACE(row.name);
        EditBox box(row.typedInto);
        ASSERT_TRUE(box.hasFocus());
        ASSERT_TRUE(program.sync());
        const RECT frame = windowRect(box.frame());
        SetCursorPos(frame.right - 20, frame.bottom - 20); // beside the field: a click moves no focus
        Held a('A', 0x1E);
        {
            Held button(VK_LBUTTON);
            EXPECT_TRUE(program.waitForPicture(pictureWithLit(row.litAtFirst, true)));
            if (row.focusMoves) {
                ASSERT_TRUE(box.moveFocusTo(*row.focusMoves));
                // With no other input, the answer alone must repaint.
                EXPECT_TRUE(program.waitForPicture(pictureWithLit(row.litWhileHeld, true)));
                ASSERT_TRUE(program.sync());
            }
            // The hook library reports a held key down again after it installs its hooks afresh.
            PostMessageA(program.window(), kHookEventMessage, 0, 0x00010041);
        }
        EXPECT_TRUE(program.waitForPicture(pictureWithLit(row.litWhileHeld, false)));
        releaseAndPressAgain(program, a, row.nextPressLit);
    }
    EXPECT_TRUE(program.closeCleanly());
}

struct SlowCase {
    const char* name;
    std::vector<const char*> programs;   // started in turn, each taking the focus
    std::optional<FieldKind> focusMoves; // then, in the last, the field that takes it before A goes down
    bool lit;                            // A shows, once the answer or the limit allows
    DWORD within;                        // after its press
};

// A press waits for the judgement of a new focus, but not for a program that answers nothing;
// such a program holds up the judgement of no later focus.
TEST(PasswordField, PressesWaitForTheNewFocusToBeJudgedButNotForAProgramThatAnswersNothing)
{
    const SlowCase cases[] = {
        {"hung program in front", {"hung"}, {}, true, 1000},
        {"slow protected field", {"plain"}, kSlowPadField, false, 2000},
        {"slow plain field", {"plain"}, kSlowPlainPadField, true, kProgramWait},
        {"plain box after a stuck field after a password box", {"password", "stuck", "plain"}, {}, true,
            1000},
        {"password box after a stuck field after a plain box", {"plain", "stuck", "password"}, {}, false,
            2000},
        {"foreground announced again in a protected field", {"pad"}, kForegroundAgain, false, 2000},
    };
    InstalledProgram program;
    ASSERT_NE(startShowingBasePicture(program), nullptr);
    for (const SlowCase& row : cases) {
        SCOPED_TRACE(row.name);
        std::deque<EditBox> boxes;
        for (const char* kind : row.programs) {
            boxes.emplace_back(kind);
            ASSERT_TRUE(boxes.back().hasFocus());
            ASSERT_TRUE(program.sync()); // the focus event and the news it brought are handled
        }
        const EditBox& box = boxes.back();
        const RECT frame = windowRect(box.frame());
        SetCursorPos(frame.right - 20, frame.bottom - 20);
        if (row.focusMoves) {
            ASSERT_TRUE(box.moveFocusTo(*row.focusMoves));
            ASSERT_TRUE(program.sync());
        }
        Held a('A', 0x1E);
        if (row.lit)
            EXPECT_TRUE(showsWithin(program, pictureWithLit(true, false), row.within));
        else
            EXPECT_TRUE(showsThroughout(program, programBasePicture(), row.within));
        releaseAndPressAgain(program, a, row.lit);
    }
    EXPECT_TRUE(program.closeCleanly());
}

} // namespace
