#pragma once
// What the password tests share with their edit box program.
#include <windows.h>

inline constexpr char kEditBoxClass[] = "TaveloEditBoxTest";
inline constexpr UINT kReplaceField = WM_APP; // wParam: the new field's FieldKind
// The slow pads answer accessibility a second late, as a busy program may.
enum FieldKind : WPARAM { kPlainField, kPasswordField, kPadField, kSlowPadField, kSlowPlainPadField };
