// The main dialog as a user meets it, built from the real template with the real dialog procedure:
// its controls and start-up, its window behaviour, and the help window.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_dlg.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

// Caption nullptr: the program writes the text. Style as in the template; place in dialog units.
struct ExpectedControl { int id; const char* cls; const char* caption; DWORD style; int x, y, w, h; };
const char kB[] = "Button", kS[] = "Static", kC[] = "ComboBox";

// The 47 controls in creation order, which is also their Z-order from the top.
const ExpectedControl kControls[] = {
    {2000, kB, "lock", 0x54010003, 5, 4, 34, 10}, {200, kB, "real", 0x54010003, 130, 4, 26, 10},
    {2002, kS, nullptr, 0x5480010C, 0, 2, 160, 174}, {2001, kS, nullptr, 0x5480010C, 158, 2, 400, 174},
    {2003, kB, "SetParent  (Parent)", 0x54018000, 4, 180, 98, 12},
    {2004, kB, "Undo", 0x54018000, 4, 194, 32, 12}, {2005, kB, "Redo", 0x54018000, 38, 194, 32, 12},
    {2006, kB, "0", 0x54018000, 72, 194, 30, 12},
    {2020, kB, "SetWindowLong  (gwl_hwndparent, Owner)", 0x5C018000, 4, 208, 150, 12},
    {2026, kS, nullptr, 0x54000002, 104, 180, 50, 10}, {2016, kC, nullptr, 0x54A10242, 158, 178, 174, 90},
    {2030, kB, "M/", 0x54018000, 334, 178, 16, 12}, {2015, kB, "sWaP", 0x54018000, 106, 192, 30, 12},
    {2038, kB, "P", 0x5C019003, 138, 192, 16, 12}, {2017, kB, "Text", 0x5C018000, 158, 194, 30, 12},
    {2060, kB, "Id", 0x5C018000, 190, 194, 18, 12}, {2007, kB, "Top-L", 0x54019009, 212, 194, 26, 12},
    {2019, kB, "All", 0x54019009, 240, 194, 18, 12}, {2035, kB, "Desc", 0x54019009, 260, 194, 24, 12},
    {2023, kB, "Pid", 0x54019009, 286, 194, 18, 12}, {2024, kB, "Tid", 0x54019009, 306, 194, 18, 12},
    {2046, kB, "Point", 0x54019009, 326, 194, 24, 12}, {2051, kB, "Tool/", 0x54018000, 158, 208, 22, 12},
    {2052, kB, "App/", 0x54018000, 182, 208, 22, 12}, {2014, kB, "Pop/", 0x5C018000, 206, 208, 24, 12},
    {2025, kB, "Child/", 0x5C018000, 232, 208, 26, 12}, {2010, kB, "min/", 0x54018000, 260, 208, 22, 12},
    {2011, kB, "Vis / Hid", 0x54018000, 284, 208, 32, 12},
    {2009, kB, "En / Dis", 0x54018000, 318, 208, 32, 12},
    {2012, kB, "ClipChild  +/-", 0x54018000, 282, 222, 50, 12}, {2018, kB, "X", 0x5C018000, 334, 222, 16, 12},
    {2013, kB, "CreateWnd  (Owner)", 0x54018000, 4, 224, 76, 12},
    {2021, kB, "CreateDlg (Owner)", 0x5C018000, 82, 224, 68, 12},
    {2022, kB, "DlgBox (Owner)", 0x5C018000, 152, 224, 60, 12},
    {2050, kB, "MsgBox (Owner)", 0x5C018000, 214, 224, 64, 12},
    {2008, kB, "Topmost", 0x54018000, 354, 180, 40, 12},
    {2041, kB, "Notopmost", 0x54018000, 354, 194, 40, 12}, {2042, kB, "Top", 0x54018000, 354, 208, 40, 12},
    {2043, kB, "Bottom", 0x54018000, 354, 222, 40, 12}, {2044, kB, "Up", 0x54018000, 396, 194, 24, 12},
    {2045, kB, "Down", 0x54018000, 396, 208, 24, 12}, {2049, kB, "Parent", 0x5C018000, 396, 180, 28, 12},
    {2048, kB, "Child", 0x5C018000, 396, 222, 28, 12}, {2031, kB, "First", 0x5C018000, 426, 180, 24, 12},
    {2032, kB, "Prev", 0x5C018000, 426, 194, 24, 12}, {2033, kB, "Next", 0x5C018000, 426, 208, 24, 12},
    {2034, kB, "Last", 0x5C018000, 426, 222, 24, 12},
};

