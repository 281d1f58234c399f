// Benchmarks of TaveloKeyboard.exe against floor_window.exe, a bare window of the same size that
// ignores hook events. Each program runs from a fresh temporary directory of its own, one copy at
// a time (the keyboard program is single-instance). Prints one line per figure:
//   ID  VALUE UNIT  floor VALUE UNIT  ratio PROGRAM/FLOOR
// and lines starting with '#' for what the reader should know about the run.
//   bench.exe [DIRECTORY [EVENTS [memory|starts]]]
//     DIRECTORY holds the three programs (default: bench.exe's own), EVENTS is the size of the
//     flood (default: a million); "memory" takes only the memory after start-up, "starts" that
//     and the start-up time, "rest" that and the idle wake-ups and the cost of a mouse move.
// Sizes are printed as "file NAME BYTES PICTURE_BYTES" lines.
//
// Why hook events are synchronised the way they are: a message sent to another thread is handled
// before anything that thread has queued, so a WM_NULL sent after a flood returns long before the
// flood is handled. A paint, on the other hand, is only generated once the posted queue is empty:
// invalidating the window and waiting until its update region is empty again proves that every
// event posted before has been handled.
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/owned_handle.h"
#include "linux_tasks.h"

namespace {

constexpr UINT hookEventMessage = WM_USER;
constexpr WPARAM keyboardDevice = 0;
constexpr WORD keyA = 0x41;
constexpr int startRuns = 21;
constexpr int latencyPresses = 40;
constexpr int latencyWarmUps = 3;
// Longer than a tap's minimum lit time: a release after it shows at once.
constexpr DWORD latencyHoldMilliseconds = 250;
constexpr int repaintEvents = 2000;
constexpr int defaultFloodEvents = 1000000;
constexpr int floodBatch = 5000; // well below the 10000 messages a queue may hold
// The idle figures start this long after the subject's start, and last this long.
constexpr DWORD idleAfterStartMilliseconds = 5000;
constexpr DWORD idleMilliseconds = 30000;
constexpr int moveBatches = 9;
constexpr int movesPerBatch = 200;
constexpr DWORD replyTimeout = 10000;
constexpr DWORD startTimeout = 20000;
// Key A's rectangle in the picture at 100 %: x, y, right, bottom.
constexpr RECT keyARect{71, 126, 71 + 38, 126 + 38};

// ---- clock and statistics ----

double nowMilliseconds()
{
    static const double ticksPerMillisecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMillisecond;
}

std::optional<double> median(std::vector<double> values)
{
    if (values.empty())
        return std::nullopt;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// The nearest-rank 90th percentile.
std::optional<double> percentile90(std::vector<double> values)
{
    if (values.empty())
        return std::nullopt;
    std::sort(values.begin(), values.end());
    const size_t rank = (values.size() * 9 + 9) / 10;
    return values[std::min(values.size(), rank) - 1];
}

// ---- files ----

// The directory part of a path, stepping over double-byte characters so that a trail byte of
// 0x5C is not taken for a separator.
std::string directoryOf(const std::string& path)
{
    size_t cut = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\' || path[i] == '/')
            cut = i;
    }
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

std::string ownDirectory()
{
    std::vector<char> buffer(32768);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return directoryOf(std::string(buffer.data(), length));
}

std::optional<double> fileKiB(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    const uint64_t bytes = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return static_cast<double>(bytes) / 1024.0;
}

BOOL CALLBACK addResourceSize(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR total)
{
    if (HRSRC resource = FindResourceA(module, name, type))
        *reinterpret_cast<uint64_t*>(total) += SizeofResource(module, resource);
    return TRUE;
}

// The bytes of a file's pictures: its bitmap and raw-data resources.
uint64_t pictureBytes(const std::string& path)
{
    HMODULE file
        = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!file)
        return 0;
    uint64_t total = 0;
    for (LPCSTR type : {RT_BITMAP, RT_RCDATA})
        EnumResourceNamesA(file, type, addResourceSize, reinterpret_cast<LONG_PTR>(&total));
    FreeLibrary(file);
    return total;
}

// A new directory under the user's temporary directory holding copies of the given files; it is
// emptied and removed with the object, together with whatever the program wrote there.
class TemporaryDirectory {
public:
    TemporaryDirectory(const std::string& sourceDirectory, const std::vector<std::string>& files)
    {
        static int serial = 0;
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "tavelo-bench-" + std::to_string(GetCurrentProcessId()) + "-"
            + std::to_string(++serial);
        complete = CreateDirectoryA(path.c_str(), nullptr) != 0;
        for (const std::string& file : files)
            complete = complete
                && CopyFileA((sourceDirectory + "\\" + file).c_str(), (path + "\\" + file).c_str(), FALSE);
    }
    ~TemporaryDirectory()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((path + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path.c_str());
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    bool ready() const { return complete; }
    const std::string& get() const { return path; }

private:
    std::string path;
    bool complete = false;
};

// ---- the measured program ----

struct Subject {
    const char* label;
    const char* executable;
    const char* windowClass;
    std::vector<std::string> files;
};

// One running copy of a subject, closed through its window (and ended by force if that fails)
// when the object goes.
class RunningProgram {
public:
    RunningProgram(const Subject& subject, const std::string& directory)
        : subject(subject)
    {
        const std::string executable = directory + "\\" + subject.executable;
        std::string commandLine = "\"" + executable + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION created{};
        if (CreateProcessA(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                directory.c_str(), &startup, &created)) {
            process.attach(created.hProcess);
            thread.attach(created.hThread);
            processId = created.dwProcessId;
        }
    }
    ~RunningProgram() { close(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return process.get() != nullptr; }
    bool exited() const { return !started() || WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; }
    HANDLE handle() const { return process.get(); }
    // The first thread, which runs the window's message loop.
    HANDLE windowThread() const { return thread.get(); }
    DWORD id() const { return processId; }

    // The subject's top-level window once it exists; null before.
    HWND findWindow() const
    {
        for (HWND window = FindWindowExA(nullptr, nullptr, subject.windowClass, nullptr); window;
             window = FindWindowExA(nullptr, window, subject.windowClass, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId)
                return window;
        }
        return nullptr;
    }

    // Dismisses a message box of this process, if one is up; true when one was.
    bool dismissMessageBox() const
    {
        HWND box = nullptr;
        while ((box = FindWindowExA(nullptr, box, "#32770", nullptr))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            if (owner == processId) {
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return true;
            }
        }
        return false;
    }

    // Asks the window to close and waits for the process to end.
    void close()
    {
        if (exited())
            return;
        if (HWND window = findWindow())
            PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.get(), replyTimeout) != WAIT_OBJECT_0) {
            std::printf("# %s did not end after WM_CLOSE; ended by force\n", subject.label);
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), replyTimeout);
        }
    }

