#pragma once
// What the password tests and their edit box program share.
#include <windows.h>

inline constexpr char kEditBoxClass[] = "TaveloEditBoxTest";
inline constexpr UINT kReplaceField = WM_APP;
enum FieldKind : WPARAM { kPlainField, kPasswordField, kPadField };
