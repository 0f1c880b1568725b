// The main dialog: its procedure, start-up and shut-down.
#pragma once
#include <windows.h>

INT_PTR CALLBACK MainDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
