// The filtered window tree: row lines of real windows, the compare pass that keeps a current
// list untouched, the count label and the six filters.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tree/tree_helpers.h"

namespace {

// A family of windows on two threads:
//   a1 (thread A, top-level) > a2 > a3          b1 (thread B, top-level) > b2
//                              a2 > b3 (thread B)     b1 > a4 (thread A)
// and m, a message-only window of thread A.
struct Family {
  GuiThread other;
  std::string tag = UniqueTag("fam");
  HWND a1 = nullptr, a2 = nullptr, a3 = nullptr, a4 = nullptr;
  HWND b1 = nullptr, b2 = nullptr, b3 = nullptr;
  HWND m = nullptr;

  std::string Text(const char* name) const { return tag + " " + name; }

  Family() {
    a1 = MakeTopWindow(Text("a1").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 40, 560, 300, 200);
    a2 = MakeChildWindow(a1, Text("a2").c_str(), 1, WS_CHILD | WS_VISIBLE, 10, 10, 200, 120);
    a3 = MakeChildWindow(a2, Text("a3").c_str(), 2, WS_CHILD | WS_VISIBLE, 5, 5, 50, 40);
    other.Run([this] {
      b1 = MakeTopWindow(Text("b1").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 400, 560, 300, 200);
      b2 = MakeChildWindow(b1, Text("b2").c_str(), 3);
      b3 = MakeChildWindow(a2, Text("b3").c_str(), 4, WS_CHILD | WS_VISIBLE, 100, 5, 50, 40);
    });
    a4 = MakeChildWindow(b1, Text("a4").c_str(), 5, WS_CHILD | WS_VISIBLE, 150, 10, 80, 40);
    m = CreateWindowExA(0, "TestTop", Text("m").c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
    Pump();
  }
  ~Family() {
    other.Run([this] { DestroyWindow(b3); });
    DestroyWindow(a4);
    other.Run([this] { DestroyWindow(b1); });
    DestroyWindow(a1);
    DestroyWindow(m);
    Pump();
  }
  bool ok() const { return a1 && a2 && a3 && a4 && b1 && b2 && b3 && m; }
};

bool HasRow(HWND w) { return RowIndexOf(w) >= 0; }

// The label counts the rows of the desktop part and of the message part; a row belongs to
// the message part when its window's ancestors lead to the message root.
std::string LabelFromRows() {
  HWND messageRoot = app.hMessageRoot;
  size_t desktopRows = 0, messageRows = 0;
  for (const ListRow& row : ListRows()) {
    HWND w = reinterpret_cast<HWND>(row.data);
    bool message = w == HWND_MESSAGE_VALUE;
    for (HWND up = w; up && !message && up != GetDesktopWindow(); up = GetAncestor(up, GA_PARENT))
      message = up == messageRoot;
    ++(message ? messageRows : desktopRows);
  }
  char text[64];
  snprintf(text, sizeof text, "%zu   o%zu", desktopRows, messageRows);
  return text;
}

bool MoveCursorTo(int x, int y) {
  SetCursorPos(x, y);
  return PumpUntil([&] {
    POINT p;
    GetCursorPos(&p);
    return p.x == x && p.y == y;
  });
}

// ---------------------------------------------------------------------------------------------
using TreeRows = TreeTest;

TEST_F(TreeRows, AFamilyOnTwoThreadsShowsDepthAndThreadMarks) {
  Family f;
  ASSERT_TRUE(f.ok());
  Click(IDC_FILTER_ALL);

  // Top-level windows: the desktop belongs to another process, so the mark is '.'; children
  // on their parent's thread show a space, children on another thread '?'.
  EXPECT_EQ(RowLineOf(f.a1), ExpectedRow(f.a1, ExpectedTopMark(f.a1), ".", "TestTop", f.Text("a1")));
  EXPECT_EQ(RowLineOf(f.a2), ExpectedRow(f.a2, ' ', " +", "TestChild", f.Text("a2")));
  EXPECT_EQ(RowLineOf(f.a3), ExpectedRow(f.a3, ' ', " ++", "TestChild", f.Text("a3")));
  EXPECT_EQ(RowLineOf(f.b3), ExpectedRow(f.b3, ' ', "?++", "TestChild", f.Text("b3")));
  EXPECT_EQ(RowLineOf(f.b1), ExpectedRow(f.b1, ExpectedTopMark(f.b1), ".", "TestTop", f.Text("b1")));
  EXPECT_EQ(RowLineOf(f.b2), ExpectedRow(f.b2, ' ', " +", "TestChild", f.Text("b2")));
  EXPECT_EQ(RowLineOf(f.a4), ExpectedRow(f.a4, ' ', "?+", "TestChild", f.Text("a4")));
  EXPECT_EQ(RowLineOf(f.m), ExpectedRow(f.m, ' ', ".", "TestTop", f.Text("m")));

  // Each window's descendants follow it directly.
  int a1 = RowIndexOf(f.a1), a2 = RowIndexOf(f.a2);
  EXPECT_EQ(a2, a1 + 1);
  EXPECT_GT(RowIndexOf(f.a3), a2);
  EXPECT_LE(RowIndexOf(f.a3), a2 + 2);
  EXPECT_GT(RowIndexOf(f.b3), a2);
  EXPECT_LE(RowIndexOf(f.b3), a2 + 2);
  int b1 = RowIndexOf(f.b1);
  EXPECT_GT(RowIndexOf(f.b2), b1);
  EXPECT_LE(RowIndexOf(f.b2), b1 + 2);
  EXPECT_GT(RowIndexOf(f.a4), b1);
  EXPECT_LE(RowIndexOf(f.a4), b1 + 2);
}

TEST_F(TreeRows, RootsAndPseudoRowsOpenTheirParts) {
  HWND m = CreateWindowExA(0, "TestTop", "root test m", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(m, nullptr);
  HWND root = GetAncestor(m, GA_PARENT);
  Click(IDC_FILTER_TOPL);
  std::vector<ListRow> rows = ListRows();
  ASSERT_GE(rows.size(), 4u);

  EXPECT_EQ(rows[0].line, "HWND_DESKTOP");
  EXPECT_EQ(rows[0].data, 0);
  EXPECT_EQ(rows[1].line, ExpectedRow(GetDesktopWindow(), ' ', "", ClassOf(GetDesktopWindow()),
                                      WindowText(GetDesktopWindow())));
  EXPECT_EQ(rows[1].data, reinterpret_cast<LRESULT>(GetDesktopWindow()));

  int message = -1;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].line == "HWND_MESSAGE") message = static_cast<int>(i);
  ASSERT_GT(message, 1);
  // The pseudo-value -3 is kept as a whole pointer-sized value.
  EXPECT_EQ(rows[message].data, static_cast<LRESULT>(-3));
  ASSERT_LT(message + 1, static_cast<int>(rows.size()));
  EXPECT_EQ(rows[message + 1].line, ExpectedRow(root, ' ', "", ClassOf(root), WindowText(root)));
  EXPECT_EQ(rows[message + 1].data, reinterpret_cast<LRESULT>(root));
  EXPECT_GT(RowIndexOf(m), message + 1);
  DestroyWindow(m);
}

TEST_F(TreeRows, OnlyTheHighestNonTopmostTopLevelWindowCarriesTheTopMark) {
  HWND topmost = MakeTopWindow("tree topmost", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, nullptr, 900, 600, 80, 60);
  HWND plain = MakeTopWindow("tree plain", WS_POPUP | WS_VISIBLE, 0, nullptr, 1000, 600, 80, 60);
  HWND msgOnly = CreateWindowExA(0, "TestTop", "tree msg", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  Pump();
  Click(IDC_FILTER_TOPL);
  HWND highest = HighestNonTopmost();

  EXPECT_EQ(RowLineOf(topmost), ExpectedRow(topmost, ' ', ".", "TestTop", "tree topmost"));
  EXPECT_EQ(RowLineOf(plain), ExpectedRow(plain, plain == highest ? '=' : ' ', ".", "TestTop", "tree plain"));
  EXPECT_EQ(RowLineOf(msgOnly), ExpectedRow(msgOnly, ' ', ".", "TestTop", "tree msg"));

  int marks = 0;
  for (const ListRow& row : ListRows()) {
    if (row.line.size() > 10 && row.line[10] == '=') {
      ++marks;
      EXPECT_EQ(row.data, reinterpret_cast<LRESULT>(highest)) << row.line;
    }
  }
  EXPECT_EQ(marks, 1);
  DestroyWindow(topmost);
  DestroyWindow(plain);
  DestroyWindow(msgOnly);
}

TEST_F(TreeRows, LongClassNamesAndTextsAreCutTo62Characters) {
  const std::string longClass = "TreeLongClassName_abcdefghijklmnopqrstuvwxyz_0123456789_ABCDEFGHIJKLMNOP";
  const std::string longText = "A window text that is much longer than sixty-two characters, surely so";
  ASSERT_GT(longClass.size(), 62u);
  ASSERT_GT(longText.size(), 62u);
  RegisterPlainClass(longClass.c_str());
  HWND w = CreateWindowExA(0, longClass.c_str(), longText.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(w, nullptr);
  Click(IDC_FILTER_TOPL);
  EXPECT_EQ(RowLineOf(w), ExpectedRow(w, ExpectedTopMark(w), ".", longClass.substr(0, 62), longText.substr(0, 62)));
  DestroyWindow(w);
}

TEST_F(TreeRows, WindowsOfAnotherProcessShowTheirClassesAndTexts) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  app.hTargetP = helper.top;
  Click(IDC_FILTER_PID);
  EXPECT_EQ(RowLineOf(helper.top), ExpectedRow(helper.top, ExpectedTopMark(helper.top), ".", "WinHostTop", helper.tag + " top"));
  EXPECT_EQ(RowLineOf(helper.child), ExpectedRow(helper.child, ' ', " +", "WinHostChild", helper.tag + " child"));
  EXPECT_EQ(RowLineOf(helper.owned), ExpectedRow(helper.owned, ExpectedTopMark(helper.owned), ".", "WinHostOwned", helper.tag + " owned"));
  EXPECT_EQ(RowLineOf(helper.msg), ExpectedRow(helper.msg, ' ', ".", "WinHostMsg", helper.tag + " msg"));
}

TEST_F(TreeRows, AHungWindowCostsABoundedWaitAndShowsAnEmptyText) {
  HelperProcess helper("hang");
  ASSERT_TRUE(helper.ok());
  app.hTargetP = helper.top;
  Click(IDC_FILTER_PID);
  EXPECT_EQ(RowLineOf(helper.top), ExpectedRow(helper.top, ExpectedTopMark(helper.top), ".", "WinHostTop", ""));
  EXPECT_EQ(RowLineOf(helper.child), ExpectedRow(helper.child, ' ', " +", "WinHostChild", ""));
  EXPECT_EQ(RowLineOf(helper.msg), ExpectedRow(helper.msg, ' ', ".", "WinHostMsg", ""));
}

TEST_F(TreeRows, DeepNestingKeepsThePrefixWithinItsBuffer) {
  HWND top = MakeTopWindow("tree deep", WS_POPUP, 0, nullptr, 0, 0, 400, 400);
  std::vector<HWND> chain{top};
  for (int i = 0; i < 70; ++i) {
    HWND child = MakeChildWindow(chain.back(), "deep", i, WS_CHILD | WS_VISIBLE, 1, 1, 300, 300);
    if (!child) break;
    chain.push_back(child);
  }
  ASSERT_GT(chain.size(), 64u) << "this system refuses deep nesting";
  Click(IDC_FILTER_ALL);
  // chain[d] has depth d + 1; the prefix holds at most 63 marks.
  EXPECT_EQ(RowLineOf(chain[9]), ExpectedRow(chain[9], ' ', " " + std::string(9, '+'), "TestChild", "deep"));
  EXPECT_EQ(RowLineOf(chain[62]), ExpectedRow(chain[62], ' ', " " + std::string(62, '+'), "TestChild", "deep"));
  EXPECT_EQ(RowLineOf(chain.back()), ExpectedRow(chain.back(), ' ', " " + std::string(62, '+'), "TestChild", "deep"));
  DestroyWindow(top);
}

TEST_F(TreeRows, DescendantsOfAWindowThatIsGoneEndAfterItsOwnRow) {
  HWND gone = MakeTopWindow("tree gone");
  DestroyWindow(gone);
  Pump();
  ASSERT_FALSE(IsWindow(gone));
  app.hTargetW = gone;
  Click(IDC_FILTER_DESC);
  // No thread and no parent: the walk stops after one step, class and text stay empty, and
  // the '=' mark was given by the start-up list already.
  std::vector<ListRow> rows = ListRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].line, ExpectedRow(gone, ' ', "!", "", ""));
  EXPECT_EQ(CountLabel(), "1");
}

