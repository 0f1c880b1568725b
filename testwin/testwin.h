// Test windows: owned subjects made on demand.
#pragma once
#include <windows.h>

void RegisterTestWindowClass();
void OnTestWindowCommand(WORD id);
void UpdateOwnerLabel(HWND w);
LRESULT CALLBACK TestWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
INT_PTR CALLBACK TestDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
