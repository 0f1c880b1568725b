// Windows that vanish under the tool: a locked W, P, a monitored list's windows, a whole process,
// and the windows and relations that history entries name. Every tick, refresh and history step
// goes on, and the counter moves past entries it cannot apply.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "robustness/robust_helpers.h"

namespace robust {
namespace {

class Vanish : public RobustTest {
 protected:
  HWND Top(const char* text, int x, int y, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, HWND owner = nullptr) {
    return Keep(MakeTopWindow(text, style, 0, owner, x, y, 260, 180));
  }
  HWND Child(HWND parent, const char* text, int id) {
    return Keep(MakeChildWindow(parent, text, id, WS_CHILD | WS_VISIBLE, 10, 10, 80, 50));
  }
  // What a change needs: W, P, the lock and the F9 point.
  void Choose(HWND w, HWND p) {
    app.hTargetW = w;
    app.hTargetP = p;
    app.lockW = TRUE;
    app.ptF9 = {0, 0};
  }
  std::string Counter() const { return WindowText(Item(IDC_COUNTER)); }
  void ShowMonitoredList() {
    Click(IDC_MONITOR);
    ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(app.hTreeList) != FALSE; }));
    RECT r;
    GetWindowRect(app.hTreeList, &r);
    app.monitorHeight = r.bottom - r.top;  // what a right click on the free list's caption sets
  }
};

TEST_F(Vanish, ALockedWAndItsDescendantsListGoWhileTheMonitorRuns) {
  HWND top = Top("vanish top", 60, 600);
  HWND w = Child(top, "vanish W", 7);
  HWND grandchild = Child(w, "vanish W child", 8);
  HWND p = Top("vanish P", 400, 600);
  Lock(w, p);
  Click(IDC_FILTER_DESC);
  ShowMonitoredList();
  Tick();
  ASSERT_EQ(ReportFault(app.report), "");
  ASSERT_EQ(Rows()[1], ReportRow(w, " _C_VE-", "TestChild", "vanish W"));
  ASSERT_GE(RowIndexOf(grandchild), 0);

  DestroyWindow(w);
  Tick();
  Pump();
  std::vector<std::string> rows = Rows();
  ASSERT_EQ(ReportFault(app.report), "");
  // A W that has gone keeps its handle, and its relations are gone with it; P stays.
  EXPECT_EQ(app.hTargetW, w);
  for (int k : {1, 3, 4, 5, 6, 7, 8}) EXPECT_EQ(rows[k], "  0") << "row " << k;
  EXPECT_EQ(rows[2], ReportRow(p, " _O_VE-", "TestTop", "vanish P"));
  EXPECT_EQ(app.hTargetP, p);
  // The monitored list of W's descendants lost the child; what is left keeps its shape.
  EXPECT_EQ(RowIndexOf(grandchild), -1);
  for (const ListRow& row : ListRows()) EXPECT_EQ(TreeRowFault(row), "");

  DestroyWindow(p);
  Tick();
  EXPECT_EQ(app.hTargetP, nullptr);
  EXPECT_EQ(Rows()[2], "  0");
  EXPECT_EQ(ReportFault(app.report), "");
}

TEST_F(Vanish, AProcessThatEndsLeavesTheReportAndTheMonitoredListWithoutIt) {
  auto host = std::make_unique<HelperProcess>();
  ASSERT_TRUE(host->ok());
  HWND child = host->child, top = host->top, msg = host->msg;
  Lock(child, top);
  Click(IDC_FILTER_ALL);
  ShowMonitoredList();
  Tick();
  ASSERT_GE(RowIndexOf(child), 0);
  ASSERT_GE(RowIndexOf(msg), 0);

  // The rows of the desktop part are followed by the message part, so their going is a
  // difference. (A message-only window at the very end of the list may keep its row: the
  // compare pass does not look past the last row it produces.)
  host.reset();  // ends the process: all its windows go at once
  ASSERT_TRUE(PumpUntil([&] {
    Tick();
    return RowIndexOf(child) < 0 && RowIndexOf(top) < 0;
  }));
  std::vector<std::string> rows = Rows();
  ASSERT_EQ(ReportFault(app.report), "");
  for (int k = 1; k <= 10; ++k) EXPECT_EQ(rows[k], "  0") << "row " << k;
  EXPECT_EQ(app.hTargetP, nullptr);
  for (const ListRow& row : ListRows()) EXPECT_EQ(TreeRowFault(row), "");
}

