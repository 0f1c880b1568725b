// Window tree tests: the list read back, the row a window must have, and a counter of the
// messages that change a window.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"
#include "tree/tree.h"

struct ListRow {
  std::string line;
  LRESULT data;  // the whole pointer-sized item data
};

inline std::vector<ListRow> ListRows() {
  std::vector<ListRow> rows;
  for (LRESULT i = 0, n = SendMessageA(app.hTreeCombo, CB_GETCOUNT, 0, 0); i < n; ++i) {
    char text[512] = "";
    SendMessageA(app.hTreeCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    rows.push_back({text, SendMessageA(app.hTreeCombo, CB_GETITEMDATA, i, 0)});
  }
  return rows;
}
inline int RowIndexOf(HWND w) {
  std::vector<ListRow> rows = ListRows();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].data == reinterpret_cast<LRESULT>(w)) return static_cast<int>(i);
  return -1;
}
inline bool HasRow(HWND w) { return RowIndexOf(w) >= 0; }
inline std::string RowLineOf(HWND w) { return HasRow(w) ? ListRows()[RowIndexOf(w)].line : "(no row)"; }
inline std::string CountLabel() { return WindowText(GetDlgItem(app.hMainDlg, IDC_TREECOUNT)); }

// Handle, two spaces, top mark, space, prefix, space, class, six spaces, quoted text.
inline std::string ExpectedRow(HWND w, char mark, const std::string& prefix, const std::string& cls,
                               const std::string& text) {
  return Hex8(w) + "  " + mark + " " + prefix + " " + cls + "      \"" + text + "\"";
}
// The '=' row: the highest top-level window in the Z-order that is not topmost.
inline char TopMarkOf(HWND w) {
  HWND v = GetWindow(GetDesktopWindow(), GW_CHILD);
  while (v && (GetWindowLongPtrA(v, GWL_EXSTYLE) & WS_EX_TOPMOST)) v = GetWindow(v, GW_HWNDNEXT);
  return w == v ? '=' : ' ';
}

// Records which of the watched messages reach a window while it lives; one per window at a time.
struct MessageCounter {
  MessageCounter(HWND w, std::vector<UINT> watched) : w(w), watched(std::move(watched)) {
    SetPropA(w, "TreeTestCounter", this);
    old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
  }
  ~MessageCounter() { SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old)); }
  int count(UINT msg) const { return static_cast<int>(std::count(seen.begin(), seen.end(), msg)); }
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<MessageCounter*>(GetPropA(w, "TreeTestCounter"));
    if (std::count(self->watched.begin(), self->watched.end(), msg)) self->seen.push_back(msg);
    return CallWindowProcA(self->old, w, msg, wp, lp);
  }
  HWND w;
  std::vector<UINT> watched, seen;
  WNDPROC old;
};
// Everything that changes the rows, their data or the selection of the tree combo box.
const std::vector<UINT> kListChanges = {CB_RESETCONTENT, CB_ADDSTRING,   CB_INSERTSTRING,
                                        CB_DELETESTRING, CB_SETITEMDATA, CB_SETCURSEL};

// Every refresh in these tests is one the test asks for: the inspection timer is stopped.
class TreeTest : public MainDialogTest {
 protected:
  void SetUp() override { MainDialogTest::SetUp(), StopTimer(); }
};
