// One-click commands on the command target or on P: states, text, id, close, Z-order,
// navigation and the exchange of W and P.
#include "editor/editor_helpers.h"

namespace {

using Target = EditorTest;

TEST_F(Target, EachToggleFlipsOneBitOfItsOwnWindowAndRefreshesTheFrame) {
  struct Toggle { int id; DWORD styleBit, exBit; bool onP; };  // onP: whatever the command target
  const Toggle toggles[] = {
      {IDC_POPUP, WS_POPUP, 0, false},     {IDC_CLIPCHILD, WS_CLIPCHILDREN, 0, false},
      {IDC_CHILD, WS_CHILD, 0, false},     {IDC_ENABLE, WS_DISABLED, 0, false},
      {IDC_VISIBLE, WS_VISIBLE, 0, false}, {IDC_TOOLWIN, 0, WS_EX_TOOLWINDOW, true},
      {IDC_APPWIN, 0, WS_EX_APPWINDOW, true}, {IDC_MINIMIZE, WS_MINIMIZE, 0, false},
  };
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  HWND local = Top("toggled"), other = Top("bystander");
  for (HWND t : {local, helper.top, helper.child}) {
    for (const Toggle& k : toggles) {
      SCOPED_TRACE(Hex8(t) + " command " + std::to_string(k.id));
      app.hCommandTarget = k.onP ? other : t;
      app.hTargetP = k.onP ? t : other;
      const DWORD style = StyleOf(t), ex = ExStyleOf(t);
      Click(k.id);
      EXPECT_EQ(StyleOf(t), style ^ k.styleBit);
      EXPECT_EQ(ExStyleOf(t), ex ^ k.exBit);
      if (!IsIconic(t)) ExpectFrameFitsStyles(t);
      Click(k.id);
      EXPECT_EQ(StyleOf(t), style);
      EXPECT_EQ(ExStyleOf(t), ex);
      ExpectFrameFitsStyles(t);
    }
  }
  // A hidden P stays hidden across the change of its extended style.
  ShowWindow(local, SW_HIDE);
  TargetP(local);
  Click(IDC_APPWIN);
  EXPECT_EQ(ExStyleOf(local) & WS_EX_APPWINDOW, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_FALSE(IsWindowVisible(local));
}

TEST_F(Target, MinimizeRestoresAMaximizedWindowAndShowBringsAHiddenOneBackNormal) {
  HWND t = Top("sizes");
  TargetP(t);
  ShowWindow(t, SW_MAXIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(t) != FALSE; }));
  Click(IDC_MINIMIZE);
  EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(t) && !IsIconic(t); }));
  ShowWindow(t, SW_MAXIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(t) != FALSE; }));
  ShowWindow(t, SW_HIDE);
  Click(IDC_VISIBLE);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(t) && !IsZoomed(t) && !IsIconic(t); }));
}

TEST_F(Target, TextGivesTheTargetTheEditFieldCutTo254CharactersAndWaitsForNoHungWindow) {
  HelperProcess helper, hung("hang");
  ASSERT_TRUE(helper.ok() && hung.ok());
  std::string longText;
  for (int i = 0; i < 300; ++i) longText += static_cast<char>('a' + i % 26);
  TargetP(helper.child);
  for (const std::string& field : {std::string("  spaces, kept "), std::string(), longText}) {
    SetEditField(field.c_str());
    ASSERT_EQ(WindowText(app.hTreeCombo), field);
    Click(IDC_TEXT);
    EXPECT_EQ(WindowText(helper.child), field.substr(0, 254));
  }
  TargetP(hung.top);
  DWORD start = GetTickCount();
  Click(IDC_TEXT);
  Click(IDC_CLOSE);
  // A generous bound: an unbounded wait would never come back at all.
  EXPECT_LT(GetTickCount() - start, 3000u);
}

