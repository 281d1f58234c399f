#include "installed_hooks.h"

#include <atomic>

namespace keyhook_testing {

namespace {

// Written by the hook thread, read by the test's thread.
std::atomic<int> installs{0};
std::atomic<HHOOK> latestKeyboard{nullptr};
std::atomic<HHOOK> latestMouse{nullptr};

HHOOK WINAPI recordingSetWindowsHookEx(int kind, HOOKPROC procedure, HINSTANCE module, DWORD thread)
{
    const HHOOK hook = SetWindowsHookExA(kind, procedure, module, thread);
    if (hook && kind == WH_KEYBOARD_LL)
        latestKeyboard = hook;
    if (hook && kind == WH_MOUSE_LL)
        latestMouse = hook;
    if (hook)
        ++installs;
    return hook;
}

template <typename T>
T* at(HMODULE module, DWORD offset)
{
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

} // namespace

bool watchHookInstalls(HMODULE library)
{
    installs = 0;
    const auto real = reinterpret_cast<ULONG_PTR>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetWindowsHookExA")));
    const auto* headers = at<IMAGE_NT_HEADERS>(library, at<IMAGE_DOS_HEADER>(library, 0)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    bool replaced = false;
    for (auto* dll = at<IMAGE_IMPORT_DESCRIPTOR>(library, imports.VirtualAddress); dll->Name; ++dll) {
        for (auto* slot = at<IMAGE_THUNK_DATA>(library, dll->FirstThunk); slot->u1.Function; ++slot) {
            if (slot->u1.Function != real)
                continue;
            DWORD protection = 0;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(&recordingSetWindowsHookEx);
            VirtualProtect(slot, sizeof *slot, protection, &protection);
            replaced = true;
        }
    }
    return replaced;
}

int hookInstallCount() { return installs; }

bool removeLatestHooks()
{
    const bool keyboard = UnhookWindowsHookEx(latestKeyboard) != FALSE;
    return UnhookWindowsHookEx(latestMouse) != FALSE && keyboard;
}

} // namespace keyhook_testing
