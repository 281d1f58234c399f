#include "hook_thread.h"

#include "hook_session.h"
#include "hook_watchdog.h"

namespace keyhook {

namespace {

// Handed from start() to the new thread; valid until `ready` is signalled.
struct StartRequest {
    HWND target;
    HMODULE module;
    HANDLE ready;
    bool installed;
};

// The state of the thread that runs; touched only by that thread (its hook procedures run on it,
// from its message loop).
HookSession* activeSession = nullptr;
HookWatchdog* activeWatchdog = nullptr;

LRESULT CALLBACK keyboardProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION && activeSession) {
        activeSession->onKeyboard(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(data));
        activeWatchdog->onHookCall();
    }
    return CallNextHookEx(nullptr, code, message, data);
}

// A move is answered before anything else and costs no more than a clock's read: every drag and
// every game's aim on the desktop waits for this answer.
LRESULT CALLBACK mouseProc(int code, WPARAM message, LPARAM data)
{
    if (message == WM_MOUSEMOVE) {
        const LRESULT answer = CallNextHookEx(nullptr, code, message, data);
        if (activeWatchdog)
            activeWatchdog->onHookCall();
        return answer;
    }
    if (code == HC_ACTION && activeSession) {
        activeSession->onMouse(message, *reinterpret_cast<const MSLLHOOKSTRUCT*>(data));
        activeWatchdog->onHookCall();
    }
    return CallNextHookEx(nullptr, code, message, data);
}

// The two hooks. Installing again puts fresh ones at the head of the chain before the old ones
// go, so that no event passes between them; the old handles may be dead already.
class HookPair {
public:
    bool install(HMODULE module)
    {
        ScopedHook keyboard(SetWindowsHookExA(WH_KEYBOARD_LL, keyboardProc, module, 0));
        ScopedHook mouse(SetWindowsHookExA(WH_MOUSE_LL, mouseProc, module, 0));
        if (!keyboard || !mouse)
            return false;
        keyboardHook.reset(keyboard.detach());
        mouseHook.reset(mouse.detach());
        return true;
    }

private:
    ScopedHook keyboardHook;
    ScopedHook mouseHook;
};

// Installs the hooks again when the system had input that they missed; then rests once the
// input has stopped.
void checkHooks(HMODULE module, HookPair& hooks, HookSession& session, HookWatchdog& watchdog)
{
    if (watchdog.shouldReinstall()) {
        const bool installed = hooks.install(module);
        watchdog.recordInstall(installed);
        if (installed)
            session.onHooksReinstalled();
    }
    watchdog.restIfIdle();
}

// Waits for messages rather than taking them with GetMessage: while the system refuses the
// watchdog's timer, the wait ends by itself within a period, and the watchdog checks all the same
// and asks for its timer again. At rest the wait has no end but the next message.
void runMessageLoop(HMODULE module, HookPair& hooks, HookSession& session, HookWatchdog& watchdog)
{
    DWORD lastCheckWithoutTimer = GetTickCount();
    for (;;) {
        const DWORD limit = watchdog.needsTimer() ? kWatchdogPeriod : INFINITE;
        MsgWaitForMultipleObjectsEx(0, nullptr, limit, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (watchdog.needsTimer() && GetTickCount() - lastCheckWithoutTimer >= kWatchdogPeriod) {
            lastCheckWithoutTimer = GetTickCount();
            watchdog.retryTimer();
            checkHooks(module, hooks, session, watchdog);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            // Handed on all the same: the system frees the input's data in DefWindowProc.
            if (message.message == WM_INPUT)
                watchdog.wake();
            if (message.message == WM_TIMER && !message.hwnd) {
                if (watchdog.owns(message.wParam)) {
                    checkHooks(module, hooks, session, watchdog);
                    continue;
                }
                if (session.onTimer(message.wParam))
                    continue;
            }
            DispatchMessageA(&message);
        }
    }
}

void runHooks(StartRequest& request)
{
    // Low-level events reach only a thread that has a message queue; make it now, so that the
    // hooks work from the moment StartHook returns.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    // A hook that keeps the system waiting is removed; little work per event and a thread that
    // the scheduler prefers keep it within the limit on a busy machine.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    const HMODULE module = request.module;
    HookSession session(request.target);
    HookWatchdog watchdog(module);
    activeSession = &session;
    activeWatchdog = &watchdog;
    {
        HookPair hooks;
        const bool installed = hooks.install(module);
        watchdog.recordInstall(installed);
        request.installed = installed;
        SetEvent(request.ready); // `request` belongs to the starter from here on
        if (installed)
            runMessageLoop(module, hooks, session, watchdog);
    }
    activeSession = nullptr;
    activeWatchdog = nullptr;
}

DWORD WINAPI hookThreadMain(void* parameter)
{
    auto* request = static_cast<StartRequest*>(parameter);
    const HMODULE module = request->module;
    runHooks(*request);
    // The thread holds its own reference to the library, so the code it runs stays loaded
    // even if the program unloads the library without ending the hook.
    FreeLibraryAndExitThread(module, 0);
}

// A counted reference to this library, for the hook thread to hold.
HMODULE referenceThisLibrary()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&hookThreadMain), &module);
    return module;
}

} // namespace

bool HookThread::start(HWND target)
{
    if (!target || !IsWindow(target))
        return false;
    stop();
    ScopedKernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    const HMODULE module = referenceThisLibrary();
    if (!ready || !module) {
        if (module)
            FreeLibrary(module);
        return false;
    }
    StartRequest request{target, module, ready.get(), false};
    DWORD id = 0;
    ScopedKernelHandle started(CreateThread(nullptr, 0, hookThreadMain, &request, 0, &id));
    if (!started) {
        FreeLibrary(module);
        return false;
    }
    const HANDLE waitFor[] = {ready.get(), started.get()};
    WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
    if (!request.installed) {
        WaitForSingleObject(started.get(), INFINITE);
        return false;
    }
    thread.reset(started.detach());
    threadId = id;
    return true;
}

void HookThread::stop()
{
    if (!thread)
        return;
    // The thread's queue exists (the hooks made it); retry in case the post is ever refused.
    do {
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    } while (WaitForSingleObject(thread.get(), 100) == WAIT_TIMEOUT);
    thread.reset();
    threadId = 0;
}

} // namespace keyhook