// ---------------------------------------------------------------------------------------------
using TreeRefresh = TreeTest;

TEST_F(TreeRefresh, ASecondRefreshWithNothingChangedSendsNothingThatChangesTheList) {
  Family f;
  ASSERT_TRUE(f.ok());
  Click(IDC_FILTER_TOPL);
  // The list shows the list window itself, whose caption the filter command sets after the
  // refresh: one more refresh takes the new caption in.
  RefreshTree();
  std::vector<ListRow> before = ListRows();
  std::string label = CountLabel();
  // The user's choice in the list and the text in the edit field must survive.
  SendMessageA(app.hTreeCombo, CB_SETCURSEL, 3, 0);
  SetWindowTextA(app.hTreeCombo, "typed by the user");

  ListChangeCounter counter;
  RefreshTree();
  RefreshTree();
  EXPECT_EQ(counter.total(), 0) << "resets " << counter.resets() << ", additions "
                                << counter.additions() << ", labels " << counter.labelWrites();
  EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(WindowText(app.hTreeCombo), "typed by the user");
  EXPECT_EQ(CountLabel(), label);
  std::vector<ListRow> after = ListRows();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i].line, before[i].line);
}

TEST_F(TreeRefresh, AnEmptiedListIsRebuiltRowByRowAndAnUnchangedLabelIsNotRewritten) {
  Click(IDC_FILTER_TOPL);
  size_t rows = ListRows().size();
  std::string label = CountLabel();
  SendMessageA(app.hTreeList, LB_RESETCONTENT, 0, 0);

  ListChangeCounter counter;
  RefreshTree();
  EXPECT_EQ(counter.resets(), 1);
  EXPECT_EQ(counter.additions(), static_cast<int>(rows));
  EXPECT_EQ(counter.itemData(), static_cast<int>(rows));
  EXPECT_EQ(counter.labelWrites(), 0);
  EXPECT_EQ(ListRows().size(), rows);
  EXPECT_EQ(CountLabel(), label);
}

