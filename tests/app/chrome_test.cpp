// The main dialog's window behaviour: border cursors, switching controls by a right click, the
// fixed height, the report pane's colours, dragging, and the system menu on the caption.
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_dlg.h"
#include "chrome_helpers.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

HCURSOR SystemCursor(LPCSTR id) { return LoadCursorA(nullptr, id); }

// Sends WM_CONTEXTMENU as a right click's button release does, with the cursor at pt.
void ContextMenuAt(HWND dlg, POINT pt) {
  SetCursorPos(pt.x, pt.y);
  SendMessageA(dlg, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dlg), MAKELPARAM(pt.x, pt.y));
}

std::vector<bool> EnabledStates(HWND dlg) {
  std::vector<bool> states;
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    states.push_back(IsWindowEnabled(c) != FALSE);
  return states;
}

// A screen point on the visible part of a control: the report pane reaches far beyond the
// dialog's right edge.
POINT VisibleCenterOf(HWND dlg, HWND control) {
  RECT client;
  GetClientRect(dlg, &client);
  MapWindowPoints(dlg, nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT r = WindowRectOf(control), visible;
  IntersectRect(&visible, &r, &client);
  return {(visible.left + visible.right) / 2, (visible.top + visible.bottom) / 2};
}

// Finds a screen point on the dialog's frame with the given hit-test code, searching inward
// from a point on the outer edge.
POINT FramePoint(HWND dlg, POINT outer, int stepX, int stepY, LRESULT code) {
  for (int i = 0; i < 12; ++i) {
    POINT pt = {outer.x + i * stepX, outer.y + i * stepY};
    if (SendMessageA(dlg, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == code) return pt;
  }
  ADD_FAILURE() << "no point with hit-test code " << code;
  return outer;
}

// Two places of the dialog's client area that no control covers (dialog units).
const POINT kFreeSpots[] = {{452, 230}, {200, 238}};

// ---------------------------------------------------------------------------------------------
// Cursors on the sizing border

struct CursorCase {
  WORD hitCode;
  LPCSTR cursor;  // nullptr: the dialog leaves the code to the default processing
};

const CursorCase kCursorCases[] = {
    {HTTOP, IDC_ARROW},           {HTBOTTOM, IDC_ARROW},        {HTTOPLEFT, IDC_SIZEWE},
    {HTTOPRIGHT, IDC_SIZEWE},     {HTBOTTOMLEFT, IDC_SIZEWE},   {HTBOTTOMRIGHT, IDC_SIZEWE},
    {HTLEFT, nullptr},            {HTRIGHT, nullptr},           {HTCLIENT, nullptr},
    {HTCAPTION, nullptr},         {HTSYSMENU, nullptr},         {HTNOWHERE, nullptr},
};

using Chrome = MainDialogTest;

TEST_F(Chrome, SizingBorderCursorsAreArrowAtTopAndBottomAndHorizontalAtTheCorners) {
  StopTimer();
  for (const CursorCase& c : kCursorCases) {
    SCOPED_TRACE("hit-test code " + std::to_string(c.hitCode));
    SetCursor(SystemCursor(IDC_WAIT));
    INT_PTR result = MainDlgProc(dlg_, WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg_),
                                 MAKELPARAM(c.hitCode, WM_MOUSEMOVE));
    EXPECT_EQ(result, c.cursor ? TRUE : FALSE);
    EXPECT_EQ(GetCursor(), SystemCursor(c.cursor ? c.cursor : IDC_WAIT));
  }
}

TEST_F(Chrome, TheDefaultProcessingKeepsTheHorizontalCursorOnTheSideEdges) {
  StopTimer();
  struct { WORD hitCode; LPCSTR cursor; } cases[] = {
      {HTLEFT, IDC_SIZEWE}, {HTRIGHT, IDC_SIZEWE},      // the system's own
      {HTTOP, IDC_ARROW},   {HTBOTTOMRIGHT, IDC_SIZEWE},  // the dialog's, not the diagonal/vertical
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("hit-test code " + std::to_string(c.hitCode));
    SetCursor(SystemCursor(IDC_WAIT));
    SendMessageA(dlg_, WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg_), MAKELPARAM(c.hitCode, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), SystemCursor(c.cursor));
  }
}

