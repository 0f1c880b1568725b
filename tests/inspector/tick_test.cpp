// The inspection tick inside the real main dialog: the window under the cursor, F8 and F9 from
// real key presses, the lock, the ten rows of the report and when the pane is rewritten.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "inspector/inspector.h"
#include "inspector_helpers.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

using namespace inspector_test;

struct Known {
  std::string symbols, cls, text;
  DWORD id;
};

// Releases keys that a test pressed, also when the test stops early.
struct HeldKeys {
  explicit HeldKeys(const char* keys) : keys_(keys) {}
  ~HeldKeys() {
    KeyUp(keys_);
    PumpUntil([] { return !(GetAsyncKeyState(VK_F8) & 0x8000) && !(GetAsyncKeyState(VK_F9) & 0x8000); });
  }
  const char* keys_;
};

class Tick : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
    DestroyWindow(MakeTopWindow("registers the test classes", 0));
  }
  void TearDown() override {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
      if (IsWindow(*it)) DestroyWindow(*it);
    MainDialogTest::TearDown();
  }

  HWND Keep(HWND w, const char* symbols, const char* cls, const char* text, DWORD id = 0) {
    EXPECT_NE(w, nullptr);
    windows_.push_back(w);
    known_[w] = {symbols, cls, text, id};
    return w;
  }

  // A parent with a child and a popup it owns, below the main dialog.
  void MakeTrio() {
    top_ = Keep(MakeTopWindow("trio top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 20, 520, 340, 260),
                " _O_VE-", "TestTop", "trio top");
    child_ = Keep(MakeChildWindow(top_, "trio child", 5, WS_CHILD | WS_VISIBLE, 10, 10, 150, 100),
                  " _C_VE-", "TestChild", "trio child", 5);
    owned_ = Keep(MakeTopWindow("trio owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, top_, 700, 520, 240, 160),
                  " _P_VE-", "TestTop", "trio owned");
    Pump();
  }

  std::string RowFor(HWND h) {
    if (h == nullptr) return kZeroRow;
    if (h == HWND_MESSAGE) return kMessageRow;
    if (h == GetDesktopWindow()) return DesktopRow();
    auto it = known_.find(h);
    if (it == known_.end()) {
      ADD_FAILURE() << "no expectation for " << Hex8(h);
      return "";
    }
    return OwnRow(h, it->second.symbols, it->second.cls, it->second.text, it->second.id);
  }

  // The header and the rows of the ten given windows, in order.
  std::string ExpectedReport(const std::vector<HWND>& rows) {
    EXPECT_EQ(rows.size(), 10u);
    std::string text = kHeader;
    for (HWND h : rows) text += RowFor(h);
    return text;
  }

  // Row k (1 to 10) of the report that the pane shows.
  std::string ShownRow(int k) {
    std::vector<std::string> lines = Lines(WindowText(Item(IDC_REPORT)));
    return static_cast<int>(lines.size()) > 2 * k ? "\r\n\r\n" + lines[2 * k] : "";
  }

  static POINT CenterOf(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static void PointAt(HWND w) {
    POINT p = CenterOf(w);
    SetCursorPos(p.x, p.y);
    ASSERT_EQ(WindowFromPoint(p), w) << "something covers the test window";
  }

  void TickNow() { InspectTick(dlg_); }
  void Lock(HWND w) {
    SendDlgItemMessageA(dlg_, IDC_LOCK, BM_SETCHECK, BST_CHECKED, 0);
    app.lockW = TRUE;
    app.hTargetW = w;
  }

  HWND top_ = nullptr, child_ = nullptr, owned_ = nullptr;
  std::vector<HWND> windows_;
  std::map<HWND, Known> known_;
};

TEST_F(Tick, ReportNamesTheRelationsOfAParentChildAndOwnedTrio) {
  MakeTrio();
  // The owner remembers its last active popup.
  SetActiveWindow(owned_);
  Pump();
  ASSERT_EQ(GetLastActivePopup(top_), owned_);

  // This Wine never reports an enabled popup (GW_ENABLEDPOPUP is always 0), so row 9 is 0.
  Lock(child_);
  app.hTargetP = top_;
  TickNow();
  std::string expected = ExpectedReport({child_, top_, nullptr, top_, top_, top_, top_, top_, nullptr, owned_});
  EXPECT_EQ(std::string(app.report), expected);
  EXPECT_EQ(std::string(app.prevReport), expected);
  EXPECT_EQ(WindowText(Item(IDC_REPORT)), expected);

  // An owned popup: its parent is the desktop, its owner and root owner the top window, and
  // GetParent answers the owner.
  app.hTargetW = owned_;
  TickNow();
  EXPECT_EQ(WindowText(Item(IDC_REPORT)),
            ExpectedReport({owned_, top_, top_, top_, top_, GetDesktopWindow(), owned_, top_, nullptr, owned_}));

  // The top window: no owner, no parent, its own root. P is the popup, whose own queries answer
  // itself, which shows as 0.
  app.hTargetW = top_;
  app.hTargetP = owned_;
  TickNow();
  EXPECT_EQ(WindowText(Item(IDC_REPORT)),
            ExpectedReport({top_, owned_, nullptr, nullptr, nullptr, GetDesktopWindow(), top_, top_, nullptr, nullptr}));
  EXPECT_EQ(app.hTargetP, owned_);
}

TEST_F(Tick, ReportRowsStandOnTheOddLinesLevelWithTheLegendLabels) {
  MakeTrio();
  Lock(child_);
  TickNow();
  std::vector<std::string> report = Lines(WindowText(Item(IDC_REPORT)));
  std::vector<std::string> legend = Lines(WindowText(Item(IDC_LEGEND)));
  ASSERT_EQ(report.size(), 21u);
  ASSERT_EQ(legend.size(), 21u);
  EXPECT_EQ(report[0], kHeader);
  EXPECT_EQ(report[2], RowFor(child_).substr(4));
  EXPECT_EQ(legend[2], "  Window    < F8 >    W");
  EXPECT_EQ(legend[20], "      GetLastActivePopup  (Owner)");
  for (int line = 1; line < 21; line += 2) {
    EXPECT_EQ(report[line], "") << line;
    EXPECT_EQ(legend[line], "") << line;
  }
}

TEST_F(Tick, LockOffFollowsTheCursorAndLeavesWAlone) {
  MakeTrio();
  HWND oldW = top_;
  app.hTargetW = oldW;
  PointAt(child_);
  TickNow();
  EXPECT_EQ(ShownRow(1), RowFor(child_));
  EXPECT_EQ(ShownRow(5), RowFor(top_));
  EXPECT_EQ(app.hTargetW, oldW);
  EXPECT_FALSE(app.lockW);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), static_cast<UINT>(BST_UNCHECKED));

  PointAt(owned_);
  TickNow();
  EXPECT_EQ(ShownRow(1), RowFor(owned_));
  EXPECT_EQ(ShownRow(3), RowFor(top_));
  EXPECT_EQ(app.hTargetW, oldW);
}

