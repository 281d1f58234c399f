#pragma once
// Identifiers of the resources built into TaveloKeyboard.exe, shared by the code and the .rc files.

#define IDI_MAIN 101
#define IDB_BASE 103
#define IDB_PRESSED 105
#define IDR_MAINMENU 106
#define IDD_SETTINGS 107
// The pictures drawn for scaled displays, PNG as RCDATA: base and pressed at 120, 144, 168, 192 dpi.
#define IDB_BASE_120 111
#define IDB_PRESSED_120 112
#define IDB_BASE_144 113
#define IDB_PRESSED_144 114
#define IDB_BASE_168 115
#define IDB_PRESSED_168 116
#define IDB_BASE_192 117
#define IDB_PRESSED_192 118

#define IDM_SETTINGS 40001

#define IDC_POSITION 1000 // 1000..1008, one per start-up grid cell
#define IDC_MOSTTOP 1009
#define IDC_MEMORIZE 1010
#define IDC_WHEELTIME 1011
#define IDC_USECUSTOM 1012
#define IDC_IMAGENAME 1013
