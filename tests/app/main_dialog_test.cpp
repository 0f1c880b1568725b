// The main dialog as a user meets it, built from the real template with the real dialog procedure:
// its controls and start-up, its window behaviour, and the help window.
#include <algorithm>

#include "app/app_state.h"
#include "app/main_dlg.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {
// Template styles: check box, push button, disabled push button, push-like check box and radio
// button, static pane, static counter, combo box.
constexpr DWORD kC = 0x54010003, kB = 0x54018000, kD = 0x5C018000, kL = 0x5C019003, kR = 0x54019009,
                kP = 0x5480010C, kN = 0x54000002, kX = 0x54A10242;
struct ExpectedControl { int id; const char* caption; DWORD style; int x, y, w, h; };  // dialog units
// The 47 controls in creation order, which is also their Z-order; nullptr: the program writes the text.
const ExpectedControl kControls[] = {
    {2000, "lock", kC, 5, 4, 34, 10}, {200, "real", kC, 130, 4, 26, 10}, {2002, nullptr, kP, 0, 2, 160, 174},
    {2001, nullptr, kP, 158, 2, 400, 174}, {2003, "SetParent  (Parent)", kB, 4, 180, 98, 12},
    {2004, "Undo", kB, 4, 194, 32, 12}, {2005, "Redo", kB, 38, 194, 32, 12}, {2006, "0", kB, 72, 194, 30, 12},
    {2020, "SetWindowLong  (gwl_hwndparent, Owner)", kD, 4, 208, 150, 12}, {2026, nullptr, kN, 104, 180, 50, 10},
    {2016, nullptr, kX, 158, 178, 174, 90}, {2030, "M/", kB, 334, 178, 16, 12}, {2015, "sWaP", kB, 106, 192, 30, 12},
    {2038, "P", kL, 138, 192, 16, 12}, {2017, "Text", kD, 158, 194, 30, 12}, {2060, "Id", kD, 190, 194, 18, 12},
    {2007, "Top-L", kR, 212, 194, 26, 12}, {2019, "All", kR, 240, 194, 18, 12}, {2035, "Desc", kR, 260, 194, 24, 12},
    {2023, "Pid", kR, 286, 194, 18, 12}, {2024, "Tid", kR, 306, 194, 18, 12}, {2046, "Point", kR, 326, 194, 24, 12},
    {2051, "Tool/", kB, 158, 208, 22, 12}, {2052, "App/", kB, 182, 208, 22, 12}, {2014, "Pop/", kD, 206, 208, 24, 12},
    {2025, "Child/", kD, 232, 208, 26, 12}, {2010, "min/", kB, 260, 208, 22, 12},
    {2011, "Vis / Hid", kB, 284, 208, 32, 12}, {2009, "En / Dis", kB, 318, 208, 32, 12},
    {2012, "ClipChild  +/-", kB, 282, 222, 50, 12}, {2018, "X", kD, 334, 222, 16, 12},
    {2013, "CreateWnd  (Owner)", kB, 4, 224, 76, 12}, {2021, "CreateDlg (Owner)", kD, 82, 224, 68, 12},
    {2022, "DlgBox (Owner)", kD, 152, 224, 60, 12}, {2050, "MsgBox (Owner)", kD, 214, 224, 64, 12},
    {2008, "Topmost", kB, 354, 180, 40, 12}, {2041, "Notopmost", kB, 354, 194, 40, 12},
    {2042, "Top", kB, 354, 208, 40, 12}, {2043, "Bottom", kB, 354, 222, 40, 12}, {2044, "Up", kB, 396, 194, 24, 12},
    {2045, "Down", kB, 396, 208, 24, 12}, {2049, "Parent", kD, 396, 180, 28, 12}, {2048, "Child", kD, 396, 222, 28, 12},
    {2031, "First", kD, 426, 180, 24, 12}, {2032, "Prev", kD, 426, 194, 24, 12}, {2033, "Next", kD, 426, 208, 24, 12},
    {2034, "Last", kD, 426, 222, 24, 12},
};
const char kLegend[] =
    "\r\n\r\n  Window    < F8 >    W\r\n\r\n      new  Parent | Owner    < F9 >    P\r\n\r\n"
    "  GetWindow  (gw_owner)\r\n\r\n  GetWindowLong  (gwl_hwndparent)\r\n\r\n  GetParent\r\n\r\n"
    "  GetAncestor  (ga_parent)\r\n\r\n  GetAncestor  (ga_root)\r\n\r\n  GetAncestor  (ga_rootowner)\r\n\r\n"
    "      GetWindow  (Owner , gw_enabledpopup)\r\n\r\n      GetLastActivePopup  (Owner)";
