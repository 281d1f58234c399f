// The program beside windows and copies that run as administrator: one copy only, a sign while
// such a window is in front, and the system menu's way to follow. Every Wine process runs as
// administrator; a limited row starts the program with the limited token linked to the test's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <array>
#include <map>

#include "common/owned_handle.h"
#include "e2e_helpers.h"
#include "menu_probe.h"
#include "rights/foreground_rights_watcher.h"

using namespace e2e;
using namespace testing_support;

namespace {

constexpr wchar_t kSignCaption[]
    = L"Taveloキーボード Ver1.02 － 管理者として実行中のウィンドウの入力は表示できません";
constexpr wchar_t kPauseCaption[] = L"Taveloキーボード Ver1.02 － 一時停止中（左右のCtrlで再開）";
constexpr UINT kRestartCommand = 0x0010;
constexpr UINT kPauseCommand = 0x0020;
constexpr UINT kStartCommand = 0x0030;
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring captionOf(HWND window)
{
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

bool startLimited(ChildProcess& child, const std::wstring& program, const std::wstring& arguments = {})
{
    const HANDLE token = limitedToken();
    const bool started = token && child.startAs(token, program, arguments, {});
    CloseHandle(token);
    return started;
}

HWND startShowingBase(InstalledProgram& program, bool limited)
{
    const bool started
        = limited ? startLimited(program.process(), widePath(program.executable())) : program.start();
    const HWND window = started ? program.waitForWindow() : nullptr;
    EXPECT_TRUE(window && program.waitForPicture(programBasePicture()));
    return window;
}

bool bringForward(HWND window)
{
    return pumpUntil(
        [&] { return SetForegroundWindow(window) && GetForegroundWindow() == window; }, kProgramWait);
}

// Empty when `shown` is `expected` through one rising map per colour channel that narrows and
// darkens the channel's range without flattening it: the same picture, duller, every part in place.
std::string dimmingFault(const Pixels& shown, const Pixels& expected)
{
    if (shown.data.size() != expected.data.size())
        return "no picture";
    std::array<std::map<unsigned, unsigned>, 3> maps;
    for (size_t index = 0; index < shown.data.size(); ++index)
        for (unsigned shift = 0; shift < 24; shift += 8) {
            const unsigned to = (shown.data[index] >> shift) & 0xFF;
            if (maps[shift / 8].emplace((expected.data[index] >> shift) & 0xFF, to).first->second != to)
                return "one value shows as two";
        }
    for (const auto& map : maps) {
        const auto low = map.begin(), high = std::prev(map.end());
        if (high->second >= high->first || high->second <= low->second
            || high->second - low->second >= high->first - low->first)
            return "a range is not narrowed and darkened";
        for (auto next = std::next(low); next != map.end(); ++next)
            if (next->second < std::prev(next)->second)
                return "values swap their order";
    }
    return {};
}

::testing::AssertionResult showsDimmed(const InstalledProgram& program, const Pixels& expected)
{
    std::string fault;
    pumpUntil(
        [&] {
            fault = dimmingFault(captureClient(program.window(), expected.width, expected.height), expected);
            return fault.empty();
        },
        kProgramWait);
    return fault.empty() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << fault;
}

// What the menu probe writes on the window's own thread: the system menu, or for a timer
// identifier whether the window had that timer.
std::wstring probeWindow(const InstalledProgram& program, WPARAM timer)
{
    const DWORD bytes = kMenuProbeChars * sizeof(wchar_t);
    KernelHandle section;
    section.attach(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, bytes, kMenuProbeText));
    const auto* text = static_cast<const wchar_t*>(MapViewOfFile(section.get(), FILE_MAP_READ, 0, 0, bytes));
    const HMODULE probe = LoadLibraryA("menu_probe.dll");
    const auto hook
        = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(probe, kMenuProbeHook)));
    const HHOOK placed
        = SetWindowsHookExA(WH_GETMESSAGE, hook, probe, GetWindowThreadProcessId(program.window(), nullptr));
    std::wstring written;
    if (text && placed && PostMessageA(program.window(), RegisterWindowMessageA(kMenuProbeMessage), timer, 0)
        && program.sync())
        written = text;
    UnhookWindowsHookEx(placed);
    FreeLibrary(probe);
    UnmapViewOfFile(text);
    return written;
}

