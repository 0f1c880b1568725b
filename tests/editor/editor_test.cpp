// The relationship editor on the real main dialog, its tick stopped so that only the test sets W, P
// and the command target: the history of re-parenting and re-owning, and the one-click commands.
#include <cstdio>
#include <cstring>
#include <source_location>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/relations.h"
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

// Rectangle, styles and id in one line, so that a failure names every difference.
std::string PlaceOf(HWND w) {
  char text[120];
  snprintf(text, sizeof text, "rect=%s style=%08lX ex=%08lX id=%lld", RectOf(w).c_str(), StyleOf(w),
           ExStyleOf(w), static_cast<long long>(IdOf(w)));
  return text;
}

// Everything a history step restores: every relation query, and the place, styles and id.
struct Restorable {
  Relations relations;
  std::string place;
};
Restorable StateOf(HWND w) { return {RelationsNow(w), PlaceOf(w)}; }
void ExpectState(HWND w, const Restorable& expected,
                 std::source_location at = std::source_location::current()) {
  ExpectRelations(w, expected.relations, at);
  ::testing::ScopedTrace caller(at.file_name(), static_cast<int>(at.line()), "place of " + Hex8(w));
  EXPECT_EQ(PlaceOf(w), expected.place);
}

// Indexes of the given windows in their siblings' Z-order, top first; other windows left out.
std::string Order(const std::vector<HWND>& windows) {
  std::string order;
  for (HWND w = GetWindow(windows[0], GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT)) {
    for (size_t i = 0; i < windows.size(); ++i) {
      if (w == windows[i]) order += static_cast<char>('0' + i);
    }
  }
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
  EXPECT_TRUE(PumpUntil(fits, 2000))
      << "client area " << client.right << "x" << client.bottom << " in " << RectOf(w);
}

// Drops its id on becoming a child, as a system may drop a top-level window's menu (this Wine
// keeps it).
LRESULT CALLBACK DropsIdAsChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_STYLECHANGED && wp == WPARAM(GWL_STYLE) &&
      (reinterpret_cast<STYLESTRUCT*>(lp)->styleNew & WS_CHILD)) {
    SetWindowLongPtrA(w, GWLP_ID, 0);
  }
  return DefWindowProcA(w, msg, wp, lp);
}

class EditorTest : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
  }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);  // some are gone already: that call just fails
    MainDialogTest::TearDown();
  }
  HWND Keep(HWND w) {
    windows_.push_back(w);
    return w;
  }
  HWND Top(const char* title, int x = 100, int y = 100, int width = 300, int height = 220,
           DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, HWND owner = nullptr) {
    return Keep(MakeTopWindow(title, style, 0, owner, x, y, width, height));
  }
  HWND Child(HWND parent, int id, int x, int y, int width = 80, int height = 40) {
    return Keep(MakeChildWindow(parent, "child", id, WS_CHILD | WS_VISIBLE, x, y, width, height));
  }
  void Clicks(std::initializer_list<int> ids) {
    for (int id : ids) Click(id);
  }
  // What F8, F9 and the lock box would have chosen.
  void Choose(HWND w, HWND p, LONG x, LONG y) {
    app.hTargetW = w;
    app.hTargetP = p;
    app.ptF9 = {x, y};
    app.lockW = 1;
  }
  // What the tick does with the target button on "P".
  void TargetP(HWND p) {
    app.hTargetP = p;
    app.hCommandTarget = p;
  }
  std::string Counter() const { return WindowText(Item(IDC_COUNTER)); }
  // The counter after a click; "mark", a caption the tool never writes, when the click left it alone.
  std::string CounterAfter(int id) {
    SetDlgItemTextA(dlg_, IDC_COUNTER, "mark");
    Click(id);
    return Counter();
  }
  std::vector<HWND> windows_;
};

