// Windows that vanish under the tool: a locked W, a whole process, the windows and relations that
// history entries name. Ticks, refreshes and history steps go on; the counter moves past them.
#include <memory>

#include "editor/editor.h"
#include "robustness/robust_helpers.h"
#include "support/relations.h"

namespace robust {
namespace {

HWND Top(const char* text, int x, int y, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
         HWND owner = nullptr) {
  return MakeTopWindow(text, style, 0, owner, x, y, 260, 180);
}

TEST_F(RobustTest, ALockedWThatIsDestroyedAndAProcessThatEndsLeaveOnlyGoneRows) {
  HWND top = Keep(Top("vanish top", 60, 600));
  HWND w = MakeChildWindow(top, "vanish W", 7);
  HWND grandchild = MakeChildWindow(w, "vanish W child", 8);
  HWND p = Keep(Top("vanish P", 400, 600));
  Lock(w, p);
  Click(IDC_FILTER_DESC);
  ShowMonitoredList();
  Tick();
  ASSERT_EQ(Rows()[1], ReportRow(w, " _C_VE-", "TestChild", "vanish W"));
  ASSERT_GE(RowIndexOf(grandchild), 0);
  DestroyWindow(w);
  Tick();
  std::vector<std::string> rows = Rows();
  ASSERT_EQ(ReportFault(app.report), "");
  // W keeps its handle and its relations are gone with it; P stays.
  EXPECT_EQ(app.hTargetW, w);
  for (int k : {1, 3, 4, 5, 6, 7, 8}) EXPECT_EQ(rows[k], "  0") << "row " << k;
  EXPECT_EQ(rows[2], ReportRow(p, " _O_VE-", "TestTop", "vanish P"));
  EXPECT_EQ(RowIndexOf(grandchild), -1);  // the monitored list of W's descendants lost it
  ExpectWellFormedList();

  // A process that ends takes all its windows at once out of the report and the monitored list.
  auto host = std::make_unique<HelperProcess>();
  ASSERT_TRUE(host->ok());
  HWND child = host->child, hostTop = host->top;
  Lock(child, hostTop);
  Click(IDC_FILTER_ALL);
  Tick();
  ASSERT_GE(RowIndexOf(child), 0);
  host.reset();
  ASSERT_TRUE(PumpUntil([&] {
    Tick();
    return RowIndexOf(child) < 0 && RowIndexOf(hostTop) < 0;
  }));
  EXPECT_EQ(std::string(app.report), AllGone());
  EXPECT_EQ(app.hTargetP, nullptr);
  ExpectWellFormedList();
}

TEST_F(RobustTest, HistoryStepsAndCloseMovePastEntriesWhoseWindowsOrRelationsVanished) {
  HWND a = Keep(Top("vanish A", 40, 560));
  HWND b = Keep(Top("vanish B", 320, 560));
  HWND home = Keep(Top("vanish C", 600, 560));
  HWND p1 = Keep(Top("vanish P1", 40, 780));
  HWND p2 = Keep(Top("vanish P2", 320, 780));
  HWND w1 = MakeChildWindow(a, "vanish W1", 1);
  HWND w2 = MakeChildWindow(b, "vanish W2", 2);
  HWND w3 = Keep(Top("vanish W3", 880, 560, WS_POPUP | WS_CAPTION | WS_VISIBLE, b));
  HWND w4 = MakeChildWindow(home, "vanish W4", 4);
  ASSERT_EQ(GetWindow(w3, GW_OWNER), b);
  auto change = [&](HWND w, HWND p, DWORD kind) {
    Lock(w, p);
    // The owner button starts disabled.
    kind ? ChangeRelation(HistoryEntry::Kind::SetOwner) : Click(IDC_SETPARENT);
  };
  auto counter = [&] { return WindowText(Item(IDC_COUNTER)); };
  change(w1, p1, 0);
  change(w2, p1, 0);
  change(w3, p2, 1);
  change(w4, p2, 0);
  ASSERT_EQ(counter(), "4");

  // W1's former parent, W2 itself and W3's former owner vanish; W4's entry stays whole.
  DestroyWindow(a);
  DestroyWindow(w2);
  DestroyWindow(b);
  app.hTargetW = p2;
  // Undo W4 (it goes home), then W3's owner change to its vanished owner: this Wine answers that
  // call with the current owner and leaves it, so the step counts as done and W3 keeps P2.
  Click(IDC_UNDO);
  EXPECT_EQ(counter(), "3");
  ExpectRelations(w4, ChildOfTop(home));
  EXPECT_EQ(app.hTargetW, w4);
  Click(IDC_UNDO);
  EXPECT_EQ(counter(), "2");
  ExpectRelations(w3, PopupOwnedBy(w3, p2));
  EXPECT_EQ(app.hTargetW, w3);
  for (int i = 0; i < 2; ++i) Click(IDC_REDO);
  EXPECT_EQ(counter(), "4");
  ExpectRelations(w4, ChildOfTop(p2));

  // Restore all tries every entry newest first and passes over the vanished ones.
  Click(IDC_COUNTER);
  EXPECT_EQ(counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.historyTop, 0u);
  ExpectRelations(w4, ChildOfTop(home));
  ExpectRelations(w1, ChildOfTop(p1));  // its former parent is gone: it stays
  ExpectRelations(w3, PopupOwnedBy(w3, p2));

  // Closing undoes every entry unless F8 and F9 are held: both windows have gone, both are passed.
  change(w4, p1, 0);
  change(w3, p1, 1);
  ASSERT_EQ(counter(), "2");
  DestroyWindow(w4);
  DestroyWindow(w3);
  SendMessageA(dlg_, WM_CLOSE, 0, 0);
  EXPECT_EQ(counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
}

}  // namespace
}  // namespace robust
