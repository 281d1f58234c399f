#pragma once
// Real Win32 scaffolding for tests: windows to receive messages, message pumping, and finding
// the message boxes that the code under test shows.
#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// A plain top-level window of a test class; destroyed with the object.
class TestWindow {
public:
    explicit TestWindow(WNDPROC procedure = DefWindowProcA, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ~TestWindow() { destroy(); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return window; }
    void destroy();

private:
    HWND window = nullptr;
};

// Dispatches this thread's messages for about the given time.
void pumpMessages(DWORD milliseconds);

// Dispatches messages until the predicate holds or the time runs out; true when it held.
template <typename Predicate>
bool pumpUntil(Predicate done, DWORD timeoutMilliseconds)
{
    const ULONGLONG end = GetTickCount64() + timeoutMilliseconds;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        pumpMessages(5);
    }
    return true;
}

// What a message box showed, read before it was dismissed.
struct SeenMessageBox {
    bool found = false;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
};

// Watches from a thread of its own for message boxes (class #32770) of this process, records each
// one and dismisses it with OK, until stopped.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    int count() const;
    SeenMessageBox first() const;

private:
    static DWORD WINAPI watch(void* self);
    HANDLE thread = nullptr;
    HANDLE stopEvent = nullptr;
    mutable CRITICAL_SECTION lock;
    int seen = 0;
    SeenMessageBox firstBox;
};

// Reads a message box's parts.
SeenMessageBox describeMessageBox(HWND box);
// A visible message box (class #32770) of the given process, or null.
HWND findMessageBoxOf(DWORD processId);
// Reads a visible box of the process, hands it to `record` and then dismisses it with OK, waiting
// up to the time for it to go; false when there is none or its text is not drawn yet.
bool answerMessageBox(
    DWORD processId, const std::function<void(const SeenMessageBox&)>& record, DWORD timeoutMilliseconds);

} // namespace testing_support