// Everything the history keeps is altered between a change and its undo: Redo must bring that back
// (the entry was exchanged with it). Closing with F8 alone held undoes all; F8 and F9 held: e2e test.
TEST_F(EditorTest, HistoryStepsExchangeTheEntryWithTheLiveStateAndClosingUndoesAll) {
  HelperProcess helper;  // the window of another process, as the tool mostly meets them
  ASSERT_TRUE(helper.ok());
  const DWORD popup = WS_POPUP | WS_CAPTION | WS_VISIBLE;
  HWND a = Top("A", 100, 100, 400, 300);
  HWND q = Top("Q", 600, 150, 400, 300);
  HWND o = Top("O", 300, 300, 250, 160, popup, a);
  HWND c12 = Child(a, 12, 30, 40, 250, 160);
  HWND c13 = Child(a, 13, 30, 40, 250, 160);
  HWND u = Top("U", 0, 0, 250, 160, popup);
  HWND desktop = GetDesktopWindow();
  // x, y: F9; rect: W's there; then every relation of W after the change.
  struct Case { int button; HWND w, p; LONG x, y; const char* rect; Relations after; };
  const Case cases[] = {
      {IDC_SETPARENT, helper.child, q, 650, 200, "(650,200,800,300)",
       {.owner = nullptr, .hwndParent = q, .getParent = q, .gaParent = q, .gaRoot = q, .gaRootOwner = q}},
      // P 0: the desktop. The window keeps WS_CHILD, so GetParent, and the GA_ROOTOWNER walk that
      // follows it, end at the desktop; GWLP_HWNDPARENT of a window of the desktop is its owner.
      {IDC_SETPARENT, c12, nullptr, 222, 333, "(222,333,472,493)",
       {.owner = nullptr, .hwndParent = nullptr, .getParent = desktop, .gaParent = desktop,
        .gaRoot = c12, .gaRootOwner = desktop}},
      // no F9 seen yet
      {IDC_SETPARENT, c13, q, 0, 0, "(0,0,250,160)",
       {.owner = nullptr, .hwndParent = q, .getParent = q, .gaParent = q, .gaRoot = q, .gaRootOwner = q}},
      // P 0: no owner
      {IDC_SETOWNER, o, nullptr, 10, 20, "(10,20,260,180)",
       {.owner = nullptr, .hwndParent = nullptr, .getParent = nullptr, .gaParent = desktop,
        .gaRoot = o, .gaRootOwner = o}},
      // SetWindowLong's 0 for "no owner" is a success
      {IDC_SETOWNER, u, q, 20, 30, "(20,30,270,190)",
       {.owner = q, .hwndParent = q, .getParent = q, .gaParent = desktop, .gaRoot = u, .gaRootOwner = q}},
  };
  Restorable former[5];
  for (int i = 0; i < 5; ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE("case " + std::to_string(i));
    former[i] = StateOf(c.w);
    Choose(c.w, c.p, c.x, c.y);
    Click(c.button);
    ExpectRelations(c.w, c.after);
    EXPECT_EQ(RectOf(c.w), c.rect);
    EXPECT_TRUE(IsWindowVisible(c.w));
    SetWindowLongPtrA(c.w, GWL_STYLE, StyleOf(c.w) ^ WS_CLIPCHILDREN);
    SetWindowLongPtrA(c.w, GWL_EXSTYLE, ExStyleOf(c.w) ^ WS_EX_ACCEPTFILES);
    SetWindowLongPtrA(c.w, GWLP_ID, 99);
    SetWindowPos(c.w, nullptr, 7, 9, 210, 95, SWP_NOZORDER | SWP_FRAMECHANGED);
    const Restorable altered = StateOf(c.w);
    for (int undo = 1; undo >= 0; --undo) {
      app.hTargetW = a;
      Click(undo ? IDC_UNDO : IDC_REDO);
      ExpectState(c.w, undo ? former[i] : altered);
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
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    ExpectState(cases[i].w, former[i]);
  }
}

// Undo and redo step through the slots next to the position; a change made after undoing takes the
// slot after the position and drops the redo range.
TEST_F(EditorTest, EachStepUsesTheSlotNextToThePosition) {
  HWND a = Top("A", 60, 60, 500, 400);
  HWND p = Top("P", 620, 100, 500, 400);
  HWND w[4];
  Restorable former[4];
  for (int i = 0; i < 4; ++i) {
    w[i] = Child(a, i + 1, 10 + 100 * (i % 2), 10 + 90 * (i / 2));
    former[i] = StateOf(w[i]);
  }
  // choose: the window made W first (-1: none); then the count, each window's parent and W (-1: none).
  struct Step { int id, choose; bool lock; const char* counter; const char* parents; int w; };
  const Step steps[] = {
      {IDC_UNDO, -1, true, "mark", "AAAA", -1},     {IDC_REDO, -1, true, "mark", "AAAA", -1},
      {IDC_SETPARENT, 0, false, "mark", "AAAA", 0}, {IDC_SETOWNER, 0, false, "mark", "AAAA", 0},
      {IDC_SETPARENT, 0, true, "1", "PAAA", 0},     {IDC_SETPARENT, 1, true, "2", "PPAA", 1},
      {IDC_SETPARENT, 2, true, "3", "PPPA", 2},     {IDC_UNDO, -1, true, "2", "PPAA", 2},
      {IDC_UNDO, -1, true, "1", "PAAA", 1},         {IDC_SETPARENT, 3, true, "2", "PAAP", 3},  // slot 1
      {IDC_REDO, -1, true, "3", "PAPP", 2},         {IDC_REDO, -1, true, "mark", "PAPP", 2},
      {IDC_COUNTER, -1, true, "0", "AAAA", 0},      {IDC_REDO, -1, true, "mark", "AAAA", 0},
  };
  const struct { HWND parent; char letter; } letters[] = {{p, 'P'}, {a, 'A'}};
  for (const Step& s : steps) {
    SCOPED_TRACE("step " + std::to_string(&s - steps));
    if (s.choose >= 0) Choose(w[s.choose], p, 640 + 100 * (s.choose % 2), 150 + 100 * (s.choose / 2));
    app.lockW = s.lock;
    EXPECT_EQ(CounterAfter(s.id), s.counter);
    std::string parents;
    for (HWND v : w) {
      char letter = '?';
      for (const auto& l : letters) {
        if (GetAncestor(v, GA_PARENT) == l.parent) letter = l.letter;
      }
      parents += letter;
    }
    EXPECT_EQ(parents, s.parents);
    EXPECT_EQ(app.hTargetW, s.w < 0 ? nullptr : w[s.w]);
  }
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE("window " + std::to_string(i));
    ExpectState(w[i], former[i]);
  }
}