void signWhileAnAdministratorWindowIsInFront(InstalledProgram& program, bool limited)
{
    const HWND window = startShowingBase(program, limited);
    ASSERT_NE(window, nullptr);
    // The edit box program comes to the front with its plain field focused, as administrator: a
    // program started the ordinary way runs so under Wine.
    ChildProcess administratorBox;
    ASSERT_TRUE(administratorBox.start(executableDirectory() + "\\edit_box.exe", "plain"));
    if (limited) {
        EXPECT_TRUE(pumpUntil([&] { return captionOf(window) == kSignCaption; }, kProgramWait));
        // Keys go down only once the foreground has moved: Wine rereads the keys held then.
        Held a('A', 0x1E);
        EXPECT_TRUE(showsDimmed(program, programPictureWithLit({kKeyA})));
        a.release();
        EXPECT_TRUE(showsDimmed(program, programBasePicture()));
    } else {
        pumpMessages(1500); // the sign would show within a second
        EXPECT_EQ(captionOf(window), L"Taveloキーボード Ver1.02");
        EXPECT_TRUE(program.waitForPicture(programBasePicture()));
    }
    // The edit box program without administrator rights comes to the front, its plain field focused.
    ChildProcess editBox;
    ASSERT_TRUE(startLimited(editBox, widePath(executableDirectory() + "\\edit_box.exe"), L"plain"));
    EXPECT_TRUE(pumpUntil([&] { return captionOf(window) == L"Taveloキーボード Ver1.02"; }, kProgramWait));
    // Nothing wakes the idle window any more.
    EXPECT_EQ(probeWindow(program, ForegroundRightsWatcher::kTimerId), L"none");
    Held a('A', 0x1E);
    EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kKeyA})));
}

void restartItemOnlyWithoutAdministratorRights(InstalledProgram& program, bool limited)
{
    ASSERT_NE(startShowingBase(program, limited), nullptr);
    const std::wstring menu = probeWindow(program, 0);
    // Above Close, with the shield as its bitmap; the pause and the start with Windows above it.
    const std::wstring close = std::to_wstring(SC_CLOSE) + L"\t";
    const std::wstring items = L"32\t一時停止\t0\t0\n48\tWindowsの起動時に開始\t0\t0\n";
    EXPECT_NE(menu.find(close), std::wstring::npos) << "no menu read";
    EXPECT_EQ(menu.find(items + L"16\t管理者として再起動\t1\t0\n" + close) != std::wstring::npos, limited);
    EXPECT_EQ(menu.find(L"管理者") != std::wstring::npos, limited);
    EXPECT_EQ(menu.find(items + close) != std::wstring::npos, !limited);
}

