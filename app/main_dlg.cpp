// The main dialog procedure: it only dispatches; start-up and shut-down live here.
#include "app/main_dlg.h"

#include <windowsx.h>

#include "app/app_state.h"
#include "app/chrome.h"
#include "app/texts.h"
#include "editor/editor.h"
#include "inspector/inspector.h"
#include "res/resource.h"
#include "testwin/testwin.h"
#include "tree/tree.h"

namespace {

void OnLockCommand(LONG_PTR) { OnLockClicked(app.hMainDlg); }

// The dialog's own button; the tick reads "real" and the target button when it needs them.
constexpr CommandRoute kDialogCommands[] = {
    {IDC_LOCK, OnLockCommand, 0},
};
constexpr CommandRoutes kDialogRoutes = RoutesOf(kDialogCommands);

// Every button that does something, module by module.
constexpr const CommandRoutes* kCommandRoutes[] = {
    &kDialogRoutes, &kTestWindowRoutes, &kHistoryRoutes, &kTreeRoutes, &kTargetRoutes,
};

// The notification code of a WM_COMMAND; windowsx.h's macro names lParam too but reads only wParam.
WORD NotificationCodeOf(WPARAM wp) { return GET_WM_COMMAND_CMD(wp, 0); }

// A click arrives as BN_CLICKED, notification code 0, so its wParam is exactly the control id.
// Comparing the whole wParam lets no other notification of a button run its command.
bool IsClickOf(WPARAM wp, WORD id) { return wp == MAKEWPARAM(id, BN_CLICKED); }

const CommandRoute* FindClickedRoute(WPARAM wp) {
  for (const CommandRoutes* routes : kCommandRoutes) {
    for (const CommandRoute& route : *routes) {
      if (IsClickOf(wp, route.id)) return &route;
    }
  }
  return nullptr;
}

INT_PTR OnCommand(WPARAM wp) {
  // The combo box notifications are recognised by their code alone, whatever the control.
  switch (NotificationCodeOf(wp)) {
    case CBN_SELCHANGE: OnTreeSelChange(); return TRUE;
    case CBN_DROPDOWN:  OnTreeDropDown(); return TRUE;
    default:            break;
  }
  if (const CommandRoute* route = FindClickedRoute(wp)) route->run(route->arg);
  // Everything else, Enter (IDOK) and Escape (IDCANCEL) included, is answered and ignored.
  return TRUE;
}

void FindMessageRoot(HWND dlg) {
  // The parent of message-only windows has no public name: become message-only for a moment
  // and ask. Both calls happen before the dialog is first shown, so nobody sees it.
  SetParent(dlg, HWND_MESSAGE);
  app.hMessageRoot = GetAncestor(dlg, GA_PARENT);
  SetParent(dlg, nullptr);
}

void TakeGeometry(HWND dlg) {
  RECT r;
  GetWindowRect(dlg, &r);
  app.minTrackWidth = r.right - r.left;
  app.minTrackHeight = r.bottom - r.top;

  GetWindowRect(app.hReportPane, &r);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
  app.reportY = r.top;
  app.reportX = r.left;
  app.reportHeight = r.bottom - r.top;
  // Twice the screen width, so the longest rows can be dragged into view.
  app.reportWidth = 2 * GetSystemMetrics(SM_CXSCREEN);
  SetWindowPos(app.hReportPane, nullptr, 0, 0, app.reportWidth, app.reportHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

INT_PTR OnInitDialog(HWND dlg) {
  app.hMainDlg = dlg;
  app.prevReport[0] = '\0';
  app.hTargetW = nullptr;
  app.hTargetP = nullptr;

  SendDlgItemMessageA(dlg, IDC_LEGEND, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kLegendText));
  SendMessageA(dlg, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(titleText));
  // The title's end joins it to the help text; once joined, lstrlenA would run on to the help
  // text's own end, so a second start-up in this process leaves it alone.
  if (lstrlenA(titleText) == kTitleChars) titleText[kTitleChars] = ' ';

  app.hReportPane = GetDlgItem(dlg, IDC_REPORT);
  Subclass(app.hReportPane, ReportPaneProc);
  app.hLegendPane = GetDlgItem(dlg, IDC_LEGEND);
  Subclass(app.hLegendPane, LegendPaneProc);
  app.hTreeCombo = GetDlgItem(dlg, IDC_TREECOMBO);

  // The drop-down list is a separate top-level window of this thread; at this moment the
  // tree combo box is the thread's only combo box, so the first list found is its list.
  EnumThreadWindows(GetWindowThreadProcessId(dlg, nullptr), FindTreeListProc, 0);
  Subclass(app.hTreeList, TreeListProc);
  SetWindowPos(app.hTreeList, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
  SetWindowLongPtrA(app.hTreeList, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(dlg));
  SetTreeCaption();

  TakeGeometry(dlg);

  HMENU systemMenu = GetSystemMenu(dlg, FALSE);
  AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(systemMenu, MF_STRING, IDM_ABOUT_HELP, "About + Help");

  RegisterTestWindowClass();
  app.hDesktop = GetDesktopWindow();
  FindMessageRoot(dlg);

  // BM_CLICK checks the radio button and sends its BN_CLICKED, which fills the tree list.
  SendDlgItemMessageA(dlg, IDC_FILTER_TOPL, BM_CLICK, 0, 0);
  app.hHitRegion = CreateRectRgn(0, 0, 0, 0);
  SetTimer(dlg, IDT_INSPECT, 100, nullptr);
  return TRUE;  // the focus goes to the first tab stop, "lock"
}

void OnClose(HWND dlg) {
  ApplyCloseRule();
  KillTimer(dlg, IDT_INSPECT);
  DeleteObject(app.hHitRegion);
  EndDialog(dlg, 0);
}

INT_PTR OnTimer(HWND dlg) {
  InspectTick(dlg);
  return TRUE;
}

}  // namespace

INT_PTR CALLBACK MainDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:           OnClose(dlg); return TRUE;
    case WM_SETCURSOR:       return OnSetCursor(lp);
    case WM_INITDIALOG:      return OnInitDialog(dlg);
    case WM_TIMER:           return OnTimer(dlg);
    case WM_SYSCOMMAND:      return OnSysCommand(wp);
    case WM_COMMAND:         return OnCommand(wp);
    case WM_CTLCOLORLISTBOX: return OnCtlColorListBox(reinterpret_cast<HDC>(wp));
    case WM_CTLCOLORSTATIC:  return OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_LBUTTONDOWN:     return OnLButtonDown(dlg, lp);
    case WM_NCRBUTTONDOWN:   return OnNcRButtonDown(dlg, wp, lp);
    case WM_CONTEXTMENU:     return OnContextMenu(dlg);
    case WM_GETMINMAXINFO:   return OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp));
    default:                 return FALSE;
  }
}
