#include "linux_tasks.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace {

const std::string procRoot = "Z:\\proc\\";

// A /proc file's whole text; such files tell no size, so it is read until the end.
std::optional<std::string> readProcFile(const std::string& path)
{
    const HANDLE file = CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    return text;
}

// The names of a /proc directory's entries that are numbers: processes, or a process's threads.
std::vector<std::string> numberedEntries(const std::string& directory)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (found.cFileName[0] >= '0' && found.cFileName[0] <= '9')
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool containsIgnoringCase(std::string text, std::string part)
{
    for (std::string* s : {&text, &part})
        for (char& c : *s)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
    return text.find(part) != std::string::npos;
}

} // namespace

std::optional<unsigned long> linuxProcessWith(const std::string& text)
{
    for (const std::string& process : numberedEntries(procRoot)) {
        const auto commandLine = readProcFile(procRoot + process + "\\cmdline");
        if (commandLine && containsIgnoringCase(*commandLine, text))
            return std::strtoul(process.c_str(), nullptr, 10);
    }
    return std::nullopt;
}

std::optional<unsigned long long> voluntarySwitches(unsigned long linuxProcess)
{
    const std::string tasks = procRoot + std::to_string(linuxProcess) + "\\task\\";
    const std::vector<std::string> threads = numberedEntries(tasks);
    if (threads.empty())
        return std::nullopt;
    unsigned long long total = 0;
    static const char field[] = "voluntary_ctxt_switches:";
    for (const std::string& thread : threads) {
        const auto status = readProcFile(tasks + thread + "\\status");
        const size_t at = status ? status->find(field) : std::string::npos;
        if (at == std::string::npos || (at > 0 && (*status)[at - 1] != '\n'))
            return std::nullopt;
        total += std::strtoull(status->c_str() + at + sizeof field - 1, nullptr, 10);
    }
    return total;
}
