// Windows of other processes that stop answering or come and go without pause: every tick and
// refresh completes, every row keeps its shape, and what has gone is shown as gone.
#include "robustness/robust_helpers.h"

namespace robust {
namespace {

// Slack for all that a tick or refresh does besides waiting: liveness bounds, not timing goals.
constexpr DWORD kSlackMs = 3000;
DWORD ElapsedMs(const std::function<void()>& fn) {
  DWORD start = GetTickCount();
  fn();
  return GetTickCount() - start;
}

TEST_F(RobustTest, HungWindowsWaitAtMostTheirBoundAndNotAtAllOnceKnownHung) {
  HelperProcess host("hang");
  ASSERT_TRUE(host.ok());
  // Locked on the hung child, P its hung parent: six rows name a hung window, 100 ms each at most.
  Lock(host.child, host.top);
  EXPECT_LT(ElapsedMs([&] { Tick(); }), 10 * 100 + kSlackMs);
  std::vector<std::string> rows = Rows();
  ASSERT_EQ(ReportFault(app.report), "");
  EXPECT_EQ(rows[1], ReportRow(host.child, " _C_VE-", "WinHostChild", ""));
  EXPECT_EQ(rows[3], "  0");  // a child has no owner
  for (int k : {2, 4, 5, 6, 7, 8}) EXPECT_EQ(rows[k], ReportRow(host.top, " _O_VE-", "WinHostTop", "")) << k;

  // The tree: four hung windows (top, child, owned, message-only), 200 ms each at most.
  app.hTargetW = host.top;
  RECT r;  // the cursor over the child, for the Point filter
  GetWindowRect(host.child, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  for (WORD filter : {IDC_FILTER_ALL, IDC_FILTER_PID, IDC_FILTER_TID, IDC_FILTER_DESC, IDC_FILTER_POINT}) {
    EXPECT_LT(ElapsedMs([&] { Click(filter); }), 4 * 200 + kSlackMs) << "filter " << filter;
    ExpectWellFormedList();
    EXPECT_EQ(RowLineOf(host.child), TreeLine(host.child, ' ', " +", "WinHostChild", "")) << filter;
  }
  Click(IDC_FILTER_ALL);
  RefreshTree();  // takes in the count label and caption that the filter command wrote last
  EXPECT_EQ(RowLineOf(host.top), TreeLine(host.top, TopMarkOf(host.top), ".", "WinHostTop", ""));
  EXPECT_EQ(RowLineOf(host.msg), TreeLine(host.msg, ' ', TopLevelPrefix(host.msg), "WinHostMsg", ""));
  Writes writes;  // the same empty texts compare equal: the list is current
  EXPECT_LT(ElapsedMs([] { RefreshTree(); }), 4 * 200 + kSlackMs);
  EXPECT_EQ(Writes::log, "");

  // Once the system takes a thread for hung, its rows do not wait: 64 waits of 200 ms are 12.8 s.
  HelperProcess many("hang many=60");
  ASSERT_TRUE(many.ok());
  ASSERT_TRUE(PumpUntil([&] { return IsHungAppWindow(many.top) != FALSE; }, 30000)) << "never taken for hung";
  EXPECT_LT(ElapsedMs([&] { Click(IDC_FILTER_ALL); }), 6000);
  ExpectWellFormedList();
  EXPECT_EQ(RowLineOf(many.child), TreeLine(many.child, ' ', " +", "WinHostChild", ""));
}

TEST_F(RobustTest, ChurningWindowsKeepEveryRowWellFormedAndAGoneWOrPShowsAsGone) {
  HelperProcess host("churn");
  ASSERT_TRUE(host.ok());
  // The always-on-top dialog goes below the churning windows (x 300 to 420, y 420 to 500).
  SetWindowPos(dlg_, nullptr, 0, 520, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  auto churnTop = [] { return FindWindowA("WinHostChurn", nullptr); };
  auto churnChild = [&] { return FindWindowExA(host.top, nullptr, "WinHostChurn", nullptr); };
  ASSERT_TRUE(PumpUntil([&] { return churnTop() != nullptr; }));
  SetCursorPos(330, 440);
  const WORD filters[] = {IDC_FILTER_ALL, IDC_FILTER_TOPL, IDC_FILTER_PID,
                          IDC_FILTER_TID, IDC_FILTER_DESC, IDC_FILTER_POINT};
  int churnRows = 0;
  for (int i = 0; i < 36; ++i) {
    // W and P come and go (a churning window) or keep children that do (the helper's top).
    HWND churn = churnTop();
    app.hTargetW = i % 12 < 6 ? host.top : churn;
    app.hTargetP = i % 2 ? host.top : churn;
    Click(filters[i % 6]);
    RefreshTree();
    for (const ListRow& row : ListRows()) {
      ASSERT_EQ(TreeRowFault(row), "") << "pass " << i;
      churnRows += row.line.find(host.tag + " churn ") != std::string::npos;
    }
    // Ticks locked on a churning window, and unlocked over the churning windows.
    app.lockW = i % 3 != 0;
    CheckDlgButton(dlg_, IDC_LOCK, app.lockW ? BST_CHECKED : BST_UNCHECKED);
    app.hTargetW = i % 2 ? churnChild() : churn;
    for (int k = 0; k < 3; ++k) {
      Tick();
      ASSERT_EQ(ReportFault(app.report), "") << "pass " << i;
      ASSERT_STREQ(app.report, app.prevReport);
    }
    Pump();
  }
  EXPECT_GT(churnRows, 0) << "the list never met a churning window";

  // A locked W and a P that go: W keeps its handle, P is forgotten, every row shows "  0".
  HWND w = nullptr, p = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    w = churnChild();
    p = FindWindowExA(HWND_MESSAGE, nullptr, "WinHostChurn", nullptr);
    return w && p;
  }));
  Lock(w, p);
  ASSERT_TRUE(PumpUntil([&] {
    Tick();
    return app.hTargetP == nullptr && Rows()[1] == "  0";
  }, 10000));
  EXPECT_EQ(app.hTargetW, w);
  EXPECT_EQ(std::string(app.report), AllGone());
}

}  // namespace
}  // namespace robust
