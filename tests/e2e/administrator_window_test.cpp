// The program run without administrator rights beside windows and copies that have them: one copy
// only, a sign while such a window is in front, and the system menu's way to follow as
// administrator. Every Wine process runs as administrator; "limited" rows start the program with
// the limited token linked to the test's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <array>
#include <map>

#include "common/owned_handle.h"
#include "e2e_helpers.h"
#include "edit_box.h"
#include "menu_probe.h"

using namespace e2e;
using namespace testing_support;

namespace {

constexpr wchar_t kTitle[] = L"Taveloキーボード Ver1.02";
constexpr wchar_t kSignCaption[]
    = L"Taveloキーボード Ver1.02 － 管理者として実行中のウィンドウの入力は表示できません";
constexpr wchar_t kRestartItem[] = L"管理者として再起動";
constexpr UINT kRestartCommand = 0x0010;

std::wstring captionOf(HWND window)
{
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

HWND startShowingBase(InstalledProgram& program, bool limited)
{
    if (!(limited ? program.startLimited() : program.start())) {
        ADD_FAILURE() << "cannot start the program: error " << GetLastError();
        return nullptr;
    }
    const HWND window = program.waitForWindow();
    if (!window) {
        ADD_FAILURE() << "no window; exit code " << program.process().exitCode();
        return nullptr;
    }
    EXPECT_EQ(runsElevated(program.process().handle()), !limited);
    EXPECT_TRUE(program.waitForPicture(programBasePicture()));
    return window;
}

bool bringForward(HWND window)
{
    return pumpUntil(
        [&] {
            SetForegroundWindow(window);
            return GetForegroundWindow() == window;
        },
        kProgramWait);
}

// Success when `shown` is `expected` seen through one rising map per colour channel that narrows
// the channel's range without flattening it: the same picture, duller, every part where it was.
::testing::AssertionResult isDimmed(const Pixels& shown, const Pixels& expected)
{
    if (shown.empty() || shown.width != expected.width || shown.height != expected.height)
        return ::testing::AssertionFailure() << "no picture of the expected size";
    std::array<std::map<unsigned, unsigned>, 3> channelMaps;
    for (size_t index = 0; index < expected.data.size(); ++index) {
        for (unsigned channel = 0; channel < 3; ++channel) {
            const unsigned from = (expected.data[index] >> (8 * channel)) & 0xFF;
            const unsigned to = (shown.data[index] >> (8 * channel)) & 0xFF;
            const auto [entry, added] = channelMaps[channel].emplace(from, to);
            if (!added && entry->second != to)
                return ::testing::AssertionFailure() << "channel " << channel << " value " << from
                                                     << " shows as " << entry->second << " and " << to;
        }
    }
    for (const auto& map : channelMaps) {
        const auto lowest = map.begin();
        const auto highest = std::prev(map.end());
        if (highest->second - lowest->second >= highest->first - lowest->first
            || highest->second >= highest->first)
            return ::testing::AssertionFailure() << "a channel's range is not narrowed and darkened";
        for (auto lower = map.begin(); lower != map.end(); ++lower)
            for (auto higher = std::next(lower); higher != map.end(); ++higher)
                if (higher->second < lower->second
                    || (higher->first - lower->first >= 8 && higher->second == lower->second))
                    return ::testing::AssertionFailure()
                        << "values " << lower->first << " and " << higher->first
                        << " are no longer told apart in order";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult waitUntilDimmed(const InstalledProgram& program, const Pixels& expected)
{
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    pumpUntil(
        [&] {
            result = isDimmed(captureClient(program.window(), expected.width, expected.height), expected);
            return static_cast<bool>(result);
        },
        kProgramWait);
    return result;
}

// A program without administrator rights: the edit box program, its plain field focused, in front.
class LimitedWindowInFront {
public:
    LimitedWindowInFront()
    {
        const HANDLE token = limitedToken();
        EXPECT_TRUE(
            token && child.startAs(token, widePath(executableDirectory() + "\\edit_box.exe"), L"plain", {}));
        if (token)
            CloseHandle(token);
        EXPECT_TRUE(pumpUntil(
            [&] {
                const std::vector<HWND> frames = topLevelWindows(child.id(), kEditBoxClass);
                return !frames.empty() && GetForegroundWindow() == frames.front();
            },
            kProgramWait));
    }
    ~LimitedWindowInFront()
    {
        for (HWND frame : topLevelWindows(child.id(), kEditBoxClass))
            PostMessageA(frame, WM_CLOSE, 0, 0);
        child.waitForExit(kProgramWait);
    }

private:
    ChildProcess child;
};

void signWhileAnAdministratorWindowIsInFront(InstalledProgram& program, bool limited)
{
    const HWND window = startShowingBase(program, limited);
    ASSERT_NE(window, nullptr);
    TestWindow administratorWindow;
    ASSERT_TRUE(bringForward(administratorWindow.get()));
    if (limited) {
        EXPECT_TRUE(pumpUntil([&] { return captionOf(window) == kSignCaption; }, kProgramWait));
        // Keys are pressed only once the foreground has moved: Wine rereads the keys held then.
        Held a('A', 0x1E);
        EXPECT_TRUE(waitUntilDimmed(program, programPictureWithLit({kKeyA})));
        a.release();
        EXPECT_TRUE(waitUntilDimmed(program, programBasePicture()));
    } else {
        // The sign would show within a second.
        pumpMessages(1500);
        ASSERT_TRUE(program.sync());
        EXPECT_EQ(captionOf(window), kTitle);
        EXPECT_TRUE(program.waitForPicture(programBasePicture()));
    }
    {
        LimitedWindowInFront limitedWindow;
        EXPECT_TRUE(pumpUntil([&] { return captionOf(window) == kTitle; }, kProgramWait));
        Held a('A', 0x1E);
        EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kKeyA})));
    }
    EXPECT_TRUE(program.closeCleanly());
}

