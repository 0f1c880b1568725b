// The report in the real main dialog, each row against the test's own reading of the window it describes.
#include <map>

#include "app/app_state.h"
#include "inspector/inspector.h"
#include "inspector_helpers.h"
#include "res/resource.h"

namespace {
using namespace inspector_test;

std::map<HWND, int> gTextWrites;  // WM_SETTEXT sent to each window of this thread
LRESULT CALLBACK CountTextWritesProc(int code, WPARAM wp, LPARAM lp) {
  const CWPSTRUCT& sent = *reinterpret_cast<CWPSTRUCT*>(lp);
  if (sent.message == WM_SETTEXT) ++gTextWrites[sent.hwnd];
  return CallNextHookEx(nullptr, code, wp, lp);
}
bool KeysDown() { return GetAsyncKeyState(VK_F8) & GetAsyncKeyState(VK_F9) & 0x8000; }
bool KeysUp() { return !((GetAsyncKeyState(VK_F8) | GetAsyncKeyState(VK_F9)) & 0x8000); }
POINT Center(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
// The file name of the executable that runs a window, asked of its process itself.
std::string ExeOf(HWND w) {
  DWORD pid = 0;
  DWORD size = MAX_PATH;
  char path[MAX_PATH] = "";
  GetWindowThreadProcessId(w, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  QueryFullProcessImageNameA(process, 0, path, &size);
  CloseHandle(process);
  const char* name = strrchr(path, '\\');
  return name ? name + 1 : path;
}

// The real main dialog, ticked by hand, with a parent, its child, a popup it owns and an owned non-popup.
class Inspector : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
    top_ = MakeTopWindow("top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 20, 520, 500, 300);
    child_ = MakeChildWindow(top_, "child", 5, WS_CHILD | WS_VISIBLE, 10, 10, 200, 200);
    lo_ = MakeTopWindow("owned, no popup", WS_CAPTION | WS_VISIBLE, 0, top_, 800, 100, 300, 200);
    owned_ = MakeTopWindow("owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, top_, 700, 520, 240, 160);
    SetActiveWindow(owned_);  // the owner remembers its last active popup
    symbols_ = {
        {top_, " _O_VE-"},
        {child_, " _C_VE-"},
        {lo_, " _O_VE-"},
        {owned_, " _P_VE-"},
        {GetDesktopWindow(), " _P_VE+"},  // Wine's desktop: a visible clipping popup
        {dlg_, " TP_VE+"},
    };
  }
  void TearDown() override {
    DestroyWindow(top_);
    MainDialogTest::TearDown();
  }
  HWND Known(HWND w, const char* symbols) {
    symbols_[w] = symbols;
    return w;
  }
  // The row of a window whose symbols the test knows: its place among the desktop's descendants unless
  // given (the desktop itself is at 0), and its text cut to one line of 62 characters unless given.
  std::string RowFor(HWND h, const char* shown = nullptr, const char* prefix = " ", int number = -1) {
    if (h == HWND_MESSAGE) return "\r\n\r\n  HWND_MESSAGE";
    if (h == nullptr) return kZeroRow;
    const int place = number < 0 ? EnumPosition(GetDesktopWindow(), h) : number;
    const std::string text = shown ? shown : WindowText(h).substr(0, 62);
    const DWORD id = static_cast<DWORD>(GetWindowLongPtrA(h, GWLP_ID));
    return ExpectedRow(h, {prefix, place, symbols_.at(h), ClassOf(h), text, id, ExeOf(h)});
  }
  // Row k (1 to 10) of the report that the pane shows.
  std::string ShownRow(int k) {
    std::vector<std::string> lines = Lines(WindowText(Item(IDC_REPORT)));
    return lines.size() > 2u * k ? "\r\n\r\n" + lines[2 * k] : "(no row)";
  }
  // Whatever moved the pane, it keeps its row and size behind the legend.
  LONG PaneLeft() {
    RECT r;
    GetWindowRect(Item(IDC_REPORT), &r);
    MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, app.reportY);
    EXPECT_EQ(r.right - r.left, app.reportWidth);
    EXPECT_EQ(r.bottom - r.top, app.reportHeight);
    EXPECT_EQ(GetWindow(Item(IDC_LEGEND), GW_HWNDNEXT), Item(IDC_REPORT));
    return r.left;
  }
  HWND top_ = nullptr;
  HWND child_ = nullptr;
  HWND lo_ = nullptr;
  HWND owned_ = nullptr;
  std::map<HWND, const char*> symbols_;
};

TEST_F(Inspector, ARowShowsStyleSymbolsOneLineOfTextAndTheIdsLow16Bits) {
  // Every row also shows the window's Z-order place and its process's executable.
  constexpr DWORD kTop = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  const struct { const char* text; DWORD style, ex; int id; const char* symbols, *shown; } cases[] = {
      {"line\r\nbreaks\rand\nmore", kTop, 0, 0, " _O_VE-", "line  breaks and more"},
      {"id 0x1ABCD", kChild, 0, 0x1ABCD, " _C_VE-"},
      {"popup child", kChild | WS_POPUP, 0, 0, " _X_VE-"},
      {"layered", kTop, WS_EX_LAYERED, 0, "L_O_VE-"},
      {"topmost", kTop, WS_EX_TOPMOST, 0, " TO_VE-"},
      {"minimized", kTop | WS_MINIMIZE, 0, 0, " _OmVE-"},
      {"maximized", kTop | WS_MAXIMIZE, 0, 0, " _OMVE-"},
      {"both", kTop | WS_MINIMIZE | WS_MAXIMIZE, 0, 0, " _OMVE-"},
      {"disabled", kChild | WS_DISABLED, 0, 3, " _C_VD-"},
      {"hidden disabled clipping", WS_OVERLAPPEDWINDOW | WS_DISABLED | WS_CLIPCHILDREN, 0, 0, " _O_HD+"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const bool isChild = (c.style & WS_CHILD) != 0;
    HWND w = CreateWindowExA(c.ex, isChild ? "TestChild" : "TestTop", c.text, c.style, 50, 510, 200, 120,
                             isChild ? top_ : nullptr, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                             nullptr, nullptr);
    Known(w, c.symbols);
    // A window made minimized loses WS_MAXIMIZE; set again afterwards it is kept.
    SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) | (c.style & WS_MAXIMIZE));
    app.lockW = TRUE;
    app.hTargetW = w;
    InspectTick(dlg_);
    EXPECT_EQ(ShownRow(1), RowFor(w, c.shown));
    DestroyWindow(w);
  }
}

TEST_F(Inspector, MessageOnlyWindowsAreCountedInATreeWhoseRootStandsAtZero) {
  HWND msg = CreateWindowExA(0, "TestTop", "message-only", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                             nullptr);
  Known(msg, " _O_HE-");
  HWND root = Known(GetAncestor(msg, GA_PARENT), " _P_HE+");
  app.lockW = TRUE;
  app.hTargetW = root;
  app.hTargetP = msg;
  InspectTick(dlg_);
  EXPECT_EQ(ShownRow(1), RowFor(root, nullptr, "o", 0));
  EXPECT_EQ(ShownRow(2), RowFor(msg, nullptr, "o", EnumPosition(root, msg)));
  DestroyWindow(msg);
}

TEST_F(Inspector, TheReportShowsTenRowsInOrderAndIsWrittenOnlyWhenItChanges) {
  HWND desk = GetDesktopWindow();
  HWND o = nullptr;
  HWND target = Item(IDC_TARGET);
  HWND pane = Item(IDC_REPORT);
  gTextWrites.clear();
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountTextWritesProc, nullptr, GetCurrentThreadId());
  struct Scene {
    HWND w, p;
    bool targetW;       // the target box checked: commands go to W
    int paneWrites;     // WM_SETTEXT to the pane so far
    int captionWrites;  // WM_SETTEXT to the target box so far
    std::vector<HWND> rows;
  };
  // This Wine never reports an enabled popup.
  const Scene scenes[] = {
      {child_, top_, false, 1, 0, {child_, top_, o, top_, top_, top_, top_, top_, o, owned_}},
      {owned_, top_, true, 2, 1, {owned_, top_, top_, top_, top_, desk, owned_, top_, o, owned_}},
      {top_, owned_, true, 3, 1, {top_, owned_, o, o, o, desk, top_, top_, o, o}},  // P: its own last popup
      {top_, HWND_MESSAGE, false, 4, 2, {top_, HWND_MESSAGE, o, o, o, desk, top_, top_, o, o}},
      {lo_, top_, true, 5, 3, {lo_, top_, top_, top_, o, desk, lo_, lo_, o, owned_}},  // no popup: no parent
  };
  for (const Scene& s : scenes) {
    SCOPED_TRACE(&s - scenes);
    CheckDlgButton(dlg_, IDC_TARGET, s.targetW ? BST_CHECKED : BST_UNCHECKED);
    app.lockW = TRUE;
    app.hTargetW = s.w;
    app.hTargetP = s.p;
    InspectTick(dlg_);
    InspectTick(dlg_);  // the same scene twice: written once
    std::string expected = kHeader;
    for (HWND h : s.rows) expected += RowFor(h);
    EXPECT_EQ(WindowText(pane), expected);
    EXPECT_EQ(gTextWrites[pane], s.paneWrites);
    EXPECT_EQ(gTextWrites[target], s.captionWrites);
    EXPECT_EQ(WindowText(target), s.targetW ? "W" : "P");
    EXPECT_EQ(app.hTargetP, s.p);
    EXPECT_EQ(app.hCommandTarget, s.targetW ? s.w : s.p);
  }
  SetWindowTextA(target, "Wx");  // a caption that is not exactly the letter is written again
  InspectTick(dlg_);
  EXPECT_EQ(gTextWrites[target], 5);
  EXPECT_EQ(WindowText(target), "W");
  UnhookWindowsHookEx(hook);
}

