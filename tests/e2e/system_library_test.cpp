// Libraries of system names planted beside the program, with Wine told to prefer library files
// (Windows has only files): the program takes each library it needs from the system folder, at
// start, when another program's field takes the focus, and when the settings dialog opens.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include <functional>

#include "e2e_helpers.h"
#include "edit_box.h"

using namespace e2e;
using namespace testing_support;

namespace {

// The libraries that the program loads by name, and ones that they load in their turn. Not ole32
// and version: Wine's own start-up (imm32, advapi32) loads them by name from the program's folder
// before the program runs a line, where Windows takes them from its known libraries.
constexpr const char* kPlanted[] = {"oleacc", "comctl32", "oleaut32", "uxtheme", "dwmapi"};

// Whether the process has a module of that name; a planted library refuses to stay, so it is
// the system's.
bool loaded(HANDLE process, const char* name)
{
    HMODULE modules[512];
    DWORD bytes = 0;
    char found[MAX_PATH];
    if (EnumProcessModules(process, modules, sizeof modules, &bytes))
        for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i)
            if (GetModuleBaseNameA(process, modules[i], found, MAX_PATH) && !lstrcmpiA(found, name))
                return true;
    return false;
}

// The records that planted libraries leave when they are loaded.
std::vector<std::wstring> plantedLoads(const InstalledProgram& program)
{
    std::vector<std::wstring> records;
    for (const std::wstring& file : program.scratchFiles())
        if (file.ends_with(L".loaded"))
            records.push_back(file);
    return records;
}

// Tells Wine to prefer library files for the program, as Windows has only files. A Wine process
// started by another takes its parent's Unix environment, not the WINEDLLOVERRIDES of its
// environment block, so the program's own registry key says it.
class PreferFiles {
public:
    PreferFiles()
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        for (const char* name : kPlanted)
            RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    }
    ~PreferFiles()
    {
        RegCloseKey(key);
        RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    }

private:
    static constexpr char kProgramKey[] = "Software\\Wine\\AppDefaults\\TaveloKeyboard.exe";
    static constexpr char kKey[] = "Software\\Wine\\AppDefaults\\TaveloKeyboard.exe\\DllOverrides";
    HKEY key = nullptr;
};

TEST(SystemLibraries, PlantedBesideTheProgramTheyAreNeverLoaded)
{
    InstalledProgram program;
    ASSERT_TRUE(program.installed());
    for (const char* name : kPlanted)
        ASSERT_TRUE(CopyFileA((executableDirectory() + "\\planted_library.dll").c_str(),
            program.file(std::string(name) + ".dll").c_str(), FALSE));
    const PreferFiles preferFiles;
    ASSERT_TRUE(program.start());
    const HWND window = program.waitForWindow();
    ASSERT_NE(window, nullptr);

    ChildProcess editBox;
    HWND dialog = nullptr;
    const struct {
        const char* moment;
        std::function<void()> act;
        const char* needed; // the library that the moment makes the program load
    } rows[]{
        {"started", [] {}, "user32.dll"},
        {"another program's field took the focus",
            [&] { EXPECT_TRUE(editBox.start(executableDirectory() + "\\edit_box.exe", "pad")); },
            "oleacc.dll"},
        {"the settings dialog opened", [&] { dialog = openSettingsDialog(window); }, "comctl32.dll"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.moment);
        row.act();
        EXPECT_TRUE(pumpUntil([&] { return loaded(program.process().handle(), row.needed); }, kProgramWait));
        EXPECT_EQ(plantedLoads(program), std::vector<std::wstring>{});
    }
    EXPECT_TRUE(endDialog(dialog, DialogEnd::cancelButton));
    for (HWND frame : topLevelWindows(editBox.id(), kEditBoxClass))
        PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(editBox.waitForExit(kProgramWait));
    EXPECT_TRUE(program.closeCleanly());
}

} // namespace
