// The report pane: wider than the dialog, dragged sideways by its body to read the long rows,
// brought home by a double click, and always kept level with the legend's labels.
#include "app/app_state.h"
#include "inspector/inspector.h"

namespace {

LRESULT OnPaneButtonDown(HWND pane, LPARAM lp) {
  // Pretending the caption was grabbed makes the system run its move loop for the pane.
  DefWindowProcA(pane, WM_NCLBUTTONDOWN, HTCAPTION, lp);
  return 0;
}

LRESULT OnPaneDoubleClick(HWND pane) {
  SetWindowPos(pane, nullptr, app.reportX, app.reportY, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  return 0;
}

// Every move, size or Z-order change passes here, whoever asks for it: the pane never leaves its
// row (the rows must stay level with their labels), never goes right of home (its left edge
// would uncover the dialog), keeps its size, and stays directly behind the legend pane so the
// labels are drawn over the part of the report that slides under them.
LRESULT OnPanePosChanging(WINDOWPOS* pos) {
  pos->hwndInsertAfter = app.hLegendPane;
  if (pos->x >= app.reportX) pos->x = app.reportX;
  pos->y = app.reportY;
  pos->cx = app.reportWidth;
  pos->cy = app.reportHeight;
  return 0;
}

}  // namespace

LRESULT CALLBACK ReportPaneProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:       return OnPaneButtonDown(w, lp);
    case WM_LBUTTONDBLCLK:     return OnPaneDoubleClick(w);
    case WM_WINDOWPOSCHANGING: return OnPanePosChanging(reinterpret_cast<WINDOWPOS*>(lp));
    default:                   return CallPreviousProc(w, msg, wp, lp);
  }
}