TEST_F(Tick, TheToolsOwnControlsAreInspectedLikeAnyOtherWindow) {
  HWND button = Item(IDC_SETPARENT);
  POINT p = CenterOf(button);
  SetCursorPos(p.x, p.y);
  TickNow();
  std::string row = ShownRow(1);
  EXPECT_EQ(row.substr(0, 14), "\r\n\r\n  " + Hex8(button)) << row;
  EXPECT_NE(row.find("     'Button'     'SetParent  (Parent)'      "), std::string::npos) << row;
  EXPECT_EQ(ShownRow(5).substr(0, 14), "\r\n\r\n  " + Hex8(dlg_));
}

TEST_F(Tick, NoWindowUnderTheCursorMeansTheDesktop) {
  POINT corner = {GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3};
  ASSERT_EQ(WindowFromPoint(corner), GetDesktopWindow()) << "a window lies in the screen's corner";
  SetCursorPos(corner.x, corner.y);
  TickNow();
  EXPECT_EQ(ShownRow(1), DesktopRow());
  // The desktop has no owner or parent; it is its own root.
  EXPECT_EQ(ShownRow(3), kZeroRow);
  EXPECT_EQ(ShownRow(5), kZeroRow);
}

TEST_F(Tick, HiddenWindowsArePassedOverDisabledOnesFoundAndRealSkipsTransparentOnes) {
  HWND top = Keep(MakeTopWindow("search top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 20, 520, 500, 300),
                  " _O_VE-", "TestTop", "search top");
  HWND visible = Keep(MakeChildWindow(top, "visible", 1, WS_CHILD | WS_VISIBLE, 10, 10, 200, 200),
                      " _C_VE-", "TestChild", "visible", 1);
  HWND hidden = Keep(MakeChildWindow(visible, "hidden", 2, WS_CHILD, 20, 20, 100, 100),
                     " _C_HE-", "TestChild", "hidden", 2);
  HWND disabled = Keep(MakeChildWindow(top, "disabled", 3, WS_CHILD | WS_VISIBLE | WS_DISABLED, 250, 10, 100, 80),
                       " _C_VD-", "TestChild", "disabled", 3);
  // RealChildWindowFromPoint looks through transparent windows; ChildWindowFromPointEx with
  // CWP_SKIPINVISIBLE does not.
  HWND seeThrough = Keep(CreateWindowExA(WS_EX_TRANSPARENT, "TestChild", "see-through", WS_CHILD | WS_VISIBLE,
                                         250, 120, 200, 120, top, reinterpret_cast<HMENU>(4),
                                         GetModuleHandleA(nullptr), nullptr),
                         " _C_VE-", "TestChild", "see-through", 4);
  Pump();
  POINT inHidden = CenterOf(hidden);
  POINT inDisabled = CenterOf(disabled);
  POINT inSeeThrough = CenterOf(seeThrough);

  struct Probe {
    POINT at;
    bool real;
    HWND found;
  };
  const Probe probes[] = {
      {inHidden, false, visible}, {inDisabled, false, disabled}, {inSeeThrough, false, seeThrough},
      {inHidden, true, visible},  {inDisabled, true, disabled},  {inSeeThrough, true, top},
  };
  for (const Probe& probe : probes) {
    SCOPED_TRACE(std::string(probe.real ? "real " : "") + WindowText(probe.found));
    CheckDlgButton(dlg_, IDC_REAL, probe.real ? BST_CHECKED : BST_UNCHECKED);
    SetCursorPos(probe.at.x, probe.at.y);
    TickNow();
    EXPECT_EQ(ShownRow(1), RowFor(probe.found));
  }
}

TEST_F(Tick, F8PicksTheWindowUnderTheCursorAndLocksOnIt) {
  MakeTrio();
  PointAt(child_);
  HeldKeys keys("F8");
  ASSERT_TRUE(KeyDown("F8"));
  EXPECT_TRUE(PumpUntil([&] {
    TickNow();
    return app.lockW != FALSE;
  }, 10000));
  EXPECT_EQ(app.hTargetW, child_);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(ShownRow(1), RowFor(child_));
  EXPECT_EQ(app.hTargetP, nullptr);

  // From now on W is inspected wherever the cursor goes.
  PointAt(owned_);
  TickNow();
  EXPECT_EQ(ShownRow(1), RowFor(child_));
  EXPECT_EQ(ShownRow(5), RowFor(top_));
  EXPECT_EQ(app.hTargetW, child_);
}

TEST_F(Tick, F9PicksPAndTheCursorPositionAndFollowsWhileHeld) {
  MakeTrio();
  PointAt(child_);
  HeldKeys keys("F9");
  ASSERT_TRUE(KeyDown("F9"));
  EXPECT_TRUE(PumpUntil([&] {
    TickNow();
    return app.hTargetP == child_;
  }, 10000));
  // The command target was settled before the keys were read: it follows one tick later.
  EXPECT_EQ(app.hCommandTarget, nullptr);
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(app.ptF9.x, cursor.x);
  EXPECT_EQ(app.ptF9.y, cursor.y);
  EXPECT_FALSE(app.lockW);
  EXPECT_EQ(app.hTargetW, nullptr);
  EXPECT_EQ(ShownRow(2), RowFor(child_));

  // Still held: P and the point follow the cursor.
  SetCursorPos(cursor.x + 100, cursor.y + 120);  // inside the top window, beside the child
  ASSERT_TRUE(PumpUntil([&] { return GetAsyncKeyState(VK_F9) & 0x8000; }));
  TickNow();
  EXPECT_EQ(app.hCommandTarget, child_);
  EXPECT_EQ(app.hTargetP, top_);
  EXPECT_EQ(app.ptF9.x, cursor.x + 100);
  EXPECT_EQ(app.ptF9.y, cursor.y + 120);
  EXPECT_EQ(ShownRow(2), RowFor(top_));
}

TEST_F(Tick, F8AndF9TogetherMakeWAndPTheSameWindow) {
  MakeTrio();
  PointAt(owned_);
  HeldKeys keys("F8 F9");
  ASSERT_TRUE(KeyDown("F8 F9"));
  ASSERT_TRUE(PumpUntil([] { return (GetAsyncKeyState(VK_F8) & 0x8000) && (GetAsyncKeyState(VK_F9) & 0x8000); }));
  TickNow();
  EXPECT_TRUE(app.lockW);
  EXPECT_EQ(app.hTargetW, owned_);
  EXPECT_EQ(app.hTargetP, owned_);
  EXPECT_EQ(ShownRow(1), RowFor(owned_));
  EXPECT_EQ(ShownRow(2), RowFor(owned_));
}

TEST_F(Tick, LockSetByHandShowsZeroRowsAndIgnoresF8AndF9) {
  MakeTrio();
  // A click on the box: it checks itself and tells the dialog.
  SendDlgItemMessageA(dlg_, IDC_LOCK, BM_CLICK, 0, 0);
  EXPECT_TRUE(app.lockW);
  PointAt(child_);
  TickNow();
  EXPECT_EQ(WindowText(Item(IDC_REPORT)),
            ExpectedReport({nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}));

  HeldKeys keys("F8 F9");
  ASSERT_TRUE(KeyDown("F8 F9"));
  ASSERT_TRUE(PumpUntil([] { return (GetAsyncKeyState(VK_F8) & 0x8000) && (GetAsyncKeyState(VK_F9) & 0x8000); }));
  TickNow();
  TickNow();
  EXPECT_EQ(app.hTargetW, nullptr);
  EXPECT_EQ(app.hTargetP, nullptr);
  EXPECT_EQ(app.ptF9.x, 0);
  EXPECT_EQ(ShownRow(1), kZeroRow);

  // A second click clears the lock; only the click does.
  SendDlgItemMessageA(dlg_, IDC_LOCK, BM_CLICK, 0, 0);
  EXPECT_FALSE(app.lockW);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(Tick, LockClickFollowsTheBoxState) {
  CheckDlgButton(dlg_, IDC_LOCK, BST_CHECKED);
  OnLockClicked(dlg_);
  EXPECT_EQ(app.lockW, TRUE);
  CheckDlgButton(dlg_, IDC_LOCK, BST_UNCHECKED);
  OnLockClicked(dlg_);
  EXPECT_EQ(app.lockW, FALSE);
}

TEST_F(Tick, APThatIsDestroyedIsForgottenAndAWThatIsDestroyedIsKept) {
  MakeTrio();
  HWND goneP = MakeTopWindow("P to go", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 400, 600, 200, 100);
  Keep(goneP, " _O_VE-", "TestTop", "P to go");
  Lock(child_);
  app.hTargetP = goneP;
  TickNow();
  EXPECT_EQ(ShownRow(2), RowFor(goneP));
  EXPECT_EQ(app.hTargetP, goneP);

  DestroyWindow(goneP);
  TickNow();
  EXPECT_EQ(app.hTargetP, nullptr);
  EXPECT_EQ(ShownRow(2), kZeroRow);
  EXPECT_EQ(app.hCommandTarget, goneP);  // settled before the row forgot it
  TickNow();
  EXPECT_EQ(app.hCommandTarget, nullptr);

  // A W that has gone keeps its handle; every row about it is 0.
  HWND goneW = child_;
  DestroyWindow(child_);
  TickNow();
  EXPECT_EQ(app.hTargetW, goneW);
  EXPECT_EQ(WindowText(Item(IDC_REPORT)),
            ExpectedReport({nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}));
}

TEST_F(Tick, PAsTheMessageRootPseudoValueStays) {
  MakeTrio();
  Lock(top_);
  app.hTargetP = HWND_MESSAGE;
  TickNow();
  EXPECT_EQ(app.hTargetP, HWND_MESSAGE);
  EXPECT_EQ(WindowText(Item(IDC_REPORT)),
            ExpectedReport({top_, HWND_MESSAGE, nullptr, nullptr, nullptr, GetDesktopWindow(), top_, top_, nullptr, nullptr}));
  TickNow();
  EXPECT_EQ(app.hTargetP, HWND_MESSAGE);
}

TEST_F(Tick, ThePaneIsRewrittenOnlyWhenTheReportChanged) {
  MakeTrio();
  Lock(child_);
  SetTextCounter pane(Item(IDC_REPORT));
  TickNow();
  EXPECT_EQ(pane.count(), 1);
  TickNow();
  TickNow();
  EXPECT_EQ(pane.count(), 1);
  EXPECT_EQ(WindowText(Item(IDC_REPORT)), std::string(app.prevReport));

  SetWindowTextA(child_, "renamed child");
  known_[child_].text = "renamed child";
  TickNow();
  EXPECT_EQ(pane.count(), 2);
  EXPECT_EQ(ShownRow(1), RowFor(child_));
  TickNow();
  EXPECT_EQ(pane.count(), 2);

  // A move changes the rectangle in the rows of the child and of its parent.
  SetWindowPos(top_, nullptr, 30, 540, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  TickNow();
  EXPECT_EQ(pane.count(), 3);
  EXPECT_EQ(ShownRow(5), RowFor(top_));
}

TEST_F(Tick, TargetButtonCaptionAndCommandTargetFollowTheCheckState) {
  MakeTrio();
  app.hTargetW = child_;
  app.hTargetP = top_;
  HWND target = Item(IDC_TARGET);
  SetTextCounter caption(target);
  TickNow();
  EXPECT_EQ(WindowText(target), "P");
  EXPECT_EQ(caption.count(), 0);
  EXPECT_EQ(app.hCommandTarget, top_);

  CheckDlgButton(dlg_, IDC_TARGET, BST_CHECKED);
  TickNow();
  EXPECT_EQ(WindowText(target), "W");
  EXPECT_EQ(caption.count(), 1);
  EXPECT_EQ(app.hCommandTarget, child_);
  TickNow();
  EXPECT_EQ(caption.count(), 1);

  CheckDlgButton(dlg_, IDC_TARGET, BST_UNCHECKED);
  TickNow();
  EXPECT_EQ(WindowText(target), "P");
  EXPECT_EQ(caption.count(), 2);
  EXPECT_EQ(app.hCommandTarget, top_);

  // Anything but exactly the one letter is put right.
  SetWindowTextA(target, "Px");
  TickNow();
  EXPECT_EQ(WindowText(target), "P");
  EXPECT_EQ(caption.count(), 4);
}

TEST_F(Tick, ReportsLongerThan2048CharactersAreKeptWhole) {
  std::string cls = "VeryLongWindowClassNameForTheReportBoundsCheck_" + std::string(40, 'k');
  RegisterPlainClass(cls.c_str());
  std::string topText = "Top window with a text much longer than the row's text field " + std::string(40, 'x');
  std::string ownedText = "Owned popup with a text much longer than the row's text field " + std::string(40, 'y');
  HWND top = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOPMOST, cls.c_str(), topText.c_str(),
                             WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 520, 300, 200, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  Keep(top, "LTP_VE+", cls.substr(0, 62).c_str(), topText.substr(0, 62).c_str());
  HWND owned = CreateWindowExA(WS_EX_LAYERED, cls.c_str(), ownedText.c_str(), WS_POPUP | WS_VISIBLE, 400, 600,
                               300, 200, top, nullptr, GetModuleHandleA(nullptr), nullptr);
  // A window owned by a topmost window is topmost itself.
  Keep(owned, "LTP_VE-", cls.substr(0, 62).c_str(), ownedText.substr(0, 62).c_str());
  SetActiveWindow(owned);
  Pump();
  Lock(owned);
  app.hTargetP = top;
  TickNow();
  std::string expected =
      ExpectedReport({owned, top, top, top, top, GetDesktopWindow(), owned, top, nullptr, owned});
  EXPECT_GT(expected.size(), 2048u);
  EXPECT_EQ(std::string(app.report), expected);
  EXPECT_EQ(std::string(app.prevReport), expected);
  EXPECT_EQ(WindowText(Item(IDC_REPORT)), expected);
  // The fields behind the report buffers hold what the last row left there.
  EXPECT_STREQ(app.styleSymbols, "LTP_VE-");
  EXPECT_EQ(app.treeFilter, TopL);
  EXPECT_EQ(app.hTargetP, top);
}

}  // namespace
