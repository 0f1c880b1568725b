// The main dialog as a user meets it, built from the real template with the real dialog procedure:
// its controls and start-up, its window behaviour, and the help window.
#include <algorithm>

#include "app/app_state.h"
#include "app/main_dlg.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

// A kind of control in the template: its style there, the class it is made of, and the extended
// style the system gives it (a pane's WS_BORDER becomes WS_EX_CLIENTEDGE).
struct ControlKind {
  DWORD style;
  const char* cls;
  DWORD exStyle;
};
constexpr ControlKind kCheckBox = {0x54010003, "Button", 0};
constexpr ControlKind kButton = {0x54018000, "Button", 0};
constexpr ControlKind kButtonOff = {0x5C018000, "Button", 0};  // disabled
constexpr ControlKind kToggleOff = {0x5C019003, "Button", 0};  // a disabled push-like check box
constexpr ControlKind kRadio = {0x54019009, "Button", 0};
constexpr ControlKind kPane = {0x5480010C, "Static", WS_EX_CLIENTEDGE};
constexpr ControlKind kCounter = {0x54000002, "Static", 0};
constexpr ControlKind kCombo = {0x54A10242, "ComboBox", 0};

struct ExpectedControl {
  int id;
  const char* caption;  // nullptr: the program writes the text
  ControlKind kind;
  int x, y, w, h;  // dialog units
};
// The 47 controls in creation order, which is also their Z-order.
const ExpectedControl kControls[] = {
    {2000, "lock", kCheckBox, 5, 4, 34, 10},                  {200, "real", kCheckBox, 130, 4, 26, 10},
    {2002, nullptr, kPane, 0, 2, 160, 174},                   {2001, nullptr, kPane, 158, 2, 400, 174},
    {2003, "SetParent  (Parent)", kButton, 4, 180, 98, 12},   {2004, "Undo", kButton, 4, 194, 32, 12},
    {2005, "Redo", kButton, 38, 194, 32, 12},                 {2006, "0", kButton, 72, 194, 30, 12},
    {2020, "SetWindowLong  (gwl_hwndparent, Owner)", kButtonOff, 4, 208, 150, 12},
    {2026, nullptr, kCounter, 104, 180, 50, 10},              {2016, nullptr, kCombo, 158, 178, 174, 90},
    {2030, "M/", kButton, 334, 178, 16, 12},                  {2015, "sWaP", kButton, 106, 192, 30, 12},
    {2038, "P", kToggleOff, 138, 192, 16, 12},                {2017, "Text", kButtonOff, 158, 194, 30, 12},
    {2060, "Id", kButtonOff, 190, 194, 18, 12},               {2007, "Top-L", kRadio, 212, 194, 26, 12},
    {2019, "All", kRadio, 240, 194, 18, 12},                  {2035, "Desc", kRadio, 260, 194, 24, 12},
    {2023, "Pid", kRadio, 286, 194, 18, 12},                  {2024, "Tid", kRadio, 306, 194, 18, 12},
    {2046, "Point", kRadio, 326, 194, 24, 12},                {2051, "Tool/", kButton, 158, 208, 22, 12},
    {2052, "App/", kButton, 182, 208, 22, 12},                {2014, "Pop/", kButtonOff, 206, 208, 24, 12},
    {2025, "Child/", kButtonOff, 232, 208, 26, 12},           {2010, "min/", kButton, 260, 208, 22, 12},
    {2011, "Vis / Hid", kButton, 284, 208, 32, 12},           {2009, "En / Dis", kButton, 318, 208, 32, 12},
    {2012, "ClipChild  +/-", kButton, 282, 222, 50, 12},      {2018, "X", kButtonOff, 334, 222, 16, 12},
    {2013, "CreateWnd  (Owner)", kButton, 4, 224, 76, 12},
    {2021, "CreateDlg (Owner)", kButtonOff, 82, 224, 68, 12},
    {2022, "DlgBox (Owner)", kButtonOff, 152, 224, 60, 12},
    {2050, "MsgBox (Owner)", kButtonOff, 214, 224, 64, 12},   {2008, "Topmost", kButton, 354, 180, 40, 12},
    {2041, "Notopmost", kButton, 354, 194, 40, 12},           {2042, "Top", kButton, 354, 208, 40, 12},
    {2043, "Bottom", kButton, 354, 222, 40, 12},              {2044, "Up", kButton, 396, 194, 24, 12},
    {2045, "Down", kButton, 396, 208, 24, 12},                {2049, "Parent", kButtonOff, 396, 180, 28, 12},
    {2048, "Child", kButtonOff, 396, 222, 28, 12},            {2031, "First", kButtonOff, 426, 180, 24, 12},
    {2032, "Prev", kButtonOff, 426, 194, 24, 12},             {2033, "Next", kButtonOff, 426, 208, 24, 12},
    {2034, "Last", kButtonOff, 426, 222, 24, 12},
};
const char kLegend[] =
    "\r\n\r\n  Window    < F8 >    W\r\n\r\n      new  Parent | Owner    < F9 >    P\r\n\r\n"
    "  GetWindow  (gw_owner)\r\n\r\n  GetWindowLong  (gwl_hwndparent)\r\n\r\n  GetParent\r\n\r\n"
    "  GetAncestor  (ga_parent)\r\n\r\n  GetAncestor  (ga_root)\r\n\r\n  GetAncestor  (ga_rootowner)\r\n\r\n"
    "      GetWindow  (Owner , gw_enabledpopup)\r\n\r\n      GetLastActivePopup  (Owner)";
