// The relationship editor on the real main dialog, its tick stopped so that only the test sets W, P
// and the command target: the history of re-parenting and re-owning, and the one-click commands.
#include <cstdio>
#include <cstring>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

DWORD StyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)); }
DWORD ExStyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_EXSTYLE)); }
LONG_PTR IdOf(HWND w) { return GetWindowLongPtrA(w, GWLP_ID); }

std::string RectOf(HWND w) {  // in screen coordinates
  RECT r;
  GetWindowRect(w, &r);
  char text[64];
  snprintf(text, sizeof text, "(%ld,%ld,%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

// Everything a history step restores, in one line, so that a failure names every difference.
std::string RelationsOf(HWND w) {
  char text[200];
  snprintf(text, sizeof text, "parent=%s owner=%s rect=%s style=%08lX ex=%08lX id=%lld",
           Hex8(GetAncestor(w, GA_PARENT)).c_str(), Hex8(GetWindow(w, GW_OWNER)).c_str(), RectOf(w).c_str(),
           StyleOf(w), ExStyleOf(w), static_cast<long long>(IdOf(w)));
  return text;
}

// Indexes of the given windows in their siblings' Z-order, top first; other windows left out.
std::string Order(const std::vector<HWND>& windows) {
  std::string order;
  for (HWND w = GetWindow(windows[0], GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT))
    for (size_t i = 0; i < windows.size(); ++i) order += w == windows[i] ? std::string(1, '0' + i) : "";
  return order;
}

// A style change without a frame refresh keeps the old client area. Another process's window
// answers on its own thread, so the check waits a while.
void ExpectFrameFitsStyles(HWND w) {
  RECT outer, client, frame;
  auto fits = [&] {
    frame = {0, 0, 0, 0};
    GetWindowRect(w, &outer);
    GetClientRect(w, &client);
    AdjustWindowRectEx(&frame, StyleOf(w), FALSE, ExStyleOf(w));
    return client.right + frame.right - frame.left == outer.right - outer.left &&
           client.bottom + frame.bottom - frame.top == outer.bottom - outer.top;
  };
  EXPECT_TRUE(PumpUntil(fits, 2000)) << "client area " << client.right << "x" << client.bottom << " in " << RectOf(w);
}

// Drops its id on becoming a child, as a system may drop a top-level window's menu (this Wine keeps it).
LRESULT CALLBACK DropsIdAsChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_STYLECHANGED && wp == WPARAM(GWL_STYLE) && (reinterpret_cast<STYLESTRUCT*>(lp)->styleNew & WS_CHILD))
    SetWindowLongPtrA(w, GWLP_ID, 0);
  return DefWindowProcA(w, msg, wp, lp);
}

class EditorTest : public MainDialogTest {
 protected:
  void SetUp() override { MainDialogTest::SetUp(); StopTimer(); }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);  // some are gone already: that call just fails
    MainDialogTest::TearDown();
  }
  HWND Keep(HWND w) { return windows_.push_back(w), w; }
  HWND Top(const char* title, int x = 100, int y = 100, int width = 300, int height = 220,
           DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, HWND owner = nullptr) {
    return Keep(MakeTopWindow(title, style, 0, owner, x, y, width, height));
  }
  HWND Child(HWND parent, int id, int x, int y, int width = 80, int height = 40) {
    return Keep(MakeChildWindow(parent, "child", id, WS_CHILD | WS_VISIBLE, x, y, width, height));
  }
  void Clicks(std::initializer_list<int> ids) { for (int id : ids) Click(id); }
  // What F8, F9 and the lock box would have chosen; what the tick does with the target button on "P".
  void Choose(HWND w, HWND p, LONG x, LONG y) { app.hTargetW = w, app.hTargetP = p, app.ptF9 = {x, y}, app.lockW = 1; }
  void TargetP(HWND p) { app.hTargetP = app.hCommandTarget = p; }
  std::string Counter() const { return WindowText(Item(IDC_COUNTER)); }
  // The counter after a click; "mark", a caption the tool never writes, when the click left it alone.
  std::string CounterAfter(int id) { return SetDlgItemTextA(dlg_, IDC_COUNTER, "mark"), Click(id), Counter(); }
  std::vector<HWND> windows_;
};

