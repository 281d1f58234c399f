#pragma once
// Identifiers of the resources built into TaveloKeyboard.exe, shared by the code and the .rc files.

#define IDI_MAIN 101
#define IDB_BASE 103
#define IDB_PRESSED 105
#define IDR_MAINMENU 106
#define IDD_SETTINGS 107

#define IDM_SETTINGS 40001

#define IDC_POSITION 1000 // 1000..1008, one per start-up grid cell
#define IDC_MOSTTOP 1009
#define IDC_MEMORIZE 1010
#define IDC_WHEELTIME 1011
#define IDC_USECUSTOM 1012
#define IDC_IMAGENAME 1013
