// Z-order commands on a known stack of sibling windows.
#include "editor/target_helpers.h"

namespace {

using TargetZOrder = TargetTest;
using Stack = std::vector<HWND>;

TEST_F(TargetZOrder, TopAndBottomMoveTheTargetToTheEndsOfItsSiblings) {
  ChildFamily f("z top bottom");
  ASSERT_EQ(ChildStack(f.parent), f.Stack({0, 1, 2, 3}));
  TargetP(f.c[2]);
  Click(IDC_ZTOP);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({2, 0, 1, 3}));
  TargetP(f.c[0]);
  Click(IDC_ZBOTTOM);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({2, 1, 3, 0}));
}

TEST_F(TargetZOrder, DownPutsPBelowItsNextSiblingAndTheLastOneOnTop) {
  ChildFamily f("z down");
  app.hTargetP = f.c[1];
  Click(IDC_ZDOWN);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({0, 2, 1, 3}));
  Click(IDC_ZDOWN);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({0, 2, 3, 1}));
  // Below the last window lies nothing, which is the top.
  Click(IDC_ZDOWN);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({1, 0, 2, 3}));
}

TEST_F(TargetZOrder, UpPutsPAboveItsPreviousSibling) {
  ChildFamily f("z up");
  app.hTargetP = f.c[3];
  Click(IDC_ZUP);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({0, 1, 3, 2}));
  Click(IDC_ZUP);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({0, 3, 1, 2}));
  Click(IDC_ZUP);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({3, 0, 1, 2}));
  // Already first: it stays.
  Click(IDC_ZUP);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({3, 0, 1, 2}));
}

TEST_F(TargetZOrder, UpAndDownActOnPWhenWIsTheTarget) {
  ChildFamily f("z on P");
  TargetW(f.c[0]);
  app.hTargetP = f.c[2];
  Click(IDC_ZUP);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({0, 2, 1, 3}));
  Click(IDC_ZDOWN);
  Click(IDC_ZDOWN);
  EXPECT_EQ(ChildStack(f.parent), f.Stack({0, 1, 3, 2}));
}

TEST_F(TargetZOrder, UpWithNoPOrTheMessageRootMovesNothing) {
  ChildFamily f("z nothing");
  HWND a = MakeTopWindow("z a"), b = MakeTopWindow("z b");
  const Stack tops = RelativeOrder({a, b, f.parent});
  for (HWND p : {static_cast<HWND>(nullptr), app.hMessageRoot}) {
    app.hTargetP = p;
    Click(IDC_ZUP);
    EXPECT_EQ(ChildStack(f.parent), f.Stack({0, 1, 2, 3}));
    EXPECT_EQ(RelativeOrder({a, b, f.parent}), tops);
  }
  DestroyWindow(a);
  DestroyWindow(b);
}

HWND MakeOwnedPopup(HWND owner, const char* title, DWORD exStyle = 0, DWORD visible = WS_VISIBLE) {
  return MakeTopWindow(title, WS_POPUP | WS_CAPTION | visible, exStyle, owner, 150, 150, 200, 120);
}

TEST_F(TargetZOrder, UpPassesPsOwnedWindows) {
  // Hidden windows keep the order in which they were made: no activation and no display server
  // take part in their stacking. Each new top-level window starts at the top.
  HWND p = MakeTopWindow("up P", WS_OVERLAPPEDWINDOW);
  HWND o1 = MakeOwnedPopup(p, "up O1", 0, 0);
  HWND o2 = MakeOwnedPopup(p, "up O2", 0, 0);
  HWND x = MakeTopWindow("up X", WS_OVERLAPPEDWINDOW);
  HWND y = MakeTopWindow("up Y", WS_OVERLAPPEDWINDOW);
  Pump();
  ASSERT_EQ(RelativeOrder({p, o1, o2, x, y}), (Stack{y, x, o2, o1, p}));
  app.hTargetP = p;
  Click(IDC_ZUP);
  Pump();
  // P lands directly above the first window above it that it does not own; its own stay above it.
  EXPECT_EQ(GetWindow(p, GW_HWNDNEXT), x);
  EXPECT_EQ(RelativeOrder({p, o1, o2, x, y}), (Stack{y, o2, o1, p, x}));
  for (HWND w : {y, x, o2, o1, p}) DestroyWindow(w);
}