TEST_F(Chrome, TheRealPointerOnTheBottomEdgeAndCornerShowsArrowAndHorizontalCursor) {
  StopTimer();
  RECT r = WindowRectOf(dlg_);
  POINT bottom = FramePoint(dlg_, {(r.left + r.right) / 2, r.bottom - 1}, 0, -1, HTBOTTOM);
  POINT corner = FramePoint(dlg_, {r.right - 1, r.bottom - 1}, -1, -1, HTBOTTOMRIGHT);
  POINT left = FramePoint(dlg_, {r.left, (r.top + r.bottom) / 2}, 1, 0, HTLEFT);

  SetCursor(SystemCursor(IDC_WAIT));
  ASSERT_TRUE(MouseTo(bottom.x, bottom.y));
  EXPECT_TRUE(PumpUntil([] { return GetCursor() == SystemCursor(IDC_ARROW); }));
  ASSERT_TRUE(MouseTo(corner.x, corner.y));
  EXPECT_TRUE(PumpUntil([] { return GetCursor() == SystemCursor(IDC_SIZEWE); }));
  SetCursor(SystemCursor(IDC_WAIT));
  ASSERT_TRUE(MouseTo(left.x, left.y));
  EXPECT_TRUE(PumpUntil([] { return GetCursor() == SystemCursor(IDC_SIZEWE); }));
}

// ---------------------------------------------------------------------------------------------
// Switching controls by a right click

TEST_F(Chrome, RightClickEnablesTheDisabledTextButtonAndDisablesItAgain) {
  StopTimer();
  HWND text = Item(IDC_TEXT);
  ASSERT_FALSE(IsWindowEnabled(text));
  ContextMenuAt(dlg_, CenterOf(text));
  EXPECT_TRUE(IsWindowEnabled(text));
  ContextMenuAt(dlg_, CenterOf(text));
  EXPECT_FALSE(IsWindowEnabled(text));
  // The dialog procedure's own answer is TRUE: a control was switched.
  SetCursorPos(CenterOf(text).x, CenterOf(text).y);
  EXPECT_EQ(MainDlgProc(dlg_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dlg_), 0), TRUE);
  EXPECT_TRUE(IsWindowEnabled(text));
}

TEST_F(Chrome, RightClickDisablesTheReportPaneAndEnablesItAgain) {
  StopTimer();
  POINT pt = VisibleCenterOf(dlg_, app.hReportPane);
  ASSERT_TRUE(IsWindowEnabled(app.hReportPane));
  ContextMenuAt(dlg_, pt);
  EXPECT_FALSE(IsWindowEnabled(app.hReportPane));
  ContextMenuAt(dlg_, pt);
  EXPECT_TRUE(IsWindowEnabled(app.hReportPane));
}

TEST_F(Chrome, EveryControlCanBeSwitchedOffAndOnWhereItIsVisible) {
  StopTimer();
  int count = 0;
  for (HWND c = GetWindow(dlg_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++count) {
    SCOPED_TRACE("control " + std::to_string(GetDlgCtrlID(c)));
    std::vector<bool> before = EnabledStates(dlg_);
    bool was = IsWindowEnabled(c) != FALSE;
    POINT pt = VisibleCenterOf(dlg_, c);
    ContextMenuAt(dlg_, pt);
    EXPECT_EQ(IsWindowEnabled(c) != FALSE, !was);
    ContextMenuAt(dlg_, pt);
    EXPECT_EQ(IsWindowEnabled(c) != FALSE, was);
    EXPECT_EQ(EnabledStates(dlg_), before);
  }
  EXPECT_EQ(count, 47);
}

TEST_F(Chrome, RightClickWhereNoControlIsChangesNothing) {
  StopTimer();
  std::vector<bool> before = EnabledStates(dlg_);
  for (const POINT& spot : kFreeSpots) {
    SCOPED_TRACE(std::to_string(spot.x) + "," + std::to_string(spot.y));
    POINT pt = DluToScreen(dlg_, spot.x, spot.y);
    SetCursorPos(pt.x, pt.y);
    // On the dialog's own surface: left to the default processing.
    EXPECT_EQ(MainDlgProc(dlg_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dlg_), MAKELPARAM(pt.x, pt.y)),
              FALSE);
    ContextMenuAt(dlg_, pt);
    Pump();
    EXPECT_EQ(EnabledStates(dlg_), before);
  }
  // Outside the dialog altogether (WM_CONTEXTMENU from the keyboard comes with any cursor
  // position): nothing is switched either.
  RECT r = WindowRectOf(dlg_);
  SetCursorPos(r.left - 20 > 0 ? r.left - 20 : r.right + 20, r.bottom + 20);
  EXPECT_EQ(MainDlgProc(dlg_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dlg_), -1), TRUE);
  EXPECT_EQ(EnabledStates(dlg_), before);
}

