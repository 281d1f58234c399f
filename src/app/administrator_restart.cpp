#include "app/administrator_restart.h"

#include <shellapi.h>

#include <string>

#include "app/above_close.h"
#include "common/com_apartment.h"
#include "common/module_directory.h"
#include "common/owned_handle.h"
#include "common/proc_address.h"
#include "common/system_library.h"
#include "pictures/dib_section.h"
#include "pictures/memory_context.h"
#include "rights/process_rights.h"

namespace {

constexpr char kRestartItemText[] = "管理者として再起動";
// The system's shield icon, OIC_SHIELD; older headers lack IDI_SHIELD.
constexpr WORD kShieldIcon = 32518;

// The menu keeps only the bitmap's handle: the bitmap lives as long as the process.
GdiObjectHandle shieldBitmap;

// The shield at the small icon size as a premultiplied 32-bit picture, as a menu draws an item's
// bitmap with its transparency; null when the system has no shield.
HBITMAP makeShieldBitmap()
{
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);
    const auto shield = static_cast<HICON>(
        LoadImageW(nullptr, MAKEINTRESOURCEW(kShieldIcon), IMAGE_ICON, width, height, LR_SHARED));
    HBITMAP bitmap = shield ? createDibSection(width, height, 32) : nullptr;
    if (!bitmap)
        return nullptr;
    MemoryContext context;
    // Drawn over full transparency, the icon's own alpha becomes the picture's.
    if (const HDC target = context.with(bitmap))
        DrawIconEx(target, 0, 0, shield, width, height, 0, nullptr, DI_NORMAL);
    GdiFlush();
    return bitmap;
}

// The shell's library is loaded only for the hand-over.
using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

} // namespace

void addRestartAsAdministratorItem(HWND window)
{
    if (programRunsElevated())
        return;
    const HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu)
        return;
    if (!shieldBitmap.get())
        shieldBitmap.attach(makeShieldBitmap());
    insertAboveClose(
        menu, kRestartAsAdministratorCommand, kRestartItemText, static_cast<HBITMAP>(shieldBitmap.get()));
}

bool startAsAdministrator(HWND owner)
{
    ModuleHandle shell;
    shell.attach(loadSystemLibrary("shell32.dll"));
    const auto shellExecute = procAddress<ShellExecuteExFunction>(shell.get(), "ShellExecuteExW");
    const std::wstring program = executablePath();
    if (!shellExecute || program.empty())
        return false;
    // The call may hand the start to shell extensions, which need COM on this thread (one that has
    // it already keeps its own); shut down again before the shell's library goes.
    ComApartment com;
    com.start();
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    // This process ends soon after: the start must be complete when the call returns.
    execute.fMask = SEE_MASK_NOASYNC;
    execute.hwnd = owner;
    execute.lpVerb = L"runas";
    execute.lpFile = program.c_str();
    execute.lpDirectory = moduleDirectory();
    execute.nShow = SW_SHOWNORMAL;
    return shellExecute(&execute) != FALSE;
}

bool handOverToAdministratorCopy(HWND window, const char* name, SingleInstanceGuard& guard,
    SettingsRegistry& settings, AdministratorStart start)
{
    settings.writeAll();
    guard.release();
    if (!start(window)) {
        HWND other = nullptr;
        if (!guard.check(name, &other))
            return false;
        activateOtherCopy(other);
    }
    settings.unbindAll();
    return true;
}
