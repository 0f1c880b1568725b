// Walking P through its siblings, to its parent and its first child; the tree list's selection
// following P; exchanging W and P.
#include "editor/target_helpers.h"

namespace {

using TargetNavigation = TargetTest;

TEST_F(TargetNavigation, SiblingStepsFollowTheZOrder) {
  ChildFamily f("nav siblings");
  TargetW(f.parent);  // the sibling steps move P whatever the target
  app.hTargetP = f.c[1];
  Click(IDC_NAV_NEXT);
  EXPECT_EQ(app.hTargetP, f.c[2]);
  Click(IDC_NAV_PREV);
  EXPECT_EQ(app.hTargetP, f.c[1]);
  Click(IDC_NAV_LAST);
  EXPECT_EQ(app.hTargetP, f.c[3]);
  Click(IDC_NAV_NEXT);  // nothing below the last one: P stays
  EXPECT_EQ(app.hTargetP, f.c[3]);
  Click(IDC_NAV_FIRST);
  EXPECT_EQ(app.hTargetP, f.c[0]);
  Click(IDC_NAV_PREV);  // nothing above the first one: P stays
  EXPECT_EQ(app.hTargetP, f.c[0]);
  EXPECT_EQ(app.hTargetW, f.parent);
  // The stack itself does not move.
  EXPECT_EQ(ChildStack(f.parent), f.Stack({0, 1, 2, 3}));
}

TEST_F(TargetNavigation, ChildAndParentStepDownAndUp) {
  ChildFamily f("nav tree");
  HWND grandchild = MakeChildWindow(f.c[2], "grandchild", 9);
  app.hTargetP = f.parent;
  Click(IDC_NAV_CHILD);
  EXPECT_EQ(app.hTargetP, f.c[0]);
  Click(IDC_NAV_CHILD);  // no children: P stays
  EXPECT_EQ(app.hTargetP, f.c[0]);
  app.hTargetP = f.c[2];
  Click(IDC_NAV_CHILD);
  EXPECT_EQ(app.hTargetP, grandchild);
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(app.hTargetP, f.c[2]);
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(app.hTargetP, f.parent);
  // A top-level window's parent is the desktop window.
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(app.hTargetP, GetDesktopWindow());
  // The desktop has no parent: P stays the desktop.
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(app.hTargetP, GetDesktopWindow());
}

TEST_F(TargetNavigation, ParentAndChildWorkAcrossProcesses) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  app.hTargetP = helper.top;
  Click(IDC_NAV_CHILD);
  EXPECT_EQ(app.hTargetP, helper.child);
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(app.hTargetP, helper.top);
  app.hTargetP = helper.msg;
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(app.hTargetP, app.hMessageRoot);
}

// Under this Wine the message root has neither siblings nor a parent, so there the sibling steps
// and "Parent" find nothing to step to, refused or not.
TEST_F(TargetNavigation, OnTheMessageRootSiblingStepsStayAndChildFindsTheFirstMessageOnlyWindow) {
  HelperProcess helper;  // at least one message-only window exists
  ASSERT_TRUE(helper.ok());
  ASSERT_NE(app.hMessageRoot, nullptr);
  for (int id : {IDC_NAV_FIRST, IDC_NAV_PREV, IDC_NAV_NEXT, IDC_NAV_LAST}) {
    app.hTargetP = app.hMessageRoot;
    Click(id);
    EXPECT_EQ(app.hTargetP, app.hMessageRoot) << id;
  }
  ASSERT_EQ(GetAncestor(app.hMessageRoot, GA_PARENT), nullptr);
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(app.hTargetP, app.hMessageRoot);
  Click(IDC_NAV_CHILD);
  HWND first = app.hTargetP;
  EXPECT_EQ(GetAncestor(first, GA_PARENT), app.hMessageRoot);
  EXPECT_EQ(GetWindow(first, GW_HWNDPREV), nullptr);
  // Among the message-only windows the sibling steps work as anywhere else.
  app.hTargetP = helper.msg;
  Click(IDC_NAV_FIRST);
  EXPECT_EQ(app.hTargetP, first);
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(app.hTargetP, app.hMessageRoot);
}

