// Test windows. (To be built.)
#include "app/app_state.h"
#include "testwin/testwin.h"

void RegisterTestWindowClass() {}
void OnTestWindowCommand(WORD) {}
void UpdateOwnerLabel(HWND) {}
LRESULT CALLBACK TestWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, msg, wp, lp);
}
INT_PTR CALLBACK TestDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
