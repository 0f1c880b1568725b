// Style toggles, minimize/restore, show/hide and enable/disable of the command target, on
// windows of this process and of a helper process.
#include "editor/target_helpers.h"

namespace {

using TargetState = TargetTest;

TEST_F(TargetState, PopAndClipChildFlipTheirBitAndKeepTheFrameRight) {
  HWND local = MakeTopWindow("pop local");
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  for (HWND t : {local, helper.top}) {
    SCOPED_TRACE(Hex8(t));
    const DWORD start = StyleOf(t);
    TargetP(t);
    Click(IDC_POPUP);
    EXPECT_EQ(StyleOf(t), start ^ WS_POPUP);
    ExpectFrameFitsStyles(t);
    Click(IDC_CLIPCHILD);
    EXPECT_EQ(StyleOf(t), start ^ WS_POPUP ^ WS_CLIPCHILDREN);
    ExpectFrameFitsStyles(t);
    Click(IDC_POPUP);
    Click(IDC_CLIPCHILD);
    EXPECT_EQ(StyleOf(t), start);
    ExpectFrameFitsStyles(t);
  }
  DestroyWindow(local);
}

TEST_F(TargetState, AToggledWindowOfThisThreadIsLeftToBeRepainted) {
  HWND t = MakeTopWindow("repaint");
  PumpUntil([&] { return !GetUpdateRect(t, nullptr, FALSE); });
  ASSERT_FALSE(GetUpdateRect(t, nullptr, FALSE));
  TargetP(t);
  Click(IDC_CLIPCHILD);
  RECT dirty, client;
  ASSERT_TRUE(GetUpdateRect(t, &dirty, FALSE));
  GetClientRect(t, &client);
  EXPECT_TRUE(EqualRect(&dirty, &client));
  DestroyWindow(t);
}

TEST_F(TargetState, ChildFlipsWsChildOnAWindowOfEitherProcess) {
  HWND local = MakeTopWindow("child local");
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  for (HWND t : {local, helper.top, helper.child}) {
    SCOPED_TRACE(Hex8(t));
    const DWORD start = StyleOf(t);
    TargetP(t);
    Click(IDC_CHILD);
    EXPECT_EQ(StyleOf(t), start ^ WS_CHILD);
    ExpectFrameFitsStyles(t);
    Click(IDC_CHILD);
    EXPECT_EQ(StyleOf(t), start);
    ExpectFrameFitsStyles(t);
  }
  DestroyWindow(local);
}

TEST_F(TargetState, ToolAndAppFlipTheExtendedBitOfPEvenWhenWIsTheTarget) {
  HWND w = MakeTopWindow("W stays");
  HWND local = MakeTopWindow("tool local");
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  const DWORD wStyle = ExStyleOf(w);
  for (HWND p : {local, helper.top}) {
    SCOPED_TRACE(Hex8(p));
    TargetW(w);
    app.hTargetP = p;
    const DWORD start = ExStyleOf(p);
    RECT before;
    GetClientRect(p, &before);

    Click(IDC_TOOLWIN);
    EXPECT_EQ(ExStyleOf(p), start ^ WS_EX_TOOLWINDOW);
    EXPECT_TRUE(IsWindowVisible(p));
    // A tool window has the small caption, so the client area grows.
    RECT after;
    GetClientRect(p, &after);
    EXPECT_GT(after.bottom, before.bottom);
    ExpectFrameFitsStyles(p);

    Click(IDC_APPWIN);
    EXPECT_EQ(ExStyleOf(p), start ^ WS_EX_TOOLWINDOW ^ WS_EX_APPWINDOW);
    EXPECT_TRUE(IsWindowVisible(p));
    ExpectFrameFitsStyles(p);

    Click(IDC_TOOLWIN);
    Click(IDC_APPWIN);
    EXPECT_EQ(ExStyleOf(p), start);
    ExpectFrameFitsStyles(p);
    EXPECT_EQ(ExStyleOf(w), wStyle);
  }
  DestroyWindow(local);
  DestroyWindow(w);
}

TEST_F(TargetState, ToolAndAppLeaveAHiddenPHidden) {
  HWND p = MakeTopWindow("hidden tool", WS_OVERLAPPEDWINDOW);
  TargetP(p);
  Click(IDC_TOOLWIN);
  EXPECT_EQ(ExStyleOf(p) & WS_EX_TOOLWINDOW, static_cast<DWORD>(WS_EX_TOOLWINDOW));
  EXPECT_FALSE(IsWindowVisible(p));
  Click(IDC_APPWIN);
  EXPECT_EQ(ExStyleOf(p) & WS_EX_APPWINDOW, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_FALSE(IsWindowVisible(p));
  DestroyWindow(p);
}

TEST_F(TargetState, MinimizesANormalWindowAndRestoresAMinimizedOrMaximizedOne) {
  HWND local = MakeTopWindow("min local");
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  for (HWND t : {local, helper.top}) {
    SCOPED_TRACE(Hex8(t));
    TargetP(t);
    Click(IDC_MINIMIZE);
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(t) != FALSE; }));
    Click(IDC_MINIMIZE);
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(t) && !IsZoomed(t); }));

    ShowWindow(t, SW_MAXIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(t) != FALSE; }));
    Click(IDC_MINIMIZE);
    // Restored, not minimized from the maximized state.
    EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(t) && !IsIconic(t); }));
    EXPECT_TRUE(IsWindowVisible(t));
  }
  DestroyWindow(local);
}

