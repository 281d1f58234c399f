#include "rights/process_rights.h"

#include "common/owned_handle.h"

namespace {

// Reads the elevation of the process's token into facts, or why it could not.
void readElevation(HANDLE process, ForegroundFacts& facts)
{
    KernelHandle token;
    HANDLE opened = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &opened)) {
        facts.tokenError = GetLastError();
        return;
    }
    token.attach(opened);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    facts.elevationRead
        = GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) != FALSE;
    facts.elevated = facts.elevationRead && elevation.TokenIsElevated != 0;
}

} // namespace

bool programRunsElevated()
{
    ForegroundFacts facts;
    readElevation(GetCurrentProcess(), facts);
    return facts.elevated;
}

ForegroundFacts factsAboutWindow(HWND window)
{
    ForegroundFacts facts;
    DWORD processId = 0;
    facts.window = window && GetWindowThreadProcessId(window, &processId) && processId != 0;
    if (!facts.window)
        return facts;
    facts.ownProcess = processId == GetCurrentProcessId();
    if (facts.ownProcess)
        return facts;
    KernelHandle process;
    process.attach(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process.get()) {
        facts.processError = GetLastError();
        return facts;
    }
    readElevation(process.get(), facts);
    return facts;
}
