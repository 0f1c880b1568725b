// The window tree: row lines of real windows, the six filters with P's row, the count label and
// the captions, the compare pass, and the list window standing free, monitoring, and clicked.
#include <atomic>
#include <thread>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"
#include "tree/tree.h"
#include "tree/tree_helpers.h"

namespace {

using namespace tree_test;

const std::string kSuffix = "  // Caption right click :  monitor  on/off";
constexpr COLORREF kMonitorBlue = RGB(0, 0, 221);

bool HasRow(HWND w) { return RowIndexOf(w) >= 0; }
std::string CountLabel() { return WindowText(GetDlgItem(app.hMainDlg, IDC_TREECOUNT)); }
// "<desktop part>   o<message part>", the message part being the rows that lead to its root.
std::string LabelFromRows() {
  int parts[2] = {0, 0};
  for (const ListRow& row : ListRows()) {
    HWND up = reinterpret_cast<HWND>(row.data);
    while (up && up != app.hMessageRoot) up = GetAncestor(up, GA_PARENT);
    ++parts[row.data == -3 || up];
  }
  return std::to_string(parts[0]) + "   o" + std::to_string(parts[1]);
}
HWND MessageOnly(const char* text) {
  return CreateWindowExA(0, "TestTop", text, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// The list window's left, top, right, bottom; item height; style but what the list box switches.
std::vector<LONG> Box() {
  RECT r;
  GetWindowRect(app.hTreeList, &r);
  return {r.left, r.top, r.right, r.bottom};
}
LONG Height() { return Box()[3] - Box()[1]; }
LONG Row() { return static_cast<LONG>(SendMessageA(app.hTreeList, LB_GETITEMHEIGHT, 0, 0)); }
DWORD Form() {
  const DWORD switched = WS_VISIBLE | WS_VSCROLL | WS_HSCROLL;
  return static_cast<DWORD>(GetWindowLongPtrA(app.hTreeList, GWL_STYLE)) & ~switched;
}
COLORREF ListTextColor() {  // as the list gets it from the main dialog, through the dialog manager
  HDC dc = GetDC(app.hTreeList);
  SendMessageA(app.hMainDlg, WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(app.hTreeList));
  COLORREF c = GetTextColor(dc);
  ReleaseDC(app.hTreeList, dc);
  return c;
}
// Counts one message reaching one window while it lives; one count at a time.
struct MessageCount {
  MessageCount(HWND w, UINT msg) : w(w) {
    watched = msg;
    seen = 0;
    old = WNDPROC(SetWindowLongPtrA(w, GWLP_WNDPROC, LONG_PTR(Proc)));
  }
  ~MessageCount() { SetWindowLongPtrA(w, GWLP_WNDPROC, LONG_PTR(old)); }
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == watched) ++seen;
    return CallWindowProcA(old, h, m, wp, lp);
  }
  HWND w;
  static inline UINT watched, seen;
  static inline WNDPROC old;
};
bool MoveCursorTo(int x, int y) {
  SetCursorPos(x, y);
  POINT p;
  return PumpUntil([&] { return GetCursorPos(&p) && p.x == x && p.y == y; });
}
bool ClickAt(POINT p, int button) { return MouseTo(p.x, p.y) && Xdotool("click " + std::to_string(button)); }
// The centre of the caption of the free list, whose box is given.
POINT CaptionOf(const std::vector<LONG>& box) {
  const int frame = GetSystemMetrics(SM_CYFRAME);
  return {(box[0] + box[2]) / 2, box[1] + frame + GetSystemMetrics(SM_CYCAPTION) / 2};
}
void Unlock() {
  app.lockW = FALSE;
  CheckDlgButton(app.hMainDlg, IDC_LOCK, BST_UNCHECKED);
}
bool Locked() { return app.lockW && IsDlgButtonChecked(app.hMainDlg, IDC_LOCK) == BST_CHECKED; }

// a1 (top-level) > a2 > a3 and m (message-only) on this thread; b3 under a2 on thread B, which
// serves b3 until it is closed: only its own thread can destroy it.
struct Family {
  std::string tag = UniqueTag("fam");
  HWND a1, a2, a3, m;
  std::atomic<HWND> b3{nullptr};
  std::thread threadB;
  std::string Text(const char* name) const { return tag + " " + name; }
  Family() {
    const DWORD visible = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    a1 = MakeTopWindow(Text("a1").c_str(), visible, 0, nullptr, 40, 560, 300, 200);
    a2 = MakeChildWindow(a1, Text("a2").c_str(), 1, WS_CHILD | WS_VISIBLE, 10, 10, 200, 120);
    a3 = MakeChildWindow(a2, Text("a3").c_str(), 2, WS_CHILD | WS_VISIBLE, 5, 5, 50, 40);
    m = MessageOnly(Text("m").c_str());
    threadB = std::thread([this] {
      b3 = MakeChildWindow(a2, Text("b3").c_str(), 4, WS_CHILD | WS_VISIBLE, 100, 5, 50, 40);
      for (MSG msg; IsWindow(b3) && GetMessageA(&msg, nullptr, 0, 0) > 0;) DispatchMessageA(&msg);
    });
    PumpUntil([&] { return b3 != nullptr; }, 20000);  // making b3 under a2 sends to this thread
  }
  ~Family() {
    PostMessageA(b3, WM_CLOSE, 0, 0);
    PumpUntil([&] { return !IsWindow(b3); }, 20000);
    threadB.join();
    DestroyWindow(a1);
    DestroyWindow(m);
  }
};

class TreeTest : public MainDialogTest {  // every refresh is one the test asks for
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
  }
};

