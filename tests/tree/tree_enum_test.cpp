// The filtered window tree: row lines of real windows, the compare pass that leaves a current
// list alone, the count label and the six filters.
#include <atomic>
#include <set>
#include <thread>

#include "tree/tree_helpers.h"

namespace {

// a1 (top-level) > a2 > a3 and m (message-only) on this thread; b1 (top-level) > b2 on
// thread B, and b3 of thread B under a2.
struct Family {
  std::string tag = UniqueTag("fam");
  HWND a1, a2, a3, m, b1 = nullptr, b2 = nullptr, b3 = nullptr;
  std::atomic<bool> madeB{false}, endedB{false};
  DWORD tidB = 0;
  std::thread threadB;
  std::string Text(const char* name) const { return tag + " " + name; }
  Family() {
    a1 = MakeTopWindow(Text("a1").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 40, 560, 300, 200);
    a2 = MakeChildWindow(a1, Text("a2").c_str(), 1, WS_CHILD | WS_VISIBLE, 10, 10, 200, 120);
    a3 = MakeChildWindow(a2, Text("a3").c_str(), 2, WS_CHILD | WS_VISIBLE, 5, 5, 50, 40);
    m = CreateWindowExA(0, "TestTop", Text("m").c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // Thread B answers messages until WM_QUIT, then destroys its windows: only their own thread can.
    threadB = std::thread([this] {
      b1 = MakeTopWindow(Text("b1").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 400, 560, 300, 200);
      b2 = MakeChildWindow(b1, Text("b2").c_str(), 3);
      b3 = MakeChildWindow(a2, Text("b3").c_str(), 4, WS_CHILD | WS_VISIBLE, 100, 5, 50, 40);
      tidB = GetCurrentThreadId();
      madeB = true;
      for (MSG msg; GetMessageA(&msg, nullptr, 0, 0) > 0;) DispatchMessageA(&msg);
      DestroyWindow(b3), DestroyWindow(b1), endedB = true;
    });
    PumpUntil([&] { return madeB.load(); }, 20000);  // making b3 under a2 sends to this thread
  }
  ~Family() {
    PostThreadMessageA(tidB, WM_QUIT, 0, 0);
    PumpUntil([&] { return endedB.load(); }, 20000);
    threadB.join();
    DestroyWindow(a1), DestroyWindow(m);
  }
};

// "<desktop part>   o<message part>", the message part being the rows that lead to its root.
std::string LabelFromRows() {
  int desktop = 0, message = 0;
  for (const ListRow& row : ListRows()) {
    bool inMessage = row.data == -3;
    for (HWND up = reinterpret_cast<HWND>(row.data); up && !inMessage; up = GetAncestor(up, GA_PARENT))
      inMessage = up == app.hMessageRoot;
    ++(inMessage ? message : desktop);
  }
  return std::to_string(desktop) + "   o" + std::to_string(message);
}

bool MoveCursorTo(int x, int y) {
  SetCursorPos(x, y);
  POINT p;
  return PumpUntil([&] { return GetCursorPos(&p) && p.x == x && p.y == y; });
}

TEST_F(TreeTest, AllAndTopLevelRowsOfAFamilyOnTwoThreads) {
  Family f;
  ASSERT_TRUE(f.b3);
  HWND topmost = MakeTopWindow("tree topmost", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, nullptr, 900, 600, 80, 60);
  const std::string cls = "TreeLongClassName_abcdefghijklmnopqrstuvwxyz_0123456789_ABCDEFGHIJKLMNOP";
  const std::string text = "A window text that is much longer than sixty-two characters, surely so";
  WNDCLASSEXA wc{sizeof wc, 0, DefWindowProcA, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, cls.c_str()};
  RegisterClassExA(&wc);
  HWND named = CreateWindowExA(0, cls.c_str(), text.c_str(), WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  Click(IDC_FILTER_ALL);
  // The desktop belongs to another process: top-level rows show '.'; a child shows a space on
  // its parent's thread and '?' on another.
  const struct { HWND w; const char *prefix, *cls, *name; } cases[] = {
      {f.a1, ".", "TestTop", "a1"},     {f.a2, " +", "TestChild", "a2"}, {f.a3, " ++", "TestChild", "a3"},
      {f.b3, "?++", "TestChild", "b3"}, {f.b1, ".", "TestTop", "b1"},    {f.b2, " +", "TestChild", "b2"},
      {f.m, ".", "TestTop", "m"}};
  for (const auto& c : cases)
    EXPECT_EQ(RowLineOf(c.w), ExpectedRow(c.w, TopMarkOf(c.w), c.prefix, c.cls, f.Text(c.name)));
  EXPECT_EQ(RowLineOf(topmost), ExpectedRow(topmost, ' ', ".", "TestTop", "tree topmost"));
  EXPECT_EQ(RowLineOf(named), ExpectedRow(named, TopMarkOf(named), ".", cls.substr(0, 62), text.substr(0, 62)));
  int a2 = RowIndexOf(f.a2);  // each window's descendants follow it directly
  EXPECT_EQ(a2, RowIndexOf(f.a1) + 1);
  EXPECT_EQ((std::set<int>{RowIndexOf(f.a3), RowIndexOf(f.b3)}), (std::set<int>{a2 + 1, a2 + 2}));
  int marks = 0;
  for (const ListRow& row : ListRows()) marks += row.line.size() > 10 && row.line[10] == '=';
  EXPECT_EQ(marks, 1);

  Click(IDC_FILTER_TOPL);
  std::vector<ListRow> rows = ListRows();
  HWND desktop = GetDesktopWindow(), root = GetAncestor(f.m, GA_PARENT);
  int message = RowIndexOf(HWND_MESSAGE_VALUE);
  ASSERT_TRUE(message > 1 && message + 1 < static_cast<int>(rows.size())) << message;
  EXPECT_EQ(rows[0].line, "HWND_DESKTOP");
  EXPECT_EQ(rows[0].data, 0);
  EXPECT_EQ(rows[1].line, ExpectedRow(desktop, ' ', "", ClassOf(desktop), WindowText(desktop)));
  EXPECT_EQ(rows[message].line, "HWND_MESSAGE");
  EXPECT_EQ(rows[message + 1].line, ExpectedRow(root, ' ', "", ClassOf(root), WindowText(root)));
  EXPECT_GT(RowIndexOf(f.m), message + 1);
  DestroyWindow(topmost), DestroyWindow(named);
}

TEST_F(TreeTest, ACurrentListIsLeftAloneAndAChangedOneRebuilt) {
  HWND last = CreateWindowExA(0, "TestTop", "tree last", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  SetWindowPos(last, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Click(IDC_FILTER_TOPL);
  RefreshTree();  // takes in the list window's own caption, set after the filter's refresh
  std::vector<ListRow> rows = ListRows();
  ASSERT_EQ(rows.back().data, reinterpret_cast<LRESULT>(last)) << "the window is not the last one";
  {  // nothing changes the rows, the selection, the edit field or the label
    MessageCounter list(app.hTreeCombo, kListChanges), labels(GetDlgItem(dlg_, IDC_TREECOUNT), {WM_SETTEXT});
    RefreshTree();
    DestroyWindow(last);  // every row produced still matches: the extra item counts as current
    RefreshTree();
    EXPECT_EQ(list.seen.size() + labels.seen.size(), 0u);
  }
  HWND w = MakeTopWindow("tree new", WS_POPUP);  // high in the Z-order: a difference mid-list
  RefreshTree();
  EXPECT_TRUE(HasRow(w));
  EXPECT_EQ(CountLabel(), LabelFromRows());
  // An emptied list is rebuilt row by row; the label, still right, is not written again.
  SendMessageA(app.hTreeList, LB_RESETCONTENT, 0, 0);
  MessageCounter list(app.hTreeCombo, kListChanges), labels(GetDlgItem(dlg_, IDC_TREECOUNT), {WM_SETTEXT});
  RefreshTree();
  EXPECT_EQ(list.count(CB_RESETCONTENT), 1);
  EXPECT_EQ(list.count(CB_ADDSTRING), static_cast<int>(rows.size()));
  EXPECT_EQ(labels.seen.size(), 0u);
  DestroyWindow(w);
}

TEST_F(TreeTest, EachFilterListsItsWindowsSelectsPsRowAndCountsThem) {
  Family f;
  ASSERT_TRUE(f.b3);
  RECT r;
  GetWindowRect(f.a3, &r);  // a3 lies in a2, which lies in a1
  ASSERT_TRUE(MoveCursorTo(r.left + 3, r.top + 3));
  ShowWindow(f.a3, SW_HIDE);  // only geometry counts
  HelperProcess h("hang");  // its thread answers no message: its rows show no text
  ASSERT_TRUE(h.ok());
  HWND desktop = GetDesktopWindow(), gone = MakeTopWindow("tree gone");
  DestroyWindow(gone);
  const struct { const char* name; int button; HWND p; std::vector<HWND> listed, unlisted; } cases[] = {
      {"TopL", IDC_FILTER_TOPL, HWND_DESKTOP_VALUE, {f.a1, f.b1, f.m, HWND_DESKTOP_VALUE}, {f.a2, f.a3, f.b2, f.b3}},
      {"TopL, P the desktop", IDC_FILTER_TOPL, desktop, {desktop}, {}},
      {"TopL, P the message root", IDC_FILTER_TOPL, HWND_MESSAGE_VALUE, {HWND_MESSAGE_VALUE}, {}},
      {"Pid", IDC_FILTER_PID, f.a3, {f.a1, f.a2, f.a3, f.b1, f.b2, f.b3, f.m}, {desktop, h.top}},
      {"Pid, P gone: no process, no row", IDC_FILTER_PID, gone, {}, {f.a1, f.m, desktop, HWND_DESKTOP_VALUE}},
      {"Tid", IDC_FILTER_TID, f.b2, {f.b1, f.b2, f.b3}, {f.a1, f.a2, f.a3, f.m, desktop}},
      {"Point", IDC_FILTER_POINT, HWND_DESKTOP_VALUE, {f.a1, f.a2, f.a3, desktop},
       {f.b1, f.b2, f.b3, f.m, HWND_DESKTOP_VALUE, HWND_MESSAGE_VALUE}},
      {"Pid, another process", IDC_FILTER_PID, h.child, {h.top, h.child, h.owned, h.msg}, {f.a1, f.m}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    app.hTargetP = c.p;
    Click(c.button);
    for (HWND w : c.listed) EXPECT_TRUE(HasRow(w)) << Hex8(w);
    for (HWND w : c.unlisted) EXPECT_FALSE(HasRow(w)) << Hex8(w);
    EXPECT_EQ(CountLabel(), LabelFromRows());
    // P's row is selected and its line put into the edit field, which a rebuild of rows empties.
    int selected = RowIndexOf(c.p);
    EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), selected);
    if (!ListRows().empty()) {  // without rows there was nothing to rebuild
      EXPECT_EQ(WindowText(app.hTreeCombo), selected < 0 ? "" : ListRows()[selected].line);
    }
  }
  EXPECT_EQ(RowLineOf(h.child), ExpectedRow(h.child, ' ', " +", "WinHostChild", ""));
  EXPECT_EQ(RowLineOf(h.msg), ExpectedRow(h.msg, ' ', ".", "WinHostMsg", ""));

  // W and its descendants, W's row first even for a pseudo-value, depth counted from the desktop;
  // every refresh sets the lock.
  for (HWND w : {f.a2, HWND_MESSAGE_VALUE}) {
    app.hTargetW = w;
    app.lockW = FALSE;
    CheckDlgButton(dlg_, IDC_LOCK, BST_UNCHECKED);
    Click(IDC_FILTER_DESC);
    std::vector<ListRow> rows = ListRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].line, w == f.a2 ? ExpectedRow(w, ' ', " +", "TestChild", f.Text("a2")) : "HWND_MESSAGE");
    EXPECT_EQ(rows[0].data, reinterpret_cast<LRESULT>(w));
    if (w == f.a2) { EXPECT_EQ(rows.size(), 3u); }
    EXPECT_EQ(CountLabel(), std::to_string(rows.size()));
    EXPECT_TRUE(app.lockW && IsDlgButtonChecked(dlg_, IDC_LOCK) == BST_CHECKED);
  }
}

TEST_F(TreeTest, PointTakesTheLeftAndTopEdgesAndTheWindowRegion) {
  HWND edges = MakeTopWindow("tree edges", WS_POPUP, 0, nullptr, 600, 700, 100, 50);  // hidden
  HWND shaped = MakeTopWindow("tree shaped", WS_POPUP | WS_VISIBLE, 0, nullptr, 100, 600, 200, 200);
  HWND empty = MakeTopWindow("tree empty", WS_POPUP | WS_VISIBLE, 0, nullptr, 400, 600, 100, 100);
  SetWindowRgn(shaped, CreateEllipticRgn(0, 0, 200, 200), TRUE);
  SetWindowRgn(empty, CreateRectRgn(0, 0, 0, 0), TRUE);
  const struct { int x, y; HWND w; bool listed; } cases[] = {
      {600, 700, edges, true}, {699, 720, edges, true},   {700, 720, edges, false}, {650, 749, edges, true},
      {650, 750, edges, false}, {105, 605, shaped, false}, {200, 700, shaped, true}, {450, 650, empty, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    ASSERT_TRUE(MoveCursorTo(c.x, c.y));
    Click(IDC_FILTER_POINT);  // empties the list: a plain refresh keeps rows dropped off the end
    EXPECT_EQ(HasRow(c.w), c.listed);
  }
  for (HWND w : {edges, shaped, empty}) DestroyWindow(w);
}

}  // namespace