TEST_F(TreeRefresh, ANewWindowIsFoundAndTheLabelCountsIt) {
  Click(IDC_FILTER_TOPL);
  std::string label = CountLabel();
  EXPECT_EQ(label, LabelFromRows());
  HWND w = MakeTopWindow("tree newcomer", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  EXPECT_FALSE(HasRow(w));
  RefreshTree();
  EXPECT_TRUE(HasRow(w));
  EXPECT_EQ(CountLabel(), LabelFromRows());
  EXPECT_NE(CountLabel(), label);
  DestroyWindow(w);
}

TEST_F(TreeRefresh, AWindowGoneFromTheVeryEndLeavesTheListAsItIs) {
  HWND m = CreateWindowExA(0, "TestTop", "tree last", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(m, nullptr);
  SetWindowPos(m, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Click(IDC_FILTER_TOPL);
  std::vector<ListRow> rows = ListRows();
  ASSERT_FALSE(rows.empty());
  ASSERT_EQ(rows.back().data, reinterpret_cast<LRESULT>(m)) << "the window is not the last one";
  std::string label = CountLabel();

  DestroyWindow(m);
  ListChangeCounter counter;
  RefreshTree();
  // Every row produced still matches: the extra item at the end counts as current.
  EXPECT_EQ(counter.total(), 0);
  EXPECT_EQ(ListRows().size(), rows.size());
  EXPECT_EQ(CountLabel(), label);
}

TEST_F(TreeRefresh, PsRowIsSelectedAfterARebuild) {
  Family f;
  ASSERT_TRUE(f.ok());
  struct Case {
    const char* name;
    HWND p;
    TreeFilter filter;
    int id;
  };
  const Case cases[] = {
      {"child under All", f.a2, All, IDC_FILTER_ALL},
      {"desktop pseudo-value", HWND_DESKTOP_VALUE, TopL, IDC_FILTER_TOPL},
      {"message pseudo-value", HWND_MESSAGE_VALUE, TopL, IDC_FILTER_TOPL},
      {"desktop window", GetDesktopWindow(), TopL, IDC_FILTER_TOPL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    app.hTargetP = c.p;
    Click(c.id);
    int index = RowIndexOf(c.p);
    ASSERT_GE(index, 0);
    EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), index);
    // The selection also puts the row's line into the edit field.
    EXPECT_EQ(WindowText(app.hTreeCombo), ListRows()[index].line);
  }
  EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), 1);  // the desktop window's own row

  // A child has no row among the top-level windows: nothing is selected.
  app.hTargetP = f.a2;
  Click(IDC_FILTER_TOPL);
  EXPECT_FALSE(HasRow(f.a2));
  EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(WindowText(app.hTreeCombo), "");
}

