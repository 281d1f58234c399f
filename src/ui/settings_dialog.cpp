#include "ui/settings_dialog.h"

#include <commctrl.h>

#include "common/owned_handle.h"
#include "common/proc_address.h"
#include "common/process_globals.h"
#include "resource_ids.h"
#include "settings/app_settings.h"
#include "ui/dialog_controls.h"

namespace {

constexpr int kPositionCount = 9;
// The name keeps at most 255 bytes of the system's code page, as a 256-byte buffer has always held
// it; the field's UTF-16 text is converted and cut on a character boundary.
constexpr int kMaxImageNameBytes = 255;

// The controls of the open dialog, looked up anew at each opening.
struct SettingsControls {
    HWND position[kPositionCount] = {}; // by position value, 3 x row + column
    HWND mostTop = nullptr;
    HWND memorize = nullptr;
    HWND useCustom = nullptr;
    HWND wheelTime = nullptr;
    HWND imageName = nullptr;
};

SettingsControls controls;

// The common controls library, loaded the first time the dialog opens and kept until the end: at
// start-up the program has no use for it. Through the manifest it is version 6, which draws the
// buttons, check boxes and edit fields in the system's current look.
ModuleHandle commonControls;

void loadCommonControls()
{
    if (commonControls.get())
        return;
    commonControls.attach(LoadLibraryA("comctl32.dll"));
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = procAddress<InitFunction>(commonControls.get(), "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES};
    if (init)
        init(&classes);
}

void lookUpControls(HWND dialog)
{
    for (int value = 0; value < kPositionCount; ++value)
        controls.position[value] = GetDlgItem(dialog, IDC_POSITION + value);
    controls.mostTop = GetDlgItem(dialog, IDC_MOSTTOP);
    controls.memorize = GetDlgItem(dialog, IDC_MEMORIZE);
    controls.useCustom = GetDlgItem(dialog, IDC_USECUSTOM);
    controls.wheelTime = GetDlgItem(dialog, IDC_WHEELTIME);
    controls.imageName = GetDlgItem(dialog, IDC_IMAGENAME);
}

// A remembered position overrides the start-up cell, so the cell is offered only without one;
// the file name matters only while the custom picture is used.
void updateEnabling()
{
    const bool positionsApply = !isButtonChecked(controls.memorize);
    for (HWND button : controls.position)
        EnableWindow(button, positionsApply);
    EnableWindow(controls.imageName, isButtonChecked(controls.useCustom));
}

void initControls(HWND dialog)
{
    lookUpControls(dialog);
    if (DefaultPosition >= 0 && DefaultPosition < kPositionCount)
        setButtonChecked(controls.position[DefaultPosition], true);
    setButtonChecked(controls.mostTop, MostTop);
    setButtonChecked(controls.memorize, MemorizePosition);
    setButtonChecked(controls.useCustom, UseCustomImage);
    setEditInt(controls.wheelTime, WheelInitTime);
    setControlText(controls.imageName, CustomImageName);
    updateEnabling();
}

// Greyed position buttons keep their check state and are read like the others.
void applyControls()
{
    for (int value = 0; value < kPositionCount; ++value) {
        if (isButtonChecked(controls.position[value])) {
            DefaultPosition = value;
            break;
        }
    }
    MostTop = isButtonChecked(controls.mostTop);
    MemorizePosition = isButtonChecked(controls.memorize);
    UseCustomImage = isButtonChecked(controls.useCustom);
    WheelInitTime = correctedWheelTime(getEditInt(controls.wheelTime));
    CustomImageName = getControlText(controls.imageName, kMaxImageNameBytes);
}

bool changesEnabling(int id) { return (id >= IDC_POSITION && id <= IDC_MEMORIZE) || id == IDC_USECUSTOM; }

void onCommand(HWND dialog, int id)
{
    if (id == IDOK) {
        applyControls();
        EndDialog(dialog, 1);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    } else if (changesEnabling(id)) {
        updateEnabling();
    }
}

} // namespace

bool runSettingsDialog(HWND owner)
{
    loadCommonControls();
    // -1 means the dialog could not be made at all; that is no OK.
    // A Unicode dialog: its controls hold what is put into them whatever the system's code page.
    return DialogBoxParamW(instanceHandle, MAKEINTRESOURCEW(IDD_SETTINGS), owner, settingsDialogProc, 0) > 0;
}

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        initControls(dialog);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}