TEST_F(Inspector, TheReportPaneMovesOnlyLeftOfItsHome) {
  HWND pane = Item(IDC_REPORT);
  const LONG x = app.reportX;
  const LONG y = app.reportY;
  SetWindowPos(pane, HWND_TOP, x + 60, y + 30, 200, 50, 0);  // right of home, off its row, resized
  EXPECT_EQ(PaneLeft(), x);
  // Dragged by its body from right of the legend: the system's move loop follows the mouse until the
  // button is up. A double click takes it home.
  POINT start = {x + 150, y + 80};
  ClientToScreen(dlg_, &start);
  // Under this Wine a window made after the topmost dialog lies above it for the X server, which
  // sends it the real press: the window that a wider font puts under the dialog goes first.
  ShowWindow(lo_, SW_HIDE);
  ASSERT_EQ(WindowFromPoint(start), pane);
  ASSERT_TRUE(MouseTo(start.x, start.y));
  ASSERT_TRUE(Xdotool("mousedown 1 mousemove_relative --sync -- -60 25 "
                      "mousemove_relative --sync -- -60 25 mouseup 1"));
  EXPECT_TRUE(PumpUntil([&] { return PaneLeft() == x - 120; }, 20000));
  ASSERT_TRUE(MouseTo(start.x, start.y));
  ASSERT_TRUE(Xdotool("click --repeat 2 --delay 80 1"));
  EXPECT_TRUE(PumpUntil([&] { return PaneLeft() == x; }, 20000));
}