// Everything the history keeps is altered between a change and its undo: Redo must bring that back
// (the entry was exchanged with it). Closing with F8 alone held undoes all; F8 and F9 held: e2e test.
TEST_F(EditorTest, UndoAndRedoExchangeTheEntryWithTheLiveStateAndClosingUndoesEveryKindOfChange) {
  HelperProcess helper;  // the window of another process, as the tool mostly meets them
  ASSERT_TRUE(helper.ok());
  const DWORD popup = WS_POPUP | WS_CAPTION | WS_VISIBLE;
  HWND a = Top("A", 100, 100, 400, 300), q = Top("Q", 600, 150, 400, 300), o = Top("O", 300, 300, 250, 160, popup, a);
  HWND c12 = Child(a, 12, 30, 40, 250, 160), c13 = Child(a, 13, 30, 40, 250, 160), u = Top("U", 0, 0, 250, 160, popup);
  struct Case { int button; HWND w, p; LONG x, y; const char* rect; };  // x, y: F9; rect: W's there
  const Case cases[] = {
      {IDC_SETPARENT, helper.child, q, 650, 200, "(650,200,800,300)"},
      {IDC_SETPARENT, c12, nullptr, 222, 333, "(222,333,472,493)"},  // P 0: the desktop
      {IDC_SETPARENT, c13, q, 0, 0, "(0,0,250,160)"},                // no F9 seen yet
      {IDC_SETOWNER, o, nullptr, 10, 20, "(10,20,260,180)"},         // P 0: no owner
      {IDC_SETOWNER, u, q, 20, 30, "(20,30,270,190)"},  // SetWindowLong's 0 for "no owner" is a success
  };
  std::string former[5];
  for (int i = 0; i < 5; ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE("case " + std::to_string(i));
    former[i] = RelationsOf(c.w);
    Choose(c.w, c.p, c.x, c.y);
    Click(c.button);
    EXPECT_EQ(c.button == IDC_SETOWNER ? GetWindow(c.w, GW_OWNER) : GetAncestor(c.w, GA_PARENT),
              c.button == IDC_SETOWNER || c.p ? c.p : GetDesktopWindow());
    EXPECT_EQ(RectOf(c.w), c.rect);
    EXPECT_TRUE(IsWindowVisible(c.w));
    SetWindowLongPtrA(c.w, GWL_STYLE, StyleOf(c.w) ^ WS_CLIPCHILDREN);
    SetWindowLongPtrA(c.w, GWL_EXSTYLE, ExStyleOf(c.w) ^ WS_EX_ACCEPTFILES);
    SetWindowLongPtrA(c.w, GWLP_ID, 99);
    SetWindowPos(c.w, nullptr, 7, 9, 210, 95, SWP_NOZORDER | SWP_FRAMECHANGED);
    const std::string altered = RelationsOf(c.w);
    for (int undo = 1; undo >= 0; --undo) {
      app.hTargetW = a;
      Click(undo ? IDC_UNDO : IDC_REDO);
      EXPECT_EQ(RelationsOf(c.w), undo ? former[i] : altered);
      EXPECT_EQ(app.hTargetW, c.w);
    }
  }
  SetForegroundWindow(dlg_);  // the X server hands key events to the focused window
  PumpUntil([&] { return GetForegroundWindow() == dlg_; }, 2000);
  const bool held = KeyDown("F8") && PumpUntil([] { return GetAsyncKeyState(VK_F8) < 0; });
  if (held) SendMessageA(dlg_, WM_CLOSE, 0, 0);
  KeyUp("F8");  // whatever the outcome, so that no later test runs with the key down
  PumpUntil([] { return GetAsyncKeyState(VK_F8) >= 0; });
  ASSERT_TRUE(held);
  EXPECT_EQ(Counter(), "0");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(RelationsOf(cases[i].w), former[i]) << "case " << i;
}