// The help text as the help window must show it; line 3 is the caption with one space behind.
const char kHelp[] =
    "  //  Drag 'n' Drop  this  Help  window  //  Close  Help :  Right Click  //  \r\n\r\n"
    "  WIN  API   -   Vorlan :    Parent ,  Owner ,  Z-order          (2010-07-06) \r\n\r\n  Usage :\r\n\r\n"
    "  Any  control  right  click :  enable / disable\r\n\r\n"
    "  Checkbox  <real  [child]> :  using  Real[ChildWindowFromPoint]\r\n\r\n  [Choose  'Window'  + set <Lock>]\r\n"
    "  a)  window  under  cursor  +  key  F8\r\n  b)  select  combobox list item  +  right click\r\n\r\n"
    "  [Choose  'new Parent|Owner']\r\n  a)  window  under  cursor  +  key F9  (=> preset 'Window' position)\r\n"
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
    "  'App/' :  WS_EX_APPWINDOW  on/off\r\n  'Text' :  WM_SETTEXT  from  combo\r\n  'Id' :  set Id  from  combo\r\n"
    "  'X' :  post  WM_CLOSE\r\n  'Up','Down','Topmost','Notopmost','Top','Bottom':  change Z-position\r\n"
    "  'First','Prev','Next','Last':  set target  from  Z-siblings\r\n\r\n"
    "  F8 + F9  +  <Close> :  exit  without  primary  parent  restoration\r\n\r\n  [Window  stile  symbols]\r\n"
    "  L - WS_EX_LAYERED\r\n  T - WS_EX_TOPMOST\r\n  C - WS_CHILD\r\n  P - WS_POPUP\r\n"
    "  O - Overlapped  (not WS_CHILD + not WS_POPUP)\r\n  X - WS_CHILD + WS_POPUP,  forbidden :-)\r\n"
    "  m - mINIMIZED\r\n  M - Maximized\r\n  V - Visible\r\n  H - Hidden\r\n  D - Disabled\r\n  E - Enabled\r\n\r\n"
    "  [Window  tree  symbols]\r\n  + - child\r\n  ? - Tid (child) != Tid (parent)\r\n  . - top-level\r\n"
    "  ! - Tid (top-level) == Tid (Desktop)\r\n  = - top  top-level  (notopmost)\r\n  o - message-only\r\n\r\n"
    "  -----------\r\n  Init: 2006-06-06\r\n";

// As the dialog manager places a control: its position and its size are mapped on their own, so the
// right and bottom edges take both roundings (x + w mapped at once may round otherwise).
RECT DluRect(HWND dlg, int x, int y, int w, int h) {
  RECT r = {x, y, w, h};
  MapDialogRect(dlg, &r);
  return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}