const char kLegend[] =
    "\r\n\r\n  Window    < F8 >    W\r\n\r\n      new  Parent | Owner    < F9 >    P\r\n\r\n"
    "  GetWindow  (gw_owner)\r\n\r\n  GetWindowLong  (gwl_hwndparent)\r\n\r\n  GetParent\r\n\r\n"
    "  GetAncestor  (ga_parent)\r\n\r\n  GetAncestor  (ga_root)\r\n\r\n  GetAncestor  (ga_rootowner)\r\n\r\n"
    "      GetWindow  (Owner , gw_enabledpopup)\r\n\r\n      GetLastActivePopup  (Owner)";

RECT DluRect(HWND dlg, int x, int y, int w, int h) {
  RECT r = {x, y, x + w, y + h};
  MapDialogRect(dlg, &r);
  return r;
}

// The help text as the help window must show it; line 3 is the title with one space behind.
const char kHelp[] =
    "  //  Drag 'n' Drop  this  Help  window  //  Close  Help :  Right Click  //  \r\n\r\n"
    "  WIN  API   -   Vorlan :    Parent ,  Owner ,  Z-order          (2010-07-06) \r\n\r\n  Usage :\r\n\r\n"
    "  Any  control  right  click :  enable / disable\r\n\r\n"
    "  Checkbox  <real  [child]> :  using  Real[ChildWindowFromPoint]\r\n\r\n"
    "  [Choose  'Window'  + set <Lock>]\r\n  a)  window  under  cursor  +  key  F8\r\n"
    "  b)  select  combobox list item  +  right click\r\n\r\n  [Choose  'new Parent|Owner']\r\n"
    "  a)  window  under  cursor  +  key F9  (=> preset 'Window' position)\r\n"
    "  b)  select  combobox list item  +  left click\r\n\r\n"
    "  [Combobox :  filtered  window  tree ,  via  Enum*Windows]\r\n"
    "  'Top-L' :  all  top-level  windows  (+ message-only)\r\n  'All' :  all  (+ message-only)  windows\r\n"
    "  'Desc.' :  all  descendants  of  'Window'\r\n  'Pid' :  all  windows  of  'Parent|Owner'  process\r\n"
    "  'Tid' :  all  windows  of  'Parent|Owner'  thread\r\n  'Point' :  all windows under cursor\r\n\r\n"
    "  'M /' :  FILTERED  WINDOW  TREE  MONITOR ,  on/off\r\n\r\n"
    "  'sWaP' +  <Lock> :  swap  'Window'  and  'Parent|Owner'\r\n"
    "  'P' / 'W' :  set  target  ('W' - 'Window' ,  'P' - 'Parent|Owner')\r\n\r\n  [For  target]\r\n"
    "  'Pop /' :  WS_POPUP  on/off\r\n  'Child /' :  WS_CHILD  on/off\r\n  'min /' :  minimize / restore\r\n"
    "  'Vis / Hid' :  Visible / Hidden\r\n  'En / Dis' :  Enable / Disable\r\n"
    "  'ClipChild +/-' :  WS_CLIPCHILDREN  on/off\r\n  'Tool/' :  WS_EX_TOOLWINDOW  on/off\r\n"
    "  'App/' :  WS_EX_APPWINDOW  on/off\r\n  'Text' :  WM_SETTEXT  from  combo\r\n"
    "  'Id' :  set Id  from  combo\r\n  'X' :  post  WM_CLOSE\r\n"
    "  'Up','Down','Topmost','Notopmost','Top','Bottom':  change Z-position\r\n"
    "  'First','Prev','Next','Last':  set target  from  Z-siblings\r\n\r\n"
    "  F8 + F9  +  <Close> :  exit  without  primary  parent  restoration\r\n\r\n  [Window  stile  symbols]\r\n"
    "  L - WS_EX_LAYERED\r\n  T - WS_EX_TOPMOST\r\n  C - WS_CHILD\r\n  P - WS_POPUP\r\n"
    "  O - Overlapped  (not WS_CHILD + not WS_POPUP)\r\n  X - WS_CHILD + WS_POPUP,  forbidden :-)\r\n"
    "  m - mINIMIZED\r\n  M - Maximized\r\n  V - Visible\r\n  H - Hidden\r\n  D - Disabled\r\n  E - Enabled\r\n"
    "\r\n  [Window  tree  symbols]\r\n  + - child\r\n  ? - Tid (child) != Tid (parent)\r\n  . - top-level\r\n"
    "  ! - Tid (top-level) == Tid (Desktop)\r\n  = - top  top-level  (notopmost)\r\n  o - message-only\r\n\r\n"
    "  -----------\r\n  Init: 2006-06-06\r\n";