TEST_F(EditorTest, EachStepUsesTheSlotNextToThePositionAndWhatCannotBeDoneChangesNothingElse) {
  HWND a = Top("A", 60, 60, 500, 400), p = Top("P", 620, 100, 500, 400), c = Top("C", 60, 500);
  HWND x = Top("X", 700, 500, 200, 120, WS_POPUP | WS_CAPTION | WS_VISIBLE, a), w[4];
  std::string former[4];
  for (int i = 0; i < 4; ++i) former[i] = RelationsOf(w[i] = Child(a, i + 1, 10 + 100 * (i % 2), 10 + 90 * (i / 2)));
  // choose: the window made W first (-1: none); then the count, each window's parent and W (-1: none).
  struct Step { int id, choose; bool lock; const char* counter; const char* parents; int w; };
  const Step steps[] = {
      {IDC_UNDO, -1, true, "mark", "AAAA", -1},    {IDC_REDO, -1, true, "mark", "AAAA", -1},
      {IDC_SETPARENT, 0, false, "mark", "AAAA", 0}, {IDC_SETOWNER, 0, false, "mark", "AAAA", 0},
      {IDC_SETPARENT, 0, true, "1", "PAAA", 0},    {IDC_SETPARENT, 1, true, "2", "PPAA", 1},
      {IDC_SETPARENT, 2, true, "3", "PPPA", 2},    {IDC_UNDO, -1, true, "2", "PPAA", 2},
      {IDC_UNDO, -1, true, "1", "PAAA", 1},        {IDC_SETPARENT, 3, true, "2", "PAAP", 3},  // slot 1
      {IDC_REDO, -1, true, "3", "PAPP", 2},        {IDC_REDO, -1, true, "mark", "PAPP", 2},
      {IDC_COUNTER, -1, true, "0", "AAAA", 0},     {IDC_REDO, -1, true, "mark", "AAAA", 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE("step " + std::to_string(&s - steps));
    if (s.choose >= 0) Choose(w[s.choose], p, 640 + 100 * (s.choose % 2), 150 + 100 * (s.choose / 2));
    app.lockW = s.lock;
    EXPECT_EQ(CounterAfter(s.id), s.counter);
    std::string parents;
    for (HWND v : w) parents += GetAncestor(v, GA_PARENT) == p ? 'P' : GetAncestor(v, GA_PARENT) == a ? 'A' : '?';
    EXPECT_EQ(parents, s.parents);
    EXPECT_EQ(app.hTargetW, s.w < 0 ? nullptr : w[s.w]);
  }
  for (int i = 0; i < 4; ++i) EXPECT_EQ(RelationsOf(w[i]), former[i]) << i;
  // A window cannot become its own child's child: no entry, nothing moves, the count is shown.
  Choose(a, w[0], 640, 150);
  EXPECT_EQ(CounterAfter(IDC_SETPARENT), "0");
  EXPECT_EQ(RectOf(a), "(60,60,560,460)");
  // 63 entries at most, for either kind; one window under them all ends where it began newest first.
  for (LONG i = 0; i < 63; ++i) { Choose(w[0], p, 640 + i, 150 + i); Click(IDC_SETPARENT); }
  EXPECT_EQ(Counter(), "63");
  Choose(w[1], p, 700, 200);
  for (int id : {IDC_SETPARENT, IDC_SETOWNER}) EXPECT_EQ(CounterAfter(id), "mark");
  EXPECT_EQ(RelationsOf(w[1]), former[1]);
  EXPECT_EQ(CounterAfter(IDC_COUNTER), "0");
  EXPECT_EQ(RelationsOf(w[0]), former[0]);
  // W2 destroyed, X given a parent its undo does not expect: both entries are passed over as they are.
  for (HWND v : {w[1], x, w[2]}) { Choose(v, p, 640, 150); Click(v == x ? IDC_SETOWNER : IDC_SETPARENT); }
  DestroyWindow(w[2]);
  SetParent(x, c);
  const std::string movedX = RelationsOf(x);
  const HistoryEntry kept[2] = {app.history[1], app.history[2]};
  app.hTargetW = a;
  EXPECT_EQ(CounterAfter(IDC_UNDO), "2");
  EXPECT_EQ(CounterAfter(IDC_UNDO), "1");
  EXPECT_EQ(app.hTargetW, a);
  EXPECT_EQ(RelationsOf(x), movedX);
  EXPECT_EQ(memcmp(kept, &app.history[1], sizeof kept), 0);
  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(w[1]), former[1]);
  Click(IDC_COUNTER);  // with nothing applied it moves no window but empties the redo range
  EXPECT_EQ(CounterAfter(IDC_REDO), "mark");
}