// ---------------------------------------------------------------------------------------------
using TreeFilters = TreeTest;

TEST_F(TreeFilters, TopLevelListsDepthZeroAndOneOnly) {
  Family f;
  ASSERT_TRUE(f.ok());
  Click(IDC_FILTER_TOPL);
  EXPECT_EQ(app.treeFilter, TopL);
  for (const ListRow& row : ListRows()) {
    if (row.line.rfind("HWND_", 0) == 0) continue;
    // After the handle, two spaces, the top mark and a space: a second mark after the thread
    // mark would be a '+'.
    ASSERT_GT(row.line.size(), 13u);
    EXPECT_NE(row.line[13], '+') << row.line;
  }
  for (HWND w : {f.a1, f.b1, f.m}) EXPECT_TRUE(HasRow(w));
  for (HWND w : {f.a2, f.a3, f.a4, f.b2, f.b3}) EXPECT_FALSE(HasRow(w));
  EXPECT_EQ(CountLabel(), LabelFromRows());
}

TEST_F(TreeFilters, PidListsTheWindowsOfPsProcessOnly) {
  Family f;
  ASSERT_TRUE(f.ok());
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());

  app.hTargetP = f.a3;
  Click(IDC_FILTER_PID);
  EXPECT_EQ(app.treeFilter, Pid);
  EXPECT_EQ(app.pidP, GetCurrentProcessId());
  EXPECT_EQ(app.tidP, GetCurrentThreadId());
  for (const ListRow& row : ListRows()) {
    DWORD pid = 0;
    GetWindowThreadProcessId(reinterpret_cast<HWND>(row.data), &pid);
    EXPECT_EQ(pid, GetCurrentProcessId()) << row.line;
  }
  for (HWND w : {f.a1, f.a2, f.a3, f.a4, f.b1, f.b2, f.b3, f.m}) EXPECT_TRUE(HasRow(w));
  for (HWND w : {helper.top, helper.child, helper.msg}) EXPECT_FALSE(HasRow(w));
  EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), RowIndexOf(f.a3));
  EXPECT_EQ(CountLabel(), LabelFromRows());

  app.hTargetP = helper.child;
  Click(IDC_FILTER_PID);
  EXPECT_EQ(app.pidP, helper.pid());
  for (HWND w : {helper.top, helper.child, helper.owned, helper.msg}) EXPECT_TRUE(HasRow(w));
  for (HWND w : {f.a1, f.b1, f.m}) EXPECT_FALSE(HasRow(w));
}

