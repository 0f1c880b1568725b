// Window behaviour of the main dialog and the help window.
#pragma once
#include <windows.h>

INT_PTR OnSetCursor(LPARAM lp);
INT_PTR OnNcRButtonDown(HWND dlg, WPARAM wp, LPARAM lp);
INT_PTR OnContextMenu(HWND dlg);
INT_PTR OnGetMinMaxInfo(MINMAXINFO* info);
INT_PTR OnCtlColorStatic(HDC dc, HWND control);
INT_PTR OnLButtonDown(HWND dlg, LPARAM lp);
INT_PTR OnSysCommand(WPARAM wp);

// Opens one more help window below the report pane.
HWND OpenHelpWindow();

LRESULT CALLBACK LegendPaneProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK HelpWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
