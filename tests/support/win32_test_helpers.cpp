#include "support/win32_test_helpers.h"

namespace testing_support {

namespace {

constexpr char kTestWindowClass[] = "TaveloTestWindow";

ATOM registerClassFor(WNDPROC procedure)
{
    // One class per procedure: the class name carries the procedure's address.
    char name[64];
    wsprintfA(name, "%s%p", kTestWindowClass, reinterpret_cast<void*>(procedure));
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    const ATOM atom = RegisterClassA(&windowClass);
    if (atom)
        return atom;
    WNDCLASSA existing{};
    return static_cast<ATOM>(GetClassInfoA(windowClass.hInstance, name, &existing));
}

struct BoxSearch {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK matchBox(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window)) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

TestWindow::TestWindow(WNDPROC procedure, DWORD style)
{
    char name[64];
    wsprintfA(name, "%s%p", kTestWindowClass, reinterpret_cast<void*>(procedure));
    registerClassFor(procedure);
    window = CreateWindowExA(
        0, name, "test", style, 0, 0, 400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void TestWindow::destroy()
{
    if (window)
        DestroyWindow(window);
    window = nullptr;
}

void pumpMessages(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    MSG message;
    do {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    } while (true);
}

SeenMessageBox describeMessageBox(HWND box)
{
    SeenMessageBox seen;
    seen.found = true;
    char buffer[1024] = {};
    GetWindowTextA(box, buffer, sizeof buffer);
    seen.caption = buffer;
    seen.owner = GetWindow(box, GW_OWNER);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") != 0)
            continue;
        buffer[0] = 0;
        GetWindowTextA(child, buffer, sizeof buffer);
        if (buffer[0]) {
            seen.text = buffer;
            break;
        }
    }
    return seen;
}

HWND findMessageBoxOf(DWORD processId)
{
    BoxSearch search{processId, nullptr};
    EnumWindows(matchBox, reinterpret_cast<LPARAM>(&search));
    return search.box;
}

bool answerMessageBox(
    DWORD processId, const std::function<void(const SeenMessageBox&)>& record, DWORD timeoutMilliseconds)
{
    const HWND box = findMessageBoxOf(processId);
    if (!box)
        return false;
    const SeenMessageBox seen = describeMessageBox(box);
    if (seen.text.empty())
        return false;
    record(seen);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    // Gone before the caller looks for the next one.
    const ULONGLONG end = GetTickCount64() + timeoutMilliseconds;
    while (IsWindow(box) && IsWindowVisible(box) && GetTickCount64() < end)
        Sleep(10);
    return true;
}

MessageBoxWatcher::MessageBoxWatcher()
{
    InitializeCriticalSection(&lock);
    stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread = CreateThread(nullptr, 0, &MessageBoxWatcher::watch, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    SetEvent(stopEvent);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(stopEvent);
    DeleteCriticalSection(&lock);
}

int MessageBoxWatcher::count() const
{
    EnterCriticalSection(&lock);
    const int result = seen;
    LeaveCriticalSection(&lock);
    return result;
}

SeenMessageBox MessageBoxWatcher::first() const
{
    EnterCriticalSection(&lock);
    SeenMessageBox result = firstBox;
    LeaveCriticalSection(&lock);
    return result;
}

DWORD WINAPI MessageBoxWatcher::watch(void* param)
{
    auto* self = static_cast<MessageBoxWatcher*>(param);
    const auto record = [self](const SeenMessageBox& box) {
        EnterCriticalSection(&self->lock);
        if (self->seen++ == 0)
            self->firstBox = box;
        LeaveCriticalSection(&self->lock);
    };
    while (WaitForSingleObject(self->stopEvent, 20) == WAIT_TIMEOUT)
        answerMessageBox(GetCurrentProcessId(), record, 1000);
    return 0;
}

} // namespace testing_support