RECT RectOf(HWND w) { RECT r{}; GetWindowRect(w, &r); return r; }
std::vector<LONG> Sides(RECT r) { return {r.left, r.top, r.right, r.bottom}; }
POINT CenterOf(RECT r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
std::string XY(POINT pt) { return std::to_string(pt.x) + " " + std::to_string(pt.y); }

// Pieces between the CR LF pairs: a whole text ends in one empty piece.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

std::vector<HWND> HelpWindows(HWND dlg) {
  std::vector<HWND> found;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
    if (GetWindow(w, GW_OWNER) == dlg && ClassOf(w) == "Edit") found.push_back(w);
  return found;
}

// Chooses "About + Help" as the system menu does; a new topmost window comes first in the Z-order.
HWND OpenHelp(HWND dlg) {
  EXPECT_EQ(MainDlgProc(dlg, WM_SYSCOMMAND, 61152, 0), TRUE);
  std::vector<HWND> all = HelpWindows(dlg);
  return all.empty() ? nullptr : all[0];
}

// A popup menu seen by a timer that the menu's own modal loop dispatches: where it opened, its
// last item and whether a separator stands before it. The menu is then ended.
std::string g_menuSeen;

void CALLBACK SeeMenuProc(HWND, UINT, UINT_PTR, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
  if (!menu || !IsWindowVisible(popup)) return;
  int n = GetMenuItemCount(menu);
  char text[64] = "";
  GetMenuStringA(menu, n - 1, text, sizeof text, MF_BYPOSITION);
  RECT r = RectOf(popup);
  g_menuSeen = XY({r.left, r.top}) + " " + text + " " + std::to_string(GetMenuItemID(menu, n - 1)) +
               ((GetMenuState(menu, n - 2, MF_BYPOSITION) & MF_SEPARATOR) ? " after a separator" : "");
  EndMenu();
}

using MainDialog = MainDialogTest;

TEST_F(MainDialog, HasAllControlsInCreationOrderWithTheirClassesCaptionsStylesAndPlaces) {
  StopTimer();
  HWND child = GetWindow(dlg_, GW_CHILD);
  for (const ExpectedControl& c : kControls) {
    SCOPED_TRACE("control " + std::to_string(c.id));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), c.id);
    EXPECT_EQ(ClassOf(child), c.cls);
    EXPECT_TRUE(!c.caption || WindowText(child) == c.caption) << WindowText(child);
    EXPECT_EQ(IsWindowEnabled(child) != FALSE, (c.style & WS_DISABLED) == 0);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
    DWORD ex = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_EXSTYLE));
    // The dialog manager turns WS_BORDER into WS_EX_CLIENTEDGE, a combo box hands WS_BORDER and
    // WS_VSCROLL to its list, and checking an auto radio button takes WS_TABSTOP from its group.
    if (ex & WS_EX_CLIENTEDGE) style |= WS_BORDER;
    if (c.id == IDC_TREECOMBO) style |= WS_BORDER | WS_VSCROLL;
    if ((c.style & 0xF) == BS_AUTORADIOBUTTON && !IsDlgButtonChecked(dlg_, c.id)) style |= WS_TABSTOP;
    EXPECT_EQ(style, c.style) << std::hex << style;
    EXPECT_EQ(ex & ~(WS_EX_NOPARENTNOTIFY | WS_EX_CLIENTEDGE), 0u);

    RECT expected = DluRect(dlg_, c.x, c.y, c.w, c.h), actual;
    GetWindowRect(child, &actual);
    MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&actual), 2);
    if (c.id == IDC_REPORT) expected.right = actual.right;       // widened at start-up
    if (c.id == IDC_TREECOMBO) expected.bottom = actual.bottom;  // its template height is the list's
    EXPECT_EQ(std::vector<LONG>({actual.left, actual.top, actual.right, actual.bottom}),
              std::vector<LONG>({expected.left, expected.top, expected.right, expected.bottom}));
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "more than 47 controls";
}

