// One change of parent or owner, its undo and its redo, on real windows of this process.
#include "editor/history_helpers.h"

namespace {

using History = HistoryTest;

TEST_F(History, SetParentMovesWToTheF9PointAndRecordsItsFormerState) {
  HWND a = Top("history A", 100, 100, 400, 300);
  HWND b = Top("history B", 600, 150, 400, 300);
  HWND w = Child(a, "history W", 4321, 15, 25, 120, 70, WS_CHILD | WS_VISIBLE | WS_BORDER);
  SetWindowLongPtrA(w, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
  std::string formerEntry = EntryFor(w, 0, a);
  std::string former = RelationsOf(w);
  SIZE size = SizeOf(w);

  Choose(w, b, 650, 200);
  Click(IDC_SETPARENT);

  EXPECT_EQ(GetAncestor(w, GA_PARENT), b);
  EXPECT_EQ(GetParent(w), b);
  // Its top-left corner stands on the F9 point, its size is kept.
  EXPECT_EQ(ScreenRectOf(w), ScreenRect(650, 200, size.cx, size.cy));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_ID), 4321);
  EXPECT_EQ(Counter(), "1");
  EXPECT_EQ(app.historyPos, 1u);
  EXPECT_EQ(app.historyTop, 1u);
  EXPECT_EQ(app.hTargetW, w);
  // The entry holds the state from before the change; SetParent returned the former parent.
  EXPECT_EQ(EntryText(app.history[0]), formerEntry);
  EXPECT_NE(RelationsOf(w), former);
}

TEST_F(History, UndoRestoresParentRectangleStylesAndIdAndRedoReappliesThem) {
  HWND a = Top("history A", 100, 100, 400, 300);
  HWND b = Top("history B", 600, 150, 400, 300);
  HWND w = Child(a, "history W", 4321, 15, 25, 120, 70, WS_CHILD | WS_VISIBLE | WS_BORDER);
  std::string former = RelationsOf(w);

  Choose(w, b, 650, 200);
  Click(IDC_SETPARENT);
  ASSERT_EQ(GetAncestor(w, GA_PARENT), b);

  // Everything the history keeps is changed by hand while W sits under B.
  SetWindowLongPtrA(w, GWL_STYLE, (GetWindowLongPtrA(w, GWL_STYLE) & ~WS_BORDER) | WS_CLIPCHILDREN);
  SetWindowLongPtrA(w, GWL_EXSTYLE, WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES);
  SetWindowLongPtrA(w, GWLP_ID, 99);
  SetWindowPos(w, nullptr, 7, 9, 210, 95, SWP_NOZORDER | SWP_FRAMECHANGED);
  std::string altered = RelationsOf(w);
  ASSERT_NE(altered, former);
  app.hTargetW = b;

  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(w), former);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(app.hTargetW, w);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.historyTop, 1u);
  // The entry now holds what the redo needs: the state under B as it was before the undo, and
  // B, which SetParent returned as the parent it took W from.
  RECT underB = {7, 9, 217, 104};
  EXPECT_EQ(EntryText(app.history[0]),
            Entry(w, {b, underB.left, underB.top, underB.right, underB.bottom},
                  WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES,
                  static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN), 0, b, 99));

  app.hTargetW = a;
  Click(IDC_REDO);
  EXPECT_EQ(RelationsOf(w), altered);
  EXPECT_EQ(app.hTargetW, w);
  EXPECT_EQ(Counter(), "1");
  EXPECT_EQ(app.historyPos, 1u);

  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(w), former);
  EXPECT_EQ(Counter(), "0");
}

TEST_F(History, OwnerChangeOfAnUnownedWindowCountsAsSuccessAndUndoesToNoOwner) {
  HWND q = Top("history Q", 500, 120);
  HWND x = Top("history X", 300, 300, 250, 160, WS_POPUP | WS_CAPTION | WS_VISIBLE);
  ASSERT_EQ(GetWindow(x, GW_OWNER), nullptr);
  std::string former = RelationsOf(x);
  // A window without owner: the old GWLP_HWNDPARENT value is 0 and the entry keeps that 0.
  std::string formerEntry = EntryFor(x, 1, nullptr);
  SIZE size = SizeOf(x);

  Choose(x, q, 20, 30);
  Click(IDC_SETOWNER);

  EXPECT_EQ(GetWindow(x, GW_OWNER), q);
  EXPECT_EQ(GetAncestor(x, GA_PARENT), GetDesktopWindow());
  // A new owner moves the window to the F9 point as well.
  EXPECT_EQ(ScreenRectOf(x), ScreenRect(20, 30, size.cx, size.cy));
  EXPECT_EQ(EntryText(app.history[0]), formerEntry);
  EXPECT_EQ(Counter(), "1");
  std::string owned = RelationsOf(x);

  Click(IDC_UNDO);
  EXPECT_EQ(GetWindow(x, GW_OWNER), nullptr);
  EXPECT_EQ(RelationsOf(x), former);
  EXPECT_EQ(app.history[0].hRelation, q);
  EXPECT_EQ(Counter(), "0");

  Click(IDC_REDO);
  EXPECT_EQ(RelationsOf(x), owned);
  EXPECT_EQ(app.history[0].hRelation, nullptr);
  EXPECT_EQ(Counter(), "1");
}