RECT RectOf(HWND w) { RECT r{}; GetWindowRect(w, &r); return r; }
std::vector<LONG> Sides(RECT r) { return {r.left, r.top, r.right, r.bottom}; }
POINT CenterOf(RECT r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
std::string XY(POINT pt) { return std::to_string(pt.x) + " " + std::to_string(pt.y); }
// "About + Help" as the system menu chooses it; the newest help window, topmost, is the first edit found.
HWND OpenHelp(HWND dlg) { EXPECT_EQ(MainDlgProc(dlg, WM_SYSCOMMAND, 61152, 0), TRUE); return FindWindowA("Edit", 0); }

// Run by a timer inside a popup menu's modal loop: where it opened, the system menu's end; ends it.
std::string g_menuSeen;
void CALLBACK SeeMenuProc(HWND, UINT, UINT_PTR, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  HMENU menu = GetSystemMenu(app.hMainDlg, FALSE);
  const int n = GetMenuItemCount(menu); char text[64] = "";
  if (!popup || !IsWindowVisible(popup) || !GetMenuStringA(menu, n - 1, text, sizeof text, MF_BYPOSITION)) return;
  g_menuSeen = XY({RectOf(popup).left, RectOf(popup).top}) + " " + text + " " +
               std::to_string(GetMenuItemID(menu, n - 1)) +
               (GetMenuState(menu, n - 2, MF_BYPOSITION) & MF_SEPARATOR ? " after a separator" : "");
  EndMenu();
}
using MainDialog = MainDialogTest;

TEST_F(MainDialog, StartsWithItsControlsEachSwitchedByARightClickCaptionLegendAndPanesAndEndsOnlyOnClose) {
  auto rightClick = [&](POINT pt) {  // where the cursor is counts, not the message's own point
    ClientToScreen(dlg_, &pt), SetCursorPos(pt.x, pt.y);
    return MainDlgProc(dlg_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dlg_), -1) == TRUE;
  };
  RECT client, pane{}; GetClientRect(dlg_, &client);
  HWND child = GetWindow(dlg_, GW_CHILD);
  for (const ExpectedControl& c : kControls) {
    // The system moves the panes' WS_BORDER to WS_EX_CLIENTEDGE, the combo box's to its list, and WS_TABSTOP.
    const DWORD moved = WS_BORDER | WS_VSCROLL | WS_TABSTOP;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE)) & ~moved;
    const DWORD ex = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_EXSTYLE)) & ~WS_EX_NOPARENTNOTIFY;
    RECT expected = DluRect(dlg_, c.x, c.y, c.w, c.h), actual = RectOf(child), shown;
    MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&actual), 2);
    // The report pane is widened to twice the screen; the combo box's template height is its list's.
    if (c.id == IDC_REPORT) expected.right = expected.left + 2 * GetSystemMetrics(SM_CXSCREEN), pane = expected;
    if (c.id == IDC_TREECOMBO) expected.bottom = actual.bottom;
    const char* cls = c.style == kX ? "ComboBox" : c.style == kP || c.style == kN ? "Static" : "Button";
    EXPECT_EQ(std::make_tuple(GetDlgCtrlID(child), ClassOf(child), c.caption ? WindowText(child) : "", style, ex,
                              Sides(actual)),
              std::make_tuple(c.id, std::string(cls), std::string(c.caption ? c.caption : ""), c.style & ~moved,
                              DWORD(c.style == kP ? WS_EX_CLIENTEDGE : 0), Sides(expected)));
    // A right click switches a control, disabled ones too; the report pane is hit where it shows.
    const bool enabled = (c.style & WS_DISABLED) == 0;
    std::vector<bool> states = {IsWindowEnabled(child) != FALSE};
    IntersectRect(&shown, &actual, &client);
    for (bool now : {!enabled, enabled}) states.push_back(rightClick(CenterOf(shown)) && IsWindowEnabled(child) == now);
    EXPECT_EQ(states, std::vector<bool>({enabled, true, true})) << "control " << c.id;
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "more than 47 controls";
  // The bare corner is left to the default processing; outside the dialog nothing is found.
  EXPECT_EQ(std::make_pair(rightClick({client.right - 3, client.bottom - 3}), rightClick({-20, client.bottom + 40})),
            std::make_pair(false, true));
  EXPECT_EQ(Sides({app.reportX, app.reportY, app.reportX + app.reportWidth, app.reportY + app.reportHeight}),
            Sides(pane));
  EXPECT_EQ(WindowText(dlg_), kToolTitle);
  EXPECT_EQ(WindowText(Item(IDC_LEGEND)), kLegend);
  // The system adds DS_3DLOOK and, once shown, WS_VISIBLE and WS_CLIPSIBLINGS.
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(dlg_, GWL_STYLE)) & ~(WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK),
            0x82CD0040u);
  EXPECT_EQ(GetWindowLongPtrA(dlg_, GWL_EXSTYLE) & 0x88, 0x88);
  // Top-level again after finding the message root; the combo box's list is topmost and owned by it.
  HWND probe = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  COMBOBOXINFO info = {sizeof info}; GetComboBoxInfo(app.hTreeCombo, &info);
  EXPECT_EQ(std::vector<HWND>({GetAncestor(dlg_, GA_PARENT), app.hMessageRoot, app.hTreeList,
                               GetWindow(app.hTreeList, GW_OWNER)}),
            std::vector<HWND>({GetDesktopWindow(), GetAncestor(probe, GA_PARENT), info.hwndList, dlg_}));
  DestroyWindow(probe);
  EXPECT_TRUE(info.hwndList && app.hHitRegion && (GetWindowLongPtrA(app.hTreeList, GWL_EXSTYLE) & WS_EX_TOPMOST));
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_FILTER_TOPL), BST_CHECKED);
  // The dialog manager turns Enter and Escape into IDOK and IDCANCEL; neither closes the tool.
  for (MSG press : {MSG{dlg_, WM_KEYDOWN, VK_RETURN, 0, 0, {}}, MSG{dlg_, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}}})
    IsDialogMessageA(dlg_, &press);
  Pump();
  EXPECT_TRUE(IsWindowVisible(dlg_));
  SendMessageA(dlg_, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_EQ(std::make_pair(IsWindowVisible(dlg_), KillTimer(dlg_, IDT_INSPECT)), std::make_pair(FALSE, FALSE));
}

