#pragma once
// The process at a glance: every thread, window timer, window message, hook and process-wide
// object, and who owns it. The window procedure takes its identifiers from the headers below;
// when one is added, it is added here too.
//
// Threads
// - The GUI thread (app/main.cpp): the message loop, the keyboard window, the settings dialog, the
//   focus and foreground events (app/focus_events.cpp) for the password judge and the
//   administrator sign, and their timers.
// - The password judge's asking threads (privacy/accessibility_worker.cpp): one per accessibility
//   question, ended with its answer; none runs while nothing is asked. At most four held in
//   other programs at once. Their answers reach the window as WM_PASSWORD_JUDGE through
//   privacy/judge_mailbox.
// - The hook thread (keyhook/hook_thread.cpp, inside keyhook.dll, started by hook/hook_library
//   through StartHook): the low-level hooks and the library's own thread timers. It posts
//   WM_HOOKEVENT.
//
// Window timers of the keyboard window, numbered in common/window_timers.h
// - WHEEL_TIMER_ID: set and killed by display/input_state; WM_TIMER -> expireWheel.
// - MINIMUM_LIT_TIMER_ID: set and killed by display/input_state; WM_TIMER -> expireMinimumLit.
// - PASSWORD_WAIT_TIMER_ID: set and killed by privacy/password_wait; WM_TIMER -> endPasswordWait
//   (display/input_state).
// - FOREGROUND_RIGHTS_TIMER_ID: set and killed by rights/foreground_rights_watcher (for
//   app/administrator_sign); its callback runs instead of the window procedure.
// - PASSWORD_JUDGE_DEADLINE_TIMER_ID: set and killed by privacy/password_focus; its callback closes
//   the open accessibility question.
// Any other WM_TIMER goes to the system's default handling.
// The hook thread's timers (the watchdog's, the held-key check's) have no window; the system
// numbers them and that thread alone handles them. Both run only while they have work: the
// watchdog's while input flows and for a few seconds after, the held-key check's while a key or
// button is reported down.
//
// Messages of the keyboard window (app/main_window.cpp routes each to one handler)
// - WM_HOOKEVENT (WM_USER, keyhook/hook_protocol.h): posted by the hook thread -> applyHookEvent;
//   the chord's event -> showPause (app/system_menu).
// - WM_PASSWORD_JUDGE (WM_APP + 1, privacy/password_focus.h): posted by the password judge ->
//   followPasswordJudge.
// - WM_COMMAND IDM_SETTINGS (resources/resource_ids.h): the menu bar -> the settings dialog.
// - WM_SYSCOMMAND kRestartAsAdministratorCommand (app/administrator_restart.h): the system menu ->
//   the hand-over to a copy run as administrator. kPauseCommand, kStartWithWindowsCommand
//   (app/system_menu.h): the system menu -> the pause, the Run value. Other commands go to the
//   system.
// - WM_INITMENUPOPUP of the system menu: the check marks follow the pause and the Run value, then
//   the system's handling.
// - The system's own: WM_CREATE, WM_DESTROY, WM_MOVE, WM_ACTIVATE, WM_SIZE, WM_PAINT,
//   WM_PRINTCLIENT, WM_CLOSE, WM_QUERYENDSESSION, WM_ENDSESSION, WM_TIMER, WM_DPICHANGED,
//   WM_GETDPISCALEDSIZE. Everything else goes to the system.
//
// Hooks
// - WH_KEYBOARD_LL, WH_MOUSE_LL: the hook thread (keyhook/hook_thread.cpp), installed again by its
//   watchdog when the system dropped them.
// - Raw keyboard and mouse input (RIDEV_INPUTSINK) to a message-only window of the hook thread
//   (keyhook/raw_input_sink.cpp), registered only while the watchdog rests, to wake it.
// - WinEvents EVENT_OBJECT_FOCUS, EVENT_SYSTEM_FOREGROUND: one pair, out of context, on the GUI
//   thread (app/focus_events.cpp); each event goes to the password judge and the administrator
//   sign.
//
// Process-wide objects
// - Shared by several rooms, in app/process_objects.cpp in their order of construction (see
//   app/process_objects.h): the library search limit, CustomImageName, hookLibrary, imagePair,
//   settingsRegistry, mainWindow, the program's folder made current, singleInstanceGuard.
// - Used by one file alone, defined in it. Each one's teardown depends on no other object; the
//   threads and hooks among them are stopped on WM_DESTROY, so at exit they only free memory,
//   handles and libraries:
//   passwordJudge and the two event hooks (app/focus_events.cpp), foregroundRights
//   (app/administrator_sign.cpp), shieldBitmap (app/administrator_restart.cpp), commonControls
//   (ui/settings_dialog.cpp), dimmedPictures (display/painting.cpp), customPicturePath
//   (pictures/pictures.cpp).
// - Plain data without a destructor: instanceHandle (common/instance_handle.cpp), ModuleDirectory
//   (common/module_directory.cpp), the system's code page (common/code_pages.cpp), displayDpi
//   (scale/display_scale.cpp), baseWidth and baseHeight (pictures/pictures.cpp), the eight
//   settings (settings/app_settings.cpp), inputState, redrawPending and the pause
//   (display/input_state.cpp), the notes of the caption's notices (app/window_notice.cpp),
//   firstPaintPending and the paint bookkeeping (display/painting.cpp).
// - In keyhook.dll: hookThread and the lock of its exports (keyhook/keyhook.cpp).
#include "app/administrator_restart.h"
#include "app/system_menu.h"
#include "common/window_timers.h"
#include "hook_protocol.h"
#include "privacy/password_focus.h"
#include "resource_ids.h"
