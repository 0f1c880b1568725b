// The relationship report inside the real main dialog: one row per window (of this process, of
// helper processes, of a hung one), the tick with the cursor, real F8 and F9 and the lock, when the
// pane and the target caption are rewritten, and where the pane may go.
#include <map>

#include "app/app_state.h"
#include "inspector/inspector.h"
#include "inspector_helpers.h"
#include "res/resource.h"

namespace {

using namespace inspector_test;

std::map<HWND, int> gTextWrites;  // WM_SETTEXT sent to each window of this thread
LRESULT CALLBACK CountTextWrites(int code, WPARAM wp, LPARAM lp) {
  auto* m = reinterpret_cast<CWPSTRUCT*>(lp);
  gTextWrites[m->hwnd] += m->message == WM_SETTEXT;
  return CallNextHookEx(nullptr, code, wp, lp);
}
bool KeysDown() { return GetAsyncKeyState(VK_F8) & GetAsyncKeyState(VK_F9) & 0x8000; }
bool KeysUp() { return !((GetAsyncKeyState(VK_F8) | GetAsyncKeyState(VK_F9)) & 0x8000); }

// The real main dialog, with a parent, its child and a popup it owns below the dialog.
class Inspector : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
    top_ = Known(MakeTopWindow("top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 20, 520, 500, 300), " _O_VE-");
    child_ = Known(MakeChildWindow(top_, "child", 5, WS_CHILD | WS_VISIBLE, 10, 10, 200, 200), " _C_VE-");
    owned_ = Known(MakeTopWindow("owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, top_, 700, 520, 240, 160), " _P_VE-");
    SetActiveWindow(owned_);  // the owner remembers its last active popup
    Pump();
  }
  void TearDown() override { DestroyWindow(top_); MainDialogTest::TearDown(); }
  HWND Known(HWND w, const char* symbols) { symbols_[w] = symbols; return w; }
  // Describes h into a report that already holds text, so the row must be appended.
  std::string Row(HWND h) {
    char report[kReportChars] = "before";
    EXPECT_EQ(DescribeWindow(h, report), h);
    EXPECT_EQ(std::string(report, 6), "before");
    return report + 6;
  }
  std::string RowFor(HWND h) {
    if (h == nullptr || h == HWND_MESSAGE) return h ? "\r\n\r\n  HWND_MESSAGE" : kZeroRow;
    // The desktop stands at place 0 of its tree; under Wine it is a visible, clipping popup.
    if (h == GetDesktopWindow()) return ExpectedRow(h, " _P_VE+", "#32769", "", 0, " ", 0);
    return ExpectedRow(h, symbols_.at(h), ClassOf(h).substr(0, 62), WindowText(h).substr(0, 62),
                       DWORD(GetWindowLongPtrA(h, GWLP_ID)));
  }
  std::string ExpectedReport(const std::vector<HWND>& rows) {
    std::string text = kHeader;
    for (HWND h : rows) text += RowFor(h);
    return rows.size() == 10 ? text : "ten rows expected";
  }
  std::string ShownRow(int k) {  // row k (1 to 10) of the report that the pane shows
    std::vector<std::string> lines = Lines(WindowText(Item(IDC_REPORT)));
    return int(lines.size()) > 2 * k ? "\r\n\r\n" + lines[2 * k] : "";
  }
  static POINT Center(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void LockAndTick(HWND w, HWND p) {
    CheckDlgButton(dlg_, IDC_LOCK, BST_CHECKED);
    app.lockW = TRUE; app.hTargetW = w; app.hTargetP = p;
    InspectTick(dlg_);
  }
  // The pane's left edge in the dialog; whatever moved it, it keeps its row and size behind the legend.
  LONG PaneLeft() {
    RECT r;
    GetWindowRect(Item(IDC_REPORT), &r);
    MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(r.top == app.reportY && r.right - r.left == app.reportWidth && r.bottom - r.top == app.reportHeight);
    EXPECT_EQ(GetWindow(Item(IDC_LEGEND), GW_HWNDNEXT), Item(IDC_REPORT));
    return r.left;
  }
  HWND top_ = nullptr, child_ = nullptr, owned_ = nullptr;
  std::map<HWND, const char*> symbols_;
};

TEST_F(Inspector, FullRowsShowStyleSymbolsTextAndTheLow16BitsOfTheId) {
  constexpr DWORD kTop = WS_OVERLAPPEDWINDOW | WS_VISIBLE, kChild = WS_CHILD | WS_VISIBLE;
  const struct { const char* text; DWORD style, ex; int id; const char* symbols, *shown; } cases[] = {
      {"line\r\nbreaks\rand\nmore", kTop, 0, 0, " _O_VE-", "line  breaks and more"},
      {"child with id above 0xFFFF", kChild, 0, 0x1ABCD, " _C_VE-"},
      {"popup child", kChild | WS_POPUP, 0, 0, " _X_VE-"},  // both bits: the id slot holds a menu
      {"layered topmost popup", WS_POPUP | WS_VISIBLE, WS_EX_LAYERED | WS_EX_TOPMOST, 0, "LTP_VE-"},
      {"layered", kTop, WS_EX_LAYERED, 0, "L_O_VE-"},     {"topmost", kTop, WS_EX_TOPMOST, 0, " TO_VE-"},
      {"minimized", kTop | WS_MINIMIZE, 0, 0, " _OmVE-"},
      {"minimized and maximized", kTop | WS_MINIMIZE | WS_MAXIMIZE, 0, 0, " _OMVE-"},  // M wins
      {"hidden", WS_OVERLAPPEDWINDOW, 0, 0, " _O_HE-"},   {"disabled", kTop | WS_DISABLED, 0, 0, " _O_VD-"},
      {"clipping", kTop | WS_CLIPCHILDREN, 0, 0, " _O_VE+"}, {"maximized", kTop | WS_MAXIMIZE, 0, 0, " _OMVE-"},
      {"hidden disabled clipping child", WS_CHILD | WS_CLIPCHILDREN | WS_DISABLED, 0, 3, " _C_HD+"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const char* cls = (c.style & WS_CHILD) ? "TestChild" : "TestTop";
    HWND w = CreateWindowExA(c.ex, cls, c.text, c.style, 50, 510, 200, 120, (c.style & WS_CHILD) ? top_ : nullptr,
                             HMENU(INT_PTR(c.id)), GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) | (c.style & WS_MAXIMIZE));  // kept if minimized
    EXPECT_EQ(Row(w), ExpectedRow(w, c.symbols, cls, c.shown ? c.shown : c.text, c.id));
    EXPECT_STREQ(app.styleSymbols, c.symbols);
    DestroyWindow(w);
  }
}

TEST_F(Inspector, ZOrderNumberIsThePlaceInTheEnumerationOfTheWindowsTree) {
  HWND grandChild = MakeChildWindow(child_, "grandchild", 2);
  int topNumber = EnumPosition(GetDesktopWindow(), top_);
  // The enumeration visits a window's descendants right after the window.
  EXPECT_EQ(Row(top_), ExpectedRow(top_, " _O_VE-", "TestTop", "top", 0, " ", topNumber));
  EXPECT_EQ(Row(child_), ExpectedRow(child_, " _C_VE-", "TestChild", "child", 5, " ", topNumber + 1));
  EXPECT_EQ(Row(grandChild), ExpectedRow(grandChild, " _C_VE-", "TestChild", "grandchild", 2, " ", topNumber + 2));
  EXPECT_EQ(Row(GetDesktopWindow()), RowFor(GetDesktopWindow()));

  // The message-only tree's root stands at place 0 of that tree.
  EXPECT_EQ(Row(app.hMessageRoot), ExpectedRow(app.hMessageRoot, " _P_HE+", "Message", "", 0, "o", 0));
}

TEST_F(Inspector, WindowsOfOtherProcessesNameTheirExecutableAndAHungOneHasNoText) {
  HelperProcess helper, hung("hang");
  ASSERT_TRUE(helper.ok() && hung.ok());
  EXPECT_EQ(Row(helper.child), ExpectedRow(helper.child, " _C_VE-", "WinHostChild", helper.tag + " child", 77));
  EXPECT_EQ(Row(helper.msg), ExpectedRow(helper.msg, " _O_HE-", "WinHostMsg", helper.tag + " msg", 0, "o",
                                         EnumPosition(app.hMessageRoot, helper.msg)));
  EXPECT_TRUE(Row(helper.top).ends_with("    winhost.exe"));
  // The hung helper stops serving messages once its windows exist: wait until a bounded text request gives up.
  ASSERT_TRUE(PumpUntil([&] {
    char text[64] = "";
    return !SendMessageTimeoutA(hung.child, WM_GETTEXT, 63, LPARAM(text), SMTO_ABORTIFHUNG, 200, nullptr);
  }, 20000));
  EXPECT_EQ(Row(hung.child), ExpectedRow(hung.child, " _C_VE-", "WinHostChild", "", 77));
}

TEST_F(Inspector, ReportNamesTheRelationsOfWAndPAndKeepsThemWhenTheWindowsGo) {
  std::string cls = "VeryLongWindowClassNameForTheReportBoundsCheck_" + std::string(40, 'k');  // cut at 62
  WNDCLASSEXA wc{sizeof wc, 0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr)};
  wc.lpszClassName = cls.c_str();
  RegisterClassExA(&wc);
  HWND lt = Known(CreateWindowExA(WS_EX_LAYERED | WS_EX_TOPMOST, cls.c_str(), std::string(99, 'x').c_str(),
                                  WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 520, 300, 200, 0, 0, 0, 0), "LTP_VE+");
  HWND lo = Known(CreateWindowExA(WS_EX_LAYERED, cls.c_str(), std::string(99, 'y').c_str(), WS_CAPTION | WS_VISIBLE,
                                  400, 600, 300, 200, lt, 0, 0, 0), "LTO_VE-");  // topmost as its owner is
  SetActiveWindow(lo);
  Pump();
  HWND desk = GetDesktopWindow(), o = nullptr;
  // This Wine never reports an enabled popup, so row 9 is 0; a popup query answering P is 0 too.
  const struct { HWND w, p; std::vector<HWND> rows; } cases[] = {
      {child_, top_, {child_, top_, o, top_, top_, top_, top_, top_, o, owned_}},
      {owned_, top_, {owned_, top_, top_, top_, top_, desk, owned_, top_, o, owned_}},
      {top_, owned_, {top_, owned_, o, o, o, desk, top_, top_, o, o}},
      {top_, HWND_MESSAGE, {top_, HWND_MESSAGE, o, o, o, desk, top_, top_, o, o}},
      {o, o, {o, o, o, o, o, o, o, o, o, o}},
      {lo, lt, {lo, lt, lt, lt, o, desk, lo, lo, o, lo}},  // not a popup: no parent (nor, here, root owner)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Hex8(c.w) + " " + Hex8(c.p));
    LockAndTick(c.w, c.p);
    EXPECT_EQ(WindowText(Item(IDC_REPORT)), ExpectedReport(c.rows));
    EXPECT_EQ(app.hTargetP, c.p);
  }
  EXPECT_GT(WindowText(Item(IDC_REPORT)).size(), 2048u);
  EXPECT_STREQ(app.styleSymbols, "LTO_VE-");  // the field behind the report buffers is intact
  DestroyWindow(lt);

  LockAndTick(child_, owned_);
  DestroyWindow(owned_);
  InspectTick(dlg_);
  EXPECT_TRUE(app.hTargetP == nullptr && app.hCommandTarget == owned_);  // the target was settled first
  EXPECT_EQ(ShownRow(2), kZeroRow);
  DestroyWindow(child_);
  InspectTick(dlg_);
  EXPECT_TRUE(app.hCommandTarget == nullptr && app.hTargetW == child_);
  EXPECT_EQ(WindowText(Item(IDC_REPORT)), ExpectedReport(std::vector<HWND>(10, nullptr)));
}

TEST_F(Inspector, WithTheLockOffTheWindowUnderTheCursorIsInspected) {
  HWND hidden = MakeChildWindow(child_, "hidden", 2, WS_CHILD, 20, 20, 100, 100);
  HWND disabled = Known(MakeChildWindow(top_, "disabled", 3, WS_CHILD | WS_VISIBLE | WS_DISABLED, 250, 10, 100, 80),
                        " _C_VD-");
  HWND clear = Known(CreateWindowExA(WS_EX_TRANSPARENT, "TestChild", "see-through", WS_CHILD | WS_VISIBLE, 250, 120,
                                     200, 120, top_, HMENU(4), nullptr, nullptr), " _C_VE-");
  HWND button = Known(Item(IDC_SETPARENT), " _C_VE-"), desk = GetDesktopWindow();
  POINT corner = {GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3};
  ASSERT_EQ(WindowFromPoint(corner), desk) << "a window lies in the screen's corner";
  // Hidden windows are passed over, disabled ones found; only "real" looks through transparent
  // ones. The tool's own controls are found like any other window.
  const POINT inHidden = Center(hidden), inDisabled = Center(disabled), inClear = Center(clear);
  const struct { POINT at; bool real; HWND found, parent; } probes[] = {
      {inHidden, false, child_, top_}, {inDisabled, false, disabled, top_}, {inClear, false, clear, top_},
      {inHidden, true, child_, top_},  {inDisabled, true, disabled, top_},  {inClear, true, top_, nullptr},
      {Center(button), false, button, dlg_}, {corner, false, desk, nullptr},
  };
  app.hTargetW = owned_;
  for (const auto& probe : probes) {
    SCOPED_TRACE(std::string(probe.real ? "real " : "") + Hex8(probe.found));
    CheckDlgButton(dlg_, IDC_REAL, probe.real ? BST_CHECKED : BST_UNCHECKED);
    SetCursorPos(probe.at.x, probe.at.y);
    InspectTick(dlg_);
    EXPECT_EQ(ShownRow(1), RowFor(probe.found));
    EXPECT_EQ(ShownRow(5).substr(0, 14), probe.parent ? "\r\n\r\n  " + Hex8(probe.parent) : kZeroRow);  // GetParent
    EXPECT_TRUE(app.hTargetW == owned_ && !app.lockW);
  }
}

TEST_F(Inspector, RealF8AndF9PickTheWindowUnderTheCursorThenTheLockIgnoresThem) {
  POINT at = Center(owned_);
  SetCursorPos(at.x, at.y);
  struct Release { ~Release() { KeyUp("F8 F9"); PumpUntil(KeysUp); } } release;  // also when the test stops early
  ASSERT_TRUE(KeyDown("F8 F9") && PumpUntil(KeysDown));
  InspectTick(dlg_);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), UINT(BST_CHECKED));
  EXPECT_TRUE(app.lockW && app.hTargetW == owned_ && app.hTargetP == owned_);
  EXPECT_TRUE(app.ptF9.x == at.x && app.ptF9.y == at.y);
  EXPECT_EQ(ShownRow(1) + ShownRow(2), RowFor(owned_) + RowFor(owned_));
  EXPECT_EQ(app.hCommandTarget, nullptr);  // settled before the keys were read

  SetCursorPos(Center(child_).x, Center(child_).y);  // keys still down: locked, so W, P and the point stay
  ASSERT_TRUE(KeysDown());
  InspectTick(dlg_);
  EXPECT_TRUE(app.hTargetW == owned_ && app.hTargetP == owned_ && app.ptF9.x == at.x);
  EXPECT_EQ(ShownRow(1), RowFor(owned_));
  EXPECT_EQ(app.hCommandTarget, owned_);
  SendDlgItemMessageA(dlg_, IDC_LOCK, BM_CLICK, 0, 0);  // only a click clears the lock
  EXPECT_EQ(app.lockW, FALSE);
}

TEST_F(Inspector, ThePaneAndTheTargetCaptionAreWrittenOnlyWhenTheyChange) {
  HWND target = Item(IDC_TARGET);
  gTextWrites.clear();
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountTextWrites, nullptr, GetCurrentThreadId());
  // {target box checked, caption forced before the tick, caption writes so far}
  const struct { bool w; const char* before; int writes; } steps[] = {
      {false, nullptr, 0}, {true, nullptr, 1}, {true, nullptr, 1}, {false, nullptr, 2}, {false, "Px", 4}};
  for (const auto& s : steps) {
    CheckDlgButton(dlg_, IDC_TARGET, s.w ? BST_CHECKED : BST_UNCHECKED);
    if (s.before) SetWindowTextA(target, s.before);
    LockAndTick(child_, top_);
    EXPECT_EQ(gTextWrites[target], s.writes);
    EXPECT_EQ(WindowText(target), s.w ? "W" : "P") << s.writes;
    EXPECT_EQ(app.hCommandTarget, s.w ? child_ : top_) << s.writes;
  }
  EXPECT_EQ(gTextWrites[Item(IDC_REPORT)], 1);  // five ticks, one report
  UnhookWindowsHookEx(hook);
}

