// Text, identifier and close commands, and the identifier check of "Child/".
#include <string>

#include "editor/target_helpers.h"

namespace {

using TargetText = TargetTest;

TEST_F(TargetText, TextGivesTheTargetTheEditFieldsText) {
  HWND local = MakeTopWindow("old local text");
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  for (HWND t : {local, helper.top, helper.child}) {
    SCOPED_TRACE(Hex8(t));
    TargetP(t);
    SetEditField("  new text  , spaces kept ");
    Click(IDC_TEXT);
    EXPECT_EQ(WindowText(t), "  new text  , spaces kept ");
    SetEditField("");
    Click(IDC_TEXT);
    EXPECT_EQ(WindowText(t), "");
  }
  DestroyWindow(local);
}

TEST_F(TargetText, TextTakesAtMost254CharactersOfTheEditField) {
  HWND t = MakeTopWindow("long text");
  std::string longText;
  for (int i = 0; i < 300; ++i) longText += static_cast<char>('a' + i % 26);
  SetEditField(longText.c_str());
  ASSERT_EQ(EditField(), longText);
  TargetP(t);
  Click(IDC_TEXT);
  EXPECT_EQ(WindowText(t), longText.substr(0, 254));
  DestroyWindow(t);
}

TEST_F(TargetText, TextAndCloseReturnFromAHungWindow) {
  HelperProcess helper("hang");
  ASSERT_TRUE(helper.ok());
  TargetP(helper.top);
  SetEditField("never arrives");
  DWORD start = GetTickCount();
  Click(IDC_TEXT);
  Click(IDC_CLOSE);
  // A generous bound: an unbounded wait would never come back at all.
  EXPECT_LT(GetTickCount() - start, 3000u);
  // The window's thread serves nothing, so neither request has been carried out.
  WCHAR text[64] = L"";
  InternalGetWindowText(helper.top, text, 64);
  std::wstring expected(helper.tag.begin(), helper.tag.end());
  EXPECT_EQ(std::wstring(text), expected + L" top");
  EXPECT_TRUE(IsWindow(helper.top));
}

TEST_F(TargetText, IdWritesTheEditFieldsNumber) {
  HWND parent = MakeTopWindow("id parent");
  HWND local = MakeChildWindow(parent, "id child", 55);
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  ASSERT_EQ(IdOf(helper.child), 77);
  for (HWND t : {local, helper.child}) {
    SCOPED_TRACE(Hex8(t));
    TargetP(t);
    SetEditField("4321");
    Click(IDC_ID);
    EXPECT_EQ(IdOf(t), 4321);
    EXPECT_EQ(GetDlgCtrlID(t), 4321);
    SetEditField("  65535");
    Click(IDC_ID);
    EXPECT_EQ(IdOf(t), 65535);
    SetEditField("4000000000");
    Click(IDC_ID);
    EXPECT_EQ(static_cast<DWORD>(IdOf(t)), 4000000000u);
  }
  DestroyWindow(parent);
}

TEST_F(TargetText, IdWithAnEmptyOrNonNumericFieldChangesNothing) {
  HWND parent = MakeTopWindow("id parent");
  HWND t = MakeChildWindow(parent, "id child", 55);
  TargetP(t);
  for (const char* field : {"", "abc", "-", "   "}) {
    SCOPED_TRACE(field);
    SetEditField(field);
    Click(IDC_ID);
    EXPECT_EQ(IdOf(t), 55);
    EXPECT_EQ(EditField(), field);
  }
  DestroyWindow(parent);
}

// This Wine keeps GWLP_ID as it is when WS_CHILD is toggled, with or without a menu, whereas
// a system may detach a top-level window's menu when the window becomes a child. A window that
// renumbers itself when its style changes shows the same effect here: it drops its menu handle
// from the id slot as it becomes a child.
LRESULT CALLBACK DropsMenuAsChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_STYLECHANGED && wp == static_cast<WPARAM>(GWL_STYLE)) {
    const STYLESTRUCT* change = reinterpret_cast<const STYLESTRUCT*>(lp);
    if ((change->styleNew & WS_CHILD) && !(change->styleOld & WS_CHILD)) SetWindowLongPtrA(w, GWLP_ID, 0);
  }
  return DefWindowProcA(w, msg, wp, lp);
}

TEST_F(TargetText, ChildLeavesAChangedIdsOldValueInTheEditFieldAndIdPutsItBack) {
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_STRING, 1, "Item");
  HWND t = CreateWindowExA(0, "TestTop", "menu window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                           nullptr, menu, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(GetMenu(t), menu);
  SetWindowLongPtrA(t, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DropsMenuAsChildProc));
  ExpectFrameFitsStyles(t, TRUE);
  ASSERT_FALSE(IsWindowEnabled(Item(IDC_ID)));
  SetEditField("before");

  TargetP(t);
  Click(IDC_CHILD);
  EXPECT_EQ(StyleOf(t) & WS_CHILD, static_cast<DWORD>(WS_CHILD));
  EXPECT_EQ(IdOf(t), 0);
  EXPECT_EQ(EditField(), std::to_string(HandleBits(reinterpret_cast<HWND>(menu))));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_ID)));
  // Without the menu there is no menu bar: the client area is the frame's inside.
  ExpectFrameFitsStyles(t, FALSE);

  Click(IDC_ID);
  EXPECT_EQ(IdOf(t), reinterpret_cast<LONG_PTR>(menu));
  Click(IDC_CHILD);
  EXPECT_EQ(StyleOf(t) & WS_CHILD, 0u);
  EXPECT_EQ(GetMenu(t), menu);
  ExpectFrameFitsStyles(t, TRUE);
  DestroyWindow(t);
}

TEST_F(TargetText, ChildWithAnUnchangedIdLeavesFieldAndIdButtonAlone) {
  HWND parent = MakeTopWindow("id parent");
  HWND t = MakeChildWindow(parent, "id child", 55);
  SetEditField("untouched");
  TargetP(t);
  Click(IDC_CHILD);
  EXPECT_EQ(StyleOf(t) & WS_CHILD, 0u);
  EXPECT_EQ(IdOf(t), 55);
  EXPECT_EQ(EditField(), "untouched");
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_ID)));
  // "Pop/" and "ClipChild  +/-" make no such check either.
  Click(IDC_POPUP);
  Click(IDC_CLIPCHILD);
  EXPECT_EQ(EditField(), "untouched");
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_ID)));
  DestroyWindow(parent);
}

TEST_F(TargetText, ClosePostsWmCloseToTheTarget) {
  HWND local = MakeTopWindow("close me");
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  for (HWND t : {local, helper.top}) {
    SCOPED_TRACE(Hex8(t));
    TargetP(t);
    Click(IDC_CLOSE);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(t); }));
  }
}

TEST_F(TargetText, CloseOnTheMainDialogEndsIt) {
  TargetP(dlg_);
  Click(IDC_CLOSE);
  // Posted: the dialog handles it only from its message queue.
  EXPECT_TRUE(IsWindowVisible(dlg_));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dlg_); }));
}

}  // namespace
