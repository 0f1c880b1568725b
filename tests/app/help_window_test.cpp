// The help window opened by "About + Help": where it opens, what it is, what it shows, and how
// the mouse drags and closes it.
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_dlg.h"
#include "app/texts.h"
#include "chrome_helpers.h"
#include "help_expected.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

class HelpWindow : public MainDialogTest {
 protected:
  // Chooses "About + Help" as the system menu does, and returns the one new help window.
  HWND Open() {
    std::vector<HWND> before = HelpWindowsOf(dlg_);
    SendMessageA(dlg_, WM_SYSCOMMAND, IDM_ABOUT_HELP, 0);
    Pump();
    std::vector<HWND> after = HelpWindowsOf(dlg_);
    EXPECT_EQ(after.size(), before.size() + 1);
    for (HWND w : after) {
      bool old = false;
      for (HWND b : before) old = old || b == w;
      if (!old) return w;
    }
    return nullptr;
  }

  // Gives the report pane a client area of the given height, keeping its width.
  void SetReportClientHeight(int h) {
    RECT outer, inner;
    GetWindowRect(app.hReportPane, &outer);
    GetClientRect(app.hReportPane, &inner);
    int frame = (outer.bottom - outer.top) - inner.bottom;
    // The pane holds its size against every move; its kept height is what changes it.
    app.reportHeight = h + frame;
    SetWindowPos(app.hReportPane, nullptr, 0, 0, outer.right - outer.left, h + frame,
                 SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(app.hReportPane, &inner);
    ASSERT_EQ(inner.bottom, h);
  }

  POINT ReportClientOrigin() {
    POINT pt = {0, 0};
    ClientToScreen(app.hReportPane, &pt);
    return pt;
  }
};

// A right button release that reached the edit control would open its context menu, whose
// modal loop would never end by itself: close any menu that shows up, and count it.
int g_menusClosed = 0;

void CALLBACK CloseStrayMenuProc(HWND, UINT, UINT_PTR, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  if (popup && IsWindowVisible(popup)) {
    ++g_menusClosed;
    EndMenu();
  }
}

class StrayMenuGuard {
 public:
  StrayMenuGuard() : timer_(SetTimer(nullptr, 0, 100, CloseStrayMenuProc)) { g_menusClosed = 0; }
  ~StrayMenuGuard() { KillTimer(nullptr, timer_); }
  int closed() const { return g_menusClosed; }

 private:
  UINT_PTR timer_;
};

struct GeometryCase {
  int h;                      // client height of the report pane
  int dx, dy, height, width;  // written out by hand from h/32, h/4 and the remainder
};

const GeometryCase kGeometry[] = {
    {280, 8, 70, 202, 404},
    {287, 8, 71, 208, 416},  // both divisions round down
    {31, 0, 7, 24, 48},
    {64, 2, 16, 46, 92},
};

TEST_F(HelpWindow, OpensAQuarterOfThePaneHeightBelowItsTopTwiceAsWideAsHigh) {
  StopTimer();
  for (const GeometryCase& c : kGeometry) {
    SCOPED_TRACE("h = " + std::to_string(c.h));
    SetReportClientHeight(c.h);
    POINT origin = ReportClientOrigin();
    HWND help = Open();
    ASSERT_NE(help, nullptr);
    RECT r = WindowRectOf(help);
    EXPECT_EQ(r.left, origin.x + c.dx);
    EXPECT_EQ(r.top, origin.y + c.dy);
    EXPECT_EQ(r.right - r.left, c.width);
    EXPECT_EQ(r.bottom - r.top, c.height);
    DestroyWindow(help);
  }
}

TEST_F(HelpWindow, OpensAtTheTemplateHeightOfTheReportPane) {
  StopTimer();
  // The pane is 174 dialog units high and drawn with a client edge on each side.
  RECT pane = {0, 0, 0, 174};
  MapDialogRect(dlg_, &pane);
  int h = pane.bottom - 2 * GetSystemMetrics(SM_CYEDGE);
  int height = h - h / 4 - h / 32;
  POINT origin = ReportClientOrigin();
  HWND help = Open();
  ASSERT_NE(help, nullptr);
  RECT r = WindowRectOf(help);
  EXPECT_EQ(r.left, origin.x + h / 32);
  EXPECT_EQ(r.top, origin.y + h / 4);
  EXPECT_EQ(r.bottom - r.top, height);
  EXPECT_EQ(r.right - r.left, 2 * height);
}

TEST_F(HelpWindow, FollowsTheReportPaneWhenItWasDraggedSideways) {
  StopTimer();
  SetReportClientHeight(280);
  // The pane's left part has been dragged out of the dialog to the left.
  SetWindowPos(app.hReportPane, nullptr, -700, app.reportY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  POINT origin = ReportClientOrigin();
  RECT dialog = WindowRectOf(dlg_);
  ASSERT_LT(origin.x, dialog.left);
  HWND help = Open();
  ASSERT_NE(help, nullptr);
  RECT r = WindowRectOf(help);
  EXPECT_EQ(r.left, origin.x + 8);
  EXPECT_EQ(r.top, origin.y + 70);
  EXPECT_EQ(r.right - r.left, 404);
  EXPECT_EQ(r.bottom - r.top, 202);
}

TEST_F(HelpWindow, IsAReadOnlyTopmostToolEditOwnedByTheDialogWithTheHeaderSelected) {
  StopTimer();
  HWND help = Open();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(ClassOf(help), "Edit");
  EXPECT_EQ(GetWindow(help, GW_OWNER), dlg_);
  EXPECT_EQ(GetParent(help), dlg_);  // GetParent names the owner of a popup
  EXPECT_EQ(GetAncestor(help, GA_PARENT), GetDesktopWindow());
  EXPECT_TRUE(IsWindowVisible(help));

  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(help, GWL_STYLE));
  // WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_THICKFRAME | ES_READONLY | ES_MULTILINE;
  // the system gives every top-level window WS_CLIPSIBLINGS.
  EXPECT_EQ(style & ~static_cast<DWORD>(WS_CLIPSIBLINGS), 0x90340804u) << std::hex << style;
  DWORD ex = static_cast<DWORD>(GetWindowLongPtrA(help, GWL_EXSTYLE));
  // The system adds WS_EX_WINDOWEDGE to every window with a sizing border.
  EXPECT_EQ(ex & ~static_cast<DWORD>(WS_EX_WINDOWEDGE), 0x88u) << std::hex << ex;

  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(help, WM_GETFONT, 0, 0)),
            reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  DWORD start = 0, end = 0;
  SendMessageA(help, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 80u);
  // Read-only: typing changes nothing.
  SendMessageA(help, WM_CHAR, 'x', 0);
  EXPECT_EQ(LongText(help).substr(0, 4), "  //");
}

