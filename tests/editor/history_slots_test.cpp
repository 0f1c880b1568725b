// The history as a whole: which slot a change or a step uses, the limit of applied entries,
// entries that can no longer be carried out, and the undo of everything.
#include "editor/history_helpers.h"

namespace {

using History = HistoryTest;

// The client point of parent that lies at the screen point (x, y).
POINT ClientPointOf(HWND parent, LONG x, LONG y) {
  POINT p = {x, y};
  ScreenToClient(parent, &p);
  return p;
}

TEST_F(History, AChangeAfterTwoUndosTakesTheNextSlotAndKeepsTheRedoRangeAboveIt) {
  HWND a = Top("history A", 60, 60, 500, 400);
  HWND p = Top("history P", 620, 100, 500, 400);
  HWND w1 = Child(a, "history W1", 1, 10, 10, 80, 40);
  HWND w2 = Child(a, "history W2", 2, 100, 10, 80, 40);
  HWND w3 = Child(a, "history W3", 3, 10, 100, 80, 40);
  HWND w4 = Child(a, "history W4", 4, 100, 100, 80, 40);
  std::string former1 = RelationsOf(w1), former2 = RelationsOf(w2);
  std::string former3 = RelationsOf(w3), former4 = RelationsOf(w4);

  Choose(w1, p, 640, 150);
  Click(IDC_SETPARENT);
  Choose(w2, p, 740, 150);
  Click(IDC_SETPARENT);
  Choose(w3, p, 640, 250);
  Click(IDC_SETPARENT);
  ASSERT_EQ(Counter(), "3");
  std::string changed3 = RelationsOf(w3);

  Click(IDC_UNDO);
  Click(IDC_UNDO);
  EXPECT_EQ(Counter(), "1");
  EXPECT_EQ(app.historyPos, 1u);
  EXPECT_EQ(app.historyTop, 3u);
  EXPECT_EQ(app.hTargetW, w2);
  EXPECT_EQ(RelationsOf(w2), former2);
  EXPECT_EQ(RelationsOf(w3), former3);
  EXPECT_EQ(GetAncestor(w1, GA_PARENT), p);
  // Slot 1 now holds what a redo of the second change needs.
  POINT at2 = ClientPointOf(p, 740, 150);
  EXPECT_EQ(EntryText(app.history[1]),
            Entry(w2, {p, at2.x, at2.y, at2.x + 80, at2.y + 40}, 0, WS_CHILD | WS_VISIBLE, 0, p, 2));

  Choose(w4, p, 740, 250);
  Click(IDC_SETPARENT);
  EXPECT_EQ(Counter(), "2");
  EXPECT_EQ(app.historyPos, 2u);
  EXPECT_EQ(app.historyTop, 3u);
  EXPECT_EQ(app.history[1].hWindow, w4);
  EXPECT_EQ(app.history[2].hWindow, w3);
  EXPECT_EQ(GetAncestor(w4, GA_PARENT), p);
  EXPECT_EQ(RelationsOf(w2), former2);

  // Redo replays the third of the earlier changes.
  Click(IDC_REDO);
  EXPECT_EQ(Counter(), "3");
  EXPECT_EQ(app.hTargetW, w3);
  EXPECT_EQ(RelationsOf(w3), changed3);
  EXPECT_EQ(ScreenRectOf(w3), ScreenRect(640, 250, 80, 40));

  MarkCounter();
  Click(IDC_REDO);
  EXPECT_EQ(Counter(), "mark");
  EXPECT_EQ(RelationsOf(w3), changed3);

  Click(IDC_COUNTER);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(RelationsOf(w1), former1);
  EXPECT_EQ(RelationsOf(w2), former2);
  EXPECT_EQ(RelationsOf(w3), former3);
  EXPECT_EQ(RelationsOf(w4), former4);
}

TEST_F(History, SixtyThreeAppliedEntriesRefuseAnotherChange) {
  HWND a = Top("history A", 60, 60, 400, 300);
  HWND b = Top("history B", 500, 60, 500, 400);
  HWND c = Top("history C", 500, 500, 300, 200);
  HWND w = Child(a, "history W", 8, 20, 30, 60, 40);
  std::string former = RelationsOf(w);

  for (LONG i = 0; i < 63; ++i) {
    Choose(w, b, 520 + i, 100 + i);
    Click(IDC_SETPARENT);
  }
  EXPECT_EQ(Counter(), "63");
  EXPECT_EQ(app.historyPos, 63u);
  EXPECT_EQ(app.historyTop, 63u);
  EXPECT_EQ(app.history[62].hWindow, w);
  std::string full = RelationsOf(w);
  EXPECT_EQ(ScreenRectOf(w), ScreenRect(520 + 62, 100 + 62, 60, 40));

  // Neither change is carried out, slot 63 stays empty and the counter is not rewritten.
  Choose(w, c, 520, 520);
  MarkCounter();
  Click(IDC_SETPARENT);
  Click(IDC_SETOWNER);
  EXPECT_EQ(RelationsOf(w), full);
  EXPECT_EQ(Counter(), "mark");
  EXPECT_EQ(app.historyPos, 63u);
  EXPECT_EQ(app.history[63].hWindow, nullptr);
  Click(IDC_REDO);
  EXPECT_EQ(RelationsOf(w), full);
  EXPECT_EQ(Counter(), "mark");

  Click(IDC_UNDO);
  EXPECT_EQ(Counter(), "62");
  EXPECT_EQ(ScreenRectOf(w), ScreenRect(520 + 61, 100 + 61, 60, 40));
  // Below the limit again: a change is accepted.
  Click(IDC_SETPARENT);
  EXPECT_EQ(Counter(), "63");
  EXPECT_EQ(GetAncestor(w, GA_PARENT), c);

  // Undone newest first, the window ends where it was before the first change.
  Click(IDC_COUNTER);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(RelationsOf(w), former);
}

TEST_F(History, AnEntryOfADestroyedWindowIsPassedOverWhileThePositionMoves) {
  HWND a = Top("history A", 60, 60, 400, 300);
  HWND p = Top("history P", 500, 60, 400, 300);
  HWND w1 = Child(a, "history W1", 1, 10, 10, 80, 40);
  HWND w2 = Child(a, "history W2", 2, 100, 10, 80, 40);
  std::string former1 = RelationsOf(w1);
  Choose(w1, p, 520, 100);
  Click(IDC_SETPARENT);
  std::string changed1 = RelationsOf(w1);
  Choose(w2, p, 620, 100);
  Click(IDC_SETPARENT);
  DestroyWindow(w2);
  std::string entry1 = EntryText(app.history[1]);
  app.hTargetW = a;

  Click(IDC_UNDO);
  EXPECT_EQ(Counter(), "1");
  EXPECT_EQ(app.historyPos, 1u);
  EXPECT_EQ(EntryText(app.history[1]), entry1);
  EXPECT_EQ(app.hTargetW, a);
  EXPECT_EQ(RelationsOf(w1), changed1);

  Click(IDC_UNDO);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(RelationsOf(w1), former1);
  EXPECT_EQ(app.hTargetW, w1);

  Click(IDC_REDO);
  EXPECT_EQ(RelationsOf(w1), changed1);
  Click(IDC_REDO);
  EXPECT_EQ(Counter(), "2");
  EXPECT_EQ(app.historyPos, 2u);
  EXPECT_EQ(EntryText(app.history[1]), entry1);
  EXPECT_EQ(app.hTargetW, w1);

  Click(IDC_COUNTER);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyTop, 0u);
  EXPECT_EQ(RelationsOf(w1), former1);
}