TEST_F(TreeFilters, TidListsTheWindowsOfPsThreadOnly) {
  Family f;
  ASSERT_TRUE(f.ok());
  app.hTargetP = f.b2;
  Click(IDC_FILTER_TID);
  EXPECT_EQ(app.treeFilter, Tid);
  EXPECT_EQ(app.tidP, f.other.id());
  for (const ListRow& row : ListRows())
    EXPECT_EQ(GetWindowThreadProcessId(reinterpret_cast<HWND>(row.data), nullptr), f.other.id()) << row.line;
  for (HWND w : {f.b1, f.b2, f.b3}) EXPECT_TRUE(HasRow(w));
  for (HWND w : {f.a1, f.a2, f.a3, f.a4, f.m}) EXPECT_FALSE(HasRow(w));
  // The thread's child of a window of the first thread keeps its place in the tree.
  EXPECT_EQ(RowLineOf(f.b3), ExpectedRow(f.b3, ' ', "?++", "TestChild", f.Text("b3")));
}

TEST_F(TreeFilters, DescStartsAtWListsItsDescendantsAndSetsTheLock) {
  Family f;
  ASSERT_TRUE(f.ok());
  app.hTargetW = f.a2;
  app.hTargetP = f.a3;
  ASSERT_FALSE(app.lockW);
  ASSERT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), BST_UNCHECKED);
  Click(IDC_FILTER_DESC);

  std::vector<ListRow> rows = ListRows();
  ASSERT_EQ(rows.size(), 3u);
  // Depth and prefix count from the desktop, not from W.
  EXPECT_EQ(rows[0].line, ExpectedRow(f.a2, ' ', " +", "TestChild", f.Text("a2")));
  EXPECT_TRUE(HasRow(f.a3));
  EXPECT_TRUE(HasRow(f.b3));
  EXPECT_EQ(CountLabel(), "3");
  EXPECT_TRUE(app.lockW);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), BST_CHECKED);
  EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), RowIndexOf(f.a3));

  // Every refresh under this filter sets the lock again.
  app.lockW = FALSE;
  CheckDlgButton(dlg_, IDC_LOCK, BST_UNCHECKED);
  RefreshTree();
  EXPECT_TRUE(app.lockW);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), BST_CHECKED);
}