private:
    const Subject& subject;
    KernelHandle process;
    KernelHandle thread;
    DWORD processId = 0;
};

// ---- reading the window's pixels ----

class MemoryDc {
public:
    MemoryDc()
        : dc(CreateCompatibleDC(nullptr))
    {
    }
    ~MemoryDc()
    {
        if (dc)
            DeleteDC(dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc; }

private:
    HDC dc;
};

class WindowDc {
public:
    explicit WindowDc(HWND window)
        : window(window)
        , dc(GetDC(window))
    {
    }
    ~WindowDc()
    {
        if (dc)
            ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc; }

private:
    HWND window;
    HDC dc;
};

using Picture = std::vector<uint32_t>;

// Copies a window's client area, as the screen shows it, into 32-bit pixels.
class ClientCapture {
public:
    ClientCapture(int width, int height)
        : width(width)
        , height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap.attach(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        pixels = static_cast<const uint32_t*>(bits);
        if (bitmap.get() && dc.get())
            SelectObject(dc.get(), bitmap.get());
    }

    bool take(HWND window, Picture& out, POINT origin = {0, 0})
    {
        if (!pixels)
            return false;
        WindowDc source(window);
        if (!source.get()
            || !BitBlt(dc.get(), 0, 0, width, height, source.get(), origin.x, origin.y, SRCCOPY))
            return false;
        GdiFlush();
        out.resize(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = pixels[i] & 0xFFFFFF;
        return true;
    }

private:
    int width;
    int height;
    MemoryDc dc;
    GdiObjectHandle bitmap;
    const uint32_t* pixels = nullptr;
};

size_t differingPixels(const Picture& a, const Picture& b)
{
    if (a.size() != b.size())
        return std::max(a.size(), b.size());
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i)
        count += a[i] != b[i];
    return count;
}

// The button-face background the window class paints before the program does.
bool onlyBackground(const Picture& picture)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t background = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    return std::all_of(picture.begin(), picture.end(), [&](uint32_t pixel) { return pixel == background; });
}

