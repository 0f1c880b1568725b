// Windows of another process under the history, and what closing the main dialog does to them.
#include <utility>

#include "editor/history_helpers.h"

namespace {

using History = HistoryTest;

// Keys pressed through the X server are released again whatever the test's outcome, so that no
// later test runs with F8 or F9 held down.
// The X server hands key events to the window with the input focus: one of this thread's windows
// is brought to the front first, so that the events reach a thread that reads them.
class HeldKeys {
 public:
  HeldKeys(HWND front, std::vector<const char*> keys) : keys_(std::move(keys)) {
    SetForegroundWindow(front);
    PumpUntil([front] { return GetForegroundWindow() == front; }, 2000);
    for (const char* key : keys_) pressed_ = KeyDown(key) && pressed_;
  }
  ~HeldKeys() {
    for (const char* key : keys_) KeyUp(key);
    PumpUntil([] { return !(GetAsyncKeyState(VK_F8) & 0x8000) && !(GetAsyncKeyState(VK_F9) & 0x8000); });
  }
  bool pressed() const { return pressed_; }

 private:
  std::vector<const char*> keys_;
  bool pressed_ = true;
};

bool Down(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

TEST_F(History, AChildOfAnotherProcessIsReparentedAndPutBackWithItsStateAndId) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  ASSERT_NE(helper.child, nullptr);
  HWND b = Top("history B", 600, 500, 400, 300);
  std::string former = RelationsOf(helper.child);
  std::string formerEntry = EntryFor(helper.child, 0, helper.top);

  Choose(helper.child, b, 640, 540);
  Click(IDC_SETPARENT);
  EXPECT_EQ(GetAncestor(helper.child, GA_PARENT), b);
  EXPECT_EQ(ScreenRectOf(helper.child), ScreenRect(640, 540, 150, 100));
  EXPECT_EQ(EntryText(app.history[0]), formerEntry);
  std::string changed = RelationsOf(helper.child);

  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(helper.child), former);
  EXPECT_EQ(GetWindowLongPtrA(helper.child, GWLP_ID), 77);
  EXPECT_EQ(app.hTargetW, helper.child);
  Click(IDC_REDO);
  EXPECT_EQ(RelationsOf(helper.child), changed);
  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(helper.child), former);
}

TEST_F(History, AnOwnedPopupOfAnotherProcessChangesOwnerAndGetsItsOwnerBack) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  ASSERT_NE(helper.owned, nullptr);
  HWND q = Top("history Q", 600, 500, 300, 200);
  std::string former = RelationsOf(helper.owned);
  ASSERT_EQ(GetWindow(helper.owned, GW_OWNER), helper.top);

  Choose(helper.owned, q, 620, 520);
  Click(IDC_SETOWNER);
  EXPECT_EQ(GetWindow(helper.owned, GW_OWNER), q);
  EXPECT_EQ(app.history[0].hRelation, helper.top);
  EXPECT_EQ(ScreenRectOf(helper.owned), ScreenRect(620, 520, 200, 120));

  Click(IDC_UNDO);
  EXPECT_EQ(RelationsOf(helper.owned), former);
}

TEST_F(History, ClosingTheDialogPutsBackEveryChangedWindow) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  HWND b = Top("history B", 600, 500, 400, 300);
  std::string formerChild = RelationsOf(helper.child);
  std::string formerOwned = RelationsOf(helper.owned);
  Choose(helper.child, b, 640, 540);
  Click(IDC_SETPARENT);
  Choose(helper.owned, b, 700, 600);
  Click(IDC_SETOWNER);
  ASSERT_EQ(GetAncestor(helper.child, GA_PARENT), b);
  ASSERT_EQ(GetWindow(helper.owned, GW_OWNER), b);

  SendMessageA(dlg_, WM_CLOSE, 0, 0);
  EXPECT_EQ(RelationsOf(helper.child), formerChild);
  EXPECT_EQ(RelationsOf(helper.owned), formerOwned);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyTop, 0u);
  EXPECT_FALSE(IsWindowVisible(dlg_));
}

TEST_F(History, ClosingWithF8AndF9HeldLeavesTheChangedWindowsAsTheyAre) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  HWND b = Top("history B", 600, 500, 400, 300);
  Choose(helper.child, b, 640, 540);
  Click(IDC_SETPARENT);
  Choose(helper.owned, b, 700, 600);
  Click(IDC_SETOWNER);
  std::string changedChild = RelationsOf(helper.child);
  std::string changedOwned = RelationsOf(helper.owned);

  {
    HeldKeys keys(dlg_, {"F8", "F9"});
    ASSERT_TRUE(keys.pressed());
    ASSERT_TRUE(PumpUntil([] { return Down(VK_F8) && Down(VK_F9); }));
    SendMessageA(dlg_, WM_CLOSE, 0, 0);
  }
  EXPECT_FALSE(IsWindowVisible(dlg_));
  EXPECT_EQ(RelationsOf(helper.child), changedChild);
  EXPECT_EQ(RelationsOf(helper.owned), changedOwned);
  EXPECT_EQ(Counter(), "2");
  EXPECT_EQ(app.historyPos, 2u);
}

TEST_F(History, ClosingWithOnlyOneOfF8AndF9HeldPutsTheWindowsBack) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  HWND b = Top("history B", 600, 500, 400, 300);
  std::string formerChild = RelationsOf(helper.child);
  Choose(helper.child, b, 640, 540);
  Click(IDC_SETPARENT);
  ASSERT_EQ(GetAncestor(helper.child, GA_PARENT), b);

  {
    HeldKeys keys(dlg_, {"F9"});
    ASSERT_TRUE(keys.pressed());
    ASSERT_TRUE(PumpUntil([] { return Down(VK_F9); }));
    ASSERT_FALSE(Down(VK_F8));
    SendMessageA(dlg_, WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(RelationsOf(helper.child), formerChild);
  EXPECT_EQ(Counter(), "0");
}

}  // namespace
