// The tree list read back, and the row lines it must hold, worked out from the test's own queries.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "support/test_support.h"

namespace tree_test {

struct ListRow {
  std::string line;
  LRESULT data, length;  // the whole pointer-sized item data; what CB_GETLBTEXTLEN answers
};
// Every row of the tree combo box, each read whole, however long it is.
inline std::vector<ListRow> ListRows() {
  std::vector<ListRow> rows;
  for (LRESULT i = 0, n = SendMessageA(app.hTreeCombo, CB_GETCOUNT, 0, 0); i < n; ++i) {
    LRESULT length = SendMessageA(app.hTreeCombo, CB_GETLBTEXTLEN, i, 0);
    std::vector<char> text(length > 0 ? length + 1 : 1, '\0');
    SendMessageA(app.hTreeCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    rows.push_back({text.data(), SendMessageA(app.hTreeCombo, CB_GETITEMDATA, i, 0), length});
  }
  return rows;
}
inline int RowIndexOf(HWND w) {
  std::vector<ListRow> rows = ListRows();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].data == reinterpret_cast<LRESULT>(w)) return static_cast<int>(i);
  return -1;
}
inline std::string RowLineOf(HWND w) {
  int i = RowIndexOf(w);
  return i < 0 ? "(no row)" : ListRows()[i].line;
}
// Handle, two spaces, top mark, space, prefix, space, class, six spaces, quoted text.
inline std::string TreeLine(HWND w, char topMark, const std::string& prefix, const std::string& cls,
                            const std::string& text) {
  return Hex8(w) + "  " + topMark + " " + prefix + " " + cls + "      \"" + text + "\"";
}
// '=' belongs to the highest top-level window that is not topmost.
inline HWND HighestNonTopmost() {
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (!(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST)) return w;
  return nullptr;
}
inline char TopMarkOf(HWND w) { return w == HighestNonTopmost() ? '=' : ' '; }

}  // namespace tree_test