SIZE clientSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

// ---- talking to the window ----

bool sendWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, replyTimeout, &result) != 0;
}

LPARAM keyEvent(WORD key, bool pressed) { return static_cast<LPARAM>((pressed ? 0x10000u : 0u) | key); }

// Waits until everything posted to the window before this call has been handled (see the top of
// this file); false if the window stays busy for the whole timeout.
bool syncPosted(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
    const double deadline = nowMilliseconds() + replyTimeout;
    while (GetUpdateRect(window, nullptr, FALSE)) {
        if (nowMilliseconds() > deadline)
            return false;
        Sleep(1);
    }
    return sendWait(window, WM_NULL, 0, 0);
}

bool postRetrying(HWND window, LPARAM lParam)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (PostMessageA(window, hookEventMessage, keyboardDevice, lParam))
            return true;
        Sleep(1); // the queue is full: let it drain
    }
    return false;
}

// ---- process figures ----

// Private (committed, unshared) memory. Wine leaves PrivateUsage at zero and reports the
// anonymous resident memory as PagefileUsage, the commit charge, which is the same quantity as
// PrivateUsage on Windows.
std::optional<double> privateKiB(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(
            process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return std::nullopt;
    const SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(bytes) / 1024.0;
}

// The leading fields of one record of the system's process list (SystemProcessInformation).
struct ProcessRecord {
    ULONG nextEntryOffset;
    ULONG numberOfThreads;
    LARGE_INTEGER workingSetPrivateSize;
    ULONG hardFaultCount;
    ULONG numberOfThreadsHighWatermark;
    ULONGLONG cycleTime;
    LARGE_INTEGER createTime;
    LARGE_INTEGER userTime;
    LARGE_INTEGER kernelTime;
    USHORT imageNameLength;
    USHORT imageNameMaximumLength;
    PWSTR imageNameBuffer;
    LONG basePriority;
    HANDLE uniqueProcessId;
};

using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
constexpr ULONG systemProcessInformation = 5;
constexpr LONG statusInfoLengthMismatch = static_cast<LONG>(0xC0000004);

// CPU time (kernel + user) a process has used so far. Taken from the system's process list:
// Wine answers GetProcessTimes for another process with the caller's own times.
std::optional<double> cpuMilliseconds(DWORD processId)
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    // Through void (*)() so that the compiler accepts the change of function type.
    const auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void (*)()>(ntdll ? GetProcAddress(ntdll, "NtQuerySystemInformation") : nullptr));
    if (!query)
        return std::nullopt;
    std::vector<unsigned char> buffer(1 << 18);
    LONG status;
    ULONG needed = 0;
    while (
        (status = query(systemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed))
        == statusInfoLengthMismatch)
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
    if (status < 0)
        return std::nullopt;
    for (size_t offset = 0; offset + sizeof(ProcessRecord) <= buffer.size();) {
        ProcessRecord record;
        std::memcpy(&record, buffer.data() + offset, sizeof record);
        if (reinterpret_cast<ULONG_PTR>(record.uniqueProcessId) == processId)
            return static_cast<double>(record.kernelTime.QuadPart + record.userTime.QuadPart) / 10000.0;
        if (!record.nextEntryOffset)
            break;
        offset += record.nextEntryOffset;
    }
    return std::nullopt;
}

// Keeps a thread from running until resumed or destroyed, so that a batch of events can be queued
// for it without the time of posting them mixing into the time of handling them.
class HeldThread {
public:
    explicit HeldThread(HANDLE thread)
        : thread(thread)
        , held(SuspendThread(thread) != static_cast<DWORD>(-1))
    {
    }
    ~HeldThread() { resume(); }
    HeldThread(const HeldThread&) = delete;
    HeldThread& operator=(const HeldThread&) = delete;

    bool isHeld() const { return held; }
    void resume()
    {
        if (held)
            ResumeThread(thread);
        held = false;
    }

private:
    HANDLE thread;
    bool held;
};