// A window cannot become its own child's child, and a full history takes no entry: nothing moves,
// and the one window under all 63 entries ends where it began, undone newest first.
TEST_F(EditorTest, WhatCannotBeDoneChangesNothingElse) {
  HWND a = Top("A", 60, 60, 500, 400);
  HWND p = Top("P", 620, 100, 500, 400);
  HWND w[2] = {Child(a, 1, 10, 10), Child(a, 2, 110, 10)};
  const Restorable former[2] = {StateOf(w[0]), StateOf(w[1])};
  Choose(a, w[0], 640, 150);
  EXPECT_EQ(CounterAfter(IDC_SETPARENT), "0");
  EXPECT_EQ(RectOf(a), "(60,60,560,460)");
  // 63 entries at most, for either kind.
  for (LONG i = 0; i < 63; ++i) {
    Choose(w[0], p, 640 + i, 150 + i);
    Click(IDC_SETPARENT);
  }
  EXPECT_EQ(Counter(), "63");
  Choose(w[1], p, 700, 200);
  for (int id : {IDC_SETPARENT, IDC_SETOWNER}) EXPECT_EQ(CounterAfter(id), "mark");
  ExpectState(w[1], former[1]);
  EXPECT_EQ(CounterAfter(IDC_COUNTER), "0");
  ExpectState(w[0], former[0]);
}