TEST_F(TreeFilters, DescOfThePseudoValuesStartsWithTheirRows) {
  app.hTargetW = HWND_DESKTOP_VALUE;
  Click(IDC_FILTER_DESC);
  std::vector<ListRow> rows = ListRows();
  ASSERT_GE(rows.size(), 1u);
  EXPECT_EQ(rows[0].line, "HWND_DESKTOP");
  EXPECT_EQ(rows[0].data, 0);
  EXPECT_EQ(CountLabel(), std::to_string(rows.size()));

  app.hTargetW = HWND_MESSAGE_VALUE;
  Click(IDC_FILTER_DESC);
  rows = ListRows();
  ASSERT_GE(rows.size(), 1u);
  EXPECT_EQ(rows[0].line, "HWND_MESSAGE");
  EXPECT_EQ(rows[0].data, static_cast<LRESULT>(-3));
  EXPECT_EQ(CountLabel(), std::to_string(rows.size()));
}

TEST_F(TreeFilters, PointListsTheWindowsUnderTheCursor) {
  Family f;
  ASSERT_TRUE(f.ok());
  RECT r;
  GetWindowRect(f.a3, &r);  // a3 lies in a2, which lies in a1
  ASSERT_TRUE(MoveCursorTo(r.left + 3, r.top + 3));
  Click(IDC_FILTER_POINT);
  EXPECT_EQ(app.treeFilter, Point);
  for (HWND w : {f.a1, f.a2, f.a3, GetDesktopWindow()}) EXPECT_TRUE(HasRow(w));
  for (HWND w : {f.b1, f.b2, f.b3, f.a4, f.m}) EXPECT_FALSE(HasRow(w));
  // A pseudo-value has no rectangle.
  EXPECT_FALSE(HasRow(HWND_DESKTOP_VALUE));
  EXPECT_FALSE(HasRow(HWND_MESSAGE_VALUE));

  // Hidden windows pass like visible ones.
  ShowWindow(f.a3, SW_HIDE);
  RefreshTree();
  EXPECT_TRUE(HasRow(f.a3));

  GetWindowRect(f.b2, &r);
  ASSERT_TRUE(MoveCursorTo(r.left + 3, r.top + 3));
  RefreshTree();
  for (HWND w : {f.b1, f.b2}) EXPECT_TRUE(HasRow(w));
  for (HWND w : {f.a1, f.a2, f.a3}) EXPECT_FALSE(HasRow(w));
}

