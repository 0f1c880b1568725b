// Target commands. (To be built.)
#include "app/app_state.h"
#include "editor/editor.h"

void ToggleStyle(HWND w, DWORD bits) {
  SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) ^ static_cast<LONG_PTR>(bits));
  // A style change takes effect on the frame only after SWP_FRAMECHANGED.
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  InvalidateRect(w, nullptr, TRUE);
}

void OnTargetCommand(WORD) {}
