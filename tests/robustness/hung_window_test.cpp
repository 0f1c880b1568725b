// A window whose thread stops answering: every tick and refresh still completes, a row of such a
// window waits at most its bound (100 ms in the report, 200 ms in the tree) and shows an empty
// text, and once the system knows the thread is hung its rows do not wait at all.
#include <windows.h>

#include <string>
#include <vector>

#include "robustness/robust_helpers.h"

namespace robust {
namespace {

// Slack for everything a tick or refresh does besides waiting on the hung windows, under a
// loaded machine: generous, these are liveness bounds, not timing goals.
constexpr double kSlackMs = 3000;

class HungWindow : public RobustTest {
 protected:
  // Keeps the dialog (always on top) away from the helper's windows, which stand at x 200 to 850
  // and y 150 to 450.
  void MoveDialogAside() {
    SetWindowPos(dlg_, nullptr, 0, 480, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
  }
  // Every list row has a shape the tree can produce.
  void ExpectWellFormedList() {
    for (const ListRow& row : ListRows()) EXPECT_EQ(TreeRowFault(row), "");
  }
};

TEST_F(HungWindow, ItsRowsWaitAtMostTheirBoundAndShowAnEmptyText) {
  HelperProcess host("hang");
  ASSERT_TRUE(host.ok());
  ASSERT_NE(host.child, nullptr);
  std::string topRow = ReportRow(host.top, " _O_VE-", "WinHostTop", "");
  std::string childRow = ReportRow(host.child, " _C_VE-", "WinHostChild", "");

  // Locked on the hung child, P its hung parent: six rows name a hung window.
  Lock(host.child, host.top);
  EXPECT_LT(ElapsedMs([&] { Tick(); }), 10 * 100 + kSlackMs);
  std::vector<std::string> rows = Rows();
  ASSERT_EQ(ReportFault(app.report), "");
  EXPECT_EQ(rows[1], childRow);
  EXPECT_EQ(rows[2], topRow);
  EXPECT_EQ(rows[3], "  0");  // a child has no owner
  for (int k : {4, 5, 6, 7, 8}) EXPECT_EQ(rows[k], topRow) << "row " << k;
  EXPECT_EQ(app.hTargetP, host.top);
  EXPECT_EQ(WindowText(app.hReportPane), app.report);

  // Unlocked, with the cursor over the hung child: the search for the window under the cursor
  // asks the system only, never the window.
  MoveDialogAside();
  RECT r;
  GetWindowRect(host.child, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  CheckDlgButton(dlg_, IDC_LOCK, BST_UNCHECKED);
  Click(IDC_LOCK);
  ASSERT_FALSE(app.lockW);
  for (UINT real : {BST_UNCHECKED, BST_CHECKED}) {
    CheckDlgButton(dlg_, IDC_REAL, real);
    EXPECT_LT(ElapsedMs([&] { Tick(); }), 10 * 100 + kSlackMs) << "real " << real;
    ASSERT_EQ(ReportFault(app.report), "");
    EXPECT_EQ(Rows()[1], childRow) << "real " << real;
  }

  // The tree: four hung windows (top, child, owned, message-only) under each filter that lists
  // them, every one of them bounded.
  app.hTargetW = host.top;
  struct Case {
    WORD filter;
    const char* name;
  };
  for (const Case& c : {Case{IDC_FILTER_ALL, "All"}, Case{IDC_FILTER_PID, "Pid"}, Case{IDC_FILTER_TID, "Tid"},
                        Case{IDC_FILTER_DESC, "Desc"}, Case{IDC_FILTER_POINT, "Point"}}) {
    EXPECT_LT(ElapsedMs([&] { Click(c.filter); }), 4 * 200 + kSlackMs) << c.name;
    ExpectWellFormedList();
    EXPECT_EQ(RowLineOf(host.child), TreeLine(host.child, ' ', " +", "WinHostChild", "")) << c.name;
  }
  Click(IDC_FILTER_ALL);
  RefreshTree();  // takes in the count label and the caption that the filter command wrote last
  EXPECT_EQ(RowLineOf(host.top), TreeLine(host.top, TopMarkOf(host.top), ".", "WinHostTop", ""));
  EXPECT_EQ(RowLineOf(host.msg),
            TreeLine(host.msg, ' ', std::string(1, TopLevelThreadMark(host.msg)), "WinHostMsg", ""));
  // The next refresh compares the same empty texts and finds the list current.
  Writes writes;
  EXPECT_LT(ElapsedMs([] { RefreshTree(); }), 4 * 200 + kSlackMs);
  EXPECT_EQ(writes.resets(), 0);
}

TEST_F(HungWindow, OnceTheSystemKnowsTheThreadIsHungItsRowsDoNotWait) {
  // Sixty-four hung windows: waiting 200 ms on each would take 12.8 s.
  HelperProcess host("hang many=60");
  ASSERT_TRUE(host.ok());
  ASSERT_TRUE(PumpUntil([&] { return IsHungAppWindow(host.top) != FALSE; }, 30000))
      << "the system never took the helper's thread for hung";
  Click(IDC_FILTER_ALL);  // shows the filter's caption and counts, which the next refresh takes in
  EXPECT_LT(ElapsedMs([] { RefreshTree(); }), 6000);
  ExpectWellFormedList();
  EXPECT_EQ(RowLineOf(host.child), TreeLine(host.child, ' ', " +", "WinHostChild", ""));

  Lock(host.child, host.top);
  EXPECT_LT(ElapsedMs([&] { Tick(); }), 6000);
  ASSERT_EQ(ReportFault(app.report), "");
  EXPECT_EQ(Rows()[1], ReportRow(host.child, " _C_VE-", "WinHostChild", ""));
}

}  // namespace
}  // namespace robust
