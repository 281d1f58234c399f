// Libraries of system names planted beside the program, with Wine told to prefer library files
// (Windows has only files): the program takes each library it needs from the system folder, at
// start, when another program's field takes the focus, and when the settings dialog opens.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include <algorithm>
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

std::string lowerCase(std::string text)
{
    std::transform(
        text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    return text;
}

// "oleacc,ole32,...=n,b": a library file found on the search path before Wine's own copy.
std::string preferFiles()
{
    std::string overrides = "mscoree,mshtml=;";
    for (const char* name : kPlanted)
        overrides.append(name).append(",");
    overrides.back() = '=';
    return overrides.append("n,b");
}

// The full paths of the modules loaded in the process, in lower case.
std::vector<std::string> loadedModules(HANDLE process)
{
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &bytes))
        return {};
    std::vector<std::string> paths;
    for (DWORD i = 0; i < std::min<DWORD>(bytes / sizeof(HMODULE), 512); ++i) {
        char path[MAX_PATH] = {};
        if (GetModuleFileNameExA(process, modules[i], path, MAX_PATH))
            paths.push_back(lowerCase(path));
    }
    return paths;
}

bool loaded(HANDLE process, const std::string& name)
{
    const std::string ending = "\\" + name + ".dll";
    const std::vector<std::string> paths = loadedModules(process);
    return std::any_of(paths.begin(), paths.end(),
        [&](const std::string& path) { return path.size() > ending.size() && path.ends_with(ending); });
}

// What the program took from its own folder: modules of it, and the planted libraries' records.
std::vector<std::string> takenFromItsFolder(InstalledProgram& program)
{
    const std::string folder = lowerCase(program.path()) + "\\";
    std::vector<std::string> taken;
    for (const std::string& path : loadedModules(program.process().handle()))
        if (path.starts_with(folder) && !path.ends_with("\\tavelokeyboard.exe")
            && !path.ends_with("\\keyhook.dll"))
            taken.push_back(path);
    for (const std::wstring& file : program.scratchFiles())
        if (file.ends_with(L".loaded"))
            taken.push_back(std::string(file.begin(), file.end()));
    return taken;
}

// The edit box program, its field that accessibility calls protected focused in the foreground.
class FocusedPad {
public:
    FocusedPad() { EXPECT_TRUE(child.start(executableDirectory() + "\\edit_box.exe", "pad")); }
    ~FocusedPad()
    {
        for (HWND frame : topLevelWindows(child.id(), kEditBoxClass))
            PostMessageA(frame, WM_CLOSE, 0, 0);
        child.waitForExit(kProgramWait);
    }

private:
    ChildProcess child;
};

TEST(SystemLibraries, PlantedBesideTheProgramTheyAreNeverLoaded)
{
    InstalledProgram program;
    ASSERT_TRUE(program.installed());
    const std::string planted = executableDirectory() + "\\planted_library.dll";
    for (const char* name : kPlanted)
        ASSERT_TRUE(CopyFileA(planted.c_str(), program.file(std::string(name) + ".dll").c_str(), FALSE))
            << name;
    ASSERT_TRUE(program.process().start(
        program.executable(), {}, program.path(), {{"WINEDLLOVERRIDES", preferFiles()}}));
    const HWND window = program.waitForWindow();
    ASSERT_NE(window, nullptr);
    const HANDLE process = program.process().handle();

    std::unique_ptr<FocusedPad> pad;
    HWND dialog = nullptr;
    const struct {
        const char* moment;
        std::function<void()> act;
        const char* needed; // the library that the moment makes the program load; null: none
    } rows[]{
        {"started", [] {}, nullptr},
        {"another program's field took the focus", [&] { pad = std::make_unique<FocusedPad>(); }, "oleacc"},
        {"the settings dialog opened", [&] { dialog = openSettingsDialog(window); }, "comctl32"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.moment);
        row.act();
        if (row.needed) {
            EXPECT_TRUE(pumpUntil([&] { return loaded(process, row.needed); }, kProgramWait));
        }
        EXPECT_EQ(takenFromItsFolder(program), std::vector<std::string>{});
    }
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(endDialog(dialog, DialogEnd::cancelButton));
    pad.reset();
    EXPECT_TRUE(program.closeCleanly());
}

} // namespace
