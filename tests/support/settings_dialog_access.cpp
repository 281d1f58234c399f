#include "support/settings_dialog_access.h"

#include <vector>

#include "support/installed_program.h"

namespace testing_support {

namespace {

LRESULT sendTo(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), message, wParam, lParam, SMTO_NORMAL, kProgramWait, &result);
    return static_cast<LRESULT>(result);
}

} // namespace

HWND findSettingsDialog(DWORD processId)
{
    for (HWND candidate : topLevelWindows(processId, "#32770", "設定"))
        if (IsWindowVisible(candidate))
            return candidate;
    return nullptr;
}

void click(HWND dialog, int id) { sendTo(dialog, id, BM_CLICK); }

bool isChecked(HWND dialog, int id) { return sendTo(dialog, id, BM_GETCHECK) == BST_CHECKED; }

bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void setText(HWND dialog, int id, const std::string& text)
{
    sendTo(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string text(HWND dialog, int id)
{
    std::vector<char> buffer(2048);
    sendTo(dialog, id, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

DialogView readDialog(HWND dialog)
{
    DialogView view;
    for (int position = 0; position < 9; ++position) {
        if (isChecked(dialog, IDC_POSITION + position))
            view.position = view.position == -1 ? position : -2;
        view.enabledPositions += isEnabled(dialog, IDC_POSITION + position);
    }
    view.mostTop = isChecked(dialog, IDC_MOSTTOP);
    view.memorize = isChecked(dialog, IDC_MEMORIZE);
    view.useCustom = isChecked(dialog, IDC_USECUSTOM);
    view.wheelTime = text(dialog, IDC_WHEELTIME);
    view.imageName = text(dialog, IDC_IMAGENAME);
    view.imageNameEnabled = isEnabled(dialog, IDC_IMAGENAME);
    return view;
}

DialogView viewOf(int position, bool mostTop, bool memorize, bool useCustom, const std::string& wheelTime,
    const std::string& imageName)
{
    return {position, mostTop, memorize, useCustom, wheelTime, imageName, memorize ? 0 : 9, useCustom};
}

std::ostream& operator<<(std::ostream& out, const DialogView& view)
{
    return out << "position " << view.position << ", most top " << view.mostTop << ", memorize "
               << view.memorize << ", use custom " << view.useCustom << ", wheel time \"" << view.wheelTime
               << "\", image name \"" << view.imageName << "\", enabled positions " << view.enabledPositions
               << ", image name enabled " << view.imageNameEnabled;
}

} // namespace testing_support
