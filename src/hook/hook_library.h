#pragma once
#include <windows.h>

#include <string>

#include "common/owned_handle.h"

// The program's side of keyhook.dll: loads it from the program's own directory while the main
// window is created, starts the hook with that window, and at process end ends the hook and
// unloads the library. A failure costs only the live input; the user is told once.
class HookLibrary : public ModuleHandle {
public:
    using IsHookingFunction = BOOL(WINAPI*)();
    using StartHookFunction = BOOL(WINAPI*)(HWND);
    using EndHookFunction = void(WINAPI*)();

    HookLibrary() = default;
    // Ends the hook before the library goes.
    ~HookLibrary() override;

    // Looks up all three exports; true only when every one is there.
    virtual bool resolveEntryPoints();

    // Loads, resolves and starts the hook for the given window; any failure is shown as one
    // warning and the program carries on without input.
    void loadAndStart(HWND window);

    // EndHook when it is known, then unloads the library.
    void shutdown();

    std::string libraryName;
    IsHookingFunction isHookingEntry = nullptr; // required, never called
    StartHookFunction startHookEntry = nullptr;
    EndHookFunction endHookEntry = nullptr;

private:
    bool load();
    void forgetEntryPoints();
};

// The program's one instance, a process-wide object of the start-up code.
extern HookLibrary hookLibrary;
