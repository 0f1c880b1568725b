// Entry point: the whole program is one modal dialog.
#include "app/app_state.h"
#include "app/main_dlg.h"

#include <commctrl.h>

// Importing comctl32 makes the loader load it at start, so the manifest's request for
// Common Controls 6 takes effect; the function itself is never called.
__attribute__((used)) static void(WINAPI* const kComctlImport)() = InitCommonControls;

extern "C" void WinEntry() {
  app.hInstance = GetModuleHandleA(nullptr);
  INT_PTR result = DialogBoxParamA(app.hInstance, "Dlg", nullptr, MainDlgProc, 0);
  ExitProcess(static_cast<UINT>(result));
}