// This Wine keeps GWLP_ID when WS_CHILD is toggled, whereas a system may drop a top-level
// window's menu from the id slot as it becomes a child: this window does so itself.
LRESULT CALLBACK DropsMenuAsChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  const STYLESTRUCT* change = reinterpret_cast<const STYLESTRUCT*>(lp);
  if (msg == WM_STYLECHANGED && wp == static_cast<WPARAM>(GWL_STYLE) && (change->styleNew & ~change->styleOld & WS_CHILD))
    SetWindowLongPtrA(w, GWLP_ID, 0);
  return DefWindowProcA(w, msg, wp, lp);
}

TEST_F(Target, IdWritesAnUnsignedNumberAndChildLeavesAChangedIdsOldValueForIt) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  TargetP(helper.child);
  for (const char* field : {"", "abc", "-", "   "}) {
    SetEditField(field);
    Click(IDC_ID);
    EXPECT_EQ(IdOf(helper.child), 77) << "'" << field << "'";
  }
  // An id that WS_CHILD leaves as it is: the edit field and the "Id" button stay as they are.
  Click(IDC_CHILD);
  Click(IDC_CHILD);
  EXPECT_EQ(IdOf(helper.child), 77);
  EXPECT_EQ(WindowText(app.hTreeCombo), "   ");
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_ID)));
  SetEditField("4000000000");
  Click(IDC_ID);
  EXPECT_EQ(static_cast<DWORD>(IdOf(helper.child)), 4000000000u);
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_STRING, 1, "Item");
  HWND t = Keep(CreateWindowExA(0, "TestTop", "menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                nullptr, menu, GetModuleHandleA(nullptr), nullptr));
  SetWindowLongPtrA(t, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DropsMenuAsChildProc));
  TargetP(t);
  Click(IDC_CHILD);
  EXPECT_EQ(IdOf(t), 0);
  EXPECT_EQ(WindowText(app.hTreeCombo), std::to_string(HandleBits(reinterpret_cast<HWND>(menu))));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_ID)));
  Click(IDC_ID);
  Click(IDC_CHILD);
  EXPECT_EQ(GetMenu(t), menu);
  ExpectFrameFitsStyles(t, TRUE);
}

TEST_F(Target, ClosePostsWmCloseToTheTargetTheMainDialogIncluded) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  for (HWND t : {MakeTopWindow("close me"), helper.top, dlg_}) {
    TargetP(t);
    Click(IDC_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(t) || !IsWindowVisible(t); })) << Hex8(t);
  }
}

TEST_F(Target, ZOrderStepsOnKnownStacksAndWhichOfThemActivate) {
  const DWORD hidden = WS_OVERLAPPEDWINDOW, popup = WS_POPUP | WS_CAPTION;
  HWND parent = Top("stack", 420, 300, 360, 260), p = Top("P", 100, 100, 300, 220, hidden);
  // Children; hidden top-level windows, which keep the order in which they were made, each new one
  // on top, P owning O1 and O2; visible top-level windows above them and the topmost main dialog.
  std::vector<HWND> f[3] = {{},
                            {p, Top("O1", 150, 150, 200, 120, popup, p), Top("O2", 150, 150, 200, 120, popup, p),
                             Top("X", 100, 100, 300, 220, hidden), Top("Y", 100, 100, 300, 220, hidden)},
                            {Top("a"), Top("b"), Top("c"), dlg_}};
  for (int i = 0; i < 4; ++i) f[0].push_back(Child(parent, 100 + i, 10 + 20 * i, 10 + 20 * i));
  Pump();
  ASSERT_EQ(Order(f[0]) + Order(f[1]) + Order(f[2]), "0123" "43210" "3210");
  struct Step { int family, id, t, p; const char* order; int active; };  // indexes; active: of f[2]
  const Step steps[] = {
      {0, IDC_ZTOP, 2, 0, "2013", 2},  {0, IDC_ZBOTTOM, 0, 1, "2130", 2},  {0, IDC_ZUP, 0, 3, "2310", 2},
      {0, IDC_ZUP, 0, 3, "3210", 2},   {0, IDC_ZUP, 0, 3, "3210", 2},      {0, IDC_ZDOWN, 3, 2, "3120", 2},
      {0, IDC_ZDOWN, 3, 2, "3102", 2}, {0, IDC_ZDOWN, 3, 2, "2310", 2},  // below the last lies HWND_TOP
      {1, IDC_ZUP, 1, 0, "42103", 2},  // past the windows that P owns
      {2, IDC_ZTOP, 0, 1, "3021", 0},  {2, IDC_ZBOTTOM, 2, 1, "3012", 0},  {2, IDC_ZUP, 2, 1, "3102", 0},
      {2, IDC_ZDOWN, 2, 1, "3012", 0}, {2, IDC_TOPMOST, 2, 1, "2301", 2},  {2, IDC_NOTOPMOST, 2, 0, "3201", 2},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE("family " + std::to_string(s.family) + " command " + std::to_string(s.id));
    app.hCommandTarget = f[s.family][s.t];
    app.hTargetP = f[s.family][s.p];
    Click(s.id);
    EXPECT_EQ(Order(f[s.family]), s.order);
    EXPECT_EQ(GetActiveWindow(), f[2][s.active]);
  }
}

