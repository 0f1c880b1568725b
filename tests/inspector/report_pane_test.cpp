// The report pane: whatever moves it, it stays in its row, never right of home, keeps its size
// and lies directly behind the legend pane; a drag slides it left, a double click brings it home.
#include <windows.h>

#include <string>

#include "app/app_state.h"
#include "inspector/inspector.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

class ReportPane : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
    pane_ = Item(IDC_REPORT);
    legend_ = Item(IDC_LEGEND);
  }

  // The pane's window rectangle in the dialog's client coordinates.
  RECT Place() const {
    RECT r;
    GetWindowRect(pane_, &r);
    MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  void ExpectAt(LONG x) const {
    RECT r = Place();
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, app.reportY);
    EXPECT_EQ(r.right - r.left, app.reportWidth);
    EXPECT_EQ(r.bottom - r.top, app.reportHeight);
  }
  // A screen point on the pane's visible part, between the legend and the dialog's right edge.
  POINT OnPane() const {
    POINT p = {app.reportX + 150, app.reportY + 80};
    ClientToScreen(dlg_, &p);
    return p;
  }

  HWND pane_ = nullptr;
  HWND legend_ = nullptr;
};

TEST_F(ReportPane, IsSubclassedAndStartsAtHomeBehindTheLegend) {
  EXPECT_EQ(GetWindowLongPtrA(pane_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(ReportPaneProc));
  RECT home = {158, 2, 0, 0};
  MapDialogRect(dlg_, &home);
  EXPECT_EQ(app.reportX, home.left);
  EXPECT_EQ(app.reportY, home.top);
  ExpectAt(app.reportX);
  EXPECT_EQ(GetWindow(legend_, GW_HWNDNEXT), pane_);
}

TEST_F(ReportPane, MovesRightOrDownAndResizesAreHeldAtHome) {
  SetWindowPos(pane_, nullptr, app.reportX + 60, app.reportY + 30, 200, 50, SWP_NOZORDER);
  ExpectAt(app.reportX);
  MoveWindow(pane_, app.reportX, app.reportY - 2, 300, 300, TRUE);
  ExpectAt(app.reportX);
  SetWindowPos(pane_, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
  ExpectAt(app.reportX);
}

TEST_F(ReportPane, MovesLeftAreAllowedButNeverVertically) {
  SetWindowPos(pane_, nullptr, app.reportX - 300, app.reportY + 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ExpectAt(app.reportX - 300);
  SetWindowPos(pane_, nullptr, -2000, 0, 5, 5, SWP_NOZORDER);
  ExpectAt(-2000);
  // From there a move right stops at home again.
  SetWindowPos(pane_, nullptr, app.reportX + 1, app.reportY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ExpectAt(app.reportX);
}

TEST_F(ReportPane, DoubleClickBringsItHome) {
  SetWindowPos(pane_, nullptr, app.reportX - 500, app.reportY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ExpectAt(app.reportX - 500);
  EXPECT_EQ(SendMessageA(pane_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10)), 0);
  ExpectAt(app.reportX);
  EXPECT_EQ(GetWindow(legend_, GW_HWNDNEXT), pane_);
}

TEST_F(ReportPane, AnyZOrderChangeLeavesItDirectlyBehindTheLegend) {
  for (HWND after : {HWND_TOP, HWND_BOTTOM, Item(IDC_LOCK), Item(IDC_SETPARENT)}) {
    SetWindowPos(pane_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(legend_, GW_HWNDNEXT), pane_);
  }
  // The legend moving does not take the pane along; the pane's next change puts it back.
  SetWindowPos(legend_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(pane_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(legend_, GW_HWNDNEXT), pane_);
}

TEST_F(ReportPane, OtherMessagesReachTheStaticControl) {
  SendMessageA(pane_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("line one\r\nline two"));
  EXPECT_EQ(WindowText(pane_), "line one\r\nline two");
  EXPECT_EQ(SendMessageA(pane_, WM_GETTEXTLENGTH, 0, 0), 18);
}

TEST_F(ReportPane, ARealMouseDragSlidesItLeftInItsRowAndADoubleClickBringsItBack) {
  POINT start = OnPane();
  ASSERT_EQ(WindowFromPoint(start), pane_);
  ASSERT_TRUE(MouseTo(start.x, start.y));
  // The system's move loop follows the mouse until the button goes up; up and down are clamped.
  ASSERT_TRUE(Xdotool("mousedown 1 mousemove_relative --sync -- -60 25 mousemove_relative --sync -- -60 25 mouseup 1"));
  EXPECT_TRUE(PumpUntil([&] { return Place().left == app.reportX - 120; }));
  ExpectAt(app.reportX - 120);

  // Dragging right goes no further than home.
  POINT now = OnPane();
  ASSERT_TRUE(MouseTo(now.x, now.y));
  ASSERT_TRUE(Xdotool("mousedown 1 mousemove_relative --sync -- 200 -30 mouseup 1"));
  EXPECT_TRUE(PumpUntil([&] { return Place().left == app.reportX; }));
  ExpectAt(app.reportX);

  SetWindowPos(pane_, nullptr, app.reportX - 250, app.reportY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(MouseTo(now.x, now.y));
  ASSERT_TRUE(Xdotool("click --repeat 2 --delay 80 1"));
  EXPECT_TRUE(PumpUntil([&] { return Place().left == app.reportX; }));
  ExpectAt(app.reportX);
}

}  // namespace
