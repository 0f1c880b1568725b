// The tree list window. (To be built.)
#include "app/app_state.h"
#include "tree/tree.h"

BOOL CALLBACK FindTreeListProc(HWND w, LPARAM) {
  char name[64];
  GetClassNameA(w, name, 63);
  int different = lstrcmpiA(name, "combolbox");
  if (different == 0) app.hTreeList = w;
  return different;
}
LRESULT CALLBACK TreeListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return CallPreviousProc(w, msg, wp, lp);
}
void SetTreeCaption() {}
void OnFilterCommand(WORD) {}
void OnMonitorCommand() {}
void OnTreeSelChange() {}
void OnTreeDropDown() {}
INT_PTR OnCtlColorListBox(HDC) { return FALSE; }
void TreeMonitorStep() {}