// ---- measurements ----

struct Figures {
    std::optional<double> eventsPerSecond;
    std::optional<double> repaintMicroseconds;
    std::optional<double> uncoveredMicroseconds;
    std::optional<double> startMilliseconds;
    std::optional<double> privateAfterStart;
    std::optional<double> privateAfterFlood;
    std::optional<double> idleCpu;
    std::optional<double> idleWakeUps;
    std::optional<double> moveMicroseconds;
    std::optional<double> pressMedian;
    std::optional<double> pressP90;
    std::optional<double> releaseMedian;
    std::optional<double> releaseP90;
};

// Waits for the subject's window to appear; dismisses warning boxes on the way.
HWND waitForWindow(const Subject& subject, const RunningProgram& program)
{
    const double deadline = nowMilliseconds() + startTimeout;
    while (nowMilliseconds() < deadline && !program.exited()) {
        if (program.dismissMessageBox())
            std::printf("# %s showed a message box at start-up; dismissed\n", subject.label);
        if (HWND window = program.findWindow(); window && IsWindowVisible(window))
            return window;
        Sleep(5);
    }
    std::printf("# %s showed no window%s\n", subject.label, program.exited() ? " (it ended)" : "");
    return nullptr;
}

// The picture the window settles on after start-up, or nothing when it never shows more than
// the background.
std::optional<Picture> settledPicture(const Subject& subject, HWND window)
{
    syncPosted(window);
    Sleep(1000);
    syncPosted(window);
    const SIZE size = clientSize(window);
    std::printf("# %s: client area %ld x %ld\n", subject.label, size.cx, size.cy);
    ClientCapture capture(size.cx, size.cy);
    Picture picture;
    if (!capture.take(window, picture) || onlyBackground(picture)) {
        std::printf("# %s paints nothing but the background\n", subject.label);
        return std::nullopt;
    }
    return picture;
}

// Median time of one change followed by the paints it causes: the change is made, the pending
// paints are forced with RDW_UPDATENOW, and the window asked for one more reply.
template <typename Change>
std::optional<double> medianRepaint(HWND window, Change change)
{
    std::vector<double> times;
    times.reserve(repaintEvents);
    for (int i = 0; i < repaintEvents; ++i) {
        const double start = nowMilliseconds();
        if (!change(i))
            return std::nullopt;
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW);
        if (!sendWait(window, WM_NULL, 0, 0))
            return std::nullopt;
        times.push_back((nowMilliseconds() - start) * 1000.0);
    }
    return median(times);
}

// One hook event and its paints. The event is sent rather than posted, so that its handler has
// run when the call returns.
std::optional<double> repaintPerEvent(HWND window)
{
    return medianRepaint(window, [window](int i) {
        return sendWait(window, hookEventMessage, keyboardDevice, keyEvent(keyA, i % 2 == 0));
    });
}

// The paints of a window whose whole client area was uncovered, without any change of state.
std::optional<double> repaintUncovered(HWND window)
{
    return medianRepaint(window, [window](int) { return InvalidateRect(window, nullptr, FALSE) != 0; });
}

// Reads the window until the predicate holds of its pixels or the time runs out. What another
// process paints reaches the screen a little later, when that process flushes its window.
template <typename Predicate>
Picture pollPicture(HWND window, Predicate done)
{
    const SIZE size = clientSize(window);
    ClientCapture capture(size.cx, size.cy);
    Picture seen;
    const double deadline = nowMilliseconds() + 2000;
    while (capture.take(window, seen) && !done(seen) && nowMilliseconds() < deadline)
        Sleep(10);
    return seen;
}

void pressAndPaint(HWND window, bool pressed)
{
    sendWait(window, hookEventMessage, keyboardDevice, keyEvent(keyA, pressed));
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW);
}

// Tells whether a held key shows on screen and goes away again, so that the repaint figure is
// known to include real drawing.
void checkKeyShows(const Subject& subject, HWND window, const Picture& settled)
{
    pressAndPaint(window, true);
    const bool leftInvalid = GetUpdateRect(window, nullptr, FALSE) != 0;
    const Picture held = pollPicture(window, [&](const Picture& seen) { return seen != settled; });
    pressAndPaint(window, false);
    const Picture released = pollPicture(window, [&](const Picture& seen) { return seen == settled; });
    std::printf("# %s: holding A changes %zu pixels, releasing it leaves %zu changed%s\n", subject.label,
        differingPixels(settled, held), differingPixels(settled, released),
        leftInvalid ? "; the window stays invalid after a forced paint" : "");
}

