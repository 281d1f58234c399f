#include "app/administrator_sign.h"

#include "app/window_notice.h"
#include "common/process_globals.h"
#include "rights/foreground_rights_watcher.h"

namespace {

constexpr char kSignNote[] = "管理者として実行中のウィンドウの入力は表示できません";

ForegroundRightsWatcher foregroundRights;

void showSign(bool shown) { showNotice(mainWindow, AdministratorNotice, shown ? kSignNote : nullptr); }

} // namespace

void startAdministratorSign(HWND window) { foregroundRights.start(window, showSign); }

void checkAdministratorSign() { foregroundRights.check(); }

void stopAdministratorSign() { foregroundRights.stop(); }