TEST_F(MainDialog, AnswersCursorsSystemMenuColoursAndTrackSizeAndLeavesTheRestToTheSystem) {
  HDC dc = GetDC(app.hReportPane);
  SetTextColor(dc, RGB(255, 0, 0)), SetBkMode(dc, OPAQUE);
  const WPARAM hdc = reinterpret_cast<WPARAM>(dc);
  const LPARAM legend = reinterpret_cast<LPARAM>(app.hLegendPane), report = reinterpret_cast<LPARAM>(app.hReportPane),
               at = MAKELPARAM(300, 400);
  // Top and bottom edges show the arrow, the corners the horizontal sizing cursor; a right click on
  // the caption opens the system menu where it was made; only the report pane is coloured.
  struct { UINT msg; WPARAM wp; LPARAM lp; INT_PTR result; LPCSTR cursor; } cases[] = {
      {WM_SETCURSOR, 0, HTTOP, TRUE, IDC_ARROW}, {WM_SETCURSOR, 0, HTBOTTOM, TRUE, IDC_ARROW},
      {WM_SETCURSOR, 0, HTTOPLEFT, TRUE, IDC_SIZEWE}, {WM_SETCURSOR, 0, HTTOPRIGHT, TRUE, IDC_SIZEWE},
      {WM_SETCURSOR, 0, HTBOTTOMLEFT, TRUE, IDC_SIZEWE}, {WM_SETCURSOR, 0, HTBOTTOMRIGHT, TRUE, IDC_SIZEWE},
      {WM_SETCURSOR, 0, HTLEFT, FALSE, IDC_WAIT}, {WM_SETCURSOR, 0, HTCLIENT, FALSE, IDC_WAIT},
      {WM_NCRBUTTONDOWN, HTCLIENT, at, FALSE, IDC_WAIT}, {WM_NCRBUTTONDOWN, HTSYSMENU, at, FALSE, IDC_WAIT},
      {WM_SYSCOMMAND, 61153, 0, FALSE, IDC_WAIT}, {WM_SYSCOMMAND, SC_KEYMENU, 0, FALSE, IDC_WAIT},
      {WM_CTLCOLORSTATIC, hdc, legend, FALSE, IDC_WAIT}, {WM_NCRBUTTONDOWN, HTCAPTION, at, TRUE, nullptr},
      {WM_CTLCOLORSTATIC, hdc, report, reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH)), IDC_WAIT}};
  UINT_PTR timer = SetTimer(nullptr, 0, 50, SeeMenuProc);
  for (const auto& c : cases) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SCOPED_TRACE(std::to_string(c.msg) + " " + std::to_string(c.wp) + " " + std::to_string(c.lp));
    EXPECT_EQ(MainDlgProc(dlg_, c.msg, c.wp, c.lp), c.result);
    if (c.cursor) { EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.cursor)); }
  }
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_menuSeen, "300 400 About + Help 61152 after a separator");
  EXPECT_EQ(std::make_pair(GetTextColor(dc), GetBkMode(dc)), std::make_pair(RGB(0, 0, 0), TRANSPARENT));
  ReleaseDC(app.hReportPane, dc);
  // The height stays at its start, the width cannot shrink below it; the rest is the system's, also
  // when asked during creation, before the start size is known.
  auto ask = [&](MINMAXINFO info) {
    EXPECT_EQ(MainDlgProc(dlg_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    return std::vector<LONG>(&info.ptReserved.x, &info.ptReserved.x + 10);
  };
  const MINMAXINFO given = {{1, 2}, {3001, 3002}, {-7, -8}, {11, 12}, {4001, 4002}};
  const RECT d = RectOf(dlg_); const LONG w = d.right - d.left, h = d.bottom - d.top;
  EXPECT_EQ(ask(given), std::vector<LONG>({1, 2, 3001, 3002, -7, -8, w, h, 4001, h}));
  app.minTrackWidth = app.minTrackHeight = 0;
  EXPECT_EQ(ask(given), std::vector<LONG>({1, 2, 3001, 3002, -7, -8, 11, 12, 4001, 4002}));
}

TEST_F(MainDialog, ARealLeftDragMovesTheDialogByItsBodyAndLegendWidensItByACornerAndMovesHelp) {
  StopTimer();
  // Every drag must stay on the screen in use, whatever size the dialog's font gives it: the corner
  // drag widens it by 70 pixels. The help window goes below it.
  const RECT start = RectOf(dlg_);
  const LONG room = GetSystemMetrics(SM_CXSCREEN) - 80 - (start.right - start.left);
  SetWindowPos(dlg_, nullptr, std::max(0L, std::min(start.left, room)), start.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  HWND help = OpenHelp(dlg_);
  SetWindowPos(help, nullptr, 20, RectOf(dlg_).bottom + 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Each drag starts from the same place; a disabled button leaves the press to the dialog.
  struct { HWND window; POINT from; LONG dx, dy, move; } cases[] = {
      {dlg_, CenterOf(RectOf(app.hLegendPane)), 40, 25, 1}, {dlg_, CenterOf(RectOf(Item(IDC_TEXT))), -50, 30, 1},
      {dlg_, {RectOf(dlg_).right - 2, RectOf(dlg_).bottom - 2}, 70, 40, 0}, {help, CenterOf(RectOf(help)), 60, -40, 1}};
  for (const auto& c : cases) {
    const RECT before = RectOf(c.window);
    const RECT expected = {before.left + c.move * c.dx, before.top + c.move * c.dy, before.right + c.dx,
                           before.bottom + c.move * c.dy};
    ASSERT_TRUE(Xdotool("mousemove " + XY(c.from) + " mousedown 1 mousemove " +
                        XY({c.from.x + c.dx, c.from.y + c.dy}) + " mouseup 1"));
    PumpUntil([&] { return Sides(RectOf(c.window)) == Sides(expected); }, 15000);
    EXPECT_EQ(Sides(RectOf(c.window)), Sides(expected)) << "from " << XY(c.from);
    SetWindowPos(c.window, nullptr, before.left, before.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

TEST_F(MainDialog, TheHelpWindowIsAReadOnlyTopmostToolEditOverTheReportPaneShowingTheHelpText) {
  HWND help = OpenHelp(dlg_);
  DWORD sel[2] = {1, 0};
  SendMessageA(help, EM_GETSEL, reinterpret_cast<WPARAM>(&sel[0]), reinterpret_cast<LPARAM>(&sel[1]));
  // The system adds WS_CLIPSIBLINGS and WS_EX_WINDOWEDGE; the header line and its break are selected.
  EXPECT_EQ(std::make_tuple(GetWindow(help, GW_OWNER), static_cast<DWORD>(GetWindowLongPtrA(help, GWL_STYLE)),
                            GetWindowLongPtrA(help, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE,
                            SendMessageA(help, WM_GETFONT, 0, 0), sel[0], sel[1]),
            std::make_tuple(dlg_, 0x90340804ul | WS_CLIPSIBLINGS, LONG_PTR{0x88},
                            reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)), 0ul, 80ul));
  char text[8192] = "";
  GetWindowTextA(help, text, sizeof text);
  EXPECT_EQ(std::string(text), kHelp);
  // Each choice opens one more; a right button release closes only the one it is on.
  HWND second = OpenHelp(dlg_);
  EXPECT_EQ(SendMessageA(help, WM_RBUTTONUP, 0, MAKELPARAM(10, 10)), 0);
  EXPECT_EQ(std::make_tuple(second != help, FindWindowA("Edit", 0), FindWindowExA(nullptr, second, "Edit", 0)),
            std::make_tuple(true, second, HWND{}));
  // It opens over the report pane a quarter of the pane's client height down, twice as wide as high.
  RECT outer = RectOf(app.hReportPane), inner; GetClientRect(app.hReportPane, &inner);
  const LONG frame = outer.bottom - outer.top - inner.bottom;
  struct { LONG h, paneX, dx, dy, height, width; } cases[] = {
      {280, app.reportX, 8, 70, 202, 404}, {287, app.reportX, 8, 71, 208, 416},  // both divisions round down
      {31, app.reportX, 0, 7, 24, 48},     {280, -700, 8, 70, 202, 404}};        // the pane dragged sideways
  for (const auto& c : cases) {
    app.reportHeight = c.h + frame;  // the pane holds its kept height against every move
    SetWindowPos(app.hReportPane, nullptr, c.paneX, app.reportY, outer.right - outer.left, c.h + frame, SWP_NOZORDER);
    POINT o = {0, 0}; MapWindowPoints(app.hReportPane, nullptr, &o, 1);
    HWND opened = OpenHelp(dlg_);
    EXPECT_EQ(Sides(RectOf(opened)), Sides({o.x + c.dx, o.y + c.dy, o.x + c.dx + c.width, o.y + c.dy + c.height}))
        << c.h << " at " << c.paneX;
    DestroyWindow(opened);
  }
}

}  // namespace
