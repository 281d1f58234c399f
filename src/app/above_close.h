#pragma once
#include <windows.h>

// Inserts a text item into a system menu just above Close, with a bitmap when one is given.
void insertAboveClose(HMENU menu, UINT command, const char* text, HBITMAP bitmap = nullptr);