TEST_F(EditorTest, EachToggleFlipsItsBitTheEditFieldGivesTextAndIdAndNoHungWindowHoldsTheToolUp) {
  struct Toggle { int id; DWORD styleBit, exBit; bool onP; };  // onP: whatever the command target
  const Toggle toggles[] = {
      {IDC_POPUP, WS_POPUP, 0, 0}, {IDC_CLIPCHILD, WS_CLIPCHILDREN, 0, 0}, {IDC_CHILD, WS_CHILD, 0, 0},
      {IDC_ENABLE, WS_DISABLED, 0, 0}, {IDC_VISIBLE, WS_VISIBLE, 0, 0}, {IDC_MINIMIZE, WS_MINIMIZE, 0, 0},
      {IDC_TOOLWIN, 0, WS_EX_TOOLWINDOW, 1}, {IDC_APPWIN, 0, WS_EX_APPWINDOW, 1},
  };
  HelperProcess helper, hung("hang");
  ASSERT_TRUE(helper.ok() && hung.ok());
  HWND local = Top("toggled"), other = Top("bystander");
  SetWindowTextA(app.hTreeCombo, "field");
  // Once WS_POPUP is added or WS_CHILD removed, this Wine reads a child's id as a menu handle by its
  // low word, and the helper's 77 may name a live menu of its own: a menu bar would then take the
  // client area. No handle has a low word below 0x20.
  SetWindowLongPtrA(helper.child, GWLP_ID, 7);
  for (HWND t : {local, helper.top, helper.child}) {
    for (const Toggle& k : toggles) {
      SCOPED_TRACE(Hex8(t) + " command " + std::to_string(k.id));
      app.hCommandTarget = k.onP ? other : t;
      app.hTargetP = k.onP ? t : other;
      const DWORD style = StyleOf(t), ex = ExStyleOf(t);
      for (int again = 0; again < 2; ++again) {  // the second click flips the bit back
        Click(k.id);
        EXPECT_EQ(StyleOf(t), again ? style : style ^ k.styleBit);
        EXPECT_EQ(ExStyleOf(t), again ? ex : ex ^ k.exBit);
        if (!IsIconic(t)) ExpectFrameFitsStyles(t);
      }
    }
  }
  SetWindowLongPtrA(helper.child, GWLP_ID, 77);
  // "Child/" on windows that keep their id left the edit field and the "Id" button alone.
  EXPECT_EQ(WindowText(app.hTreeCombo), "field");
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_ID)));
  // "min/" restores a maximized window; hidden, it stays hidden across "App/"; "Vis / Hid" shows it normal.
  TargetP(local);
  for (int id : {IDC_MINIMIZE, IDC_VISIBLE}) {
    ShowWindow(local, SW_MAXIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(local) != FALSE; }));
    if (id == IDC_VISIBLE) ShowWindow(local, SW_HIDE);
    Clicks({IDC_APPWIN, id});
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(local) && !IsZoomed(local) && !IsIconic(local); }));
  }
  // A window whose id changes with WS_CHILD: "Child/" leaves the old id for "Id" to put back.
  SetWindowLongPtrA(local, GWLP_ID, 3000000000u);
  SetWindowLongPtrA(local, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DropsIdAsChildProc));
  Click(IDC_CHILD);
  EXPECT_EQ(IdOf(local), 0);
  EXPECT_EQ(WindowText(app.hTreeCombo), "3000000000");
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_ID)));
  Click(IDC_ID);
  EXPECT_EQ(IdOf(local), 3000000000u);
  // The text is cut to 254 characters; an id must be an unsigned number, else the old one (77) stays.
  TargetP(helper.child);
  for (const std::string& field : {std::string("  spaces, kept "), std::string(), std::string("-"),
                                   std::string(300, 'x'), std::string("4000000000")}) {
    SetWindowTextA(app.hTreeCombo, field.c_str());
    Clicks({IDC_TEXT, IDC_ID});
    EXPECT_EQ(WindowText(helper.child), field.substr(0, 254));
    EXPECT_EQ(static_cast<DWORD>(IdOf(helper.child)), field[0] == '4' ? 4000000000u : 77u) << field;
  }
  TargetP(hung.top);
  const DWORD start = GetTickCount();
  Clicks({IDC_TEXT, IDC_CLOSE});
  EXPECT_LT(GetTickCount() - start, 3000u);  // generous: an unbounded wait would never end
  TargetP(dlg_);  // "X" posts WM_CLOSE, to the tool itself as well
  Click(IDC_CLOSE);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dlg_); }));
}

