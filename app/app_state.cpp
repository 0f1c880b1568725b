#include "app/app_state.h"

AppState app;

void Subclass(HWND w, WNDPROC proc) {
  // SetWindowLongPtr returns the replaced procedure; the subclass reaches it through
  // the window's own user data, so one procedure serves any number of windows.
  LONG_PTR previous = SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  SetWindowLongPtrA(w, GWLP_USERDATA, previous);
}

LRESULT CallPreviousProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_USERDATA));
  return CallWindowProcA(previous, w, msg, wp, lp);
}
