// Test windows: owned subjects made on demand.
#pragma once
#include <windows.h>

#include "app/main_dlg.h"

void RegisterTestWindowClass();
// The buttons that create test windows, test dialogs and the message box.
extern const CommandRoutes kTestWindowRoutes;
void UpdateOwnerLabel(HWND w);
LRESULT CALLBACK TestWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
INT_PTR CALLBACK TestDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
