#include "hook/hook_library.h"

#include "common/code_pages.h"
#include "common/module_directory.h"
#include "common/proc_address.h"
#include "common/system_library.h"
#include "common/warning.h"

namespace {

constexpr char kLibraryName[] = "keyhook.dll";
constexpr char kFailureText[] = "keyhook.dllの初期化に失敗しました";

} // namespace

HookLibrary::~HookLibrary() { shutdown(); }

bool HookLibrary::resolveEntryPoints()
{
    isHookingEntry = procAddress<IsHookingFunction>(handle, "IsHooking");
    startHookEntry = procAddress<StartHookFunction>(handle, "StartHook");
    endHookEntry = procAddress<EndHookFunction>(handle, "EndHook");
    return isHookingEntry && startHookEntry && endHookEntry;
}

void HookLibrary::loadAndStart(HWND window)
{
    // A hook left running would call into the library after it is gone.
    shutdown();
    if (!load()) {
        showWarning(kFailureText);
        return;
    }
    if (!resolveEntryPoints()) {
        reset();
        forgetEntryPoints();
        showWarning(kFailureText);
        return;
    }
    libraryName = kLibraryName;
    // A library that refuses to start stays loaded, so that EndHook still tidies up at exit.
    if (!startHookEntry(window))
        showWarning(kFailureText);
}

void HookLibrary::shutdown()
{
    if (handle && endHookEntry)
        endHookEntry();
    forgetEntryPoints();
    reset();
}

// Only the file beside the executable is taken, by its full path: a bare name would also be
// looked for in the system directories and on PATH, and any keyhook.dll found there would run
// inside this program. The libraries it imports come from the system folder only.
bool HookLibrary::load()
{
    // Relative picture names resolve against the program's directory for the rest of the process;
    // finding the directory makes it the current one.
    const std::wstring path = besideProgram(programText(kLibraryName));
    if (path.empty())
        return false;
    HMODULE module = loadLibraryAtPath(path.c_str());
    if (!module)
        return false;
    attach(module);
    return true;
}

void HookLibrary::forgetEntryPoints()
{
    isHookingEntry = nullptr;
    startHookEntry = nullptr;
    endHookEntry = nullptr;
}