// Top-level rows show '.' (the desktop is another process's), a child a space on its parent's
// thread and '?' on another, then a '+' per level below the top; descendants follow in Z-order.
TEST_F(TreeTest, RowLinesShowThreadAndDepthOfAFamilyOnTwoThreads) {
  Family f;
  HelperProcess h;
  ASSERT_TRUE(f.b3 && h.ok());
  Click(IDC_FILTER_ALL);
  EXPECT_EQ(WindowText(app.hTreeList), "All" + kSuffix);
  const struct { HWND w; std::string prefix, cls, text; } lines[] = {
      {f.a1, ".", "TestTop", f.Text("a1")},
      {f.a2, " +", "TestChild", f.Text("a2")},
      {f.a3, " ++", "TestChild", f.Text("a3")},
      {f.b3, "?++", "TestChild", f.Text("b3")},
      {f.m, ".", "TestTop", f.Text("m")},
      {h.child, " +", "WinHostChild", h.tag + " child"},
  };
  for (const auto& c : lines) {
    EXPECT_EQ(RowLineOf(c.w), TreeLine(c.w, TopMarkOf(c.w), c.prefix, c.cls, c.text));
  }
  for (int i = 1; i < 4; ++i) EXPECT_EQ(RowIndexOf(lines[i].w), RowIndexOf(f.a1) + i);
  // One '=', passing over topmost windows such as the main dialog.
  for (const ListRow& row : ListRows()) {
    const bool marked = row.line.size() > 10 && row.line[10] == '=';
    EXPECT_EQ(marked, TopMarkOf(HWND(row.data)) == '=') << row.line;
  }
}