// An entry whose window was destroyed, or whose window has a relation its undo does not expect, is
// passed over as it is; with nothing applied, the counter button empties the redo range.
TEST_F(EditorTest, StepsPassOverEntriesOfGoneOrMovedWindows) {
  HWND a = Top("A", 60, 60, 500, 400);
  HWND p = Top("P", 620, 100, 500, 400);
  HWND c = Top("C", 60, 500);
  HWND x = Top("X", 700, 500, 200, 120, WS_POPUP | WS_CAPTION | WS_VISIBLE, a);
  HWND w1 = Child(a, 2, 110, 10);
  HWND w2 = Child(a, 3, 10, 100);
  const Restorable w1Was = StateOf(w1);
  for (HWND v : {w1, x, w2}) {
    Choose(v, p, 640, 150);
    Click(v == x ? IDC_SETOWNER : IDC_SETPARENT);
  }
  DestroyWindow(w2);
  SetParent(x, c);
  const Restorable movedX = StateOf(x);
  const HistoryEntry kept[2] = {app.history[1], app.history[2]};
  app.hTargetW = a;
  EXPECT_EQ(CounterAfter(IDC_UNDO), "2");
  EXPECT_EQ(CounterAfter(IDC_UNDO), "1");
  EXPECT_EQ(app.hTargetW, a);
  ExpectState(x, movedX);
  EXPECT_EQ(memcmp(kept, &app.history[1], sizeof kept), 0);
  Click(IDC_UNDO);
  ExpectState(w1, w1Was);
  Click(IDC_COUNTER);  // with nothing applied it moves no window but empties the redo range
  EXPECT_EQ(CounterAfter(IDC_REDO), "mark");
}

// Each toggle on the command target (or on P, for the two extended styles), on windows of this and of
// another process: the bit flips and flips back, and the frame follows the new styles.
TEST_F(EditorTest, EachToggleFlipsItsBitAndTheFrameFollows) {
  struct Toggle { int id; DWORD styleBit, exBit; bool onP; };  // onP: whatever the command target
  const Toggle toggles[] = {
      {IDC_POPUP, WS_POPUP, 0, 0},   {IDC_CLIPCHILD, WS_CLIPCHILDREN, 0, 0}, {IDC_CHILD, WS_CHILD, 0, 0},
      {IDC_ENABLE, WS_DISABLED, 0, 0}, {IDC_VISIBLE, WS_VISIBLE, 0, 0}, {IDC_MINIMIZE, WS_MINIMIZE, 0, 0},
      {IDC_TOOLWIN, 0, WS_EX_TOOLWINDOW, 1}, {IDC_APPWIN, 0, WS_EX_APPWINDOW, 1},
  };
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  HWND local = Top("toggled");
  HWND other = Top("bystander");
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
      const DWORD style = StyleOf(t);
      const DWORD ex = ExStyleOf(t);
      for (int again = 0; again < 2; ++again) {  // the second click flips the bit back
        Click(k.id);
        EXPECT_EQ(StyleOf(t), again ? style : style ^ k.styleBit);
        EXPECT_EQ(ExStyleOf(t), again ? ex : ex ^ k.exBit);
        if (!IsIconic(t)) ExpectFrameFitsStyles(t);
      }
    }
  }
  // "Child/" on windows that keep their id left the edit field and the "Id" button alone.
  EXPECT_EQ(WindowText(app.hTreeCombo), "field");
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_ID)));
}

// "min/" restores a maximized window; hidden, it stays hidden across "App/"; "Vis / Hid" shows it normal.
TEST_F(EditorTest, MinAndVisBringAMaximizedWindowBackNormal) {
  HWND local = Top("toggled");
  TargetP(local);
  for (int id : {IDC_MINIMIZE, IDC_VISIBLE}) {
    ShowWindow(local, SW_MAXIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(local) != FALSE; }));
    if (id == IDC_VISIBLE) ShowWindow(local, SW_HIDE);
    Clicks({IDC_APPWIN, id});
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(local) && !IsZoomed(local) && !IsIconic(local); }));
  }
}

