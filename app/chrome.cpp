// Window behaviour of the main dialog: border cursors, the system menu on the caption, switching
// controls on and off by a right click, the fixed height, the report pane's colours and dragging.
#include "app/chrome.h"

#include "app/app_state.h"
#include "res/resource.h"

namespace {

// WM_POPUPSYSTEMMENU: the default window procedure answers it by tracking the window's system
// menu at the screen point in lParam. It has no name in the public headers.
constexpr UINT kPopupSystemMenu = 0x0313;

struct BorderCursor {
  WORD hitCode;
  WORD cursorId;  // a system cursor for LoadCursorA(NULL, ...)
};

// The height is fixed, so the top and bottom edges must not promise vertical sizing, and the
// corners size only horizontally. HTLEFT and HTRIGHT are absent: the system's own horizontal
// cursor is already right for them.
constexpr BorderCursor kBorderCursors[] = {
    {HTTOP, 32512},        {HTBOTTOM, 32512},       // IDC_ARROW
    {HTTOPLEFT, 32644},    {HTTOPRIGHT, 32644},     // IDC_SIZEWE
    {HTBOTTOMLEFT, 32644}, {HTBOTTOMRIGHT, 32644},
};

}  // namespace

INT_PTR OnSetCursor(LPARAM lp) {
  const WORD hitCode = LOWORD(lp);
  for (const BorderCursor& entry : kBorderCursors) {
    if (entry.hitCode == hitCode) {
      SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(entry.cursorId)));
      return TRUE;  // the default processing would set its own cursor over ours
    }
  }
  return FALSE;
}

INT_PTR OnNcRButtonDown(HWND dlg, WPARAM wp, LPARAM lp) {
  if (wp != HTCAPTION) return FALSE;
  // lParam of a non-client message is already in screen coordinates, as the menu wants it.
  DefWindowProcA(dlg, kPopupSystemMenu, 0, lp);
  return TRUE;
}

INT_PTR OnContextMenu(HWND dlg) {
  // A disabled control gets no mouse input, so its right click arrives from the dialog itself:
  // the control is found again under the cursor. ChildWindowFromPoint, unlike WindowFromPoint,
  // does not skip disabled or hidden children.
  POINT pt;
  GetCursorPos(&pt);
  MapWindowPoints(nullptr, dlg, &pt, 1);
  HWND control = ChildWindowFromPoint(dlg, pt);
  if (control == dlg) return FALSE;  // on the dialog's own surface: nothing to switch
  if (control) EnableWindow(control, !IsWindowEnabled(control));  // none: outside the dialog
  return TRUE;
}

INT_PTR OnGetMinMaxInfo(MINMAXINFO* info) {
  // The system may ask while the dialog is still being created, before start-up has taken its
  // start size; limits of zero would squash it, so until then the system's values stay.
  if (app.minTrackHeight == 0) return TRUE;
  info->ptMinTrackSize.x = app.minTrackWidth;
  info->ptMinTrackSize.y = app.minTrackHeight;
  info->ptMaxTrackSize.y = app.minTrackHeight;
  return TRUE;
}

INT_PTR OnCtlColorStatic(HDC dc, HWND control) {
  if (control != app.hReportPane) return FALSE;
  // The text is drawn transparently, so the returned white brush is the pane's whole background.
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
}

INT_PTR OnLButtonDown(HWND dlg, LPARAM lp) {
  // A press on the caption starts the system's move loop; pretending one was made there lets
  // the dialog be dragged by any spot of its body. The loop tracks the cursor itself.
  DefWindowProcA(dlg, WM_NCLBUTTONDOWN, HTCAPTION, lp);
  return TRUE;
}

INT_PTR OnSysCommand(WPARAM wp) {
  if (wp != IDM_ABOUT_HELP) return FALSE;  // the system's own commands take the default path
  OpenHelpWindow();
  return TRUE;
}

LRESULT CALLBACK LegendPaneProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  // The legend pane covers most of the dialog's left half; a press on it drags the dialog too.
  // SendMessageA returns only when the move loop has ended with the button's release.
  if (msg == WM_LBUTTONDOWN) SendMessageA(app.hMainDlg, WM_LBUTTONDOWN, wp, lp);
  return CallPreviousProc(w, msg, wp, lp);
}
