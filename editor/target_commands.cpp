// Target commands: one click changes a window directly, without history. Most act on the command
// target T (P, or W while the target button reads "W"); the Z-order steps and the extended-style
// toggles act on P itself; "sWaP" exchanges W and P.
#include "app/app_state.h"
#include "editor/editor.h"
#include "res/resource.h"

namespace {

// Recalculates the frame of a window whose style changed; nothing else may move.
constexpr UINT kRefreshFrame = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;
// A Z-order placement keeps the window's place and size.
constexpr UINT kPlace = SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED;
// Activating a window raises it again, which would undo a move downwards or a single step.
constexpr UINT kPlaceQuietly = kPlace | SWP_NOACTIVATE;

constexpr UINT kTextChars = 255;   // the combo box's edit field is read into this many characters
constexpr UINT kTextTimeoutMs = 100;

// The insert-after values of SetWindowPos as plain numbers, so that the table can hold them.
constexpr LONG_PTR kInsertTopmost = -1;
constexpr LONG_PTR kInsertNotopmost = -2;
constexpr LONG_PTR kInsertTop = 0;
constexpr LONG_PTR kInsertBottom = 1;

HWND Target() { return app.hCommandTarget; }

bool RefusedWithParentAsHung(HWND w) { return RefusedAsHung(w, GetAncestor(w, GA_PARENT)); }

// A style change takes effect on the frame only after SWP_FRAMECHANGED.
void RefreshFrame(HWND w) {
  SetWindowPos(w, nullptr, 0, 0, 0, 0, kRefreshFrame);
  InvalidateRect(w, nullptr, TRUE);
}

// The tree list keeps its selection on P: the last row carrying P wins. CB_SETCURSEL sends no
// CBN_SELCHANGE, so choosing a row by hand (which would make it P again) does not run.
void SelectTreeRowOfP() {
  LRESULT count = SendMessageA(app.hTreeCombo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = count - 1; i >= 0; --i) {
    LRESULT data = SendMessageA(app.hTreeCombo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
    // Item data is pointer-sized: the pseudo rows carry 0 and -3 as whole values.
    if (data == reinterpret_cast<LRESULT>(app.hTargetP)) {
      SendMessageA(app.hTreeCombo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      return;
    }
  }
}

void MovePTo(HWND next) {
  if (!next) return;  // no such relative: P stays, silently
  app.hTargetP = next;
  SelectTreeRowOfP();
}

// --- Handlers, one per kind of command; arg comes from the command table. ---

void Swap(LONG_PTR) {
  if (!app.lockW) {
    ErrorBeep();
    return;
  }
  HWND w = app.hTargetW;
  app.hTargetW = app.hTargetP;
  app.hTargetP = w;
}

// Every handler whose calls wait for the window's thread (all but "sWaP", "Text", "X" and the
// navigation, which only read or post) first refuses a T or P that is hung or whose parent is,
// before its first call.

void ToggleEnabled(LONG_PTR) {
  HWND t = Target();
  if (RefusedWithParentAsHung(t)) return;
  EnableWindow(t, IsWindowEnabled(t) ^ 1);
}

void ToggleMinimized(LONG_PTR) {
  HWND t = Target();
  if (RefusedWithParentAsHung(t)) return;
  // A maximized window is brought back to normal rather than minimized from its full size.
  ShowWindow(t, (IsIconic(t) || IsZoomed(t)) ? SW_RESTORE : SW_MINIMIZE);
}

void ToggleVisible(LONG_PTR) {
  HWND t = Target();
  if (RefusedWithParentAsHung(t)) return;
  // SW_SHOWNORMAL also takes a hidden window out of a minimized or maximized state.
  ShowWindow(t, IsWindowVisible(t) ? SW_HIDE : SW_SHOWNORMAL);
}

void ToggleTargetStyle(LONG_PTR bits) {
  if (RefusedWithParentAsHung(Target())) return;
  ToggleStyle(Target(), static_cast<DWORD>(bits));
}

void ToggleChild(LONG_PTR) {
  HWND t = Target();
  if (RefusedWithParentAsHung(t)) return;
  // A window may lose or change its id with WS_CHILD (a top-level window's id slot holds its
  // menu); the old value is left in the edit field so that "Id" can put it back.
  LONG_PTR before = GetWindowLongPtrA(t, GWLP_ID);
  ToggleStyle(t, WS_CHILD);
  if (GetWindowLongPtrA(t, GWLP_ID) == before) return;
  SetDlgItemInt(app.hMainDlg, IDC_TREECOMBO, static_cast<UINT>(before), FALSE);
  EnableWindow(GetDlgItem(app.hMainDlg, IDC_ID), TRUE);
}

void SetTargetId(LONG_PTR) {
  BOOL translated = FALSE;
  UINT id = GetDlgItemInt(app.hMainDlg, IDC_TREECOMBO, &translated, FALSE);
  if (!translated) {
    ErrorBeep();
    return;
  }
  HWND t = Target();
  if (RefusedWithParentAsHung(t)) return;
  SetWindowLongPtrA(t, GWLP_ID, static_cast<LONG_PTR>(id));
  RefreshFrame(t);
}

void SetTargetText(LONG_PTR) {
  char text[kTextChars];
  text[0] = '\0';
  SendMessageA(app.hTreeCombo, WM_GETTEXT, kTextChars, reinterpret_cast<LPARAM>(text));
  // Another program's window may be hung: the new text is offered for a bounded time only.
  SendMessageTimeoutA(Target(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      kTextTimeoutMs, nullptr);
}

void CloseTarget(LONG_PTR) {
  // Posted, not sent: the target closes in its own time, and a hung one cannot stall the tool.
  PostMessageA(Target(), WM_CLOSE, 0, 0);
}

void ToggleExStyleOfP(LONG_PTR bit) {
  HWND p = app.hTargetP;
  if (RefusedWithParentAsHung(p)) return;
  // The shell reads WS_EX_TOOLWINDOW and WS_EX_APPWINDOW when a window is shown, so the window
  // is hidden across the change and shown again only when it was visible before.
  BOOL wasVisible = IsWindowVisible(p);
  ShowWindow(p, SW_HIDE);
  SetWindowLongPtrA(p, GWL_EXSTYLE, GetWindowLongPtrA(p, GWL_EXSTYLE) ^ bit);
  SetWindowPos(p, nullptr, 0, 0, 0, 0, kRefreshFrame);
  if (wasVisible) ShowWindow(p, SW_SHOW);
}

void PlaceTarget(LONG_PTR insertAfter) {
  if (RefusedWithParentAsHung(Target())) return;
  UINT flags = (insertAfter == kInsertBottom) ? kPlaceQuietly : kPlace;
  SetWindowPos(Target(), reinterpret_cast<HWND>(insertAfter), 0, 0, 0, 0, flags);
}

void RaisePOneStep(LONG_PTR) {
  HWND p = app.hTargetP;
  if (p == app.hMessageRoot || RefusedWithParentAsHung(p)) return;
  // P's owned windows always stay above P; the step skips them and passes the first window
  // above that P does not own.
  HWND above = GetWindow(p, GW_HWNDPREV);
  while (above && GetAncestor(above, GA_ROOTOWNER) == p) above = GetWindow(above, GW_HWNDPREV);
  // Insert-after 0 is HWND_TOP: nothing lies above that window, or nothing is left to pass.
  HWND insertAfter = above ? GetWindow(above, GW_HWNDPREV) : nullptr;
  SetWindowPos(p, insertAfter, 0, 0, 0, 0, kPlaceQuietly);
}

void LowerPOneStep(LONG_PTR) {
  HWND p = app.hTargetP;
  if (RefusedWithParentAsHung(p)) return;
  // Below the last window there is nothing: 0 is HWND_TOP, so the last window wraps to the top.
  SetWindowPos(p, GetWindow(p, GW_HWNDNEXT), 0, 0, 0, 0, kPlaceQuietly);
}

void StepPAmongSiblings(LONG_PTR relation) {
  // The message root is a hidden, never enumerated window; its siblings are nobody's business.
  if (app.hTargetP == app.hMessageRoot) return;
  MovePTo(GetWindow(app.hTargetP, static_cast<UINT>(relation)));
}

void StepPToChild(LONG_PTR) { MovePTo(GetWindow(app.hTargetP, GW_CHILD)); }

void StepPToParent(LONG_PTR) { MovePTo(GetAncestor(app.hTargetP, GA_PARENT)); }

constexpr CommandRoute kTargetCommands[] = {
    {IDC_SWAP, Swap, 0},
    {IDC_ENABLE, ToggleEnabled, 0},
    {IDC_MINIMIZE, ToggleMinimized, 0},
    {IDC_VISIBLE, ToggleVisible, 0},
    {IDC_CLIPCHILD, ToggleTargetStyle, WS_CLIPCHILDREN},
    {IDC_POPUP, ToggleTargetStyle, static_cast<LONG_PTR>(WS_POPUP)},
    {IDC_CHILD, ToggleChild, 0},
    {IDC_ID, SetTargetId, 0},
    {IDC_TEXT, SetTargetText, 0},
    {IDC_CLOSE, CloseTarget, 0},
    {IDC_TOOLWIN, ToggleExStyleOfP, WS_EX_TOOLWINDOW},
    {IDC_APPWIN, ToggleExStyleOfP, WS_EX_APPWINDOW},
    {IDC_TOPMOST, PlaceTarget, kInsertTopmost},
    {IDC_NOTOPMOST, PlaceTarget, kInsertNotopmost},
    {IDC_ZTOP, PlaceTarget, kInsertTop},
    {IDC_ZBOTTOM, PlaceTarget, kInsertBottom},
    {IDC_ZUP, RaisePOneStep, 0},
    {IDC_ZDOWN, LowerPOneStep, 0},
    {IDC_NAV_FIRST, StepPAmongSiblings, GW_HWNDFIRST},
    {IDC_NAV_PREV, StepPAmongSiblings, GW_HWNDPREV},
    {IDC_NAV_NEXT, StepPAmongSiblings, GW_HWNDNEXT},
    {IDC_NAV_LAST, StepPAmongSiblings, GW_HWNDLAST},
    {IDC_NAV_CHILD, StepPToChild, 0},
    {IDC_NAV_PARENT, StepPToParent, 0},
};

}  // namespace

constexpr CommandRoutes kTargetRoutes = RoutesOf(kTargetCommands);

void ToggleStyle(HWND w, DWORD bits) {
  SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) ^ static_cast<LONG_PTR>(bits));
  RefreshFrame(w);
}
