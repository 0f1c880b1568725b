// The report in the real main dialog, each row against the test's own reading of the window it describes.
#include <map>

#include "app/app_state.h"
#include "inspector/inspector.h"
#include "inspector_helpers.h"
#include "res/resource.h"

namespace {
using namespace inspector_test;

std::map<HWND, int> gTextWrites;  // WM_SETTEXT sent to each window of this thread
LRESULT CALLBACK CountTextWrites(int code, WPARAM wp, LPARAM lp) {
  gTextWrites[reinterpret_cast<CWPSTRUCT*>(lp)->hwnd] += reinterpret_cast<CWPSTRUCT*>(lp)->message == WM_SETTEXT;
  return CallNextHookEx(nullptr, code, wp, lp);
}
bool KeysDown() { return GetAsyncKeyState(VK_F8) & GetAsyncKeyState(VK_F9) & 0x8000; }
bool KeysUp() { return !((GetAsyncKeyState(VK_F8) | GetAsyncKeyState(VK_F9)) & 0x8000); }
POINT Center(HWND w) { RECT r{}; GetWindowRect(w, &r); return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The real main dialog, ticked by hand, with a parent, its child, a popup it owns and an owned non-popup.
class Inspector : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
    top_ = Known(MakeTopWindow("top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 20, 520, 500, 300), " _O_VE-");
    child_ = Known(MakeChildWindow(top_, "child", 5, WS_CHILD | WS_VISIBLE, 10, 10, 200, 200), " _C_VE-");
    lo_ = Known(MakeTopWindow("owned, no popup", WS_CAPTION | WS_VISIBLE, 0, top_, 800, 100, 300, 200), " _O_VE-");
    owned_ = Known(MakeTopWindow("owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, top_, 700, 520, 240, 160), " _P_VE-");
    SetActiveWindow(owned_);  // the owner remembers its last active popup
    Known(GetDesktopWindow(), " _P_VE+"), Known(dlg_, " TP_VE+");  // Wine's desktop: a visible clipping popup
  }
  void TearDown() override { DestroyWindow(top_); MainDialogTest::TearDown(); }
  HWND Known(HWND w, const char* symbols) { symbols_[w] = symbols; return w; }
  // The row of a window whose symbols the test knows; its executable asked of the process itself.
  std::string RowFor(HWND h, const char* shown = nullptr, const char* prefix = " ", int number = -1) {
    if (h == nullptr || h == HWND_MESSAGE) return h ? "\r\n\r\n  HWND_MESSAGE" : kZeroRow;
    DWORD pid = 0, size = MAX_PATH;
    char path[MAX_PATH] = "";
    GetWindowThreadProcessId(h, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    QueryFullProcessImageNameA(process, 0, path, &size), CloseHandle(process);
    int place = number < 0 ? EnumPosition(GetDesktopWindow(), h) : number;  // the desktop itself is at 0
    return ExpectedRow(h, {prefix, place, symbols_.at(h), ClassOf(h), shown ? shown : WindowText(h).substr(0, 62),
                           DWORD(GetWindowLongPtrA(h, GWLP_ID)), strrchr(path, '\\') ? strrchr(path, '\\') + 1 : path});
  }
  std::string ShownRow(int k) {  // row k (1 to 10) of the report that the pane shows
    std::vector<std::string> lines = Lines(WindowText(Item(IDC_REPORT)));
    return lines.size() > 2u * k ? "\r\n\r\n" + lines[2 * k] : "(no row)";
  }
  LONG PaneLeft() {  // whatever moved the pane, it keeps its row and size behind the legend
    RECT r;
    GetWindowRect(Item(IDC_REPORT), &r), MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(r.top == app.reportY && r.right - r.left == app.reportWidth && r.bottom - r.top == app.reportHeight);
    EXPECT_EQ(GetWindow(Item(IDC_LEGEND), GW_HWNDNEXT), Item(IDC_REPORT));
    return r.left;
  }
  HWND top_ = nullptr, child_ = nullptr, lo_ = nullptr, owned_ = nullptr;
  std::map<HWND, const char*> symbols_;
};

TEST_F(Inspector, RowsShowStyleSymbolsOneLineOfTextTheIdsLow16BitsTheZOrderPlaceAndTheExecutable) {
  constexpr DWORD kTop = WS_OVERLAPPEDWINDOW | WS_VISIBLE, kChild = WS_CHILD | WS_VISIBLE;
  const struct { const char* text; DWORD style, ex; int id; const char* symbols, *shown; } cases[] = {
      {"line\r\nbreaks\rand\nmore", kTop, 0, 0, " _O_VE-", "line  breaks and more"},
      {"id 0x1ABCD", kChild, 0, 0x1ABCD, " _C_VE-"},      {"popup child", kChild | WS_POPUP, 0, 0, " _X_VE-"},
      {"layered", kTop, WS_EX_LAYERED, 0, "L_O_VE-"},     {"topmost", kTop, WS_EX_TOPMOST, 0, " TO_VE-"},
      {"minimized", kTop | WS_MINIMIZE, 0, 0, " _OmVE-"}, {"maximized", kTop | WS_MAXIMIZE, 0, 0, " _OMVE-"},
      {"both", kTop | WS_MINIMIZE | WS_MAXIMIZE, 0, 0, " _OMVE-"}, {"disabled", kChild | WS_DISABLED, 0, 3, " _C_VD-"},
      {"hidden disabled clipping", WS_OVERLAPPEDWINDOW | WS_DISABLED | WS_CLIPCHILDREN, 0, 0, " _O_HD+"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    HWND w = Known(CreateWindowExA(c.ex, (c.style & WS_CHILD) ? "TestChild" : "TestTop", c.text, c.style, 50, 510, 200,
                                   120, (c.style & WS_CHILD) ? top_ : nullptr, HMENU(INT_PTR(c.id)), 0, 0), c.symbols);
    SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) | (c.style & WS_MAXIMIZE));  // kept if minimized
    app.lockW = TRUE, app.hTargetW = w, InspectTick(dlg_);
    EXPECT_EQ(ShownRow(1), RowFor(w, c.shown));
    DestroyWindow(w);
  }
  // Message-only windows are counted in a tree of their own, whose root stands at place 0.
  HWND msg = Known(CreateWindowExA(0, "TestTop", "message-only", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, 0, 0), " _O_HE-");
  HWND root = Known(GetAncestor(msg, GA_PARENT), " _P_HE+");
  app.hTargetW = root, app.hTargetP = msg, InspectTick(dlg_);
  EXPECT_EQ(ShownRow(1), RowFor(root, nullptr, "o", 0));
  EXPECT_EQ(ShownRow(2), RowFor(msg, nullptr, "o", EnumPosition(root, msg)));
  DestroyWindow(msg);
}

TEST_F(Inspector, TheReportPaneShowsTenRowsInOrderIsWrittenOnlyOnAChangeAndMovesOnlyLeftOfHome) {
  HWND desk = GetDesktopWindow(), o = nullptr, target = Item(IDC_TARGET), pane = Item(IDC_REPORT);
  gTextWrites.clear();
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountTextWrites, nullptr, GetCurrentThreadId());
  // {W, P, target box checked, caption writes so far, rows}; this Wine never reports an enabled popup.
  const struct { HWND w, p; bool targetW; int captionWrites; std::vector<HWND> rows; } cases[] = {
      {child_, top_, false, 0, {child_, top_, o, top_, top_, top_, top_, top_, o, owned_}},
      {owned_, top_, true, 1, {owned_, top_, top_, top_, top_, desk, owned_, top_, o, owned_}},
      {top_, owned_, true, 1, {top_, owned_, o, o, o, desk, top_, top_, o, o}},  // P is its own last popup
      {top_, HWND_MESSAGE, false, 2, {top_, HWND_MESSAGE, o, o, o, desk, top_, top_, o, o}},
      {lo_, top_, true, 3, {lo_, top_, top_, top_, o, desk, lo_, lo_, o, owned_}},  // no popup: no parent
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    CheckDlgButton(dlg_, IDC_TARGET, c.targetW ? BST_CHECKED : BST_UNCHECKED);
    app.lockW = TRUE, app.hTargetW = c.w, app.hTargetP = c.p;
    InspectTick(dlg_), InspectTick(dlg_);  // the same scene twice: written once
    std::string expected = kHeader;
    for (HWND h : c.rows) expected += RowFor(h);
    EXPECT_EQ(WindowText(pane), expected);
    EXPECT_EQ(gTextWrites[pane], &c - cases + 1);
    EXPECT_TRUE(gTextWrites[target] == c.captionWrites && WindowText(target) == (c.targetW ? "W" : "P"));
    EXPECT_TRUE(app.hTargetP == c.p && app.hCommandTarget == (c.targetW ? c.w : c.p));
  }
  SetWindowTextA(target, "Wx"), InspectTick(dlg_);  // a caption that is not exactly the letter is written again
  EXPECT_TRUE(gTextWrites[target] == 5 && WindowText(target) == "W");
  UnhookWindowsHookEx(hook);
  const LONG x = app.reportX, y = app.reportY;
  SetWindowPos(pane, HWND_TOP, x + 60, y + 30, 200, 50, 0);  // right of home, off its row, resized
  EXPECT_EQ(PaneLeft(), x);
  // Dragged by its body from right of the legend: the system's move loop follows the mouse until the button is up.
  POINT start = {x + 150, y + 80};
  ClientToScreen(dlg_, &start);
  // Under this Wine a window made after the topmost dialog lies above it for the X server, which
  // sends it the real press: the window that a wider font puts under the dialog goes first.
  ShowWindow(lo_, SW_HIDE);
  ASSERT_TRUE(WindowFromPoint(start) == pane && MouseTo(start.x, start.y) &&
              Xdotool("mousedown 1 mousemove_relative --sync -- -60 25 mousemove_relative --sync -- -60 25 mouseup 1"));
  EXPECT_TRUE(PumpUntil([&] { return PaneLeft() == x - 120; }, 20000));
  ASSERT_TRUE(MouseTo(start.x, start.y) && Xdotool("click --repeat 2 --delay 80 1"));
  EXPECT_TRUE(PumpUntil([&] { return PaneLeft() == x; }, 20000));
}

TEST_F(Inspector, WithTheLockOffTheWindowUnderTheCursorIsInspectedAndRealF8AndF9PickIt) {
  HWND hidden = MakeChildWindow(child_, "hidden", 2, WS_CHILD, 20, 20, 100, 100);
  HWND disabled = Known(MakeChildWindow(top_, "", 3, WS_CHILD | WS_VISIBLE | WS_DISABLED, 250, 10, 100, 80), " _C_VD-");
  HWND clear = Known(CreateWindowExA(WS_EX_TRANSPARENT, "TestChild", "see-through", WS_CHILD | WS_VISIBLE, 250, 120,
                                     200, 120, top_, HMENU(4), nullptr, nullptr), " _C_VE-");
  HWND button = Known(Item(IDC_SETPARENT), " _C_VE-"), desk = GetDesktopWindow();
  POINT corner = {GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3};
  ASSERT_EQ(WindowFromPoint(corner), desk) << "a window lies in the screen's corner";
  // Hidden windows are passed over, disabled ones found, transparent ones only without "real"; the tool's own too.
  const POINT inHidden = Center(hidden), inDisabled = Center(disabled), inClear = Center(clear);
  const struct { POINT at; bool real; HWND found; } probes[] = {
      {inHidden, false, child_}, {inDisabled, false, disabled}, {inClear, false, clear}, {inClear, true, top_},
      {Center(button), false, button}, {corner, false, desk},
  };
  app.hTargetW = owned_;
  for (const auto& probe : probes) {
    SCOPED_TRACE(std::string(probe.real ? "real " : "") + Hex8(probe.found));
    CheckDlgButton(dlg_, IDC_REAL, probe.real ? BST_CHECKED : BST_UNCHECKED);
    SetCursorPos(probe.at.x, probe.at.y);
    InspectTick(dlg_);
    EXPECT_EQ(ShownRow(1), RowFor(probe.found));
    EXPECT_EQ(ShownRow(7), RowFor(GetAncestor(probe.found, GA_ROOT)));  // its relations, not W's
    EXPECT_TRUE(app.hTargetW == owned_ && !app.lockW);
  }
  // Real keys, held down: W and P become the window under the cursor, W with the lock.
  const POINT at = Center(owned_);
  SetCursorPos(at.x, at.y);
  struct Release { ~Release() { KeyUp("F8 F9"); PumpUntil(KeysUp); } } release;  // also when the test stops early
  ASSERT_TRUE(KeyDown("F8 F9") && PumpUntil(KeysDown, 20000));
  InspectTick(dlg_);
  EXPECT_TRUE(IsDlgButtonChecked(dlg_, IDC_LOCK) && app.lockW && app.hTargetW == owned_ && app.hTargetP == owned_);
  EXPECT_TRUE(app.ptF9.x == at.x && app.ptF9.y == at.y && !app.hCommandTarget);  // settled before the keys
  EXPECT_EQ(ShownRow(1) + ShownRow(2), RowFor(owned_) + RowFor(owned_));
  SetCursorPos(Center(child_).x, Center(child_).y);  // keys still down: locked, so W, P and the point stay
  ASSERT_TRUE(KeysDown());
  InspectTick(dlg_);
  EXPECT_TRUE(app.hTargetW == owned_ && app.hTargetP == owned_ && app.ptF9.x == at.x && app.hCommandTarget == owned_);
  SendDlgItemMessageA(dlg_, IDC_LOCK, BM_CLICK, 0, 0);  // only a click clears the lock
  EXPECT_EQ(app.lockW, FALSE);
}

}  // namespace