// Tells whether the window is back to its settled picture after the flood, which ends with a
// release.
void checkSettledAfterFlood(const Subject& subject, HWND window, const Picture& settled)
{
    const Picture after = pollPicture(window, [&](const Picture& seen) { return seen == settled; });
    std::printf("# %s: after the flood %zu pixels differ from the settled picture\n", subject.label,
        differingPixels(settled, after));
}

// Hook events per second over a flood of alternating presses and releases of A. Each batch is
// queued while the window's thread is held, then timed from its release until it is handled.
std::optional<double> absorptionRate(HWND window, HANDLE windowThread, int events)
{
    double busy = 0;
    bool everHeld = true;
    for (int posted = 0; posted < events; posted += floodBatch) {
        const int batch = std::min(floodBatch, events - posted);
        HeldThread held(windowThread);
        everHeld = everHeld && held.isHeld();
        double start = nowMilliseconds();
        for (int i = 0; i < batch; ++i)
            if (!postRetrying(window, keyEvent(keyA, i % 2 == 0)))
                return std::nullopt;
        if (held.isHeld()) {
            start = nowMilliseconds();
            held.resume();
        }
        if (!syncPosted(window))
            return std::nullopt;
        busy += nowMilliseconds() - start;
    }
    if (!everHeld)
        std::printf("# the window's thread could not be held: posting is part of the absorption time\n");
    return events / (busy / 1000.0);
}

// Key A's rectangle in the window's client area: the picture's, scaled as the window is
// (edge' = (edge * dpi + 48) / 96, the dpi read from the client width).
RECT scaledKeyA(HWND window)
{
    const int dpi = (clientSize(window).cx * 96 + 500) / 1000;
    const auto scale = [dpi](LONG edge) { return static_cast<LONG>((edge * dpi + 48) / 96); };
    return {scale(keyARect.left), scale(keyARect.top), scale(keyARect.right), scale(keyARect.bottom)};
}

void sendKeyA(bool pressed)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = keyA;
    input.ki.dwFlags = pressed ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

// Time from SendInput of A until A's rectangle on screen shows it: held when at least half of
// its pixels differ from the released look, released when none does. Polled without pause.
std::optional<double> keyToPixel(
    HWND window, const RECT& key, ClientCapture& capture, const Picture& released, bool pressed)
{
    Picture seen;
    const double start = nowMilliseconds();
    sendKeyA(pressed);
    while (nowMilliseconds() - start < 2000) {
        if (!capture.take(window, seen, {key.left, key.top}))
            return std::nullopt;
        const size_t changed = differingPixels(seen, released);
        if (pressed ? changed >= seen.size() / 2 : changed == 0)
            return nowMilliseconds() - start;
    }
    return std::nullopt;
}

// Presses and releases A through the system's input, as a keyboard would, and times each until
// the window shows it; A is held for a while between the two. The first few presses warm up and
// are not counted.
void measureLatency(const Subject& subject, HWND window, Figures& figures)
{
    const RECT key = scaledKeyA(window);
    ClientCapture capture(key.right - key.left, key.bottom - key.top);
    Picture released;
    if (!capture.take(window, released, {key.left, key.top}))
        return;
    std::vector<double> presses, releases;
    for (int i = 0; i < latencyWarmUps + latencyPresses; ++i) {
        Sleep(20);
        const auto press = keyToPixel(window, key, capture, released, true);
        Sleep(latencyHoldMilliseconds);
        const auto release = keyToPixel(window, key, capture, released, false);
        if (!press || !release) {
            sendKeyA(false);
            std::printf("# %s: key A did not show on screen within 2 s\n", subject.label);
            return;
        }
        if (i >= latencyWarmUps) {
            presses.push_back(*press);
            releases.push_back(*release);
        }
    }
    figures.pressMedian = median(presses);
    figures.pressP90 = percentile90(presses);
    figures.releaseMedian = median(releases);
    figures.releaseP90 = percentile90(releases);
}