TEST_F(HelpWindow, ShowsTheWholeHelpTextWithTheTitleLine) {
  StopTimer();
  HWND help = Open();
  ASSERT_NE(help, nullptr);
  std::string text = LongText(help);
  EXPECT_EQ(text, ExpectedHelpText());
  EXPECT_EQ(SendMessageA(help, EM_GETLINECOUNT, 0, 0), 73);  // 72 lines and the empty one behind
  char line[128] = {};
  *reinterpret_cast<WORD*>(line) = sizeof line - 1;
  LRESULT n = SendMessageA(help, EM_GETLINE, 2, reinterpret_cast<LPARAM>(line));
  line[n] = '\0';
  char caption[128] = "";
  GetWindowTextA(dlg_, caption, sizeof caption);
  EXPECT_EQ(std::string(line), std::string(caption) + " ");
  EXPECT_EQ(std::string(line), "  WIN  API   -   Vorlan :    Parent ,  Owner ,  Z-order          (2010-07-06) ");
  char last[64] = {};
  *reinterpret_cast<WORD*>(last) = sizeof last - 1;
  n = SendMessageA(help, EM_GETLINE, 71, reinterpret_cast<LPARAM>(last));
  last[n] = '\0';
  EXPECT_STREQ(last, "  Init: 2006-06-06");
}

TEST_F(HelpWindow, EveryChoiceOpensOneMoreAndARightButtonReleaseClosesOnlyThatOne) {
  StopTimer();
  HWND first = Open();
  HWND second = Open();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_TRUE(IsWindowVisible(first));
  EXPECT_TRUE(IsWindowVisible(second));
  // The same place: both are made from the same report pane.
  RECT a = WindowRectOf(first), b = WindowRectOf(second);
  EXPECT_TRUE(EqualRect(&a, &b));

  StrayMenuGuard guard;
  EXPECT_EQ(SendMessageA(first, WM_RBUTTONUP, 0, MAKELPARAM(10, 10)), 0);
  Pump();
  EXPECT_EQ(guard.closed(), 0);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(IsWindow(second));
  EXPECT_EQ(HelpWindowsOf(dlg_), std::vector<HWND>{second});
}

TEST_F(HelpWindow, OnlyTheExactCommandOpensOne) {
  StopTimer();
  // The dialog procedure's own answer: other system commands are left to the default path.
  EXPECT_EQ(MainDlgProc(dlg_, WM_SYSCOMMAND, IDM_ABOUT_HELP + 1, 0), FALSE);
  EXPECT_EQ(MainDlgProc(dlg_, WM_SYSCOMMAND, SC_KEYMENU, 0), FALSE);
  EXPECT_TRUE(HelpWindowsOf(dlg_).empty());
  EXPECT_EQ(MainDlgProc(dlg_, WM_SYSCOMMAND, IDM_ABOUT_HELP, 0), TRUE);
  EXPECT_EQ(HelpWindowsOf(dlg_).size(), 1u);
}

TEST_F(HelpWindow, VanishesWithTheMainDialog) {
  StopTimer();
  HWND first = Open();
  HWND second = Open();
  DestroyWindow(dlg_);
  Pump();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(IsWindow(second));
}

TEST_F(HelpWindow, ALeftPressDragsItWithoutTouchingTheSelection) {
  StopTimer();
  HWND help = Open();
  ASSERT_NE(help, nullptr);
  RECT before = WindowRectOf(help);
  ASSERT_TRUE(DragWithLeftButton(CenterOf(help), 60, -40));
  ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(help).left != before.left; }));
  RECT after = WindowRectOf(help);
  EXPECT_EQ(after.left, before.left + 60);
  EXPECT_EQ(after.top, before.top - 40);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  DWORD start = 1, end = 0;
  SendMessageA(help, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 80u);
}

TEST_F(HelpWindow, ARealRightClickClosesIt) {
  StopTimer();
  HWND first = Open();
  ASSERT_NE(first, nullptr);
  // The second one lies over the first; move it aside so the click finds the first.
  HWND second = Open();
  ASSERT_NE(second, nullptr);
  RECT r = WindowRectOf(second);
  SetWindowPos(second, nullptr, r.left, r.bottom + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  StrayMenuGuard guard;
  ASSERT_TRUE(RightClickAt(CenterOf(first)));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(first); }));
  EXPECT_TRUE(IsWindow(second));
  EXPECT_EQ(guard.closed(), 0);
}

}  // namespace
