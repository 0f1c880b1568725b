// Window behaviour of the main dialog and the help window. (To be built.)
#include "app/chrome.h"

#include "app/app_state.h"

INT_PTR OnSetCursor(LPARAM) { return FALSE; }
INT_PTR OnNcRButtonDown(HWND, WPARAM, LPARAM) { return FALSE; }
INT_PTR OnContextMenu(HWND) { return FALSE; }
INT_PTR OnGetMinMaxInfo(MINMAXINFO*) { return TRUE; }
INT_PTR OnCtlColorStatic(HDC, HWND) { return FALSE; }
INT_PTR OnLButtonDown(HWND, LPARAM) { return TRUE; }
INT_PTR OnSysCommand(WPARAM) { return FALSE; }
HWND OpenHelpWindow() { return nullptr; }
LRESULT CALLBACK LegendPaneProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return CallPreviousProc(w, msg, wp, lp);
}
LRESULT CALLBACK HelpWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return CallPreviousProc(w, msg, wp, lp);
}