TEST_F(EditorTest, NavigationAndZOrderStepsOnKnownFamiliesAndSwapNeedsTheLock) {
  const DWORD hidden = WS_OVERLAPPEDWINDOW, popup = WS_POPUP | WS_CAPTION;
  HWND parent = Top("family", 420, 300, 360, 260), p = Top("P", 100, 100, 300, 220, hidden);
  // Children; hidden top-level windows (the newest on top), P owning O1 and O2; visible ones and the dialog.
  std::vector<HWND> f[3] = {{},
                            {p, Top("O1", 150, 150, 200, 120, popup, p), Top("O2", 150, 150, 200, 120, popup, p),
                             Top("X", 100, 100, 300, 220, hidden), Top("Y", 100, 100, 300, 220, hidden)},
                            {Top("a"), Top("b"), Top("c"), dlg_}};
  for (int i = 0; i < 4; ++i) f[0].push_back(Child(parent, 100 + i, 10 + 20 * i, 10 + 20 * i));
  const std::vector<HWND>& c = f[0];
  HWND grandchild = Child(c[2], 9, 5, 5, 20, 20);
  // The tree list follows P to its last row; the desktop window is not the row "HWND_DESKTOP".
  SendMessageA(app.hTreeCombo, CB_RESETCONTENT, 0, 0);
  for (HWND data : {HWND_DESKTOP_VALUE, HWND_MESSAGE_VALUE, parent, c[0], c[1], c[1], c[2]})
    SendMessageA(app.hTreeCombo, CB_SETITEMDATA, SendMessageA(app.hTreeCombo, CB_ADDSTRING, 0, LPARAM("row")),
                 LPARAM(data));
  SendMessageA(app.hTreeCombo, CB_SETCURSEL, 2, 0);
  app.hTargetW = grandchild, app.hTargetP = parent;
  struct Nav { int id; HWND p; LRESULT row; };
  const Nav navs[] = {
      {IDC_NAV_CHILD, c[0], 3}, {IDC_NAV_NEXT, c[1], 5}, {IDC_NAV_NEXT, c[2], 6}, {IDC_NAV_NEXT, c[3], 6},
      {IDC_NAV_NEXT, c[3], 6},  {IDC_NAV_PREV, c[2], 6}, {IDC_NAV_CHILD, grandchild, 6},
      {IDC_NAV_PARENT, c[2], 6}, {IDC_NAV_LAST, c[3], 6}, {IDC_NAV_FIRST, c[0], 3}, {IDC_NAV_PREV, c[0], 3},
      {IDC_NAV_CHILD, c[0], 3}, {IDC_NAV_PARENT, parent, 2}, {IDC_NAV_PARENT, GetDesktopWindow(), 2},
      {IDC_NAV_PARENT, GetDesktopWindow(), 2},
  };
  for (const Nav& s : navs) {
    Click(s.id);
    EXPECT_EQ(app.hTargetP, s.p) << "command " << s.id;
    EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), s.row) << "command " << s.id;
  }
  // "Parent" and "Child" lead out of and into the message root; "First" there does nothing.
  app.hTargetP = Top("message-only", 0, 0, 0, 0, 0, HWND_MESSAGE);
  Clicks({IDC_NAV_PARENT, IDC_NAV_FIRST});
  EXPECT_EQ(app.hTargetP, app.hMessageRoot);
  Clicks({IDC_NAV_CHILD, IDC_SWAP});  // "sWaP" needs the lock
  EXPECT_EQ(app.hTargetW, grandchild);
  app.lockW = TRUE;
  Click(IDC_SWAP);
  EXPECT_EQ(app.hTargetP, grandchild);  // and W is the first message-only window
  EXPECT_EQ(GetAncestor(app.hTargetW, GA_PARENT), app.hMessageRoot);
  EXPECT_EQ(GetWindow(app.hTargetW, GW_HWNDPREV), nullptr);
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
    app.hCommandTarget = f[s.family][s.t];
    app.hTargetP = f[s.family][s.p];
    Click(s.id);
    EXPECT_EQ(Order(f[s.family]), s.order) << "step " << &s - steps;
    EXPECT_EQ(GetActiveWindow(), f[2][s.active]) << "step " << &s - steps;
  }
}

}  // namespace