// A window whose id changes with WS_CHILD: "Child/" leaves the old id for "Id" to put back.
TEST_F(EditorTest, ChildLeavesTheIdTheWindowDroppedForIdToPutBack) {
  HWND local = Top("toggled");
  TargetP(local);
  SetWindowLongPtrA(local, GWLP_ID, 3000000000u);
  SetWindowLongPtrA(local, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DropsIdAsChildProc));
  Click(IDC_CHILD);
  EXPECT_EQ(IdOf(local), 0);
  EXPECT_EQ(WindowText(app.hTreeCombo), "3000000000");
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_ID)));
  Click(IDC_ID);
  EXPECT_EQ(IdOf(local), 3000000000u);
}

// The text is cut to 254 characters; an id must be an unsigned number, else the old one (77) stays.
TEST_F(EditorTest, TheEditFieldGivesTheTargetItsTextAndAnUnsignedId) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  TargetP(helper.child);
  for (const std::string& field : {std::string("  spaces, kept "), std::string(), std::string("-"),
                                   std::string(300, 'x'), std::string("4000000000")}) {
    SetWindowTextA(app.hTreeCombo, field.c_str());
    Clicks({IDC_TEXT, IDC_ID});
    EXPECT_EQ(WindowText(helper.child), field.substr(0, 254));
    EXPECT_EQ(static_cast<DWORD>(IdOf(helper.child)), field[0] == '4' ? 4000000000u : 77u) << field;
  }
}

// Text and close requests to a hung window are bounded; "X" posts WM_CLOSE, to the tool itself as well.
TEST_F(EditorTest, NoHungWindowHoldsTheToolUpAndXClosesEvenTheTool) {
  HelperProcess hung("hang");
  ASSERT_TRUE(hung.ok());
  TargetP(hung.top);
  SetWindowTextA(app.hTreeCombo, "for a hung window");
  const DWORD start = GetTickCount();
  Clicks({IDC_TEXT, IDC_CLOSE});
  EXPECT_LT(GetTickCount() - start, 3000u);  // generous: an unbounded wait would never end
  TargetP(dlg_);
  Click(IDC_CLOSE);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dlg_); }));
}

// Windows whose order the test knows: four children of one parent; hidden top-level windows (the
// newest on top), P owning O1 and O2; visible ones and the dialog.
class FamiliesTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    const DWORD hidden = WS_OVERLAPPEDWINDOW;
    const DWORD popup = WS_POPUP | WS_CAPTION;
    parent_ = Top("family", 420, 300, 360, 260);
    HWND p = Top("P", 100, 100, 300, 220, hidden);
    HWND o1 = Top("O1", 150, 150, 200, 120, popup, p);
    HWND o2 = Top("O2", 150, 150, 200, 120, popup, p);
    HWND x = Top("X", 100, 100, 300, 220, hidden);
    HWND y = Top("Y", 100, 100, 300, 220, hidden);
    f_[1] = {p, o1, o2, x, y};
    HWND a = Top("a");
    HWND b = Top("b");
    HWND c = Top("c");
    f_[2] = {a, b, c, dlg_};
    for (int i = 0; i < 4; ++i) f_[0].push_back(Child(parent_, 100 + i, 10 + 20 * i, 10 + 20 * i));
  }
  HWND parent_ = nullptr;
  std::vector<HWND> f_[3];
};