// The wake-ups of all the subject's threads and its CPU time while nothing happens, from a while
// after its start: no input, no message from outside.
void measureIdle(const Subject& subject, const RunningProgram& program, const std::string& directory,
    double startedAt, Figures& figures)
{
    const double running = nowMilliseconds() - startedAt;
    if (running < idleAfterStartMilliseconds)
        Sleep(static_cast<DWORD>(idleAfterStartMilliseconds - running));
    const std::string name = directory.substr(directory.find_last_of('\\') + 1) + "\\" + subject.executable;
    const auto linuxProcess = linuxProcessWith(name);
    if (!linuxProcess)
        std::printf("# %s: its Linux process was not found under Z:\\proc\n", subject.label);
    const auto switchesBefore = linuxProcess ? voluntarySwitches(*linuxProcess) : std::nullopt;
    const auto cpuBefore = cpuMilliseconds(program.id());
    Sleep(idleMilliseconds);
    const auto cpuAfter = cpuMilliseconds(program.id());
    const auto switchesAfter = linuxProcess ? voluntarySwitches(*linuxProcess) : std::nullopt;
    if (cpuBefore && cpuAfter)
        figures.idleCpu = *cpuAfter - *cpuBefore;
    if (switchesBefore && switchesAfter)
        figures.idleWakeUps = static_cast<double>(*switchesAfter - *switchesBefore);
}

void sendMove(LONG dx)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

// The time of SendInput for one relative move, over a batch: it returns once every low-level mouse
// hook on the desktop has answered. The pointer goes back and forth by a pixel in a corner of the
// screen, away from both windows, so that no window's thread handles the moves.
double moveMicroseconds()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
    const double start = nowMilliseconds();
    for (int i = 0; i < movesPerBatch; ++i)
        sendMove(i % 2 ? -1 : 1);
    return (nowMilliseconds() - start) * 1000.0 / movesPerBatch;
}

// One batch of moves with a fresh copy of the subject running, once its window is up.
std::optional<double> moveBatchWith(const Subject& subject, const std::string& source)
{
    TemporaryDirectory directory(source, subject.files);
    if (!directory.ready())
        return std::nullopt;
    RunningProgram program(subject, directory.get());
    HWND window = waitForWindow(subject, program);
    if (!window || !syncPosted(window))
        return std::nullopt;
    Sleep(1000); // past the start's own work
    return moveMicroseconds();
}

// Batches of moves with each subject and with neither, taken in turns, so that both meet the same
// load on the machine; the median of each.
void measureMoves(const Subject& program, Figures& programFigures, const Subject& floor,
    Figures& floorFigures, const std::string& source)
{
    std::vector<double> programTimes, floorTimes, bareTimes;
    for (int batch = 0; batch < moveBatches; ++batch) {
        bareTimes.push_back(moveMicroseconds());
        if (const auto time = moveBatchWith(floor, source))
            floorTimes.push_back(*time);
        if (const auto time = moveBatchWith(program, source))
            programTimes.push_back(*time);
    }
    std::printf("# a mouse move with neither running: %.1f us\n", *median(bareTimes));
    programFigures.moveMicroseconds = median(programTimes);
    floorFigures.moveMicroseconds = median(floorTimes);
}

// What a run takes: everything, the memory after start-up alone, that and the start-up time, or
// that and the figures of a program at rest (its idle wake-ups and the cost of a mouse move).
enum class Mode { everything, memory, starts, rest };

// One long run: memory after start-up, idle wake-ups and CPU, a mouse move, repaint per event, the flood,
// memory after it. Leaves the settled picture for the start-up runs to wait for.
void measureRunning(const Subject& subject, const std::string& source, int events, Mode mode,
    Figures& figures, std::optional<Picture>& settled)
{
    TemporaryDirectory directory(source, subject.files);
    if (!directory.ready()) {
        std::printf("# %s could not be copied to %s\n", subject.label, directory.get().c_str());
        return;
    }
    const double startedAt = nowMilliseconds();
    RunningProgram program(subject, directory.get());
    HWND window = waitForWindow(subject, program);
    if (!window)
        return;
    settled = settledPicture(subject, window);
    figures.privateAfterStart = privateKiB(program.handle());
    if (mode == Mode::memory || mode == Mode::starts)
        return;
    measureIdle(subject, program, directory.get(), startedAt, figures);
    if (mode == Mode::rest)
        return;

    if (settled) {
        checkKeyShows(subject, window, *settled);
        measureLatency(subject, window, figures);
    }
    figures.repaintMicroseconds = repaintPerEvent(window);
    figures.uncoveredMicroseconds = repaintUncovered(window);
    figures.eventsPerSecond = absorptionRate(window, program.windowThread(), events);
    if (settled)
        checkSettledAfterFlood(subject, window, *settled);
    Sleep(500);
    figures.privateAfterFlood = privateKiB(program.handle());
}