TEST_F(TreeFilters, PointFollowsTheWindowRegion) {
  HWND shaped = MakeTopWindow("tree shaped", WS_POPUP | WS_VISIBLE, 0, nullptr, 100, 600, 200, 200);
  HWND empty = MakeTopWindow("tree empty", WS_POPUP | WS_VISIBLE, 0, nullptr, 400, 600, 100, 100);
  SetWindowRgn(shaped, CreateEllipticRgn(0, 0, 200, 200), TRUE);
  SetWindowRgn(empty, CreateRectRgn(0, 0, 0, 0), TRUE);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  int shapedKind = GetWindowRgn(shaped, probe);
  ASSERT_TRUE(shapedKind == SIMPLEREGION || shapedKind == COMPLEXREGION) << shapedKind;
  ASSERT_EQ(GetWindowRgn(empty, probe), NULLREGION);
  DeleteObject(probe);

  // Inside the rectangle but outside the ellipse: the corner.
  ASSERT_TRUE(MoveCursorTo(105, 605));
  Click(IDC_FILTER_POINT);
  EXPECT_FALSE(HasRow(shaped));
  // The middle of the ellipse.
  ASSERT_TRUE(MoveCursorTo(200, 700));
  RefreshTree();
  EXPECT_TRUE(HasRow(shaped));
  EXPECT_EQ(RowLineOf(shaped), ExpectedRow(shaped, ExpectedTopMark(shaped), ".", "TestTop", "tree shaped"));
  // An empty region never lies under the cursor.
  ASSERT_TRUE(MoveCursorTo(450, 650));
  Click(IDC_FILTER_POINT);
  EXPECT_FALSE(HasRow(empty));
  EXPECT_FALSE(HasRow(shaped));
  EXPECT_TRUE(HasRow(GetDesktopWindow()));
  DestroyWindow(shaped);
  DestroyWindow(empty);
}

TEST_F(TreeFilters, PointCountsTheLeftAndTopEdgesInAndTheRightAndBottomEdgesOut) {
  HWND w = MakeTopWindow("tree edges", WS_POPUP | WS_VISIBLE, 0, nullptr, 600, 700, 100, 50);
  RECT r;
  GetWindowRect(w, &r);
  ASSERT_EQ(r.right, 700);
  ASSERT_EQ(r.bottom, 750);
  struct Case {
    int x, y;
    bool listed;
  };
  const Case cases[] = {
      {600, 700, true}, {699, 720, true}, {700, 720, false}, {650, 749, true}, {650, 750, false},
      {599, 720, false}, {650, 699, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    ASSERT_TRUE(MoveCursorTo(c.x, c.y));
    // The filter command empties the list: a row that drops out of the end of a list is kept
    // by a plain refresh, which looks only at the rows it produces.
    Click(IDC_FILTER_POINT);
    EXPECT_EQ(HasRow(w), c.listed);
  }
  DestroyWindow(w);
}

TEST_F(TreeFilters, AFilterWithoutAnyRowEmptiesTheListAndTheLabel) {
  HWND gone = MakeTopWindow("tree gone P");
  DestroyWindow(gone);
  Pump();
  Click(IDC_FILTER_ALL);
  ASSERT_GT(ListRows().size(), 2u);
  // A P that is gone has no process: no row passes.
  app.hTargetP = gone;
  Click(IDC_FILTER_PID);
  EXPECT_EQ(ListRows().size(), 0u);
  EXPECT_EQ(CountLabel(), "0   o0");

  // The list stays empty without being emptied again.
  ListChangeCounter counter;
  RefreshTree();
  EXPECT_EQ(counter.total(), 0);
}

}  // namespace
