// The free list window with real input: it stays above its owner, the main dialog, whatever brings
// the owner to the top; and it grows with each filter command only as far as its work area reaches.
#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"
#include "tree/tree.h"

namespace {

RECT RectOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return r;
}
LONG Row() { return static_cast<LONG>(SendMessageA(app.hTreeList, LB_GETITEMHEIGHT, 0, 0)); }
bool ClickAt(POINT p, int button) { return MouseTo(p.x, p.y) && Xdotool("click " + std::to_string(button)); }
POINT Centre(HWND w) {
  RECT r = RectOf(w);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
// Whether the list comes before the main dialog in the window order, the order clicks go by.
bool ListAboveDialog() {
  for (HWND w = GetWindow(app.hMainDlg, GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == app.hTreeList) return true;
    if (w == app.hMainDlg) return false;
  }
  return false;
}

class ListWindowTest : public MainDialogTest {  // every refresh is one the test asks for
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
  }
};

// A click on the dialog activates it. Without a window manager this Wine raises the window that takes
// the focus over all others, its owned windows included, and the list's caption, which lies over
// the dialog, could no longer be reached: a right click there would land on the dialog.
TEST_F(ListWindowTest, AFreeListStaysAboveTheDialogThatARealClickActivates) {
  HelperProcess other;
  ASSERT_TRUE(other.ok());
  SetWindowPos(other.top, nullptr, 40, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Click(IDC_MONITOR);
  ASSERT_TRUE(IsWindowVisible(app.hTreeList));
  RECT list = RectOf(app.hTreeList);
  RECT dialog = RectOf(dlg_);
  POINT bar = {list.left + 30, list.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  ASSERT_TRUE(PtInRect(&dialog, bar)) << "the caption must lie over the dialog";
  const POINT lock = Centre(GetDlgItem(dlg_, IDC_LOCK));

  // Before the click the list has the activation (M/ showed it), then another program has it.
  for (bool fromOther : {false, true}) {
    SCOPED_TRACE(fromOther ? "from another program" : "from the list");
    if (fromOther) {
      ASSERT_TRUE(ClickAt(Centre(other.top), 1));
      ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other.top; }, 10000));
    } else {
      ASSERT_EQ(GetActiveWindow(), app.hTreeList);
    }
    const BOOL locked = app.lockW;
    ASSERT_TRUE(ClickAt(lock, 1));
    ASSERT_TRUE(PumpUntil([&] { return app.lockW != locked && GetActiveWindow() == dlg_; }, 10000));
    EXPECT_TRUE(PumpUntil(ListAboveDialog, 10000));
    // The caption still takes a real right click: the monitor switches.
    const LONG monitor = app.monitorHeight;
    bar.x += 4 * GetSystemMetrics(SM_CXDOUBLECLK);  // not a double click with the one before
    ASSERT_TRUE(ClickAt(bar, 3));
    EXPECT_TRUE(PumpUntil([&] { return (app.monitorHeight != 0) != (monitor != 0); }, 10000));
    EXPECT_TRUE(ListAboveDialog());
  }
}

// Each filter command, and each M/, makes the list two rows taller; its bottom stops at the bottom of
// its monitor's work area, and a list that already reaches below keeps its height.
TEST_F(ListWindowTest, FilterCommandsGrowTheListOnlyAsFarAsTheWorkAreaReaches) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(app.hTreeList, MONITOR_DEFAULTTONEAREST), &monitor));
  const LONG floor = monitor.rcWork.bottom;
  Click(IDC_MONITOR);
  RECT r = RectOf(app.hTreeList);
  SetWindowPos(app.hTreeList, nullptr, r.left, floor - (r.bottom - r.top) - 5 * Row(), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  LONG bottom = RectOf(app.hTreeList).bottom;
  Click(IDC_FILTER_ALL);  // two rows fit: the whole growth (the list trims itself to whole rows)
  EXPECT_GT(RectOf(app.hTreeList).bottom, bottom + Row());
  for (int i = 0; i < 5; ++i) {
    Click(i % 2 ? IDC_FILTER_TOPL : IDC_FILTER_ALL);
    EXPECT_LE(RectOf(app.hTreeList).bottom, floor) << "click " << i;
  }
  EXPECT_GT(RectOf(app.hTreeList).bottom, floor - Row());  // it went as far as it could
  // Hidden by M/ (growing as it goes), then ten more filter commands while it is closed.
  Click(IDC_MONITOR);
  ASSERT_FALSE(IsWindowVisible(app.hTreeList));
  for (int i = 0; i < 10; ++i) Click(IDC_FILTER_ALL);
  EXPECT_LE(RectOf(app.hTreeList).bottom, floor);
  // Shown again lower down, its bottom past the work area: it keeps its height.
  Click(IDC_MONITOR);
  r = RectOf(app.hTreeList);
  SetWindowPos(app.hTreeList, nullptr, r.left, floor - (r.bottom - r.top) + 20, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  r = RectOf(app.hTreeList);
  Click(IDC_FILTER_TOPL);
  EXPECT_EQ(RectOf(app.hTreeList).bottom - RectOf(app.hTreeList).top, r.bottom - r.top);
}

}  // namespace
