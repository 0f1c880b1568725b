// The inspection tick: every 100 ms it settles the command target, finds the inspected window,
// takes F8 and F9, rebuilds the ten-row report and shows it when it changed.
#include "app/app_state.h"
#include "inspector/inspector.h"
#include "res/resource.h"
#include "tree/tree.h"

const char kReportHeader[] =
    "  hWnd            Z-ord        Styles        Class        Text        [ x, y, width * height ]"
    "        Id /hMenu        Pid        Tid        Exe";

namespace {

// The widest row: 62-character class and text, a 63-character executable name and every number
// at its widest, a sign included. The header and ten such rows always fit, so no append can
// overrun the report.
constexpr int kMaxRowChars = 366;
static_assert(sizeof kReportHeader - 1 + kReportRows * kMaxRowChars + 1 <= kReportChars,
              "the report buffers must hold the header and ten of the widest rows");

void SetCommandTarget(HWND dlg) {
  bool targetIsW = IsDlgButtonChecked(dlg, IDC_TARGET) != BST_UNCHECKED;
  app.hCommandTarget = targetIsW ? app.hTargetW : app.hTargetP;
  const char* wanted = targetIsW ? "W" : "P";
  // Rewriting a caption repaints the button: write it only when it is not already the letter.
  char caption[64] = "";
  SendDlgItemMessageA(dlg, IDC_TARGET, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(caption));
  if (caption[0] != wanted[0] || caption[1] != '\0') {
    SendDlgItemMessageA(dlg, IDC_TARGET, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wanted));
  }
}

// Descends from the desktop to the deepest window under the cursor. Each level asks only for
// the direct child at the point, in that parent's client coordinates.
HWND FindWindowUnderCursor(HWND dlg) {
  POINT pt;
  GetCursorPos(&pt);
  bool real = IsDlgButtonChecked(dlg, IDC_REAL) != BST_UNCHECKED;
  HWND current = app.hDesktop;
  HWND previous = app.hDesktop;
  for (;;) {
    MapWindowPoints(previous, current, &pt, 1);
    // Without "real", hidden windows are passed over but disabled and transparent ones are found.
    HWND child = real ? RealChildWindowFromPoint(current, pt)
                      : ChildWindowFromPointEx(current, pt, CWP_SKIPINVISIBLE);
    if (child == nullptr || child == current) return current;
    previous = current;
    current = child;
  }
}

void PickW(HWND dlg, HWND inspected) {
  app.lockW = TRUE;
  SendDlgItemMessageA(dlg, IDC_LOCK, BM_SETCHECK, BST_CHECKED, 0);
  app.hTargetW = inspected;
}

void PickP(HWND, HWND inspected) {
  app.hTargetP = inspected;
  GetCursorPos(&app.ptF9);
}

struct PickKey {
  int vk;
  void (*pick)(HWND dlg, HWND inspected);
};

// The keys are polled rather than received as messages, so they work whichever program has the
// keyboard focus. The most significant bit of GetAsyncKeyState means "down now".
constexpr PickKey kPickKeys[] = {
    {VK_F8, PickW},
    {VK_F9, PickP},
};

HWND FindInspectedWindow(HWND dlg) {
  if (app.lockW) return app.hTargetW;
  HWND inspected = FindWindowUnderCursor(dlg);
  for (const PickKey& key : kPickKeys) {
    if (GetAsyncKeyState(key.vk) & 0x8000) key.pick(dlg, inspected);
  }
  return inspected;
}

HWND OwnerOf(HWND w) { return GetWindow(w, GW_OWNER); }
HWND HwndParentOf(HWND w) { return reinterpret_cast<HWND>(GetWindowLongPtrA(w, GWLP_HWNDPARENT)); }
HWND ParentOf(HWND w) { return GetParent(w); }
HWND AncestorParentOf(HWND w) { return GetAncestor(w, GA_PARENT); }
HWND RootOf(HWND w) { return GetAncestor(w, GA_ROOT); }
HWND RootOwnerOf(HWND w) { return GetAncestor(w, GA_ROOTOWNER); }

// Rows 3 to 8: the inspected window's relations, in the order of the legend's labels.
constexpr HWND (*kRelations[])(HWND) = {
    OwnerOf, HwndParentOf, ParentOf, AncestorParentOf, RootOf, RootOwnerOf,
};

// A popup query that answers P itself means P has no such popup.
HWND PopupOtherThanP(HWND popup) { return popup == app.hTargetP ? nullptr : popup; }

// The ten rows are gathered first and described together. Rows 9 and 10 ask for the P that
// row 2 replaced.
void AppendRows(HWND inspected) {
  ReportRows rows = {};
  // A W that has gone keeps its handle; a P that has gone is forgotten.
  AddReportRow(rows, inspected);
  app.hTargetP = AddReportRow(rows, app.hTargetP);
  for (HWND (*relation)(HWND) : kRelations) AddReportRow(rows, relation(inspected));
  AddReportRow(rows, PopupOtherThanP(GetWindow(app.hTargetP, GW_ENABLEDPOPUP)));
  AddReportRow(rows, PopupOtherThanP(GetLastActivePopup(app.hTargetP)));
  AppendReportRows(rows, app.report);
}

// Setting a static's text repaints it: a still scene must cause no repainting.
void ShowReportIfChanged(HWND dlg) {
  if (lstrcmpA(app.report, app.prevReport) == 0) return;
  lstrcpyA(app.prevReport, app.report);
  SendDlgItemMessageA(dlg, IDC_REPORT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(app.prevReport));
}

}  // namespace

void InspectTick(HWND dlg) {
  // Uses W and P as they were before this tick's keys: a pick reaches the command target one
  // tick later.
  SetCommandTarget(dlg);
  lstrcpyA(app.report, kReportHeader);
  AppendRows(FindInspectedWindow(dlg));
  ShowReportIfChanged(dlg);
  TreeMonitorStep();
}

void OnLockClicked(HWND dlg) {
  // The auto check box has already toggled itself; the lock follows what it shows.
  app.lockW = IsDlgButtonChecked(dlg, IDC_LOCK) == BST_CHECKED;
}