void handOverKeepsThePlace(InstalledProgram& program, bool limited)
{
    const HWND window = startShowingBase(program, limited);
    ASSERT_NE(window, nullptr);
    // The user drags the window somewhere else, then chooses the item.
    SetWindowPos(window, nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(program.sync());
    PostMessageA(window, WM_SYSCOMMAND, kRestartCommand, 0);
    EXPECT_TRUE(program.process().waitForExit(kProgramWait));
    EXPECT_EQ(program.process().exitCode(), 0u);
    std::vector<HWND> windows;
    EXPECT_TRUE(pumpUntil([&] { return (windows = programWindows()).size() == 1; }, kProgramWait));
    pumpMessages(500);
    EXPECT_EQ(programWindows().size(), 1u);
    for (HWND next : windows) { // the new copy, ended as a user ends it
        EXPECT_EQ(windowRect(next).left, 120);
        EXPECT_EQ(windowRect(next).top, 80);
        DWORD id = 0;
        GetWindowThreadProcessId(next, &id);
        KernelHandle process;
        process.attach(OpenProcess(SYNCHRONIZE, FALSE, id));
        PostMessageA(next, WM_CLOSE, 0, 0);
        WaitForSingleObject(process.get(), kProgramWait);
    }
}

// Another program holds a handle to the mutex all along (a tool, or a copy in the middle of its
// start): a start after the running copy has closed still shows its window, and the hand-over
// still leaves one copy.
void handleHeldElsewhere(InstalledProgram& program, bool limited)
{
    ChildProcess first;
    ASSERT_TRUE(startLimited(first, widePath(program.executable())));
    std::vector<HWND> windows;
    ASSERT_TRUE(pumpUntil(
        [&] { return (windows = topLevelWindows(first.id(), kProgramClass)).size() == 1; }, kProgramWait));
    KernelHandle held;
    held.attach(OpenMutexA(SYNCHRONIZE, FALSE, kProgramClass));
    ASSERT_NE(held.get(), nullptr);
    PostMessageA(windows.front(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.waitForExit(kProgramWait));
    handOverKeepsThePlace(program, limited);
}

void secondStartBesideAnAdministratorCopy(InstalledProgram& program, bool limited)
{
    // Others may only wait on the first copy's mutex; or, as Windows makes an administrator copy's
    // mutex for a copy without those rights, not even that (Wine always lets the owner wait, so
    // the system owns this one). A window of the class stands in for the first copy's.
    for (const char* access : {"D:(A;;0x100000;;;WD)", "O:SYD:(A;;GA;;;SY)"}) {
        SCOPED_TRACE(access);
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ConvertStringSecurityDescriptorToSecurityDescriptorA(access, SDDL_REVISION_1, &descriptor, nullptr);
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
        KernelHandle mutex;
        mutex.attach(CreateMutexA(&attributes, TRUE, kProgramClass));
        LocalFree(descriptor);
        WNDCLASSA standInClass{
            0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, kProgramClass};
        RegisterClassA(&standInClass);
        const HWND standIn = CreateWindowExA(0, kProgramClass, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
            300, 200, nullptr, nullptr, nullptr, nullptr);
        TestWindow otherProgram;
        EXPECT_TRUE(mutex.get() && bringForward(otherProgram.get()));
        ChildProcess second;
        ASSERT_TRUE(limited ? startLimited(second, widePath(program.executable()))
                            : second.start(program.executable()));
        // The stand-in answers the second copy's calls on its window meanwhile.
        EXPECT_TRUE(pumpUntil([&] { return second.waitForExit(0); }, kProgramWait)) << "a second copy runs";
        EXPECT_EQ(second.exitCode(), 0u);
        EXPECT_TRUE(pumpUntil([&] { return GetForegroundWindow() == standIn; }, kProgramWait));
        DestroyWindow(standIn);
        UnregisterClassA(kProgramClass, nullptr);
    }
}

void pauseByTheChord(InstalledProgram& program, WORD first, WORD second)
{
    const HWND window = startShowingBase(program, false);
    ASSERT_NE(window, nullptr);
    // Both Ctrl keys held together, `first` first, then released.
    const auto chord
        = [&] { Held one(first, 0x1D, first == VK_RCONTROL), other(second, 0x1D, second == VK_RCONTROL); };
    chord();
    EXPECT_TRUE(pumpUntil([&] { return captionOf(window) == kPauseCaption; }, kProgramWait));
    {
        Held a('A', 0x1E);
        // The caption changes at once; the dimmed picture comes with the next paint, after A's event.
        EXPECT_TRUE(showsDimmed(program, programBasePicture())) << "not the dimmed picture without A";
        EXPECT_GT(countDifferences(captureClient(window, kLayoutWidth, kLayoutHeight), programBasePicture(),
                      kWholePicture),
            kLayoutWidth * kLayoutHeight * 3 / 10);
    }
    chord();
    EXPECT_TRUE(pumpUntil([&] { return captionOf(window) == L"Taveloキーボード Ver1.02"; }, kProgramWait));
    Held a('A', 0x1E);
    EXPECT_TRUE(program.waitForPicture(programPictureWithLit({kKeyA})));
}

bool pauseItemChecked(const InstalledProgram& program)
{
    return probeWindow(program, 0).find(L"32\t一時停止\t0\t1\n") != std::wstring::npos;
}

bool choose(const InstalledProgram& program, UINT command)
{
    return PostMessageA(program.window(), WM_SYSCOMMAND, command, 0) && program.sync();
}

// With an administrator window in front, the sign shows beneath the pause: the pause's caption
// wins while it lasts, and the sign's is back when it ends.
void pauseByTheMenuOverTheSign(InstalledProgram& program, bool limited)
{
    const HWND window = startShowingBase(program, limited);
    ASSERT_NE(window, nullptr);
    ChildProcess administratorBox;
    ASSERT_TRUE(administratorBox.start(executableDirectory() + "\\edit_box.exe", "plain"));
    ASSERT_TRUE(pumpUntil([&] { return captionOf(window) == kSignCaption; }, kProgramWait));
    EXPECT_FALSE(pauseItemChecked(program));
    ASSERT_TRUE(choose(program, kPauseCommand));
    EXPECT_EQ(captionOf(window), kPauseCaption);
    EXPECT_TRUE(pauseItemChecked(program));
    ASSERT_TRUE(choose(program, kPauseCommand));
    EXPECT_FALSE(pauseItemChecked(program));
    EXPECT_EQ(captionOf(window), kSignCaption);
}

// The Run value as the system holds it; empty when there is none.
std::wstring runValue()
{
    wchar_t text[1024] = L"";
    DWORD bytes = sizeof text;
    RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"TaveloKeyboard", RRF_RT_REG_SZ, nullptr, text, &bytes);
    return text;
}

void setRunValue(const std::wstring& command)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"TaveloKeyboard", REG_SZ, command.c_str(),
        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

bool startItemChecked(const InstalledProgram& program)
{
    return probeWindow(program, 0).find(L"48\tWindowsの起動時に開始\t0\t1\n") != std::wstring::npos;
}

// The Run key made read-only for everyone, as a policy may leave it, until the end of the scope.
struct LockedRunKey {
    HKEY key = nullptr;
    std::vector<BYTE> saved;
    bool locked = false;
    LockedRunKey()
    {
        DWORD size = 0;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS)
            return;
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
        saved.resize(size);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        locked = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved.data(), &size) == ERROR_SUCCESS
            && ConvertStringSecurityDescriptorToSecurityDescriptorW(
                L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr)
            && RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
        LocalFree(readOnly);
    }
    ~LockedRunKey()
    {
        if (locked)
            RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, saved.data());
        RegCloseKey(key);
    }
};