TEST_F(Target, NavigationMovesPTheTreeSelectionFollowsItAndSwapNeedsTheLock) {
  HWND parent = Top("family", 420, 300, 360, 260);
  HWND c[4] = {Child(parent, 100, 10, 10), Child(parent, 101, 30, 30), Child(parent, 102, 50, 50),
               Child(parent, 103, 70, 70)};
  HWND grandchild = Child(c[2], 9, 5, 5, 20, 20);
  SendMessageA(app.hTreeCombo, CB_RESETCONTENT, 0, 0);
  for (HWND data : {HWND_DESKTOP_VALUE, HWND_MESSAGE_VALUE, parent, c[0], c[1], c[1], c[2]}) {
    LRESULT i = SendMessageA(app.hTreeCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
    SendMessageA(app.hTreeCombo, CB_SETITEMDATA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(data));
  }
  SendMessageA(app.hTreeCombo, CB_SETCURSEL, 2, 0);
  app.hTargetW = app.hCommandTarget = grandchild;
  app.hTargetP = parent;
  struct Step { int id; HWND p; LRESULT row; };
  const Step steps[] = {
      {IDC_NAV_CHILD, c[0], 3},       {IDC_NAV_NEXT, c[1], 5},    {IDC_NAV_NEXT, c[2], 6},
      {IDC_NAV_NEXT, c[3], 6},        {IDC_NAV_NEXT, c[3], 6},    {IDC_NAV_PREV, c[2], 6},
      {IDC_NAV_CHILD, grandchild, 6}, {IDC_NAV_PARENT, c[2], 6},  {IDC_NAV_LAST, c[3], 6},
      {IDC_NAV_FIRST, c[0], 3},       {IDC_NAV_PREV, c[0], 3},    {IDC_NAV_CHILD, c[0], 3},
      {IDC_NAV_PARENT, parent, 2},
      // The desktop window is not the pseudo row "HWND_DESKTOP", and it has no parent.
      {IDC_NAV_PARENT, GetDesktopWindow(), 2}, {IDC_NAV_PARENT, GetDesktopWindow(), 2},
  };
  for (const Step& s : steps) {
    Click(s.id);
    EXPECT_EQ(app.hTargetP, s.p) << "command " << s.id;
    EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), s.row) << "command " << s.id;
  }
  // "Parent" and "Child" lead out of and into the message root.
  app.hTargetP = Top("message-only", 0, 0, 0, 0, 0, HWND_MESSAGE);
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(app.hTargetP, app.hMessageRoot);
  Click(IDC_NAV_CHILD);
  HWND p = app.hTargetP;
  EXPECT_EQ(GetAncestor(p, GA_PARENT), app.hMessageRoot);
  EXPECT_EQ(GetWindow(p, GW_HWNDPREV), nullptr);
  // "sWaP" exchanges W and P only while the lock is set.
  Click(IDC_SWAP);
  EXPECT_EQ(app.hTargetW, grandchild);
  app.lockW = TRUE;
  Click(IDC_SWAP);
  EXPECT_EQ(app.hTargetW, p);
  EXPECT_EQ(app.hTargetP, grandchild);
}

}  // namespace
