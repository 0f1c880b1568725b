// Re-parenting and re-owning with undo, redo, the undo of everything and the close rule.
#include <cstring>

#include "editor/editor_helpers.h"

namespace {

using History = EditorTest;

bool Down(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

TEST_F(History, UndoPutsBackWhatTheChangeAlteredRedoReappliesItAndClosingPutsItBackAgain) {
  HelperProcess helper;  // the window of another process, as the tool mostly meets them
  ASSERT_TRUE(helper.ok());
  HWND w = helper.child, b = Top("B", 600, 150, 400, 300);
  const std::string former = RelationsOf(w);
  Choose(w, b, 650, 200);
  Click(IDC_SETPARENT);
  EXPECT_EQ(GetAncestor(w, GA_PARENT), b);
  EXPECT_EQ(ScreenRectOf(w), ScreenRect(650, 200, 150, 100));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(Counter(), "1");
  // Everything the history keeps is changed by hand while W sits under B.
  SetWindowLongPtrA(w, GWL_STYLE, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER);
  SetWindowLongPtrA(w, GWL_EXSTYLE, WS_EX_ACCEPTFILES);
  SetWindowLongPtrA(w, GWLP_ID, 99);
  SetWindowPos(w, nullptr, 7, 9, 210, 95, SWP_NOZORDER | SWP_FRAMECHANGED);
  const std::string altered = RelationsOf(w);
  app.hTargetW = b;
  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(w), former);
  EXPECT_EQ(app.hTargetW, w);
  EXPECT_EQ(Counter(), "0");
  app.hTargetW = b;
  Click(IDC_REDO);
  EXPECT_EQ(RelationsOf(w), altered);
  EXPECT_EQ(app.hTargetW, w);
  EXPECT_EQ(Counter(), "1");
  SendMessageA(dlg_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(dlg_));
  EXPECT_EQ(RelationsOf(w), former);
  EXPECT_EQ(Counter(), "0");
}

TEST_F(History, OwnerChangesAndChangesToTheDesktopAreRecordedLikeAnyOther) {
  HWND a = Top("A", 100, 100, 400, 300), q = Top("Q", 600, 150, 400, 300);
  struct Case { const char* name; int button; bool child, owned, pIsQ; LONG f9x, f9y; };
  const Case cases[] = {
      {"P 0 makes the desktop the parent", IDC_SETPARENT, true, false, false, 222, 333},
      {"before any F9 the corner goes to screen (0, 0)", IDC_SETPARENT, true, false, true, 0, 0},
      {"P 0 removes the owner", IDC_SETOWNER, false, true, false, 10, 20},
      {"an unowned window gets an owner", IDC_SETOWNER, false, false, true, 20, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = c.child ? Child(a, 12, 30, 40, 250, 160)
                     : Top("X", 300, 300, 250, 160, WS_POPUP | WS_CAPTION | WS_VISIBLE, c.owned ? a : nullptr);
    HWND p = c.pIsQ ? q : nullptr;
    const std::string former = RelationsOf(w);
    auto expectChanged = [&] {
      const bool owner = c.button == IDC_SETOWNER;
      EXPECT_EQ(owner ? GetWindow(w, GW_OWNER) : GetAncestor(w, GA_PARENT), owner || p ? p : GetDesktopWindow());
      EXPECT_EQ(ScreenRectOf(w), ScreenRect(c.f9x, c.f9y, 250, 160));
    };
    Choose(w, p, c.f9x, c.f9y);
    Click(c.button);
    expectChanged();
    // The relation the window had; an unowned window's is 0, which its undo restores.
    EXPECT_EQ(app.history[0].hRelation, (c.child || c.owned) ? a : nullptr);
    Click(IDC_UNDO);
    EXPECT_EQ(RelationsOf(w), former);
    Click(IDC_REDO);
    expectChanged();
    Click(IDC_COUNTER);
    EXPECT_EQ(RelationsOf(w), former);
  }
}

TEST_F(History, RefusalsChangeNothingAndEachStepUsesTheSlotNextToThePosition) {
  HWND a = Top("A", 60, 60, 500, 400), p = Top("P", 620, 100, 500, 400);
  std::vector<HWND> w;
  std::string former[4];
  for (int i = 0; i < 4; ++i) {
    w.push_back(Child(a, i + 1, 10 + 100 * (i % 2), 10 + 90 * (i / 2)));
    former[i] = RelationsOf(w[i]);
  }
  // choose: the window made W before the click (-1: none); then the count shown ("mark": not
  // rewritten), each window's parent (A or P) and W afterwards (-1: none).
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
    MarkCounter();
    Click(s.id);
    std::string parents;
    for (HWND x : w) parents += GetAncestor(x, GA_PARENT) == p ? 'P' : GetAncestor(x, GA_PARENT) == a ? 'A' : '?';
    EXPECT_EQ(Counter(), s.counter);
    EXPECT_EQ(parents, s.parents);
    EXPECT_EQ(app.hTargetW, s.w < 0 ? nullptr : w[s.w]);
  }
  for (int i = 0; i < 4; ++i) EXPECT_EQ(RelationsOf(w[i]), former[i]) << i;
  // A window cannot become its own child's child: no entry, nothing moves, the count is shown.
  Choose(a, w[0], 640, 150);
  MarkCounter();
  Click(IDC_SETPARENT);
  EXPECT_EQ(ScreenRectOf(a), ScreenRect(60, 60, 500, 400));
  EXPECT_EQ(Counter(), "0");
}

TEST_F(History, SixtyThreeAppliedEntriesRefuseAnotherChangeAndAreUndoneNewestFirst) {
  HWND a = Top("A", 60, 60, 400, 300), b = Top("B", 500, 60, 500, 400), c = Top("C", 500, 500);
  HWND w = Child(a, 8, 20, 30, 60, 40);
  const std::string former = RelationsOf(w);
  for (LONG i = 0; i < 63; ++i) {
    Choose(w, b, 520 + i, 100 + i);
    Click(IDC_SETPARENT);
  }
  EXPECT_EQ(Counter(), "63");
  const std::string full = RelationsOf(w);
  Choose(w, c, 520, 520);
  MarkCounter();
  Click(IDC_SETPARENT);
  Click(IDC_SETOWNER);
  EXPECT_EQ(RelationsOf(w), full);
  EXPECT_EQ(Counter(), "mark");
  // One window under one entry after another: only newest first ends where it began.
  Click(IDC_COUNTER);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(RelationsOf(w), former);
}

TEST_F(History, EntriesThatCanNoLongerBeCarriedOutArePassedOverWhileThePositionMoves) {
  HWND a = Top("A", 60, 60, 400, 300), p = Top("P", 500, 60, 400, 300), c = Top("C", 60, 400);
  HWND w1 = Child(a, 1, 10, 10), w2 = Child(a, 2, 100, 10);
  HWND x = Top("X", 700, 400, 200, 120, WS_POPUP | WS_CAPTION | WS_VISIBLE, a);
  const std::string former1 = RelationsOf(w1);
  Choose(w1, p, 520, 100);
  Click(IDC_SETPARENT);
  Choose(x, p, 720, 420);
  Click(IDC_SETOWNER);
  Choose(w2, p, 620, 100);
  Click(IDC_SETPARENT);
  // W2 is gone, and X was made a child of C, so that its undo would leave it the wrong parent.
  DestroyWindow(w2);
  SetParent(x, c);
  const std::string movedX = RelationsOf(x);
  const HistoryEntry kept[2] = {app.history[1], app.history[2]};
  app.hTargetW = a;
  Click(IDC_UNDO);
  Click(IDC_UNDO);
  EXPECT_EQ(Counter(), "1");
  EXPECT_EQ(app.hTargetW, a);
  EXPECT_EQ(RelationsOf(x), movedX);
  EXPECT_EQ(memcmp(kept, &app.history[1], sizeof kept), 0);
  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(w1), former1);
  // With nothing applied, a click on the counter moves no window but empties the redo range.
  Click(IDC_COUNTER);
  MarkCounter();
  Click(IDC_REDO);
  EXPECT_EQ(Counter(), "mark");
  EXPECT_EQ(RelationsOf(w1), former1);
}

TEST_F(History, ClosingWithF8AndF9HeldLeavesTheChangedWindowsAsTheyAre) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  Choose(helper.child, Top("B", 600, 500, 400, 300), 640, 540);
  Click(IDC_SETPARENT);
  const std::string changed = RelationsOf(helper.child);
  // The X server hands key events to the focused window, so one of this thread's goes in front.
  SetForegroundWindow(dlg_);
  PumpUntil([&] { return GetForegroundWindow() == dlg_; }, 2000);
  const bool held = KeyDown("F8") && KeyDown("F9") && PumpUntil([] { return Down(VK_F8) && Down(VK_F9); });
  if (held) SendMessageA(dlg_, WM_CLOSE, 0, 0);
  // Released whatever the outcome, so that no later test runs with the keys down.
  KeyUp("F8");
  KeyUp("F9");
  PumpUntil([] { return !Down(VK_F8) && !Down(VK_F9); });
  ASSERT_TRUE(held);
  EXPECT_FALSE(IsWindowVisible(dlg_));
  EXPECT_EQ(RelationsOf(helper.child), changed);
  EXPECT_EQ(Counter(), "1");
}

}  // namespace