struct MenuItem {
    UINT id;
    std::wstring text;
    bool bitmap;
};

// The window's system menu as its own thread reads it, through the menu probe's message hook.
std::vector<MenuItem> systemMenuOf(const InstalledProgram& program)
{
    const DWORD bytes = kMenuProbeChars * sizeof(wchar_t);
    const HANDLE section
        = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, bytes, kMenuProbeText);
    auto* text
        = section ? static_cast<wchar_t*>(MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, bytes)) : nullptr;
    const HMODULE probe = LoadLibraryA("menu_probe.dll");
    const auto hook = probe
        ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, kMenuProbeHook)))
        : nullptr;
    const HHOOK placed = hook
        ? SetWindowsHookExA(WH_GETMESSAGE, hook, probe, GetWindowThreadProcessId(program.window(), nullptr))
        : nullptr;
    std::vector<MenuItem> items;
    if (text && placed && PostMessageA(program.window(), RegisterWindowMessageA(kMenuProbeMessage), 0, 0)
        && program.sync()) {
        for (const wchar_t* line = text; *line;) {
            MenuItem item{};
            wchar_t* end = nullptr;
            item.id = static_cast<UINT>(wcstoul(line, &end, 10));
            const wchar_t* tab = wcschr(end + 1, L'\t');
            if (!tab)
                break;
            item.text.assign(end + 1, static_cast<size_t>(tab - (end + 1)));
            item.bitmap = tab[1] == L'1';
            items.push_back(item);
            line = wcschr(tab, L'\n') + 1;
        }
    }
    if (placed)
        UnhookWindowsHookEx(placed);
    if (probe)
        FreeLibrary(probe);
    if (text)
        UnmapViewOfFile(text);
    if (section)
        CloseHandle(section);
    return items;
}

void restartItemOnlyWithoutAdministratorRights(InstalledProgram& program, bool limited)
{
    ASSERT_NE(startShowingBase(program, limited), nullptr);
    const std::vector<MenuItem> items = systemMenuOf(program);
    ASSERT_FALSE(items.empty());
    const auto restart = std::find_if(
        items.begin(), items.end(), [](const MenuItem& item) { return item.id == kRestartCommand; });
    if (limited) {
        ASSERT_NE(restart, items.end());
        EXPECT_EQ(restart->text, kRestartItem);
        EXPECT_TRUE(restart->bitmap) << "no shield";
        ASSERT_NE(std::next(restart), items.end());
        EXPECT_EQ(std::next(restart)->id, static_cast<UINT>(SC_CLOSE));
    } else {
        EXPECT_EQ(restart, items.end());
    }
    EXPECT_TRUE(program.closeCleanly());
}

// Closes every copy of the program that runs when it goes, so that a failed row leaves none behind.
struct CopiesClosedAfterwards {
    ~CopiesClosedAfterwards()
    {
        for (HWND window : topLevelWindows(0, kProgramClass)) {
            DWORD id = 0;
            GetWindowThreadProcessId(window, &id);
            const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
            PostMessageA(window, WM_CLOSE, 0, 0);
            if (process) {
                WaitForSingleObject(process, kProgramWait);
                CloseHandle(process);
            }
        }
    }
};