TEST_F(History, AStepThatLeavesAnotherParentIsPutBackAndPassedOver) {
  HWND o = Top("history O", 60, 60, 300, 200);
  HWND q = Top("history Q", 400, 60, 300, 200);
  HWND c = Top("history C", 60, 400, 500, 400);
  HWND x = Top("history X", 700, 400, 200, 120, WS_POPUP | WS_CAPTION | WS_VISIBLE, o);
  Choose(x, q, 720, 420);
  Click(IDC_SETOWNER);
  ASSERT_EQ(GetWindow(x, GW_OWNER), q);
  std::string entry = EntryText(app.history[0]);
  // Someone else makes X a child of C; undoing the owner change would now give X another parent
  // than the one the entry was written for.
  SetParent(x, c);
  ASSERT_EQ(GetAncestor(x, GA_PARENT), c);
  std::string moved = RelationsOf(x);
  app.hTargetW = o;

  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(x), moved);
  EXPECT_EQ(EntryText(app.history[0]), entry);
  EXPECT_EQ(app.hTargetW, o);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.historyTop, 1u);
}

TEST_F(History, ACounterClickUndoesNewestFirstAndEmptiesTheRedoRange) {
  HWND a = Top("history A", 60, 60, 300, 200);
  HWND b = Top("history B", 400, 60, 300, 200);
  HWND c = Top("history C", 60, 300, 300, 200);
  HWND d = Top("history D", 400, 300, 300, 200);
  HWND w = Child(a, "history W", 6, 20, 30, 70, 45);
  std::string former = RelationsOf(w);
  // The same window three times: only the undo from the newest entry to the oldest ends at A.
  Choose(w, b, 420, 100);
  Click(IDC_SETPARENT);
  Choose(w, c, 80, 340);
  Click(IDC_SETPARENT);
  Choose(w, d, 420, 340);
  Click(IDC_SETPARENT);
  ASSERT_EQ(GetAncestor(w, GA_PARENT), d);
  app.hTargetW = d;

  Click(IDC_COUNTER);
  EXPECT_EQ(RelationsOf(w), former);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.historyTop, 0u);
  EXPECT_EQ(app.hTargetW, w);

  MarkCounter();
  Click(IDC_REDO);
  EXPECT_EQ(RelationsOf(w), former);
  EXPECT_EQ(Counter(), "mark");
}

TEST_F(History, ACounterClickWithNothingAppliedOnlyEmptiesTheRedoRange) {
  HWND a = Top("history A", 60, 60, 300, 200);
  HWND b = Top("history B", 400, 60, 300, 200);
  HWND w = Child(a, "history W", 6, 20, 30, 70, 45);
  std::string former = RelationsOf(w);
  Choose(w, b, 420, 100);
  Click(IDC_SETPARENT);
  Click(IDC_SETPARENT);
  Click(IDC_UNDO);
  Click(IDC_UNDO);
  ASSERT_EQ(app.historyTop, 2u);
  ASSERT_EQ(RelationsOf(w), former);
  std::string entry0 = EntryText(app.history[0]);

  Click(IDC_COUNTER);
  EXPECT_EQ(app.historyTop, 0u);
  EXPECT_EQ(RelationsOf(w), former);
  EXPECT_EQ(EntryText(app.history[0]), entry0);
  Click(IDC_REDO);
  EXPECT_EQ(RelationsOf(w), former);
  EXPECT_EQ(app.historyPos, 0u);
}

}  // namespace
