// Windows of another process created and destroyed without pause while ticks and refreshes run:
// nothing fails, every list row and every report row keeps its shape, and a W or P that goes
// away is shown as gone.
#include <windows.h>

#include <string>
#include <vector>

#include "robustness/robust_helpers.h"

namespace robust {
namespace {

// The helper's churning top-level windows stand at x 300 to 420, y 420 to 500.
constexpr POINT kOverChurn = {330, 440};

class Churn : public RobustTest {
 protected:
  void SetUp() override {
    RobustTest::SetUp();
    // The dialog is always on top: keep it below the churning windows and the helper's top.
    SetWindowPos(dlg_, nullptr, 0, 520, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
  }
  // One of the helper's churning windows that exists now: top-level, child of its top window,
  // or message-only.
  static HWND ChurnTop() { return FindWindowA("WinHostChurn", nullptr); }
  static HWND ChurnChild(const HelperProcess& host) {
    return FindWindowExA(host.top, nullptr, "WinHostChurn", nullptr);
  }
  static HWND ChurnMessageOnly() { return FindWindowExA(HWND_MESSAGE, nullptr, "WinHostChurn", nullptr); }
};

TEST_F(Churn, TicksAndRefreshesUnderEveryFilterKeepEveryRowWellFormed) {
  HelperProcess host("churn");
  ASSERT_TRUE(host.ok());
  ASSERT_TRUE(PumpUntil([] { return ChurnTop() != nullptr; }));
  SetCursorPos(kOverChurn.x, kOverChurn.y);

  struct Step {
    WORD filter;
    const char* name;
  };
  const Step steps[] = {{IDC_FILTER_ALL, "All"},   {IDC_FILTER_TOPL, "Top-L"}, {IDC_FILTER_PID, "Pid"},
                        {IDC_FILTER_TID, "Tid"},   {IDC_FILTER_DESC, "Desc"},  {IDC_FILTER_POINT, "Point"}};
  int churnRows = 0;
  int ticks = 0;
  DWORD start = GetTickCount();
  for (int i = 0; i < 36 && GetTickCount() - start < 20000; ++i) {
    const Step& step = steps[i % 6];
    // W and P are windows that come and go: the churn thread's (for Tid) or the helper's top,
    // whose children come and go (for Desc and Pid).
    HWND churn = ChurnTop();
    app.hTargetW = i % 12 < 6 ? host.top : churn;
    app.hTargetP = i % 2 ? host.top : churn;
    Click(step.filter);
    RefreshTree();
    for (const ListRow& row : ListRows()) {
      std::string fault = TreeRowFault(row);
      ASSERT_EQ(fault, "") << step.name << " pass " << i;
      if (row.line.find(host.tag + " churn ") != std::string::npos) ++churnRows;
    }

    // Ticks locked on a churning window and unlocked over the churning windows.
    app.lockW = i % 3 != 0;
    CheckDlgButton(dlg_, IDC_LOCK, app.lockW ? BST_CHECKED : BST_UNCHECKED);
    app.hTargetW = i % 2 ? ChurnChild(host) : churn;
    for (int k = 0; k < 3; ++k, ++ticks) {
      Tick();
      ASSERT_EQ(ReportFault(app.report), "") << step.name << " pass " << i;
      ASSERT_EQ(lstrcmpA(app.report, app.prevReport), 0);
    }
    Pump();
  }
  EXPECT_GT(churnRows, 0) << "the list never met a churning window";
  EXPECT_GE(ticks, 18);
  EXPECT_EQ(WindowText(app.hReportPane), app.prevReport);
}

TEST_F(Churn, AWOrPThatGoesAwayIsShownAsGone) {
  HelperProcess host("churn");
  ASSERT_TRUE(host.ok());
  HWND w = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (w = ChurnChild(host)) != nullptr; }));
  HWND p = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (p = ChurnMessageOnly()) != nullptr; }));
  Lock(w, p);
  // The first tick may still find both; within a few ticks both are gone.
  ASSERT_TRUE(PumpUntil([&] {
    Tick();
    return app.hTargetP == nullptr && Rows()[1] == "  0";
  }, 10000));
  std::vector<std::string> rows = Rows();
  ASSERT_EQ(ReportFault(app.report), "");
  // A W that has gone keeps its handle; its relations and P's popups are gone with it.
  EXPECT_EQ(app.hTargetW, w);
  for (int k = 1; k <= 10; ++k) EXPECT_EQ(rows[k], "  0") << "row " << k;
  EXPECT_FALSE(IsWindow(w));
  EXPECT_FALSE(IsWindow(p));
}

}  // namespace
}  // namespace robust