TEST_F(Inspector, WithTheLockOffTheWindowUnderTheCursorIsInspected) {
  HWND hidden = MakeChildWindow(child_, "hidden", 2, WS_CHILD, 20, 20, 100, 100);
  HWND disabled = MakeChildWindow(top_, "", 3, WS_CHILD | WS_VISIBLE | WS_DISABLED, 250, 10, 100, 80);
  HWND clear = CreateWindowExA(WS_EX_TRANSPARENT, "TestChild", "see-through", WS_CHILD | WS_VISIBLE,
                               250, 120, 200, 120, top_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(4)),
                               nullptr, nullptr);
  HWND button = Item(IDC_SETPARENT);
  HWND desk = GetDesktopWindow();
  Known(disabled, " _C_VD-");
  Known(clear, " _C_VE-");
  Known(button, " _C_VE-");
  POINT corner = {GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3};
  ASSERT_EQ(WindowFromPoint(corner), desk) << "a window lies in the screen's corner";
  // Hidden windows are passed over, disabled ones found, transparent ones only without "real"; the
  // tool's own too.
  const POINT inClear = Center(clear);
  const struct { POINT at; bool real; HWND found; } probes[] = {
      {Center(hidden), false, child_},
      {Center(disabled), false, disabled},
      {inClear, false, clear},
      {inClear, true, top_},
      {Center(button), false, button},
      {corner, false, desk},
  };
  app.hTargetW = owned_;
  for (const auto& probe : probes) {
    SCOPED_TRACE(std::string(probe.real ? "real " : "") + Hex8(probe.found));
    CheckDlgButton(dlg_, IDC_REAL, probe.real ? BST_CHECKED : BST_UNCHECKED);
    SetCursorPos(probe.at.x, probe.at.y);
    InspectTick(dlg_);
    EXPECT_EQ(ShownRow(1), RowFor(probe.found));
    EXPECT_EQ(ShownRow(7), RowFor(GetAncestor(probe.found, GA_ROOT)));  // its relations, not W's
    EXPECT_EQ(app.hTargetW, owned_);
    EXPECT_FALSE(app.lockW);
  }
}

TEST_F(Inspector, HeldRealF8F9MakeTheWindowUnderTheCursorBothTargetsWithTheLock) {
  app.hTargetW = top_;  // another window: the keys must change W
  const POINT at = Center(owned_);
  SetCursorPos(at.x, at.y);
  // The keys go up again also when the test stops early.
  struct Release {
    ~Release() {
      KeyUp("F8 F9");
      PumpUntil(KeysUp);
    }
  } release;
  ASSERT_TRUE(KeyDown("F8 F9"));
  ASSERT_TRUE(PumpUntil(KeysDown, 20000));
  InspectTick(dlg_);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), BST_CHECKED);
  EXPECT_TRUE(app.lockW);
  EXPECT_EQ(app.hTargetW, owned_);
  EXPECT_EQ(app.hTargetP, owned_);
  EXPECT_EQ(app.ptF9.x, at.x);
  EXPECT_EQ(app.ptF9.y, at.y);
  EXPECT_EQ(app.hCommandTarget, nullptr);  // settled before the keys
  EXPECT_EQ(ShownRow(1) + ShownRow(2), RowFor(owned_) + RowFor(owned_));
  // Keys still down over another window: locked, so W, P and the point stay.
  SetCursorPos(Center(child_).x, Center(child_).y);
  ASSERT_TRUE(KeysDown());
  InspectTick(dlg_);
  EXPECT_EQ(app.hTargetW, owned_);
  EXPECT_EQ(app.hTargetP, owned_);
  EXPECT_EQ(app.ptF9.x, at.x);
  EXPECT_EQ(app.hCommandTarget, owned_);
  SendDlgItemMessageA(dlg_, IDC_LOCK, BM_CLICK, 0, 0);  // only a click clears the lock
  EXPECT_EQ(app.lockW, FALSE);
}

}  // namespace
