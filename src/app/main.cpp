#include <windows.h>

#include "app/main_window.h"
#include "app/process_objects.h"
#include "common/warning.h"
#include "settings/app_settings.h"

namespace {

void runMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    instanceHandle = instance;

    HWND other = nullptr;
    if (singleInstanceGuard.check(kMainWindowClass, &other)) {
        activateOtherCopy(other);
        return 0;
    }

    bindAppSettings(settingsRegistry);

    if (!registerMainWindowClass()) {
        showWarning("ウィンドウの初期化に失敗しました");
        return 0;
    }
    if (!createMainWindow()) {
        showWarning("ウィンドウの作成に失敗しました");
        return 0;
    }
    runMessageLoop();
    return 0;
}