TEST_F(Chrome, ARealRightClickSwitchesTextAndTheReportPane) {
  StopTimer();
  HWND text = Item(IDC_TEXT);
  ASSERT_FALSE(IsWindowEnabled(text));
  ASSERT_TRUE(RightClickAt(CenterOf(text)));
  EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(text) != FALSE; }));
  ASSERT_TRUE(RightClickAt(CenterOf(text)));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowEnabled(text); }));

  POINT pane = VisibleCenterOf(dlg_, app.hReportPane);
  ASSERT_TRUE(RightClickAt(pane));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowEnabled(app.hReportPane); }));
  ASSERT_TRUE(RightClickAt(pane));
  EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(app.hReportPane) != FALSE; }));

  // An enabled button, once switched off, is found again by the next click.
  HWND undo = Item(IDC_UNDO);
  ASSERT_TRUE(RightClickAt(CenterOf(undo)));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowEnabled(undo); }));
  ASSERT_TRUE(RightClickAt(CenterOf(undo)));
  EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(undo) != FALSE; }));
}

TEST_F(Chrome, ARealRightClickOnTheBareDialogChangesNothing) {
  StopTimer();
  std::vector<bool> before = EnabledStates(dlg_);
  ASSERT_TRUE(RightClickAt(DluToScreen(dlg_, kFreeSpots[0].x, kFreeSpots[0].y)));
  // A right click on a control afterwards is seen, so the first one has been handled by then.
  HWND text = Item(IDC_TEXT);
  ASSERT_TRUE(RightClickAt(CenterOf(text)));
  ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(text) != FALSE; }));
  ASSERT_TRUE(RightClickAt(CenterOf(text)));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowEnabled(text); }));
  EXPECT_EQ(EnabledStates(dlg_), before);
}

// ---------------------------------------------------------------------------------------------
// Fixed height, minimum width