// Top-level: each part led by its pseudo row and its root's row, and no row below the top. A
// window gone from the end leaves every row produced matching: the extra item and the label stay.
TEST_F(TreeTest, TopLevelRowsLeadEachPartWithItsRootAndAGoneLastWindowChangesNothing) {
  Family f;
  ASSERT_TRUE(f.b3);
  HWND last = MessageOnly("tree last");
  SetWindowPos(last, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Click(IDC_FILTER_TOPL);
  RefreshTree();  // takes in the list window's own caption, set after the filter's refresh
  std::vector<ListRow> rows = ListRows();
  std::string label = CountLabel();
  ASSERT_EQ(rows.back().data, reinterpret_cast<LRESULT>(last)) << "the window is not the last one";
  DestroyWindow(last);
  RefreshTree();
  EXPECT_EQ(ListRows().size(), rows.size());
  EXPECT_EQ(CountLabel(), label);
  HWND desktop = GetDesktopWindow();
  HWND root = GetAncestor(f.m, GA_PARENT);
  int message = RowIndexOf(HWND_MESSAGE_VALUE);
  ASSERT_TRUE(message > 1 && message + 1 < static_cast<int>(rows.size())) << message;
  EXPECT_EQ(rows[0].line + " " + std::to_string(rows[0].data), "HWND_DESKTOP 0");
  EXPECT_EQ(rows[1].line, TreeLine(desktop, ' ', "", ClassOf(desktop), WindowText(desktop)));
  EXPECT_EQ(rows[message].line, "HWND_MESSAGE");
  EXPECT_EQ(rows[message + 1].line, TreeLine(root, ' ', "", ClassOf(root), WindowText(root)));
  EXPECT_GT(RowIndexOf(f.m), message + 1);
  for (const ListRow& row : rows) EXPECT_EQ(row.line.find('+'), std::string::npos) << row.line;
}

// Each filter names itself, grows the list two rows in place, selects P's row and puts its line in
// the edit field. Point: geometry only, left and top edges in, right and bottom out, regions count.
TEST_F(TreeTest, EachFilterListsItsWindowsSelectsPAndCountsTheRows) {
  Family f;
  HelperProcess h;
  ASSERT_TRUE(f.b3 && h.ok());
  HWND desktop = GetDesktopWindow();
  HWND edges = MakeTopWindow("tree edges", WS_POPUP, 0, nullptr, 600, 700, 100, 50);
  HWND gone = MakeTopWindow("");
  HWND shaped = MakeTopWindow("tree shaped", WS_POPUP | WS_VISIBLE, 0, nullptr, 100, 600, 200, 200);
  HWND empty = MakeTopWindow("tree empty", WS_POPUP | WS_VISIBLE, 0, nullptr, 400, 600, 100, 100);
  SetWindowRgn(shaped, CreateEllipticRgn(0, 0, 200, 200), TRUE);
  SetWindowRgn(empty, CreateRectRgn(0, 0, 0, 0), TRUE);
  DestroyWindow(gone);
  RECT r;
  GetWindowRect(f.a3, &r);  // a3 lies in a2, which lies in a1
  ShowWindow(f.a3, SW_HIDE);
  const int kTopL = IDC_FILTER_TOPL;
  const int kPid = IDC_FILTER_PID;
  const int kTid = IDC_FILTER_TID;
  const int kPoint = IDC_FILTER_POINT;
  const std::string top = "Top-level" + kSuffix;
  const std::string point = "Cursor over window" + kSuffix;
  auto ids = [](const char* k, DWORD n) {
    return "P :  " + std::string(k) + std::to_string(n) + "  " + kSuffix;
  };
  const DWORD myPid = GetCurrentProcessId();
  const DWORD tidB = GetWindowThreadProcessId(f.b3, nullptr);
  const DWORD desktopTid = GetWindowThreadProcessId(desktop, nullptr);
  app.hTargetW = f.a2;
  Unlock();
  MessageCount writes(GetDlgItem(dlg_, IDC_TREECOUNT), WM_SETTEXT);  // the label, rebuilt for TopL once
  struct Case { int button; HWND p; std::string caption; std::vector<HWND> in, out; POINT at = {}; };
  const Case cases[] = {
      {kTopL, HWND_DESKTOP_VALUE, top, {f.a1, f.m, HWND_DESKTOP_VALUE}, {f.a2, f.b3, gone}},
      {kTopL, HWND_MESSAGE_VALUE, top, {HWND_MESSAGE_VALUE}, {}},
      {kPid, f.a3, ids("pid_", myPid), {f.a1, f.a2, f.a3, f.b3, f.m}, {desktop, h.top}},
      {kPid, gone, ids("pid_", 0), {}, {f.a1, f.m, desktop, HWND_DESKTOP_VALUE}},
      {kPid, h.child, ids("pid_", h.pid()), {h.top, h.child, h.owned, h.msg}, {f.a1, f.m}},
      {kTid, f.b3, ids("tid_", tidB), {f.b3}, {f.a1, f.a2, f.a3, f.m}},
      {kTid, desktop, ids("tid_", desktopTid), {desktop, HWND_DESKTOP_VALUE}, {f.a1}},
      {kPoint, f.a3, point, {f.a1, f.a2, f.a3, desktop}, {f.b3, f.m}, {r.left + 3, r.top + 3}},
      {kPoint, nullptr, point, {edges}, {shaped, empty}, {600, 700}},
      {kPoint, edges, point, {edges}, {}, {699, 749}},
      {kPoint, nullptr, point, {}, {edges}, {700, 720}},
      {kPoint, nullptr, point, {}, {edges}, {650, 750}},
      {kPoint, nullptr, point, {}, {shaped}, {105, 605}},
      {kPoint, nullptr, point, {shaped}, {}, {200, 700}},
      {kPoint, nullptr, point, {}, {empty}, {450, 650}},
      {IDC_FILTER_DESC, f.a3, "W :  Descendants" + kSuffix, {f.a2, f.a3, f.b3}, {f.a1, f.m, desktop}},
  };
  std::vector<ListRow> rows;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption + " " + std::to_string(c.at.x) + "," + std::to_string(c.at.y));
    ASSERT_TRUE(c.button != kPoint || MoveCursorTo(c.at.x, c.at.y));
    app.hTargetP = c.p;
    std::vector<LONG> grown = Box();
    grown[3] += 2 * Row();
    Click(c.button);
    EXPECT_EQ(WindowText(app.hTreeList), c.caption);
    EXPECT_EQ(Box(), grown);
    for (HWND w : c.in) EXPECT_TRUE(HasRow(w)) << Hex8(w);
    for (HWND w : c.out) EXPECT_FALSE(HasRow(w)) << Hex8(w);
    rows = ListRows();
    EXPECT_EQ(CountLabel(), c.button == IDC_FILTER_DESC ? std::to_string(rows.size()) : LabelFromRows());
    EXPECT_TRUE(c.p != HWND_MESSAGE_VALUE || writes.seen == 1) << "the same label written again";
    int selected = RowIndexOf(c.p);
    EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), selected);
    if (!rows.empty()) {  // without rows there was nothing to rebuild
      EXPECT_EQ(WindowText(app.hTreeCombo), selected < 0 ? "" : rows[selected].line);
    }
  }
  // W's row first, depth counted from the desktop, even for a pseudo-value; the lock is set.
  EXPECT_EQ(rows[0].line, TreeLine(f.a2, ' ', " +", "TestChild", f.Text("a2")));
  EXPECT_TRUE(Locked());
  app.hTargetW = HWND_MESSAGE_VALUE;
  Click(IDC_FILTER_DESC);
  EXPECT_EQ(ListRows()[0].line + " " + std::to_string(ListRows()[0].data), "HWND_MESSAGE -3");
  for (HWND w : {edges, shaped, empty}) DestroyWindow(w);
}