// Time from process creation to the settled picture on screen, one fresh start.
std::optional<double> timeToPicture(const Subject& subject, const std::string& source, const Picture& settled)
{
    TemporaryDirectory directory(source, subject.files);
    if (!directory.ready())
        return std::nullopt;
    const double start = nowMilliseconds();
    RunningProgram program(subject, directory.get());
    const double deadline = start + startTimeout;
    Picture seen;
    std::optional<ClientCapture> capture;
    while (nowMilliseconds() < deadline && !program.exited()) {
        program.dismissMessageBox();
        HWND window = program.findWindow();
        if (window && IsWindowVisible(window)) {
            const SIZE size = clientSize(window);
            if (!capture)
                capture.emplace(size.cx, size.cy);
            if (capture->take(window, seen) && differingPixels(seen, settled) <= settled.size() / 100)
                return nowMilliseconds() - start;
        }
        Sleep(1);
    }
    return std::nullopt;
}

// Fresh starts of the two subjects in turn, so that both meet the same load on the machine.
void measureStarts(const Subject& program, const std::optional<Picture>& programSettled,
    Figures& programFigures, const Subject& floor, const std::optional<Picture>& floorSettled,
    Figures& floorFigures, const std::string& source)
{
    if (!programSettled || !floorSettled)
        return;
    std::vector<double> programTimes, floorTimes;
    for (int run = 0; run < startRuns; ++run) {
        if (auto time = timeToPicture(floor, source, *floorSettled))
            floorTimes.push_back(*time);
        if (auto time = timeToPicture(program, source, *programSettled))
            programTimes.push_back(*time);
    }
    for (const auto& [subject, times] : {std::pair{&floor, &floorTimes}, std::pair{&program, &programTimes}})
        if (times->size() < startRuns)
            std::printf(
                "# %s: %zu of %d starts reached the picture\n", subject->label, times->size(), startRuns);
    programFigures.startMilliseconds = median(programTimes);
    floorFigures.startMilliseconds = median(floorTimes);
}

// ---- output ----

std::string formatValue(std::optional<double> value, int decimals)
{
    if (!value)
        return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
    return text;
}

void printFigure(const char* id, std::optional<double> program, std::optional<double> floor, const char* unit,
    int decimals)
{
    std::optional<double> ratio;
    if (program && floor && *floor > 0)
        ratio = *program / *floor;
    std::printf("%-20s %12s %-5s floor %12s %-5s ratio %s\n", id, formatValue(program, decimals).c_str(),
        unit, formatValue(floor, decimals).c_str(), unit, formatValue(ratio, 2).c_str());
}

std::optional<double> difference(std::optional<double> later, std::optional<double> earlier)
{
    if (!later || !earlier)
        return std::nullopt;
    return *later - *earlier;
}

void printFile(const std::string& source, const char* name)
{
    const std::string path = source + "\\" + name;
    const auto kib = fileKiB(path);
    if (kib)
        std::printf(
            "file %s %.0f %llu\n", name, *kib * 1024.0, static_cast<unsigned long long>(pictureBytes(path)));
}