TEST_F(Vanish, HistoryStepsPassOverEntriesWhoseWindowsOrRelationsVanished) {
  HWND a = Top("vanish A", 40, 560);
  HWND b = Top("vanish B", 320, 560);
  HWND cHome = Top("vanish C", 600, 560);
  HWND p1 = Top("vanish P1", 40, 780);
  HWND p2 = Top("vanish P2", 320, 780);
  HWND w1 = Child(a, "vanish W1", 1);
  HWND w2 = Child(b, "vanish W2", 2);
  HWND w3 = Top("vanish W3", 880, 560, WS_POPUP | WS_CAPTION | WS_VISIBLE, b);
  HWND w4 = Child(cHome, "vanish W4", 4);
  ASSERT_EQ(GetWindow(w3, GW_OWNER), b);

  // Four changes: W1 and W2 to P1, W3's owner to P2, W4 to P2.
  Choose(w1, p1);
  Click(IDC_SETPARENT);
  Choose(w2, p1);
  Click(IDC_SETPARENT);
  Choose(w3, p2);
  ChangeRelation(1);  // the owner change, whose button the template leaves disabled
  Choose(w4, p2);
  Click(IDC_SETPARENT);
  ASSERT_EQ(Counter(), "4");
  ASSERT_EQ(GetAncestor(w1, GA_PARENT), p1);
  ASSERT_EQ(GetWindow(w3, GW_OWNER), p2);

  // W1's former parent, W2 itself and W3's former owner vanish; W4's entry stays whole.
  DestroyWindow(a);
  DestroyWindow(w2);
  DestroyWindow(b);
  ASSERT_TRUE(IsWindow(w1) && IsWindow(w3) && IsWindow(w4));
  std::string entry0 = Hex8(app.history[0].hWindow) + Hex8(app.history[0].hRelation);
  app.hTargetW = p2;

  // Undo W4 (it goes home), then W3's owner change, whose former owner is gone: Wine answers
  // the owner call with the current owner and leaves it, so the step counts as done and W3 keeps
  // P2 and becomes W. Either way the counter moves.
  Click(IDC_UNDO);
  EXPECT_EQ(Counter(), "3");
  EXPECT_EQ(GetAncestor(w4, GA_PARENT), cHome);
  EXPECT_EQ(app.hTargetW, w4);
  Click(IDC_UNDO);
  EXPECT_EQ(Counter(), "2");
  EXPECT_EQ(GetWindow(w3, GW_OWNER), p2);
  EXPECT_EQ(app.hTargetW, w3);

  // Redo both: W3 keeps P2, W4 goes back to P2.
  Click(IDC_REDO);
  Click(IDC_REDO);
  EXPECT_EQ(Counter(), "4");
  EXPECT_EQ(GetAncestor(w4, GA_PARENT), p2);

  // Restore all: every entry is tried newest first, the vanished ones passed over.
  Click(IDC_COUNTER);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.historyTop, 0u);
  EXPECT_EQ(GetAncestor(w4, GA_PARENT), cHome);
  EXPECT_EQ(GetAncestor(w1, GA_PARENT), p1);  // its former parent is gone: it stays
  EXPECT_EQ(GetWindow(w3, GW_OWNER), p2);
  EXPECT_EQ(Hex8(app.history[0].hWindow) + Hex8(app.history[0].hRelation), entry0);
  // Nothing left to redo.
  Click(IDC_REDO);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
}

TEST_F(Vanish, ClosingAfterTheChangedWindowsOfAProcessEndedPassesOverEveryEntry) {
  auto host = std::make_unique<HelperProcess>();
  ASSERT_TRUE(host->ok());
  HWND p = Top("vanish P", 40, 560);
  Choose(host->child, p);
  Click(IDC_SETPARENT);
  Choose(host->owned, p);
  ChangeRelation(1);
  ASSERT_EQ(Counter(), "2");
  ASSERT_EQ(GetAncestor(host->child, GA_PARENT), p);

  host.reset();  // the process ends; the child it had under P goes with it
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(app.history[0].hWindow); }));
  // The close rule undoes every entry unless F8 and F9 are held: both fail and are passed.
  SendMessageA(dlg_, WM_CLOSE, 0, 0);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.historyTop, 0u);
  EXPECT_TRUE(IsWindow(p));
}

}  // namespace
}  // namespace robust