TEST_F(History, WithPZeroTheDesktopBecomesTheParentOrTheOwnerIsRemoved) {
  HWND a = Top("history A", 100, 100, 400, 300);
  HWND w = Child(a, "history W", 12, 30, 40, 90, 50);
  HWND o = Top("history O", 80, 80);
  HWND x = Top("history X", 300, 300, 250, 160, WS_POPUP | WS_CAPTION | WS_VISIBLE, o);
  std::string formerW = RelationsOf(w);
  std::string formerX = RelationsOf(x);
  SIZE sizeW = SizeOf(w);

  Choose(w, nullptr, 222, 333);
  Click(IDC_SETPARENT);
  EXPECT_EQ(GetAncestor(w, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(ScreenRectOf(w), ScreenRect(222, 333, sizeW.cx, sizeW.cy));
  EXPECT_EQ(app.history[0].hRelation, a);
  EXPECT_EQ(Counter(), "1");

  Choose(x, nullptr, 10, 20);
  Click(IDC_SETOWNER);
  EXPECT_EQ(GetWindow(x, GW_OWNER), nullptr);
  EXPECT_EQ(app.history[1].hRelation, o);
  EXPECT_EQ(app.history[1].kind, 1u);
  EXPECT_EQ(Counter(), "2");

  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(x), formerX);
  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(w), formerW);
  EXPECT_EQ(Counter(), "0");
}

TEST_F(History, BeforeAnyF9TheWindowGoesToTheScreenOriginInItsNewParent) {
  HWND a = Top("history A", 100, 100, 400, 300);
  HWND b = Top("history B", 600, 150, 400, 300);
  HWND w = Child(a, "history W", 5, 30, 40, 90, 50);
  Choose(w, b, 0, 0);
  Click(IDC_SETPARENT);
  EXPECT_EQ(GetAncestor(w, GA_PARENT), b);
  // The client point of B that lies at screen (0, 0) has negative coordinates.
  EXPECT_EQ(ScreenRectOf(w), ScreenRect(0, 0, 90, 50));
}

TEST_F(History, WithoutTheLockBothChangesAreRefusedAndNothingElseHappens) {
  HWND a = Top("history A", 100, 100, 400, 300);
  HWND b = Top("history B", 600, 150, 400, 300);
  HWND w = Child(a, "history W", 12, 30, 40, 90, 50);
  HWND x = Top("history X", 300, 300, 250, 160, WS_POPUP | WS_CAPTION | WS_VISIBLE);
  std::string formerW = RelationsOf(w);
  std::string formerX = RelationsOf(x);

  Choose(w, b, 650, 200);
  app.lockW = FALSE;
  MarkCounter();
  Click(IDC_SETPARENT);
  app.hTargetW = x;
  Click(IDC_SETOWNER);

  EXPECT_EQ(RelationsOf(w), formerW);
  EXPECT_EQ(RelationsOf(x), formerX);
  EXPECT_EQ(Counter(), "mark");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.historyTop, 0u);
  EXPECT_EQ(app.history[0].hWindow, nullptr);
  EXPECT_EQ(app.hTargetW, x);

  // The same choice with the lock on is carried out.
  app.lockW = TRUE;
  app.hTargetW = w;
  Click(IDC_SETPARENT);
  EXPECT_EQ(GetAncestor(w, GA_PARENT), b);
  EXPECT_EQ(Counter(), "1");
}

TEST_F(History, AFailedChangeWritesNoEntryAndMovesNothingButShowsTheCount) {
  HWND a = Top("history A", 100, 100, 400, 300);
  HWND inner = Child(a, "history inner", 3, 30, 40, 90, 50);
  std::string formerA = RelationsOf(a);

  // A window cannot become the child of its own child.
  Choose(a, inner, 650, 200);
  MarkCounter();
  Click(IDC_SETPARENT);
  EXPECT_EQ(RelationsOf(a), formerA);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.historyTop, 0u);
  EXPECT_EQ(app.history[0].hWindow, nullptr);

  // An owner change of a window that no longer exists fails with a last error.
  HWND gone = MakeTopWindow("history gone");
  DestroyWindow(gone);
  Choose(gone, a, 650, 200);
  MarkCounter();
  Click(IDC_SETOWNER);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.history[0].hWindow, nullptr);
}

TEST_F(History, UndoAndRedoWithNothingToDoChangeNothing) {
  MarkCounter();
  Click(IDC_UNDO);
  Click(IDC_REDO);
  EXPECT_EQ(Counter(), "mark");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.historyTop, 0u);
}

TEST_F(History, TheCounterShowsThePositionAfterEveryCommand) {
  HWND a = Top("history A", 100, 100, 400, 300);
  HWND b = Top("history B", 600, 150, 400, 300);
  HWND w = Child(a, "history W", 12, 30, 40, 90, 50);
  EXPECT_EQ(Counter(), "0");
  Choose(w, b, 650, 200);
  struct Step {
    int id;
    const char* counter;
  };
  const Step steps[] = {
      {IDC_SETPARENT, "1"}, {IDC_SETOWNER, "2"}, {IDC_SETPARENT, "3"}, {IDC_UNDO, "2"},
      {IDC_UNDO, "1"},      {IDC_REDO, "2"},     {IDC_COUNTER, "0"},   {IDC_SETPARENT, "1"},
  };
  for (const Step& step : steps) {
    Click(step.id);
    EXPECT_EQ(Counter(), step.counter) << "after a click on " << step.id;
  }
}

}  // namespace