// The navigation buttons walk the family of P, the tree list following P's row; "sWaP" needs the lock.
TEST_F(FamiliesTest, NavigationWalksTheFamilyAndSwapNeedsTheLock) {
  const std::vector<HWND>& c = f_[0];
  HWND grandchild = Child(c[2], 9, 5, 5, 20, 20);
  HWND desktop = GetDesktopWindow();
  // The tree list follows P to its last row; the desktop window is not the row "HWND_DESKTOP".
  SendMessageA(app.hTreeCombo, CB_RESETCONTENT, 0, 0);
  for (HWND data : {HWND_DESKTOP_VALUE, HWND_MESSAGE_VALUE, parent_, c[0], c[1], c[1], c[2]}) {
    LRESULT row = SendMessageA(app.hTreeCombo, CB_ADDSTRING, 0, LPARAM("row"));
    SendMessageA(app.hTreeCombo, CB_SETITEMDATA, row, LPARAM(data));
  }
  SendMessageA(app.hTreeCombo, CB_SETCURSEL, 2, 0);
  app.hTargetW = grandchild;
  app.hTargetP = parent_;
  struct Nav { int id; HWND p; LRESULT row; };
  const Nav navs[] = {
      {IDC_NAV_CHILD, c[0], 3},         {IDC_NAV_NEXT, c[1], 5},      {IDC_NAV_NEXT, c[2], 6},
      {IDC_NAV_NEXT, c[3], 6},          {IDC_NAV_NEXT, c[3], 6},      {IDC_NAV_PREV, c[2], 6},
      {IDC_NAV_CHILD, grandchild, 6},   {IDC_NAV_PARENT, c[2], 6},    {IDC_NAV_LAST, c[3], 6},
      {IDC_NAV_FIRST, c[0], 3},         {IDC_NAV_PREV, c[0], 3},      {IDC_NAV_CHILD, c[0], 3},
      {IDC_NAV_PARENT, parent_, 2},     {IDC_NAV_PARENT, desktop, 2}, {IDC_NAV_PARENT, desktop, 2},
  };
  for (const Nav& s : navs) {
    SCOPED_TRACE("command " + std::to_string(s.id) + ", step " + std::to_string(&s - navs));
    Click(s.id);
    EXPECT_EQ(app.hTargetP, s.p);
    EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), s.row);
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
}

// Each Z-order button moves the command target among its siblings, relative to P where it takes one;
// some steps activate the target, so the active window is checked at every step.
TEST_F(FamiliesTest, ZOrderStepsMoveTheTargetAmongItsSiblings) {
  ASSERT_EQ(Order(f_[0]) + Order(f_[1]) + Order(f_[2]), "0123" "43210" "3210");
  struct Step { int family, id, t, p; const char* order; int active; };  // indexes; active: of f_[2]
  const Step steps[] = {
      {0, IDC_ZTOP, 2, 0, "2013", 2},  {0, IDC_ZBOTTOM, 0, 1, "2130", 2}, {0, IDC_ZUP, 0, 3, "2310", 2},
      {0, IDC_ZUP, 0, 3, "3210", 2},   {0, IDC_ZUP, 0, 3, "3210", 2},     {0, IDC_ZDOWN, 3, 2, "3120", 2},
      {0, IDC_ZDOWN, 3, 2, "3102", 2}, {0, IDC_ZDOWN, 3, 2, "2310", 2},  // below the last lies HWND_TOP
      {1, IDC_ZUP, 1, 0, "42103", 2},  // past the windows that P owns
      {2, IDC_ZTOP, 0, 1, "3021", 0},  {2, IDC_ZBOTTOM, 2, 1, "3012", 0}, {2, IDC_ZUP, 2, 1, "3102", 0},
      {2, IDC_ZDOWN, 2, 1, "3012", 0}, {2, IDC_TOPMOST, 2, 1, "2301", 2},
      {2, IDC_NOTOPMOST, 2, 0, "3201", 2},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE("step " + std::to_string(&s - steps));
    app.hCommandTarget = f_[s.family][s.t];
    app.hTargetP = f_[s.family][s.p];
    Click(s.id);
    EXPECT_EQ(Order(f_[s.family]), s.order);
    EXPECT_EQ(GetActiveWindow(), f_[2][s.active]);
  }
}

}  // namespace