// Counts the selection-change notifications that reach the main dialog from its combo box.
int g_selChanges = 0;
LRESULT CALLBACK CountSelChangeProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == IDC_TREECOMBO && HIWORD(wp) == CBN_SELCHANGE) ++g_selChanges;
  return CallPreviousProc(w, msg, wp, lp);
}

LRESULT AddRow(const char* text, HWND data) {
  LRESULT index = SendMessageA(app.hTreeCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  SendMessageA(app.hTreeCombo, CB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(data));
  return index;
}

LRESULT Selected() { return SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0); }

TEST_F(TargetNavigation, TheTreeListSelectionFollowsPToItsLastRow) {
  ChildFamily f("nav selection");
  SendMessageA(app.hTreeCombo, CB_RESETCONTENT, 0, 0);
  // The list is sorted by nothing (no CBS_SORT): rows keep the order in which they are added.
  ASSERT_EQ(AddRow("HWND_DESKTOP", HWND_DESKTOP_VALUE), 0);
  ASSERT_EQ(AddRow("HWND_MESSAGE", HWND_MESSAGE_VALUE), 1);
  ASSERT_EQ(AddRow("parent", f.parent), 2);
  ASSERT_EQ(AddRow("c0", f.c[0]), 3);
  ASSERT_EQ(AddRow("c1", f.c[1]), 4);
  ASSERT_EQ(AddRow("c1 again", f.c[1]), 5);
  ASSERT_EQ(AddRow("c2", f.c[2]), 6);
  SendMessageA(app.hTreeCombo, CB_SETCURSEL, 2, 0);
  Subclass(dlg_, CountSelChangeProc);
  g_selChanges = 0;

  app.hTargetP = f.parent;
  Click(IDC_NAV_CHILD);
  EXPECT_EQ(Selected(), 3);
  Click(IDC_NAV_NEXT);
  EXPECT_EQ(Selected(), 5);  // searched from the last row down
  Click(IDC_NAV_NEXT);
  EXPECT_EQ(Selected(), 6);
  Click(IDC_NAV_NEXT);  // c3 has no row: the selection stays
  EXPECT_EQ(app.hTargetP, f.c[3]);
  EXPECT_EQ(Selected(), 6);
  Click(IDC_NAV_FIRST);
  EXPECT_EQ(Selected(), 3);
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(Selected(), 2);
  // The desktop window is not the pseudo row 0 of "HWND_DESKTOP".
  Click(IDC_NAV_PARENT);
  EXPECT_EQ(app.hTargetP, GetDesktopWindow());
  EXPECT_EQ(Selected(), 2);
  EXPECT_EQ(g_selChanges, 0);
  // Nothing selected at all stays so when P has no row.
  SendMessageA(app.hTreeCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  app.hTargetP = f.c[2];
  Click(IDC_NAV_NEXT);
  EXPECT_EQ(Selected(), CB_ERR);
}

TEST_F(TargetNavigation, SwapNeedsTheLock) {
  HWND w = MakeTopWindow("swap W"), p = MakeTopWindow("swap P");
  app.hTargetW = w;
  app.hTargetP = p;
  app.hCommandTarget = p;
  app.lockW = FALSE;
  Click(IDC_SWAP);
  EXPECT_EQ(app.hTargetW, w);
  EXPECT_EQ(app.hTargetP, p);

  app.lockW = TRUE;
  Click(IDC_SWAP);
  EXPECT_EQ(app.hTargetW, p);
  EXPECT_EQ(app.hTargetP, w);
  // The command target follows only with the next tick.
  EXPECT_EQ(app.hCommandTarget, p);
  EXPECT_TRUE(app.lockW);
  Click(IDC_SWAP);
  EXPECT_EQ(app.hTargetW, w);
  EXPECT_EQ(app.hTargetP, p);

  // Pseudo-values are exchanged like handles.
  app.hTargetW = HWND_MESSAGE_VALUE;
  app.hTargetP = nullptr;
  Click(IDC_SWAP);
  EXPECT_EQ(app.hTargetW, nullptr);
  EXPECT_EQ(app.hTargetP, HWND_MESSAGE_VALUE);
  DestroyWindow(w);
  DestroyWindow(p);
}

}  // namespace