TEST_F(Chrome, MinMaxInfoFixesTheHeightAndTheMinimumWidthAndKeepsTheRest) {
  StopTimer();
  RECT start = WindowRectOf(dlg_);
  MINMAXINFO info;
  info.ptReserved = {1, 2};
  info.ptMaxSize = {3001, 3002};
  info.ptMaxPosition = {-7, -8};
  info.ptMinTrackSize = {11, 12};
  info.ptMaxTrackSize = {4001, 4002};
  EXPECT_EQ(MainDlgProc(dlg_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
  EXPECT_EQ(info.ptMinTrackSize.x, start.right - start.left);
  EXPECT_EQ(info.ptMinTrackSize.y, start.bottom - start.top);
  EXPECT_EQ(info.ptMaxTrackSize.y, start.bottom - start.top);
  EXPECT_EQ(info.ptMaxTrackSize.x, 4001);
  EXPECT_EQ(info.ptMaxSize.x, 3001);
  EXPECT_EQ(info.ptMaxSize.y, 3002);
  EXPECT_EQ(info.ptMaxPosition.x, -7);
  EXPECT_EQ(info.ptMaxPosition.y, -8);

  // Asked before start-up has taken the start size (while the dialog is being created), the
  // dialog keeps the system's values rather than a maximum height of zero.
  AppState saved = app;
  app.minTrackWidth = 0;
  app.minTrackHeight = 0;
  info.ptMinTrackSize = {11, 12};
  info.ptMaxTrackSize = {4001, 4002};
  EXPECT_EQ(MainDlgProc(dlg_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
  app = saved;
  EXPECT_EQ(info.ptMinTrackSize.x, 11);
  EXPECT_EQ(info.ptMinTrackSize.y, 12);
  EXPECT_EQ(info.ptMaxTrackSize.x, 4001);
  EXPECT_EQ(info.ptMaxTrackSize.y, 4002);
}

TEST_F(Chrome, ResizingCanWidenButNeitherHeightenNorShrink) {
  StopTimer();
  RECT start = WindowRectOf(dlg_);
  const int w = start.right - start.left, h = start.bottom - start.top;
  struct { int cx, cy, expectW; } cases[] = {
      {w + 120, h, w + 120}, {w + 50, h + 60, w + 50}, {w, h - 40, w},
      {w - 80, h, w},        {w - 80, h + 90, w},      {w + 1, 10, w + 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.cx) + " x " + std::to_string(c.cy));
    SetWindowPos(dlg_, nullptr, 0, 0, c.cx, c.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r = WindowRectOf(dlg_);
    EXPECT_EQ(r.right - r.left, c.expectW);
    EXPECT_EQ(r.bottom - r.top, h);
  }
}

TEST_F(Chrome, DraggingTheBottomEdgeOrACornerNeverChangesTheHeight) {
  StopTimer();
  RECT start = WindowRectOf(dlg_);
  const int w = start.right - start.left, h = start.bottom - start.top;

  POINT bottom = FramePoint(dlg_, {(start.left + start.right) / 2, start.bottom - 1}, 0, -1, HTBOTTOM);
  ASSERT_TRUE(DragWithLeftButton(bottom, 0, 50));
  RECT r = WindowRectOf(dlg_);
  EXPECT_TRUE(EqualRect(&r, &start)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;

  POINT corner = FramePoint(dlg_, {start.right - 1, start.bottom - 1}, -1, -1, HTBOTTOMRIGHT);
  ASSERT_TRUE(DragWithLeftButton(corner, 70, 40));
  ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(dlg_).right != start.right; }));
  r = WindowRectOf(dlg_);
  EXPECT_EQ(r.left, start.left);
  EXPECT_EQ(r.top, start.top);
  EXPECT_EQ(r.right - r.left, w + 70);
  EXPECT_EQ(r.bottom - r.top, h);

  // Back past the start width: it stops at the start width.
  corner = FramePoint(dlg_, {r.right - 1, r.bottom - 1}, -1, -1, HTBOTTOMRIGHT);
  ASSERT_TRUE(DragWithLeftButton(corner, -150, -30));
  ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(dlg_).right != r.right; }));
  r = WindowRectOf(dlg_);
  EXPECT_TRUE(EqualRect(&r, &start)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

TEST_F(Chrome, DraggingTheTopLeftCornerWidensToTheLeftOnly) {
  StopTimer();
  RECT start = WindowRectOf(dlg_);
  POINT corner = FramePoint(dlg_, {start.left, start.top}, 1, 1, HTTOPLEFT);
  ASSERT_TRUE(DragWithLeftButton(corner, -60, 30));
  ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(dlg_).left != start.left; }));
  RECT r = WindowRectOf(dlg_);
  EXPECT_EQ(r.left, start.left - 60);
  EXPECT_EQ(r.right, start.right);
  EXPECT_EQ(r.top, start.top);
  EXPECT_EQ(r.bottom, start.bottom);
}

// ---------------------------------------------------------------------------------------------
// Colours of the report pane

