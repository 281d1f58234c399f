// How the settings dialog looks: its controls are drawn by version 6 of the common controls, which
// the manifest asks for, and every caption fits its control, measured in the dialog's own font
// against the room that the control gives it; a caption that does not fit is cut, and the user
// cannot read it. Each display scale is measured in a run of this executable started after the
// prefix's scale was set, since a process keeps the scale that it started with.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>

#include "resource_ids.h"
#include "support/process_tools.h"
#include "support/system_dpi.h"

using namespace testing_support;

namespace {

// Set in the child runs: the scale that the child must find itself at.
constexpr char kDpiVariable[] = "TAVELO_CAPTION_DPI";
constexpr char kMeasuringTest[] = "SettingsDialogLook.CaptionsFitTheirControlsAtThisScale";

INT_PTR CALLBACK inertDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The dialog made from this executable's template, without an owner; destroyed with the object.
class TemplateDialog {
public:
    TemplateDialog()
        : dialog(CreateDialogParamA(
            GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, inertDialogProc, 0))
    {
    }
    ~TemplateDialog()
    {
        if (dialog)
            DestroyWindow(dialog);
    }
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;
    HWND get() const { return dialog; }

private:
    HWND dialog;
};

// The caption's room inside the control: what its frame or check glyph leaves, and whether the
// text wraps into further lines there.
struct Room {
    SIZE size;
    bool wraps;
};

Room roomFor(HWND control, HDC dc)
{
    RECT client;
    GetClientRect(control, &client);
    Room room{{client.right, client.bottom}, false};
    char className[32] = {};
    GetClassNameA(control, className, sizeof className);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    if (lstrcmpiA(className, "Static") == 0) {
        room.wraps = (style & SS_TYPEMASK) == SS_LEFT;
        return room;
    }
    const DWORD type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX) {
        // The caption sits on the top frame line, about a character in from either side.
        TEXTMETRICA metrics;
        GetTextMetricsA(dc, &metrics);
        room.size.cx -= 2 * metrics.tmAveCharWidth;
    } else if ((type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON) && !(style & BS_PUSHLIKE)) {
        // The check glyph, then half a digit's width of gap.
        int digit = 0;
        GetCharWidth32A(dc, '0', '0', &digit);
        room.size.cx -= GetSystemMetrics(SM_CXMENUCHECK) + digit / 2;
    } else {
        // A push button's raised frame.
        room.size.cx -= 2 * GetSystemMetrics(SM_CXEDGE);
        room.size.cy -= 2 * GetSystemMetrics(SM_CYEDGE);
    }
    return room;
}

// The size that the caption takes, drawn as its control draws it.
SIZE captionSize(const std::string& caption, const Room& room, HDC dc)
{
    if (!room.wraps) {
        SIZE size{};
        GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        return size;
    }
    RECT rect{0, 0, room.size.cx, 0};
    DrawTextA(dc, caption.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    return {rect.right, rect.bottom};
}

// Every control whose caption does not fit, with its sizes; empty when all fit.
std::string captionsThatDoNotFit(HWND dialog)
{
    std::ostringstream report;
    const HDC dc = GetDC(dialog);
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        char caption[256] = {};
        GetWindowTextA(control, caption, sizeof caption);
        if (!caption[0])
            continue;
        const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        const HGDIOBJ original = SelectObject(dc, font);
        const Room room = roomFor(control, dc);
        const SIZE needed = captionSize(caption, room, dc);
        SelectObject(dc, original);
        if (needed.cx > room.size.cx || needed.cy > room.size.cy)
            report << "control " << GetDlgCtrlID(control) << " \"" << caption << "\" needs " << needed.cx
                   << " x " << needed.cy << ", has " << room.size.cx << " x " << room.size.cy << "\n";
    }
    ReleaseDC(dialog, dc);
    return report.str();
}

// The file name, without its directory, of the library whose window procedure draws the control.
std::string drawingLibrary(HWND control)
{
    HMODULE library = nullptr;
    // The Unicode procedure: the ANSI one may be a thunk of the system's.
    const auto procedure = reinterpret_cast<LPCSTR>(GetClassLongPtrW(control, GCLP_WNDPROC));
    char path[MAX_PATH * 4] = {};
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, procedure,
            &library))
        GetModuleFileNameA(library, path, sizeof path);
    const std::string name = path;
    return CharLowerA(name.substr(name.find_last_of('\\') + 1).data());
}

} // namespace

// Only version 6 of the common controls draws buttons, edits and static texts; without it they are
// the system's own classes, in the Windows 95 style.
TEST(SettingsDialogLook, EveryControlIsDrawnByTheCommonControls)
{
    const TemplateDialog dialog;
    ASSERT_NE(dialog.get(), nullptr);
    int controls = 0;
    for (HWND control = GetWindow(dialog.get(), GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        ++controls;
        EXPECT_EQ(drawingLibrary(control), "comctl32.dll") << "control " << controls;
    }
    EXPECT_EQ(controls, 20);
}

// Run by the test below, once per scale.
TEST(SettingsDialogLook, CaptionsFitTheirControlsAtThisScale)
{
    const std::string expectedDpi = environmentVariable(kDpiVariable);
    if (expectedDpi.empty())
        GTEST_SKIP() << "run at a set scale by SettingsDialogLook.CaptionsFitAtEveryScale";
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(std::to_string(dpi), expectedDpi);

    const TemplateDialog dialog;
    ASSERT_NE(dialog.get(), nullptr);
    EXPECT_EQ(captionsThatDoNotFit(dialog.get()), "");
}

TEST(SettingsDialogLook, CaptionsFitAtEveryScale)
{
    for (const DWORD dpi : {96u, 144u}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        const ScopedSystemDpi scale(dpi);
        ASSERT_TRUE(scale.applied());
        char self[MAX_PATH * 4] = {};
        GetModuleFileNameA(nullptr, self, sizeof self);
        ChildProcess child;
        ASSERT_TRUE(child.start(self, std::string("--gtest_filter=") + kMeasuringTest, {},
            {{kDpiVariable, std::to_string(dpi)}}));
        ASSERT_TRUE(child.waitForExit(60000));
        EXPECT_EQ(child.exitCode(), 0u) << "the child's report above names the captions that do not fit";
    }
}