TEST_F(TargetState, HidesAVisibleWindowAndShowsAHiddenOneInItsNormalState) {
  HWND local = MakeTopWindow("vis local");
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  for (HWND t : {local, helper.top, helper.child}) {
    SCOPED_TRACE(Hex8(t));
    TargetP(t);
    Click(IDC_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(t));
    Click(IDC_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(t));
  }
  // A hidden maximized window comes back normal: shown with SW_SHOWNORMAL, not SW_SHOW.
  for (HWND t : {local, helper.top}) {
    SCOPED_TRACE(Hex8(t));
    TargetP(t);
    ShowWindow(t, SW_MAXIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(t) != FALSE; }));
    ShowWindow(t, SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(t));
    Click(IDC_VISIBLE);
    EXPECT_TRUE(IsWindowVisible(t));
    EXPECT_FALSE(IsZoomed(t));
    EXPECT_FALSE(IsIconic(t));
  }
  DestroyWindow(local);
}

TEST_F(TargetState, EnableDisableToggles) {
  HWND local = MakeTopWindow("en local");
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  for (HWND t : {local, helper.top, helper.child}) {
    SCOPED_TRACE(Hex8(t));
    TargetP(t);
    ASSERT_TRUE(IsWindowEnabled(t));
    Click(IDC_ENABLE);
    EXPECT_FALSE(IsWindowEnabled(t));
    EXPECT_EQ(StyleOf(t) & WS_DISABLED, static_cast<DWORD>(WS_DISABLED));
    Click(IDC_ENABLE);
    EXPECT_TRUE(IsWindowEnabled(t));
  }
  DestroyWindow(local);
}

TEST_F(TargetState, CommandsOnNoWindowChangeNothing) {
  HWND bystander = MakeTopWindow("bystander");
  const DWORD style = StyleOf(bystander), ex = ExStyleOf(bystander);
  TargetP(nullptr);
  for (int id : {IDC_POPUP, IDC_CHILD, IDC_CLIPCHILD, IDC_TOOLWIN, IDC_APPWIN, IDC_MINIMIZE,
                 IDC_VISIBLE, IDC_ENABLE}) {
    Click(id);
  }
  EXPECT_EQ(StyleOf(bystander), style);
  EXPECT_EQ(ExStyleOf(bystander), ex);
  EXPECT_TRUE(IsWindowVisible(dlg_));
  EXPECT_TRUE(IsWindowEnabled(dlg_));
  DestroyWindow(bystander);
}

}  // namespace