TEST_F(Chrome, OnlyTheReportPaneGetsTheWhiteBrushAndBlackTransparentText) {
  StopTimer();
  HDC dc = GetDC(app.hReportPane);
  SetTextColor(dc, RGB(255, 0, 0));
  SetBkMode(dc, OPAQUE);
  INT_PTR brush = MainDlgProc(dlg_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(app.hReportPane));
  EXPECT_EQ(brush, reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  ReleaseDC(app.hReportPane, dc);

  for (int id : {IDC_LEGEND, IDC_TREECOUNT}) {
    SCOPED_TRACE("control " + std::to_string(id));
    HWND other = Item(id);
    dc = GetDC(other);
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkMode(dc, OPAQUE);
    EXPECT_EQ(MainDlgProc(dlg_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(other)),
              FALSE);
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    ReleaseDC(other, dc);
  }
}

TEST_F(Chrome, TheReportPaneIsPaintedWhiteAndTheLegendInTheDialogColour) {
  StopTimer();
  // No text in the pane, so every pixel shows the background.
  SetWindowTextA(app.hReportPane, "");
  RedrawWindow(dlg_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  RECT client;
  GetClientRect(app.hReportPane, &client);
  HDC dc = GetDC(app.hReportPane);
  EXPECT_EQ(GetPixel(dc, 2, client.bottom - 3), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 100, client.bottom / 2), RGB(255, 255, 255));  // inside the dialog
  ReleaseDC(app.hReportPane, dc);
  // The legend's lines all begin with spaces; its bottom left corner is background.
  GetClientRect(app.hLegendPane, &client);
  dc = GetDC(app.hLegendPane);
  EXPECT_EQ(GetPixel(dc, 2, client.bottom - 3), GetSysColor(COLOR_BTNFACE));
  ReleaseDC(app.hLegendPane, dc);
}

// ---------------------------------------------------------------------------------------------
// Dragging the dialog

TEST_F(Chrome, ALeftPressOnTheBareDialogDragsIt) {
  StopTimer();
  RECT start = WindowRectOf(dlg_);
  POINT from = DluToScreen(dlg_, kFreeSpots[0].x, kFreeSpots[0].y);
  ASSERT_TRUE(DragWithLeftButton(from, -50, 35));

  ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(dlg_).left != start.left; }));
  RECT r = WindowRectOf(dlg_);
  EXPECT_EQ(r.left, start.left - 50);
  EXPECT_EQ(r.top, start.top + 35);
  EXPECT_EQ(r.right - r.left, start.right - start.left);
  EXPECT_EQ(r.bottom - r.top, start.bottom - start.top);
}

TEST_F(Chrome, ALeftPressOnTheLegendPaneDragsTheWholeDialog) {
  StopTimer();
  RECT start = WindowRectOf(dlg_);
  ASSERT_TRUE(DragWithLeftButton(CenterOf(app.hLegendPane), 40, 25));
  ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(dlg_).left != start.left; }));
  RECT r = WindowRectOf(dlg_);
  EXPECT_EQ(r.left, start.left + 40);
  EXPECT_EQ(r.top, start.top + 25);
  EXPECT_EQ(r.right - r.left, start.right - start.left);
}

TEST_F(Chrome, ALeftPressOnADisabledButtonDragsTheDialog) {
  StopTimer();
  RECT start = WindowRectOf(dlg_);
  ASSERT_FALSE(IsWindowEnabled(Item(IDC_TEXT)));
  ASSERT_TRUE(DragWithLeftButton(CenterOf(Item(IDC_TEXT)), 30, 30));
  ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(dlg_).left != start.left; }));
  RECT r = WindowRectOf(dlg_);
  EXPECT_EQ(r.left, start.left + 30);
  EXPECT_EQ(r.top, start.top + 30);
}

// ---------------------------------------------------------------------------------------------
// The system menu on the caption

// Watches, from a timer that the menu's modal loop keeps dispatching, for the open system menu;
// records it and answers it with real input. Should the answer not reach the menu, the watch
// ends the menu itself after a while and says so, rather than leave the test in the menu's loop.
struct MenuWatch {
  bool chooseHelp = false;  // click "About + Help"; otherwise press Escape
  bool seen = false;
  int count = 0;
  std::string lastText;
  UINT lastId = 0;
  bool separatorBeforeLast = false;
  POINT menuAt{};
  bool answered = false;
  DWORD answeredAt = 0;
  bool forcedClose = false;
};
MenuWatch g_watch;

