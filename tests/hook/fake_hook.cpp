// A stand-in for keyhook.dll that installs no hook and logs every call made into it. Built in
// variants: FAKE_HOOK_START_RESULT is what StartHook answers, FAKE_HOOK_WITHOUT_IS_HOOKING leaves
// that export out.
#include "fake_hook_log.h"

namespace {

std::string ownPath(HINSTANCE module)
{
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(module, path, sizeof path);
    return path;
}

} // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI StartHook(HWND target)
{
    appendLogLine("StartHook " + windowText(target));
    return FAKE_HOOK_START_RESULT;
}

__declspec(dllexport) void WINAPI EndHook() { appendLogLine("EndHook"); }

#ifndef FAKE_HOOK_WITHOUT_IS_HOOKING
__declspec(dllexport) BOOL WINAPI IsHooking()
{
    appendLogLine("IsHooking");
    return TRUE;
}
#endif

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        appendLogLine("attach " + ownPath(module));
    else if (reason == DLL_PROCESS_DETACH)
        appendLogLine("detach");
    return TRUE;
}

} // extern "C"