void handOverKeepsThePlace(InstalledProgram& program, bool limited)
{
    CopiesClosedAfterwards closed;
    const HWND window = startShowingBase(program, limited);
    ASSERT_NE(window, nullptr);
    // The user drags the window somewhere else, then chooses the item.
    SetWindowPos(window, nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(program.sync());
    PostMessageA(window, WM_SYSCOMMAND, kRestartCommand, 0);
    ASSERT_TRUE(program.process().waitForExit(kProgramWait));
    EXPECT_EQ(program.process().exitCode(), 0u);

    std::vector<HWND> windows;
    EXPECT_TRUE(pumpUntil([&] { return (windows = programWindows()).size() == 1; }, kProgramWait));
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windowRect(windows.front()).left, 120);
    EXPECT_EQ(windowRect(windows.front()).top, 80);
    pumpMessages(500);
    EXPECT_EQ(programWindows().size(), 1u);
}

void secondStartBesideAnAdministratorCopy(InstalledProgram&, bool limited)
{
    // Others may only wait on the first copy's mutex; or, as Windows makes an administrator copy's
    // mutex for a copy without those rights, not even that (Wine lets the owner wait on it always,
    // so the system owns this one).
    for (const char* access : {"D:(A;;0x100000;;;WD)", "O:SYD:(A;;GA;;;SY)"}) {
        SCOPED_TRACE(access);
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
            access, SDDL_REVISION_1, &descriptor, nullptr));
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
        KernelHandle mutex;
        mutex.attach(CreateMutexA(&attributes, TRUE, kProgramClass));
        LocalFree(descriptor);
        ASSERT_NE(mutex.get(), nullptr);
        WNDCLASSA standInClass{};
        standInClass.lpfnWndProc = DefWindowProcA;
        standInClass.lpszClassName = kProgramClass;
        ASSERT_TRUE(RegisterClassA(&standInClass));
        const HWND standIn = CreateWindowExA(0, kProgramClass, "stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
            50, 50, 300, 200, nullptr, nullptr, nullptr, nullptr);
        {
            InstalledProgram program;
            TestWindow otherProgram;
            EXPECT_TRUE(bringForward(otherProgram.get()));
            ASSERT_TRUE(limited ? program.startLimited() : program.start());
            // The stand-in answers the second copy's calls on its window while the test waits.
            EXPECT_TRUE(pumpUntil([&] { return program.process().waitForExit(0); }, kProgramWait))
                << "a second copy runs";
            EXPECT_EQ(program.process().exitCode(), 0u);
            EXPECT_TRUE(pumpUntil([&] { return GetForegroundWindow() == standIn; }, kProgramWait));
        }
        DestroyWindow(standIn);
        UnregisterClassA(kProgramClass, nullptr);
    }
}

struct AdministratorRow {
    const char* name;
    bool limited; // the program runs without administrator rights
    void (*run)(InstalledProgram& program, bool limited);
};

class AdministratorWindows : public ::testing::TestWithParam<AdministratorRow> { };

TEST_P(AdministratorWindows, OneCopyAnHonestSignAndAWayToFollow)
{
    InstalledProgram program;
    ASSERT_TRUE(program.installed());
    GetParam().run(program, GetParam().limited);
}

INSTANTIATE_TEST_SUITE_P(Rights, AdministratorWindows,
    ::testing::Values(
        AdministratorRow{"SecondStartBesideAnAdministratorCopy", true, secondStartBesideAnAdministratorCopy},
        AdministratorRow{
            "SignWhileAnAdministratorWindowIsInFront", true, signWhileAnAdministratorWindowIsInFront},
        AdministratorRow{"NoSignWhenRunningAsAdministrator", false, signWhileAnAdministratorWindowIsInFront},
        AdministratorRow{"RestartItemWhenLimited", true, restartItemOnlyWithoutAdministratorRights},
        AdministratorRow{"NoRestartItemAsAdministrator", false, restartItemOnlyWithoutAdministratorRights},
        AdministratorRow{"HandOverKeepsThePlace", true, handOverKeepsThePlace}),
    [](const ::testing::TestParamInfo<AdministratorRow>& info) { return std::string(info.param.name); });

} // namespace
