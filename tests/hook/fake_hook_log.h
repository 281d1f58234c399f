#pragma once
// The call log shared by the stand-in hook libraries and the probe program: one line per event,
// appended to the file that TAVELO_HOOK_LOG names, so that the order of calls across the library
// and the program can be read back after the process has ended.
#include <windows.h>

#include <string>

inline void appendLogLine(const std::string& line)
{
    char path[MAX_PATH * 4] = {};
    const DWORD length = GetEnvironmentVariableA("TAVELO_HOOK_LOG", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// A window handle as the log writes it, the same in every process.
inline std::string windowText(HWND window)
{
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
}