TEST_F(TargetZOrder, UpWithOnlyItsOwnWindowsAboveGoesToTheTop) {
  // Topmost, so that nothing but P's own windows lies above it in the whole desktop.
  HWND p = MakeTopWindow("top P", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOPMOST);
  HWND o1 = MakeOwnedPopup(p, "top O1", WS_EX_TOPMOST);
  HWND o2 = MakeOwnedPopup(p, "top O2", WS_EX_TOPMOST);
  Pump();
  ASSERT_EQ(GetWindow(p, GW_HWNDPREV), o1);
  ASSERT_EQ(GetWindow(o1, GW_HWNDPREV), o2);
  ASSERT_EQ(GetWindow(o2, GW_HWNDPREV), nullptr);
  app.hTargetP = p;
  Click(IDC_ZUP);
  // Placed with HWND_TOP: no window that P does not own lies above it.
  for (HWND w = GetWindow(p, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
    EXPECT_EQ(GetAncestor(w, GA_ROOTOWNER), p) << Hex8(w) << " " << ClassOf(w);
  EXPECT_EQ(RelativeOrder({p, dlg_}), (Stack{p, dlg_}));
  for (HWND w : {o2, o1, p}) DestroyWindow(w);
}

TEST_F(TargetZOrder, UpPassesTheOwnedWindowOfAnotherProcess) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  ASSERT_TRUE(PumpUntil([&] { return GetWindow(helper.top, GW_HWNDPREV) == helper.owned; }));
  HWND x = MakeTopWindow("above helper");
  Pump();
  ASSERT_EQ(RelativeOrder({x, helper.owned, helper.top}), (Stack{x, helper.owned, helper.top}));
  app.hTargetP = helper.top;
  Click(IDC_ZUP);
  EXPECT_EQ(GetWindow(helper.top, GW_HWNDNEXT), x);
  EXPECT_EQ(RelativeOrder({x, helper.owned, helper.top}), (Stack{helper.owned, helper.top, x}));
  DestroyWindow(x);
}

TEST_F(TargetZOrder, TopmostAndNotopmostSetAndClearTheTopmostBand) {
  HWND local = MakeTopWindow("band local");
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  for (HWND t : {local, helper.top}) {
    SCOPED_TRACE(Hex8(t));
    TargetP(t);
    ASSERT_EQ(ExStyleOf(t) & WS_EX_TOPMOST, 0u);
    Click(IDC_TOPMOST);
    EXPECT_EQ(ExStyleOf(t) & WS_EX_TOPMOST, static_cast<DWORD>(WS_EX_TOPMOST));
    // Topmost windows come first: T now stands above a window that is not topmost.
    EXPECT_EQ(RelativeOrder({t, local == t ? helper.top : local}).front(), t);
    Click(IDC_NOTOPMOST);
    EXPECT_EQ(ExStyleOf(t) & WS_EX_TOPMOST, 0u);
    // Back in the ordinary band: below the topmost main dialog.
    EXPECT_EQ(RelativeOrder({t, dlg_}), (Stack{dlg_, t}));
  }
  DestroyWindow(local);
}

TEST_F(TargetZOrder, TopActivatesWhileBottomUpAndDownDoNot) {
  HWND a = MakeTopWindow("act a");
  HWND b = MakeTopWindow("act b");
  HWND c = MakeTopWindow("act c");
  Pump();
  ASSERT_EQ(GetActiveWindow(), c);
  ASSERT_EQ(RelativeOrder({a, b, c}), (Stack{c, b, a}));

  TargetP(a);
  Click(IDC_ZTOP);
  EXPECT_EQ(RelativeOrder({a, b, c}), (Stack{a, c, b}));
  EXPECT_EQ(GetActiveWindow(), a);

  TargetP(c);
  Click(IDC_ZBOTTOM);
  EXPECT_EQ(RelativeOrder({a, b, c}), (Stack{a, b, c}));
  EXPECT_EQ(GetActiveWindow(), a);

  TargetP(b);
  Click(IDC_ZUP);
  EXPECT_EQ(RelativeOrder({a, b, c}), (Stack{b, a, c}));
  EXPECT_EQ(GetActiveWindow(), a);
  Click(IDC_ZDOWN);
  EXPECT_EQ(RelativeOrder({a, b, c}), (Stack{a, b, c}));
  EXPECT_EQ(GetActiveWindow(), a);
  for (HWND w : {a, b, c}) DestroyWindow(w);
}

TEST_F(TargetZOrder, TheDownButtonWorksByARealClick) {
  ChildFamily f("z real click");
  app.hTargetP = f.c[0];
  RECT r;
  GetWindowRect(Item(IDC_ZDOWN), &r);
  ASSERT_TRUE(MouseTo((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  ASSERT_TRUE(Xdotool("click 1"));
  EXPECT_TRUE(PumpUntil([&] { return ChildStack(f.parent) == f.Stack({1, 0, 2, 3}); }));
}

}  // namespace
