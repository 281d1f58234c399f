#pragma once
// What the password tests share with their edit box program.
#include <windows.h>

inline constexpr char kEditBoxClass[] = "TaveloEditBoxTest";
inline constexpr UINT kReplaceField = WM_APP; // wParam: the new field's FieldKind
// The slow pads answer accessibility a moment late, as a busy program may; the stuck pad answers
// messages but sits 20 s in its first accessibility request. kForegroundAgain keeps the field and
// announces the window's foreground again, as the system does when it comes back to the front.
enum FieldKind : WPARAM {
    kPlainField,
    kPasswordField,
    kPadField,
    kSlowPadField,
    kSlowPlainPadField,
    kStuckPadField,
    kForegroundAgain,
};