TEST_F(Inspector, EveryMoveSizeOrZOrderChangeKeepsThePaneInItsRowLeftOfHomeBehindTheLegend) {
  const LONG x = app.reportX, y = app.reportY;
  const struct { HWND after; LONG x, y, cx, cy; UINT flags; LONG left; } moves[] = {
      {nullptr, x + 60, y + 30, 200, 50, SWP_NOZORDER, x},   {nullptr, x, y - 2, 300, 300, SWP_NOZORDER, x},
      {nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER, x}, {nullptr, x - 300, y + 40, 0, 0, SWP_NOSIZE, x - 300},
      {HWND_TOP, -2000, 0, 5, 5, 0, -2000},                  {HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE, -2000},
      {Item(IDC_LOCK), x + 1, y, 0, 0, SWP_NOSIZE, x},
  };
  EXPECT_EQ(PaneLeft(), x);
  for (const auto& m : moves) {
    SetWindowPos(Item(IDC_REPORT), m.after, m.x, m.y, m.cx, m.cy, m.flags);
    EXPECT_EQ(PaneLeft(), m.left) << m.x << " " << m.y;
  }
}

TEST_F(Inspector, ARealMouseDragSlidesThePaneLeftAndADoubleClickBringsItHome) {
  POINT start = {app.reportX + 150, app.reportY + 80};  // right of the legend, inside the dialog
  ClientToScreen(dlg_, &start);
  ASSERT_EQ(WindowFromPoint(start), Item(IDC_REPORT));
  // The system's move loop follows the mouse until the button goes up; up and down are held.
  ASSERT_TRUE(MouseTo(start.x, start.y) &&
              Xdotool("mousedown 1 mousemove_relative --sync -- -60 25 mousemove_relative --sync -- -60 25 mouseup 1"));
  EXPECT_TRUE(PumpUntil([&] { return PaneLeft() == app.reportX - 120; }));
  ASSERT_TRUE(MouseTo(start.x, start.y) && Xdotool("click --repeat 2 --delay 80 1"));
  EXPECT_TRUE(PumpUntil([&] { return PaneLeft() == app.reportX; }));
}

}  // namespace