void printFigures(const Figures& program, const Figures& floor, const std::string& source, Mode mode)
{
    if (mode == Mode::rest) {
        printFigure("idle_wakeups_30s", program.idleWakeUps, floor.idleWakeUps, "wakes", 0);
        printFigure("mouse_move", program.moveMicroseconds, floor.moveMicroseconds, "us", 1);
    }
    if (mode != Mode::everything) {
        if (mode == Mode::starts)
            printFigure("start_to_picture", program.startMilliseconds, floor.startMilliseconds, "ms", 1);
        printFigure("private_start", program.privateAfterStart, floor.privateAfterStart, "KiB", 0);
        return;
    }
    printFigure("press_to_pixel", program.pressMedian, floor.pressMedian, "ms", 2);
    printFigure("press_to_pixel_p90", program.pressP90, floor.pressP90, "ms", 2);
    printFigure("release_to_pixel", program.releaseMedian, floor.releaseMedian, "ms", 2);
    printFigure("release_to_pixel_p90", program.releaseP90, floor.releaseP90, "ms", 2);
    printFigure("absorb_rate", program.eventsPerSecond, floor.eventsPerSecond, "ev/s", 0);
    printFigure("repaint_per_event", program.repaintMicroseconds, floor.repaintMicroseconds, "us", 1);
    printFigure("repaint_uncovered", program.uncoveredMicroseconds, floor.uncoveredMicroseconds, "us", 1);
    printFigure("start_to_picture", program.startMilliseconds, floor.startMilliseconds, "ms", 1);
    printFigure("private_start", program.privateAfterStart, floor.privateAfterStart, "KiB", 0);
    printFigure("private_after_flood", program.privateAfterFlood, floor.privateAfterFlood, "KiB", 0);
    printFigure("private_growth", difference(program.privateAfterFlood, program.privateAfterStart),
        difference(floor.privateAfterFlood, floor.privateAfterStart), "KiB", 0);
    printFigure("idle_wakeups_30s", program.idleWakeUps, floor.idleWakeUps, "wakes", 0);
    printFigure("idle_cpu_30s", program.idleCpu, floor.idleCpu, "ms", 1);
    printFigure("mouse_move", program.moveMicroseconds, floor.moveMicroseconds, "us", 1);
    const auto floorSize = fileKiB(source + "\\floor_window.exe");
    printFigure("exe_size", fileKiB(source + "\\TaveloKeyboard.exe"), floorSize, "KiB", 1);
    printFigure("dll_size", fileKiB(source + "\\keyhook.dll"), std::nullopt, "KiB", 1);
    for (const char* name : {"TaveloKeyboard.exe", "keyhook.dll", "floor_window.exe"})
        printFile(source, name);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string source = argc > 1 ? argv[1] : ownDirectory();
    const int events = argc > 2 ? std::max(floodBatch, std::atoi(argv[2])) : defaultFloodEvents;
    const std::string modeName = argc > 3 ? argv[3] : "";
    const Mode mode = modeName == "memory" ? Mode::memory
        : modeName == "starts"             ? Mode::starts
        : modeName == "rest"               ? Mode::rest
                                           : Mode::everything;
    const Subject keyboard{
        "program", "TaveloKeyboard.exe", "TAVELO_WindowClass", {"TaveloKeyboard.exe", "keyhook.dll"}};
    const Subject floor{"floor", "floor_window.exe", "TAVELO_BenchFloor", {"floor_window.exe"}};

    HDC screen = GetDC(nullptr);
    std::printf("# screen at %d dpi\n", GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    if (mode == Mode::everything)
        std::printf(
            "# %d starts each (median, taken in turns), %d presses of A held %lu ms (after %d to warm up), "
            "%d events flooded in batches of %d, %d repaint events\n",
            startRuns, latencyPresses, latencyHoldMilliseconds, latencyWarmUps, events, floodBatch,
            repaintEvents);
    if (mode == Mode::everything || mode == Mode::rest) {
        std::printf(
            "# %lu ms idle from %lu ms after the start, %d batches of %d mouse moves, each with a fresh "
            "copy, taken in turns\n",
            idleMilliseconds, idleAfterStartMilliseconds, moveBatches, movesPerBatch);
    }
    std::fflush(stdout);
    Figures floorFigures, programFigures;
    std::optional<Picture> floorSettled, programSettled;
    measureRunning(floor, source, events, mode, floorFigures, floorSettled);
    std::fflush(stdout);
    measureRunning(keyboard, source, events, mode, programFigures, programSettled);
    std::fflush(stdout);
    if (mode == Mode::everything || mode == Mode::rest)
        measureMoves(keyboard, programFigures, floor, floorFigures, source);
    if (mode == Mode::everything || mode == Mode::starts)
        measureStarts(keyboard, programSettled, programFigures, floor, floorSettled, floorFigures, source);
    printFigures(programFigures, floorFigures, source, mode);
    return 0;
}