// Closed: the drop-down form. M/: the free form, refreshed, shown where it stood, taller (the list
// trims itself to whole rows). A close request is swallowed; free, a step refreshes nothing.
TEST_F(TreeTest, MonitorButtonShowsTheFreeFormThatAStepDoesNotRefresh) {
  DWORD dropDown = Form();
  EXPECT_EQ(dropDown & (WS_POPUP | WS_DLGFRAME | WS_THICKFRAME | WS_BORDER), DWORD(WS_BORDER));
  HWND w = MakeTopWindow("tree choice", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  std::vector<LONG> closed = Box();
  Click(IDC_MONITOR);
  std::vector<LONG> free = Box();
  EXPECT_EQ(Form(), dropDown | WS_POPUP | WS_CAPTION | WS_THICKFRAME);
  EXPECT_TRUE(HasRow(w));
  EXPECT_TRUE(free[0] == closed[0] && free[1] == closed[1] && free[2] == closed[2]);
  EXPECT_TRUE(free[3] > closed[3] + Row() && free[3] <= closed[3] + 2 * Row()) << free[3] - closed[3];
  SendMessageA(app.hTreeList, WM_CLOSE, 0, 0);
  HWND later = MakeTopWindow("tree later", WS_POPUP);
  TreeMonitorStep();
  EXPECT_TRUE(IsWindowVisible(app.hTreeList) && !HasRow(later));
  EXPECT_NE(ListTextColor(), kMonitorBlue);
  for (HWND x : {w, later}) DestroyWindow(x);
}

// A left click on a row makes it P; a right click makes it W and sets the lock, and its request
// for a context menu must not reach the main dialog (a right click there switches a control).
TEST_F(TreeTest, RealClicksOnARowMakeItPOrLockedW) {
  HWND w = MakeTopWindow("tree choice", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  Click(IDC_MONITOR);
  MessageCount menus(dlg_, WM_CONTEXTMENU);
  for (HWND row : {w, HWND_MESSAGE_VALUE, HWND_DESKTOP_VALUE}) {
    SCOPED_TRACE(Hex8(row));
    int index = RowIndexOf(row);
    SendMessageA(app.hTreeList, LB_SETTOPINDEX, index, 0);
    RECT r{};
    ASSERT_NE(SendMessageA(app.hTreeList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)), LB_ERR);
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(app.hTreeList, &centre);
    app.hTargetP = dlg_;
    app.hTargetW = dlg_;
    Unlock();
    ASSERT_TRUE(ClickAt(centre, 1));
    EXPECT_TRUE(PumpUntil([&] { return app.hTargetP == row; }, 10000)) << Hex8(app.hTargetP);
    EXPECT_TRUE(app.hTargetW == dlg_ && !app.lockW);
    app.hTargetP = dlg_;
    ASSERT_TRUE(ClickAt(centre, 3));
    EXPECT_TRUE(PumpUntil([&] { return app.hTargetW == row; }, 10000)) << Hex8(app.hTargetW);
    EXPECT_TRUE(Locked() && app.hTargetP == dlg_);
    EXPECT_EQ(SendMessageA(app.hTreeList, LB_GETCURSEL, 0, 0), index);
  }
  EXPECT_EQ(menus.seen, 0u);
  DestroyWindow(w);
}

// A right click on the caption: monitoring, blue, refreshed at every step, height pinned, the
// caption kept until a filter command. Again, not as a double click: free and growing again.
TEST_F(TreeTest, ARightClickOnTheCaptionSwitchesTheMonitor) {
  Click(IDC_MONITOR);
  HWND later = MakeTopWindow("tree later", WS_POPUP);
  const std::vector<LONG> free = Box();
  POINT bar = CaptionOf(free);
  LONG pinned = Height();
  MessageCount menus(dlg_, WM_CONTEXTMENU);
  ASSERT_TRUE(ClickAt(bar, 3));
  EXPECT_TRUE(PumpUntil([&] { return app.monitorHeight == pinned; }, 10000)) << app.monitorHeight;
  EXPECT_EQ(ListTextColor(), kMonitorBlue);
  TreeMonitorStep();
  EXPECT_TRUE(HasRow(later));
  SetWindowPos(app.hTreeList, nullptr, 0, 0, free[2] - free[0] + 50, pinned + 90, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(Box()[2] == free[2] + 50 && Height() == pinned);
  app.hTargetP = dlg_;  // the caption names the process of P as the command found it
  Click(IDC_FILTER_PID);
  EXPECT_EQ(Height(), pinned);
  app.hTargetP = GetDesktopWindow();
  TreeMonitorStep();
  EXPECT_EQ(WindowText(app.hTreeList), "P :  pid_" + std::to_string(GetCurrentProcessId()) + "  " + kSuffix);
  bar.x += 4 * GetSystemMetrics(SM_CXDOUBLECLK);
  ASSERT_TRUE(ClickAt(bar, 3));
  EXPECT_TRUE(PumpUntil([&] { return app.monitorHeight == 0; }, 10000));
  EXPECT_NE(ListTextColor(), kMonitorBlue);
  Click(IDC_FILTER_PID);
  EXPECT_GT(Height(), pinned + Row());
  EXPECT_EQ(menus.seen, 0u);
  DestroyWindow(later);
}

// Hidden by M/ or any other way: the next step ends the monitor and restores the drop-down form.
TEST_F(TreeTest, AHiddenListEndsTheMonitorAtTheNextStep) {
  const DWORD dropDown = Form();
  for (bool byMonitorButton : {true, false}) {
    SCOPED_TRACE(byMonitorButton ? "hidden by M/" : "hidden otherwise");
    if (!IsWindowVisible(app.hTreeList)) Click(IDC_MONITOR);
    LONG pinned = Height();
    app.monitorHeight = pinned;  // as a right click on the caption sets it
    if (byMonitorButton) {
      Click(IDC_MONITOR);
    } else {
      ShowWindow(app.hTreeList, SW_HIDE);
    }
    EXPECT_TRUE(!IsWindowVisible(app.hTreeList) && Height() == pinned);
    TreeMonitorStep();
    EXPECT_TRUE(app.monitorHeight == 0 && Form() == dropDown);
  }
}

// Below the last row, or notification code 1 from another control: W and P stay.
TEST_F(TreeTest, ARightClickBelowTheRowsOrAnotherControlsNotificationChoosesNothing) {
  HWND w = MakeTopWindow("tree choice", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  app.hTargetW = w;
  Click(IDC_FILTER_DESC);  // one row, nothing selected
  app.hTargetW = dlg_;
  app.hTargetP = dlg_;
  SendMessageA(app.hTreeList, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, Height() - 3 * Row()));
  SendMessageA(dlg_, WM_COMMAND, MAKEWPARAM(IDC_REPORT, CBN_SELCHANGE), 0);
  EXPECT_TRUE(app.hTargetW == dlg_ && app.hTargetP == dlg_);
  DestroyWindow(w);
}

}  // namespace