TEST_F(MainDialog, StartsAsATopmostToolWindowWithCaptionLegendHandlesAndGeometryAndEndsOnlyOnClose) {
  StopTimer();
  EXPECT_EQ(WindowText(dlg_), kToolTitle);
  EXPECT_EQ(WindowText(Item(IDC_LEGEND)), kLegend);
  // The system adds DS_3DLOOK and, once shown, WS_VISIBLE and WS_CLIPSIBLINGS.
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(dlg_, GWL_STYLE));
  EXPECT_EQ(style & ~(WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK), 0x82CD0040u) << std::hex << style;
  EXPECT_EQ(GetWindowLongPtrA(dlg_, GWL_EXSTYLE) & 0x88, 0x88);
  EXPECT_EQ(GetAncestor(dlg_, GA_PARENT), GetDesktopWindow());  // top-level again after the probe
  EXPECT_EQ(std::vector<HWND>({app.hMainDlg, app.hReportPane, app.hLegendPane, app.hTreeCombo, app.hDesktop}),
            std::vector<HWND>({dlg_, Item(IDC_REPORT), Item(IDC_LEGEND), Item(IDC_TREECOMBO), GetDesktopWindow()}));
  EXPECT_NE(app.hHitRegion, nullptr);
  HWND probe = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetAncestor(probe, GA_PARENT), app.hMessageRoot);
  DestroyWindow(probe);

  // The client area keeps the template size; the window's size is the minimum tracking size.
  RECT client, dialog, report, pane = DluRect(dlg_, 158, 2, 400, 174), full = DluRect(dlg_, 0, 0, 454, 240);
  GetClientRect(dlg_, &client);
  GetWindowRect(dlg_, &dialog);
  GetWindowRect(app.hReportPane, &report);
  const LONG screen2 = 2 * GetSystemMetrics(SM_CXSCREEN), paneH = pane.bottom - pane.top;
  EXPECT_EQ(std::vector<LONG>({client.right, client.bottom, app.minTrackWidth, app.minTrackHeight, app.reportX,
                               app.reportY, app.reportWidth, app.reportHeight, report.right - report.left,
                               report.bottom - report.top}),
            std::vector<LONG>({full.right, full.bottom, dialog.right - dialog.left, dialog.bottom - dialog.top,
                               pane.left, pane.top, screen2, paneH, screen2, paneH}));

  COMBOBOXINFO info = {sizeof info};
  ASSERT_TRUE(GetComboBoxInfo(app.hTreeCombo, &info));
  EXPECT_EQ(app.hTreeList, info.hwndList);
  EXPECT_EQ(GetWindow(app.hTreeList, GW_OWNER), dlg_);
  EXPECT_TRUE(GetWindowLongPtrA(app.hTreeList, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_FILTER_TOPL), BST_CHECKED);

  // The dialog manager turns Enter and Escape into IDOK and IDCANCEL.
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    MSG press = {dlg_, WM_KEYDOWN, key, 0, 0, {0, 0}};
    IsDialogMessageA(dlg_, &press);
  }
  Pump();
  EXPECT_TRUE(IsWindowVisible(dlg_));
  SetTimer(dlg_, IDT_INSPECT, 100, nullptr);
  SendMessageA(dlg_, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindowVisible(dlg_));
  EXPECT_FALSE(KillTimer(dlg_, IDT_INSPECT));  // already killed
}