// The program sits in a folder that no code page spells; a value of a copy elsewhere is replaced,
// and one that names this copy in other letter case counts as its own. A key that refuses the
// write leaves the value as it was and says so.
void startWithWindows(InstalledProgram&, bool)
{
    struct RemoveValue {
        ~RemoveValue() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"TaveloKeyboard"); }
    } removeValue;
    InstalledProgram program("keyhook.dll", L"한글\\kb");
    ASSERT_NE(startShowingBase(program, false), nullptr);
    const std::wstring own = L"\"" + program.wideExecutable() + L"\"";
    setRunValue(L"\"C:\\Elsewhere\\TaveloKeyboard.exe\"");
    EXPECT_FALSE(startItemChecked(program));
    ASSERT_TRUE(choose(program, kStartCommand));
    EXPECT_EQ(runValue(), own);
    EXPECT_TRUE(startItemChecked(program));
    ASSERT_TRUE(choose(program, kStartCommand));
    EXPECT_EQ(runValue(), L"");
    EXPECT_FALSE(startItemChecked(program));
    std::wstring upper = own;
    CharUpperW(upper.data());
    setRunValue(upper);
    EXPECT_TRUE(startItemChecked(program));
    {
        const LockedRunKey locked;
        ASSERT_TRUE(locked.locked);
        PostMessageA(program.window(), WM_SYSCOMMAND, kStartCommand, 0);
        wchar_t text[64] = L"";
        EXPECT_TRUE(pumpUntil(
            [&] {
                const HWND box = findMessageBoxOf(program.id());
                return box && GetDlgItemTextW(box, 0xFFFF, text, 64) > 0
                    && PostMessageA(box, WM_COMMAND, IDOK, 0);
            },
            kProgramWait));
        EXPECT_STREQ(text, L"Windowsの起動時に開始する設定を書き込めませんでした");
    }
    EXPECT_EQ(runValue(), upper);
    EXPECT_TRUE(program.closeCleanly());
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
        AdministratorRow{"HandOverKeepsThePlace", true, handOverKeepsThePlace},
        AdministratorRow{"HandleHeldElsewhere", true, handleHeldElsewhere},
        AdministratorRow{"PauseByCtrlLeftThenRight", false,
            [](InstalledProgram& program, bool) { pauseByTheChord(program, VK_LCONTROL, VK_RCONTROL); }},
        AdministratorRow{"PauseByCtrlRightThenLeft", false,
            [](InstalledProgram& program, bool) { pauseByTheChord(program, VK_RCONTROL, VK_LCONTROL); }},
        AdministratorRow{"PauseByTheMenuOverTheSign", true, pauseByTheMenuOverTheSign},
        AdministratorRow{"StartWithWindows", false, startWithWindows}),
    [](const ::testing::TestParamInfo<AdministratorRow>& info) { return std::string(info.param.name); });

} // namespace