void CALLBACK WatchMenuProc(HWND, UINT, UINT_PTR, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  if (!popup || !IsWindowVisible(popup)) return;
  if (g_watch.answered) {
    if (GetTickCount() - g_watch.answeredAt > 5000 && !g_watch.forcedClose) {
      g_watch.forcedClose = true;
      EndMenu();
    }
    return;
  }
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
  if (!menu) return;
  g_watch.seen = true;
  g_watch.count = GetMenuItemCount(menu);
  char text[64] = "";
  GetMenuStringA(menu, g_watch.count - 1, text, sizeof text, MF_BYPOSITION);
  g_watch.lastText = text;
  g_watch.lastId = GetMenuItemID(menu, g_watch.count - 1);
  g_watch.separatorBeforeLast = (GetMenuState(menu, g_watch.count - 2, MF_BYPOSITION) & MF_SEPARATOR) != 0;
  RECT where = WindowRectOf(popup);
  g_watch.menuAt = {where.left, where.top};
  g_watch.answered = true;
  g_watch.answeredAt = GetTickCount();
  if (g_watch.chooseHelp) {
    RECT item{};
    GetMenuItemRect(nullptr, menu, g_watch.count - 1, &item);
    StartXdotool("mousemove " + XdoPoint({(item.left + item.right) / 2, (item.top + item.bottom) / 2}) +
                 " click 1");
  } else {
    StartXdotool("key Escape");
  }
}

class SystemMenu : public MainDialogTest {
 protected:
  // Right-clicks the caption for real and lets the watch answer the menu.
  POINT RightClickCaption(bool chooseHelp) {
    g_watch = MenuWatch{};
    g_watch.chooseHelp = chooseHelp;
    RECT r = WindowRectOf(dlg_);
    POINT caption = FramePoint(dlg_, {r.left + 120, r.top}, 0, 1, HTCAPTION);
    UINT_PTR timer = SetTimer(nullptr, 0, 50, WatchMenuProc);
    EXPECT_TRUE(RightClickAt(caption));
    EXPECT_TRUE(PumpUntil([] { return g_watch.answered && !MenuOpen(); }, 10000));
    KillTimer(nullptr, timer);
    EXPECT_FALSE(g_watch.forcedClose) << "the menu did not take the real input";
    return caption;
  }

  static bool MenuOpen() {
    HWND popup = FindWindowA("#32768", nullptr);
    return popup && IsWindowVisible(popup);
  }
};

TEST_F(SystemMenu, ARightClickOnTheCaptionOpensItAtTheCursorWithAboutHelpLast) {
  StopTimer();
  POINT caption = RightClickCaption(false);
  EXPECT_TRUE(g_watch.seen);
  EXPECT_EQ(g_watch.lastText, "About + Help");
  EXPECT_EQ(g_watch.lastId, static_cast<UINT>(IDM_ABOUT_HELP));
  EXPECT_TRUE(g_watch.separatorBeforeLast);
  EXPECT_EQ(g_watch.menuAt.x, caption.x);
  EXPECT_EQ(g_watch.menuAt.y, caption.y);
  // Escape closes it without a command.
  EXPECT_TRUE(PumpUntil([] { return !MenuOpen(); }));
  EXPECT_TRUE(HelpWindowsOf(dlg_).empty());
  EXPECT_TRUE(IsWindowVisible(dlg_));
}

TEST_F(SystemMenu, ChoosingAboutHelpOpensTheHelpWindow) {
  StopTimer();
  RightClickCaption(true);
  ASSERT_TRUE(g_watch.seen);
  ASSERT_TRUE(PumpUntil([&] { return HelpWindowsOf(dlg_).size() == 1; }));
  HWND help = HelpWindowsOf(dlg_)[0];
  EXPECT_TRUE(IsWindowVisible(help));
  EXPECT_FALSE(MenuOpen());
}

TEST_F(SystemMenu, OnlyAPressOnTheCaptionIsTaken) {
  StopTimer();
  for (WPARAM code : {HTCLIENT, HTBOTTOM, HTSYSMENU, HTCLOSE}) {
    EXPECT_EQ(MainDlgProc(dlg_, WM_NCRBUTTONDOWN, code, 0), FALSE) << code;
  }
  EXPECT_FALSE(MenuOpen());
}

}  // namespace