// The help text as the help window must show it; line 3 is the caption with one space behind.
const char kHelp[] =
    "  //  Drag 'n' Drop  this  Help  window  //  Close  Help :  Right Click  //  \r\n\r\n"
    "  WIN  API   -   Vorlan :    Parent ,  Owner ,  Z-order          (2010-07-06) \r\n\r\n"
    "  Usage :\r\n\r\n"
    "  Any  control  right  click :  enable / disable\r\n\r\n"
    "  Checkbox  <real  [child]> :  using  Real[ChildWindowFromPoint]\r\n\r\n"
    "  [Choose  'Window'  + set <Lock>]\r\n"
    "  a)  window  under  cursor  +  key  F8\r\n  b)  select  combobox list item  +  right click\r\n\r\n"
    "  [Choose  'new Parent|Owner']\r\n"
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
    "  'Id' :  set Id  from  combo\r\n"
    "  'X' :  post  WM_CLOSE\r\n  'Up','Down','Topmost','Notopmost','Top','Bottom':  change Z-position\r\n"
    "  'First','Prev','Next','Last':  set target  from  Z-siblings\r\n\r\n"
    "  F8 + F9  +  <Close> :  exit  without  primary  parent  restoration\r\n\r\n"
    "  [Window  stile  symbols]\r\n"
    "  L - WS_EX_LAYERED\r\n  T - WS_EX_TOPMOST\r\n  C - WS_CHILD\r\n  P - WS_POPUP\r\n"
    "  O - Overlapped  (not WS_CHILD + not WS_POPUP)\r\n  X - WS_CHILD + WS_POPUP,  forbidden :-)\r\n"
    "  m - mINIMIZED\r\n  M - Maximized\r\n  V - Visible\r\n  H - Hidden\r\n  D - Disabled\r\n"
    "  E - Enabled\r\n\r\n"
    "  [Window  tree  symbols]\r\n  + - child\r\n  ? - Tid (child) != Tid (parent)\r\n  . - top-level\r\n"
    "  ! - Tid (top-level) == Tid (Desktop)\r\n  = - top  top-level  (notopmost)\r\n"
    "  o - message-only\r\n\r\n"
    "  -----------\r\n  Init: 2006-06-06\r\n";

// The main dialog and the help window are topmost tool windows.
constexpr LONG_PTR kTopmostTool = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

// As the dialog manager places a control: its position and its size are mapped on their own, so the
// right and bottom edges take both roundings (x + w mapped at once may round otherwise).
RECT DluRect(HWND dlg, int x, int y, int w, int h) {
  RECT r = {x, y, w, h};
  MapDialogRect(dlg, &r);
  return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}
