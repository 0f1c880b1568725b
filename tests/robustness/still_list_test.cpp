// A still scene must leave the tree list alone: the combo box and its edit field show the
// selected row, which each rebuild sets, so their own rows must not make the next refresh
// differ.
#include <windows.h>

#include <string>

#include "robustness/robust_helpers.h"

namespace robust {
namespace {

class StillList : public RobustTest {
 protected:
  // A message-only window: its row stands after every row of the desktop part, the combo box's
  // rows among them.
  HWND MessageOnlyP() {
    RegisterNamedClass("RobustMsg");
    return Keep(CreateWindowExA(0, "RobustMsg", "still list P", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr));
  }
  // A message-only window carries '=' only when no top-level window of the desktop may.
  static char PTopMark() { return HighestNonTopmost() ? ' ' : '='; }
  HWND Edit() const { return FindWindowExA(app.hTreeCombo, nullptr, "Edit", nullptr); }
};

TEST_F(StillList, UnderAllASecondRefreshRebuildsNothingWhenPFollowsTheComboBoxRows) {
  HWND p = MessageOnlyP();
  app.hTargetP = p;
  Click(IDC_FILTER_ALL);
  RefreshTree();  // the first list still showed the caption and counts of the former filter
  ASSERT_NE(Edit(), nullptr);
  int comboRow = RowIndexOf(app.hTreeCombo);
  int editRow = RowIndexOf(Edit());
  int pRow = RowIndexOf(p);
  ASSERT_GE(comboRow, 0);
  ASSERT_GE(editRow, 0);
  ASSERT_GT(pRow, editRow);

  // The rebuild selected P's row, which the edit field now shows: read as rows, the combo box
  // and the edit field would differ from what the rebuild wrote for them.
  SendMessageA(app.hTreeList, LB_RESETCONTENT, 0, 0);
  RefreshTree();
  std::string pLine = TreeLine(p, PTopMark(), std::string(1, TopLevelThreadMark(p)), "RobustMsg", "still list P");
  EXPECT_EQ(RowLineOf(p), pLine);
  EXPECT_EQ(WindowText(Edit()), pLine);
  EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), pRow);
  // The dialog is a top-level window of this thread, the combo box its child, the edit field
  // the combo box's child: depths 2 and 3, all on one thread.
  EXPECT_EQ(RowLineOf(app.hTreeCombo), TreeLine(app.hTreeCombo, ' ', " +", "ComboBox", ""));
  EXPECT_EQ(RowLineOf(Edit()), TreeLine(Edit(), ' ', " ++", "Edit", ""));
  std::string label = WindowText(Item(IDC_TREECOUNT));

  Writes writes;
  RefreshTree();
  RefreshTree();
  EXPECT_EQ(writes.resets(), 0);
  EXPECT_EQ(writes.additions(), 0);
  EXPECT_EQ(writes.labelTexts(), 0);
  EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), pRow);
  EXPECT_EQ(WindowText(Edit()), pLine);
  EXPECT_EQ(WindowText(Item(IDC_TREECOUNT)), label);
}

TEST_F(StillList, TheMonitoredListAndThePaneStayUntouchedWhileNothingChanges) {
  HWND p = MessageOnlyP();
  HWND w = Keep(MakeTopWindow("still list W", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 60, 600, 200, 120));
  Lock(w, p);
  Click(IDC_FILTER_ALL);
  Click(IDC_MONITOR);
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(app.hTreeList) != FALSE; }));
  RECT r;
  GetWindowRect(app.hTreeList, &r);
  app.monitorHeight = r.bottom - r.top;  // what a right click on the free list's caption sets
  // The first ticks take in what the filter command and the free form changed: the count label
  // and the list's caption are rows of the list too.
  for (int i = 0; i < 3; ++i) {
    Tick();
    Pump();
  }
  std::string before = WindowText(app.hReportPane);
  Writes writes;
  for (int i = 0; i < 10; ++i) {
    Tick();
    Pump();
  }
  EXPECT_NE(app.monitorHeight, 0);
  EXPECT_EQ(writes.resets(), 0);
  EXPECT_EQ(writes.additions(), 0);
  EXPECT_EQ(writes.paneTexts(), 0);
  EXPECT_EQ(writes.labelTexts(), 0);
  EXPECT_EQ(WindowText(app.hReportPane), before);
  EXPECT_EQ(RowLineOf(p), TreeLine(p, PTopMark(), std::string(1, TopLevelThreadMark(p)), "RobustMsg",
                                    "still list P"));
}

}  // namespace
}  // namespace robust