TEST_F(MainDialog, AnswersCursorsColoursAndTrackSizeAndLeavesOtherCodesAndCommandsToTheSystem) {
  StopTimer();
  struct { UINT msg; WPARAM wp; WORD hit; INT_PTR result; LPCSTR cursor; } cases[] = {
      {WM_SETCURSOR, 0, HTTOP, TRUE, IDC_ARROW},         {WM_SETCURSOR, 0, HTBOTTOM, TRUE, IDC_ARROW},
      {WM_SETCURSOR, 0, HTTOPLEFT, TRUE, IDC_SIZEWE},    {WM_SETCURSOR, 0, HTTOPRIGHT, TRUE, IDC_SIZEWE},
      {WM_SETCURSOR, 0, HTBOTTOMLEFT, TRUE, IDC_SIZEWE}, {WM_SETCURSOR, 0, HTBOTTOMRIGHT, TRUE, IDC_SIZEWE},
      {WM_SETCURSOR, 0, HTLEFT, FALSE, nullptr},         {WM_SETCURSOR, 0, HTRIGHT, FALSE, nullptr},
      {WM_SETCURSOR, 0, HTCLIENT, FALSE, nullptr},       {WM_SETCURSOR, 0, HTCAPTION, FALSE, nullptr},
      {WM_NCRBUTTONDOWN, HTCLIENT, 0, FALSE, nullptr},   {WM_NCRBUTTONDOWN, HTSYSMENU, 0, FALSE, nullptr},
      {WM_SYSCOMMAND, 61153, 0, FALSE, nullptr},         {WM_SYSCOMMAND, SC_KEYMENU, 0, FALSE, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.msg) + " " + std::to_string(c.wp) + " " + std::to_string(c.hit));
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_EQ(MainDlgProc(dlg_, c.msg, c.wp, MAKELPARAM(c.hit, WM_MOUSEMOVE)), c.result);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.cursor ? c.cursor : IDC_WAIT));
  }
  EXPECT_TRUE(HelpWindows(dlg_).empty());

  // Only the report pane gets a white brush, black text and a transparent background.
  for (HWND pane : {app.hReportPane, app.hLegendPane, Item(IDC_TREECOUNT)}) {
    SCOPED_TRACE("control " + std::to_string(GetDlgCtrlID(pane)));
    const bool report = pane == app.hReportPane;
    HDC dc = GetDC(pane);
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(MainDlgProc(dlg_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(pane)),
              report ? reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH)) : FALSE);
    EXPECT_EQ(std::vector<int>({static_cast<int>(GetTextColor(dc)), GetBkMode(dc)}),
              std::vector<int>({report ? 0 : 0xFF, report ? TRANSPARENT : OPAQUE}));
    ReleaseDC(pane, dc);
  }

  // The height stays at its start, the width cannot shrink below it; the rest is the system's.
  const RECT start = RectOf(dlg_);
  const LONG w = start.right - start.left, h = start.bottom - start.top;
  auto ask = [&](MINMAXINFO info) {
    EXPECT_EQ(MainDlgProc(dlg_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    return std::vector<LONG>(&info.ptReserved.x, &info.ptReserved.x + 10);
  };
  const MINMAXINFO given = {{1, 2}, {3001, 3002}, {-7, -8}, {11, 12}, {4001, 4002}};
  EXPECT_EQ(ask(given), std::vector<LONG>({1, 2, 3001, 3002, -7, -8, w, h, 4001, h}));
  // Asked while the dialog is being created, before its start size is known, zero limits would
  // squash it: the system's values stay.
  app.minTrackWidth = app.minTrackHeight = 0;
  EXPECT_EQ(ask(given), std::vector<LONG>({1, 2, 3001, 3002, -7, -8, 11, 12, 4001, 4002}));
}

TEST_F(MainDialog, ARightClickSwitchesTheControlUnderTheCursorAndNothingElse) {
  StopTimer();
  auto states = [&] {
    std::vector<bool> s;
    for (HWND c = GetWindow(dlg_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) s.push_back(IsWindowEnabled(c));
    return s;
  };
  // Where the cursor is counts; the message's own point is not used.
  auto rightClick = [&](POINT pt) {
    SetCursorPos(pt.x, pt.y);
    return MainDlgProc(dlg_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dlg_), -1);
  };
  RECT client;
  GetClientRect(dlg_, &client);
  MapWindowPoints(dlg_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const std::vector<bool> start = states();
  for (HWND c = GetWindow(dlg_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    SCOPED_TRACE("control " + std::to_string(GetDlgCtrlID(c)));
    RECT visible, r = RectOf(c);
    IntersectRect(&visible, &r, &client);  // the report pane reaches far beyond the right edge
    const bool was = IsWindowEnabled(c);
    EXPECT_EQ(rightClick(CenterOf(visible)), TRUE);
    EXPECT_EQ(IsWindowEnabled(c) != FALSE, !was);  // disabled ones are found too
    rightClick(CenterOf(visible));
    EXPECT_EQ(states(), start);
  }
  // The dialog's bare corner is left to the default processing; outside it nothing is found.
  EXPECT_EQ(rightClick({client.right - 3, client.bottom - 3}), FALSE);
  EXPECT_EQ(rightClick({RectOf(dlg_).left - 20, RectOf(dlg_).bottom + 20}), TRUE);
  EXPECT_EQ(states(), start);
}

TEST_F(MainDialog, ARealLeftDragMovesTheDialogByItsBodyAndLegendWidensItByACornerAndMovesHelp) {
  StopTimer();
  HWND help = OpenHelp(dlg_);
  ASSERT_NE(help, nullptr);
  SetWindowPos(help, nullptr, 20, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);  // off the dialog
  const RECT d = RectOf(dlg_), h = RectOf(help), free = DluRect(dlg_, 2, 238, 0, 0);  // below every control
  POINT bare = {free.left, free.top}, corner = {d.right - 2, d.bottom - 2};
  ClientToScreen(dlg_, &bare);
  ASSERT_EQ(SendMessageA(dlg_, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTBOTTOMRIGHT);
  auto offset = [](POINT pt, RECT r) { return POINT{pt.x - r.left, pt.y - r.top}; };
  // Start points relative to the window's top left corner, which moves from case to case.
  struct { const char* what; HWND window; POINT offset; LONG dx, dy; bool widen; } cases[] = {
      {"bare dialog", dlg_, offset(bare, d), -50, 35, false},
      {"legend pane", dlg_, offset(CenterOf(RectOf(app.hLegendPane)), d), 40, 25, false},
      {"disabled button", dlg_, offset(CenterOf(RectOf(Item(IDC_TEXT))), d), 30, 30, false},
      {"bottom right corner", dlg_, offset(corner, d), 70, 40, true},
      {"help window", help, offset(CenterOf(h), h), 60, -40, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const RECT before = RectOf(c.window);
    const POINT from = {before.left + c.offset.x, before.top + c.offset.y};
    RECT expected = before;
    if (c.widen) expected.right += c.dx;
    else OffsetRect(&expected, c.dx, c.dy);
    ASSERT_TRUE(Xdotool("mousemove " + XY(from) + " mousedown 1 mousemove " + XY({from.x + c.dx, from.y + c.dy}) +
                        " mouseup 1"));
    PumpUntil([&] { return Sides(RectOf(c.window)) == Sides(expected); });
    EXPECT_EQ(Sides(RectOf(c.window)), Sides(expected));
  }
}

TEST_F(MainDialog, ARealRightClickOnTheCaptionOpensTheSystemMenuAtTheCursorWithAboutHelpLast) {
  StopTimer();
  g_menuSeen.clear();
  POINT caption = {120, -5};
  ClientToScreen(dlg_, &caption);
  ASSERT_EQ(SendMessageA(dlg_, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  UINT_PTR timer = SetTimer(nullptr, 0, 50, SeeMenuProc);
  ASSERT_TRUE(Xdotool("mousemove " + XY(caption) + " click 3"));
  PumpUntil([] { return !g_menuSeen.empty(); });
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_menuSeen, XY(caption) + " About + Help 61152 after a separator");
}

TEST_F(MainDialog, TheHelpWindowIsAReadOnlyTopmostToolEditOverTheReportPaneShowingTheHelpTextLineByLine) {
  StopTimer();
  HWND help = OpenHelp(dlg_);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(GetWindow(help, GW_OWNER), dlg_);
  // The system adds WS_CLIPSIBLINGS to a top-level window and WS_EX_WINDOWEDGE to a sizing border.
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(help, GWL_STYLE)) & ~WS_CLIPSIBLINGS, 0x90340804u);
  EXPECT_EQ(GetWindowLongPtrA(help, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0x88);
  EXPECT_EQ(SendMessageA(help, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
  DWORD selStart = 1, selEnd = 0;
  SendMessageA(help, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
  EXPECT_EQ(std::vector<DWORD>({selStart, selEnd}), std::vector<DWORD>({0, 80}));  // header and its break

  std::string text(GetWindowTextLengthA(help) + 1, '\0');
  text.resize(GetWindowTextA(help, &text[0], static_cast<int>(text.size())));
  std::vector<std::string> shown = Lines(text), expected = Lines(kHelp);
  EXPECT_EQ(shown.size(), expected.size());
  for (size_t i = 0; i < std::min(shown.size(), expected.size()); ++i)
    EXPECT_EQ(shown[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(shown.at(2), WindowText(dlg_) + " ");  // the caption is the title line

  // Each choice opens one more; a right button release closes only the one it is on.
  HWND second = OpenHelp(dlg_);
  ASSERT_TRUE(second && second != help);
  EXPECT_EQ(SendMessageA(help, WM_RBUTTONUP, 0, MAKELPARAM(10, 10)), 0);
  EXPECT_EQ(HelpWindows(dlg_), std::vector<HWND>{second});

  // It opens over the report pane a quarter of the pane's client height down, twice as wide as high.
  RECT outer = RectOf(app.hReportPane), inner;
  GetClientRect(app.hReportPane, &inner);
  const LONG frame = outer.bottom - outer.top - inner.bottom;
  struct { LONG h, paneX, dx, dy, height, width; } cases[] = {
      {280, app.reportX, 8, 70, 202, 404}, {287, app.reportX, 8, 71, 208, 416},  // both divisions round down
      {31, app.reportX, 0, 7, 24, 48},     {280, -700, 8, 70, 202, 404},         // the pane dragged sideways
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.h) + " at " + std::to_string(c.paneX));
    app.reportHeight = c.h + frame;  // the pane holds its kept height against every move
    SetWindowPos(app.hReportPane, nullptr, c.paneX, app.reportY, outer.right - outer.left, c.h + frame,
                 SWP_NOZORDER);
    POINT origin = {0, 0};
    ClientToScreen(app.hReportPane, &origin);
    HWND opened = OpenHelp(dlg_);
    EXPECT_EQ(Sides(RectOf(opened)),
              Sides({origin.x + c.dx, origin.y + c.dy, origin.x + c.dx + c.width, origin.y + c.dy + c.height}));
    DestroyWindow(opened);
  }
}

}  // namespace