RECT RectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}
std::vector<LONG> Sides(RECT r) { return {r.left, r.top, r.right, r.bottom}; }
POINT CenterOf(RECT r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
std::string XY(POINT pt) { return std::to_string(pt.x) + " " + std::to_string(pt.y); }
// "About + Help" as the system menu chooses it; the newest help window, topmost, is the first edit found.
HWND OpenHelp(HWND dlg) {
  EXPECT_EQ(MainDlgProc(dlg, WM_SYSCOMMAND, IDM_ABOUT_HELP, 0), TRUE);
  return FindWindowA("Edit", nullptr);
}

// Run by a timer inside a popup menu's modal loop: where it opened, the system menu's end; ends it.
std::string g_menuSeen;
void CALLBACK SeeMenuProc(HWND, UINT, UINT_PTR, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  HMENU menu = GetSystemMenu(app.hMainDlg, FALSE);
  const int last = GetMenuItemCount(menu) - 1;
  char text[64] = "";
  if (!popup || !IsWindowVisible(popup)) return;
  if (!GetMenuStringA(menu, last, text, sizeof text, MF_BYPOSITION)) return;
  const bool afterSeparator = GetMenuState(menu, last - 1, MF_BYPOSITION) & MF_SEPARATOR;
  g_menuSeen = XY({RectOf(popup).left, RectOf(popup).top}) + " " + text + " " +
               std::to_string(GetMenuItemID(menu, last)) + (afterSeparator ? " after a separator" : "");
  EndMenu();
}

// A message for the dialog procedure, its answer, and the cursor it leaves (nullptr: not checked).
struct Answer {
  UINT msg;
  WPARAM wp;
  LPARAM lp;
  INT_PTR result;
  LPCSTR cursor;
};

class MainDialog : public MainDialogTest {
 protected:
  // A right click at a point of the client area: the dialog reads where the cursor is, not the
  // message's own point (-1, as from the keyboard).
  bool RightClickAt(POINT pt) {
    ClientToScreen(dlg_, &pt);
    SetCursorPos(pt.x, pt.y);
    return MainDlgProc(dlg_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dlg_), -1) == TRUE;
  }
  // A control's rectangle in the dialog's client coordinates.
  RECT PlaceOf(HWND control) {
    RECT r = RectOf(control);
    MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // Where the template puts control c: the report pane is widened to twice the screen, and the combo
  // box's template height is its list's, so its bottom is whatever the control has.
  RECT TemplatePlace(const ExpectedControl& c, HWND control) {
    RECT r = DluRect(dlg_, c.x, c.y, c.w, c.h);
    if (c.id == IDC_REPORT) r.right = r.left + 2 * GetSystemMetrics(SM_CXSCREEN);
    if (c.id == IDC_TREECOMBO) r.bottom = PlaceOf(control).bottom;
    return r;
  }
  void ExpectAnswers(const std::vector<Answer>& answers) {
    for (const Answer& a : answers) {
      SetCursor(LoadCursorA(nullptr, IDC_WAIT));
      SCOPED_TRACE(std::to_string(a.msg) + " " + std::to_string(a.wp) + " " + std::to_string(a.lp));
      EXPECT_EQ(MainDlgProc(dlg_, a.msg, a.wp, a.lp), a.result);
      if (a.cursor) {
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, a.cursor));
      }
    }
  }
  // Every drag must stay on the screen in use, whatever size the dialog's font gives it: a corner
  // drag widens it by 70 pixels.
  void LeaveRoomToWiden() {
    const RECT start = RectOf(dlg_);
    const LONG room = GetSystemMetrics(SM_CXSCREEN) - 80 - (start.right - start.left);
    SetWindowPos(dlg_, nullptr, std::max(0L, std::min(start.left, room)), start.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // A real left drag by (dx, dy) from a point: the window moves with it or, grabbed by a sizing
  // corner, only widens; it is put back afterwards.
  void ExpectDrag(HWND window, POINT from, LONG dx, LONG dy, bool moves) {
    const RECT before = RectOf(window);
    const LONG mx = moves ? dx : 0;
    const LONG my = moves ? dy : 0;
    const RECT expected = {before.left + mx, before.top + my, before.right + dx, before.bottom + my};
    ASSERT_TRUE(Xdotool("mousemove " + XY(from) + " mousedown 1 mousemove " + XY({from.x + dx, from.y + dy}) +
                        " mouseup 1"));
    PumpUntil([&] { return Sides(RectOf(window)) == Sides(expected); }, 15000);
    EXPECT_EQ(Sides(RectOf(window)), Sides(expected)) << "from " << XY(from);
    SetWindowPos(window, nullptr, before.left, before.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
};

TEST_F(MainDialog, HasTheTemplatesControlsInCreationOrder) {
  // The system moves the panes' WS_BORDER to WS_EX_CLIENTEDGE, the combo box's to its list, and WS_TABSTOP.
  const DWORD moved = WS_BORDER | WS_VSCROLL | WS_TABSTOP;
  HWND child = GetWindow(dlg_, GW_CHILD);
  for (const ExpectedControl& c : kControls) {
    SCOPED_TRACE("control " + std::to_string(c.id));
    EXPECT_EQ(GetDlgCtrlID(child), c.id);
    EXPECT_EQ(ClassOf(child), c.kind.cls);
    if (c.caption) {
      EXPECT_EQ(WindowText(child), c.caption);
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_EXSTYLE));
    EXPECT_EQ(style & ~moved, c.kind.style & ~moved);
    EXPECT_EQ(exStyle & ~WS_EX_NOPARENTNOTIFY, c.kind.exStyle);
    EXPECT_EQ(Sides(PlaceOf(child)), Sides(TemplatePlace(c, child)));
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "more than 47 controls";
}

TEST_F(MainDialog, ARightClickSwitchesEveryControlDisabledOnesToo) {
  RECT client;
  GetClientRect(dlg_, &client);
  HWND child = GetWindow(dlg_, GW_CHILD);
  for (const ExpectedControl& c : kControls) {
    // The report pane is hit where it shows.
    const RECT place = PlaceOf(child);
    RECT shown;
    IntersectRect(&shown, &place, &client);
    const bool enabled = (c.kind.style & WS_DISABLED) == 0;
    std::vector<bool> states = {IsWindowEnabled(child) != FALSE};
    for (bool now : {!enabled, enabled}) {
      states.push_back(RightClickAt(CenterOf(shown)) && IsWindowEnabled(child) == now);
    }
    EXPECT_EQ(states, std::vector<bool>({enabled, true, true})) << "control " << c.id;
    child = GetWindow(child, GW_HWNDNEXT);
  }
  // The bare corner is left to the default processing; outside the dialog nothing is found.
  EXPECT_FALSE(RightClickAt({client.right - 3, client.bottom - 3}));
  EXPECT_TRUE(RightClickAt({-20, client.bottom + 40}));
}

TEST_F(MainDialog, StartsAsATopmostToolShowingItsTitleAndLegend) {
  EXPECT_EQ(WindowText(dlg_), kToolTitle);
  EXPECT_EQ(WindowText(Item(IDC_LEGEND)), kLegend);
  // The system adds DS_3DLOOK and, once shown, WS_VISIBLE and WS_CLIPSIBLINGS.
  const DWORD added = WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK;
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(dlg_, GWL_STYLE)) & ~added, 0x82CD0040u);
  EXPECT_EQ(GetWindowLongPtrA(dlg_, GWL_EXSTYLE) & kTopmostTool, kTopmostTool);
}

TEST_F(MainDialog, KeepsTheReportPanesPlaceWidenedToTwiceTheScreen) {
  const ExpectedControl* report = std::find_if(std::begin(kControls), std::end(kControls),
                                               [](const ExpectedControl& c) { return c.id == IDC_REPORT; });
  const RECT kept = {app.reportX, app.reportY, app.reportX + app.reportWidth, app.reportY + app.reportHeight};
  EXPECT_EQ(Sides(kept), Sides(TemplatePlace(*report, Item(IDC_REPORT))));
}

TEST_F(MainDialog, StartsWithTheMessageRootTheTreeListAndTheTopLevelFilter) {
  // Top-level again after finding the message root; the combo box's list is topmost and owned by it.
  HWND probe = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetAncestor(dlg_, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(app.hMessageRoot, GetAncestor(probe, GA_PARENT));
  DestroyWindow(probe);
  COMBOBOXINFO info = {sizeof info};
  GetComboBoxInfo(app.hTreeCombo, &info);
  EXPECT_NE(info.hwndList, nullptr);
  EXPECT_EQ(app.hTreeList, info.hwndList);
  EXPECT_EQ(GetWindow(app.hTreeList, GW_OWNER), dlg_);
  EXPECT_TRUE(GetWindowLongPtrA(app.hTreeList, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(app.hHitRegion, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_FILTER_TOPL), BST_CHECKED);
}

TEST_F(MainDialog, EnterAndEscapeLeaveItOpenAndOnlyCloseEndsIt) {
  // The dialog manager turns Enter and Escape into IDOK and IDCANCEL; neither closes the tool.
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    MSG press = {dlg_, WM_KEYDOWN, key, 0, 0, {}};
    IsDialogMessageA(dlg_, &press);
  }
  Pump();
  EXPECT_TRUE(IsWindowVisible(dlg_));
  SendMessageA(dlg_, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindowVisible(dlg_));
  EXPECT_FALSE(KillTimer(dlg_, IDT_INSPECT)) << "the inspection timer still runs";
}

TEST_F(MainDialog, TopAndBottomEdgesShowTheArrowAndCornersTheSideSizingCursor) {
  // A side edge and the client area are left to the system.
  ExpectAnswers({
      {WM_SETCURSOR, 0, HTTOP, TRUE, IDC_ARROW},          {WM_SETCURSOR, 0, HTBOTTOM, TRUE, IDC_ARROW},
      {WM_SETCURSOR, 0, HTTOPLEFT, TRUE, IDC_SIZEWE},     {WM_SETCURSOR, 0, HTTOPRIGHT, TRUE, IDC_SIZEWE},
      {WM_SETCURSOR, 0, HTBOTTOMLEFT, TRUE, IDC_SIZEWE},  {WM_SETCURSOR, 0, HTBOTTOMRIGHT, TRUE, IDC_SIZEWE},
      {WM_SETCURSOR, 0, HTLEFT, FALSE, IDC_WAIT},         {WM_SETCURSOR, 0, HTCLIENT, FALSE, IDC_WAIT},
  });
}

TEST_F(MainDialog, ARightClickOnTheCaptionOpensTheSystemMenuWhereItWasMade) {
  // Right clicks elsewhere and the other system commands are the system's.
  const LPARAM at = MAKELPARAM(300, 400);
  g_menuSeen.clear();
  UINT_PTR timer = SetTimer(nullptr, 0, 50, SeeMenuProc);
  ExpectAnswers({
      {WM_NCRBUTTONDOWN, HTCLIENT, at, FALSE, IDC_WAIT},  {WM_NCRBUTTONDOWN, HTSYSMENU, at, FALSE, IDC_WAIT},
      {WM_SYSCOMMAND, IDM_ABOUT_HELP + 1, 0, FALSE, IDC_WAIT},
      {WM_SYSCOMMAND, SC_KEYMENU, 0, FALSE, IDC_WAIT},
      {WM_NCRBUTTONDOWN, HTCAPTION, at, TRUE, nullptr},
  });
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_menuSeen, "300 400 About + Help 61152 after a separator");
}

TEST_F(MainDialog, OnlyTheReportPaneIsColouredBlackOnWhite) {
  HDC dc = GetDC(app.hReportPane);
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkMode(dc, OPAQUE);
  const WPARAM hdc = reinterpret_cast<WPARAM>(dc);
  const LPARAM legend = reinterpret_cast<LPARAM>(app.hLegendPane);
  const LPARAM report = reinterpret_cast<LPARAM>(app.hReportPane);
  const INT_PTR white = reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
  ExpectAnswers({
      {WM_CTLCOLORSTATIC, hdc, legend, FALSE, IDC_WAIT},
      {WM_CTLCOLORSTATIC, hdc, report, white, IDC_WAIT},
  });
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  ReleaseDC(app.hReportPane, dc);
}

TEST_F(MainDialog, TheTrackSizeKeepsTheStartHeightAndNoNarrowerWidth) {
  // The rest is the system's, also when asked during creation, before the start size is known.
  auto ask = [&](MINMAXINFO info) {
    EXPECT_EQ(MainDlgProc(dlg_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    return std::vector<LONG>(&info.ptReserved.x, &info.ptReserved.x + 10);
  };
  const MINMAXINFO given = {{1, 2}, {3001, 3002}, {-7, -8}, {11, 12}, {4001, 4002}};
  const RECT d = RectOf(dlg_);
  const LONG w = d.right - d.left;
  const LONG h = d.bottom - d.top;
  EXPECT_EQ(ask(given), std::vector<LONG>({1, 2, 3001, 3002, -7, -8, w, h, 4001, h}));
  app.minTrackWidth = 0;
  app.minTrackHeight = 0;
  EXPECT_EQ(ask(given), std::vector<LONG>({1, 2, 3001, 3002, -7, -8, 11, 12, 4001, 4002}));
}

TEST_F(MainDialog, ARealLeftDragOnTheLegendOrADisabledButtonMovesTheDialog) {
  StopTimer();
  LeaveRoomToWiden();
  // A disabled button leaves the press to the dialog.
  ExpectDrag(dlg_, CenterOf(RectOf(app.hLegendPane)), 40, 25, true);
  ExpectDrag(dlg_, CenterOf(RectOf(Item(IDC_TEXT))), -50, 30, true);
}

TEST_F(MainDialog, ARealLeftDragOnTheCornerOnlyWidensTheDialog) {
  StopTimer();
  LeaveRoomToWiden();
  const RECT d = RectOf(dlg_);
  ExpectDrag(dlg_, {d.right - 2, d.bottom - 2}, 70, 40, false);
}

TEST_F(MainDialog, ARealLeftDragMovesTheHelpWindow) {
  StopTimer();
  LeaveRoomToWiden();
  HWND help = OpenHelp(dlg_);
  SetWindowPos(help, nullptr, 20, RectOf(dlg_).bottom + 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ExpectDrag(help, CenterOf(RectOf(help)), 60, -40, true);
}

TEST_F(MainDialog, TheHelpWindowIsAReadOnlyTopmostToolEditShowingTheHelpText) {
  HWND help = OpenHelp(dlg_);
  DWORD sel[2] = {1, 0};
  SendMessageA(help, EM_GETSEL, reinterpret_cast<WPARAM>(&sel[0]), reinterpret_cast<LPARAM>(&sel[1]));
  // The system adds WS_CLIPSIBLINGS and WS_EX_WINDOWEDGE; the header line and its break are selected.
  EXPECT_EQ(GetWindow(help, GW_OWNER), dlg_);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(help, GWL_STYLE)), 0x90340804ul | WS_CLIPSIBLINGS);
  EXPECT_EQ(GetWindowLongPtrA(help, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, kTopmostTool);
  const LRESULT guiFont = reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(SendMessageA(help, WM_GETFONT, 0, 0), guiFont);
  EXPECT_EQ(sel[0], 0ul);
  EXPECT_EQ(sel[1], 80ul);
  char text[8192] = "";
  GetWindowTextA(help, text, sizeof text);
  EXPECT_EQ(std::string(text), kHelp);
}

TEST_F(MainDialog, EachHelpChoiceOpensOneMoreAndARightReleaseClosesTheOneItIsOn) {
  HWND first = OpenHelp(dlg_);
  HWND second = OpenHelp(dlg_);
  EXPECT_NE(second, first);
  EXPECT_EQ(SendMessageA(first, WM_RBUTTONUP, 0, MAKELPARAM(10, 10)), 0);
  EXPECT_EQ(FindWindowA("Edit", nullptr), second);
  EXPECT_EQ(FindWindowExA(nullptr, second, "Edit", nullptr), nullptr);
}

TEST_F(MainDialog, HelpOpensOverTheReportPaneAQuarterOfItsHeightDownTwiceAsWideAsHigh) {
  const RECT outer = RectOf(app.hReportPane);
  RECT inner;
  GetClientRect(app.hReportPane, &inner);
  const LONG frame = outer.bottom - outer.top - inner.bottom;
  // The pane's client height, where the pane stands, and where the help window must open and its size.
  struct { LONG h, paneX, dx, dy, height, width; } cases[] = {
      {280, app.reportX, 8, 70, 202, 404},
      {287, app.reportX, 8, 71, 208, 416},  // both divisions round down
      {31, app.reportX, 0, 7, 24, 48},
      {280, -700, 8, 70, 202, 404},  // the pane dragged sideways
  };
  for (const auto& c : cases) {
    app.reportHeight = c.h + frame;  // the pane holds its kept height against every move
    SetWindowPos(app.hReportPane, nullptr, c.paneX, app.reportY, outer.right - outer.left, c.h + frame,
                 SWP_NOZORDER);
    POINT o = {0, 0};
    MapWindowPoints(app.hReportPane, nullptr, &o, 1);
    HWND opened = OpenHelp(dlg_);
    const RECT expected = {o.x + c.dx, o.y + c.dy, o.x + c.dx + c.width, o.y + c.dy + c.height};
    EXPECT_EQ(Sides(RectOf(opened)), Sides(expected)) << c.h << " at " << c.paneX;
    DestroyWindow(opened);
  }
}

}  // namespace
