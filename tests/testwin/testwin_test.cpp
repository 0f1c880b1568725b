// Test windows and test dialogs as a user makes them: the real main dialog, its real buttons,
// real owners of this and of another process.
#include <windows.h>

#include <string>
#include <vector>

#include "testwin/testwin.h"
#include "testwin_helpers.h"

namespace {

class TestWindows : public MainDialogTest {
 protected:
  void TearDown() override {
    for (HWND w : ThreadWindows("sButton")) DestroyWindow(w);
    for (HWND w : ThreadWindows("#32770")) {
      if (w != dlg_) DestroyWindow(w);
    }
    for (HWND w : owners_) {
      if (IsWindow(w)) DestroyWindow(w);
    }
    MainDialogTest::TearDown();
  }

  HWND Owner(const char* title, int x = 300, int y = 200) {
    HWND w = MakeTopWindow(title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, x, y);
    owners_.push_back(w);
    return w;
  }

  // The command target is what the inspection tick leaves there; P is set as well, so that a
  // tick in between would choose the same window.
  void Target(HWND target) {
    app.hTargetP = target;
    app.hCommandTarget = target;
  }

  HWND ClickCreate(int id, const char* cls, HWND target) {
    Target(target);
    std::vector<HWND> before = ThreadWindows(cls);
    Click(id);
    return NewWindow(cls, before);
  }
  HWND CreateTestWindow(HWND target) { return ClickCreate(IDC_CREATEWND, "sButton", target); }
  HWND CreateModeless(HWND target) { return ClickCreate(IDC_CREATEDLG, "#32770", target); }

  void ExpectBecameW(HWND w) {
    EXPECT_EQ(app.hTargetW, w);
    EXPECT_TRUE(app.lockW);
    EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), static_cast<UINT>(BST_CHECKED));
  }

  std::vector<HWND> owners_;
};

// The menu bar of a test window or dialog, as menu 300 makes it.
void ExpectTestMenu(HWND w) {
  HMENU bar = GetMenu(w);
  ASSERT_NE(bar, nullptr);
  char text[64];
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, " Menu");
  HMENU menu = GetSubMenu(bar, 0);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_EQ(GetMenuItemID(menu, 0), 301u);
  GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "MenuItem");
  GetMenuStringA(menu, 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, " SubMenu");
  HMENU sub = GetSubMenu(menu, 1);
  ASSERT_NE(sub, nullptr);
  ASSERT_EQ(GetMenuItemCount(sub), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(GetMenuItemID(sub, i), 302u + i);
    GetMenuStringA(sub, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "MenuItem");
    EXPECT_EQ(GetMenuState(sub, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u);
  }
}

void ExpectControls(HWND w) {
  HWND label = GetDlgItem(w, IDC_OWNER_LABEL);
  HWND toggle = GetDlgItem(w, IDC_POPUP_TOGGLE);
  ASSERT_NE(label, nullptr);
  ASSERT_NE(toggle, nullptr);
  EXPECT_EQ(ClassOf(label), "Static");
  EXPECT_EQ(ClassOf(toggle), "Button");
  EXPECT_EQ(ToggleTextOf(w), "+ / -   WS_POPUP");
  // The label is twice as wide as the dialog, so the dialog's edge cuts it.
  RECT labelRect, client;
  GetWindowRect(label, &labelRect);
  GetClientRect(w, &client);
  EXPECT_GT(labelRect.right - labelRect.left, client.right);
}

// Clicks the button as a user would: pressed and released over it.
void ClickToggle(HWND w) { SendDlgItemMessageA(w, IDC_POPUP_TOGGLE, BM_CLICK, 0, 0); }

// WS_CLIPSIBLINGS (top-level windows always have it) and DS_3DLOOK are added by the system.
constexpr DWORD kTemplateStyleBits = 0x92CF0000;

}  // namespace

TEST_F(TestWindows, CreateWndMakesAnOwnedButtonWindowNamedByItsHandleThatBecomesW) {
  HWND owner = Owner("the owner of window one");
  HWND w = CreateTestWindow(owner);
  ASSERT_NE(w, nullptr);

  EXPECT_EQ(WindowText(w), WindowCaption(w, 1));
  EXPECT_EQ(app.testWindowCount, 1);
  ExpectBecameW(w);
  EXPECT_EQ(GetWindow(w, GW_OWNER), owner);
  EXPECT_EQ(LabelOf(w), OwnerLine(owner, "TestTop", "the owner of window one"));

  EXPECT_EQ(ClassOf(w), "sButton");
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC)), &TestWindowProc);
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(StyleOf(w) & 0xFFFF0000 & ~WS_CLIPSIBLINGS, kTemplateStyleBits) << std::hex << StyleOf(w);
  // The low bits are the template's DS_ flags, which the Button class reads as its own.
  EXPECT_EQ(StyleOf(w) & (DS_ABSALIGN | DS_SYSMODAL | DS_FIXEDSYS), 0x0Bu);
  ExpectControls(w);
  ExpectTestMenu(w);

  // DS_ABSALIGN: the template's position 0, 0 is taken on the screen, not in the owner.
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
}

TEST_F(TestWindows, CreateDlgMakesAModelessDialogAtItsOwnersClientOrigin) {
  HWND owner = Owner("the owner of dialog one", 320, 240);
  HWND d = CreateModeless(owner);
  ASSERT_NE(d, nullptr);

  EXPECT_EQ(WindowText(d), DialogCaption(d, "Modeless", 1));
  EXPECT_EQ(app.testWindowCount, 1);
  ExpectBecameW(d);
  EXPECT_EQ(GetWindow(d, GW_OWNER), owner);
  EXPECT_EQ(LabelOf(d), OwnerLine(owner, "TestTop", "the owner of dialog one"));
  EXPECT_EQ(GetWindowLongPtrA(d, GWLP_USERDATA), 1);
  EXPECT_EQ(reinterpret_cast<DLGPROC>(GetWindowLongPtrA(d, DWLP_DLGPROC)), &TestDlgProc);
  EXPECT_TRUE(IsWindowVisible(d));
  EXPECT_EQ(StyleOf(d) & 0xFFFF0000 & ~WS_CLIPSIBLINGS, kTemplateStyleBits) << std::hex << StyleOf(d);
  ExpectControls(d);
  ExpectTestMenu(d);
  // The first tab stop has the focus.
  EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_POPUP_TOGGLE));

  // Without DS_ABSALIGN the template's position 0, 0 is the owner's client origin.
  POINT ownerOrigin = {0, 0}, origin = {0, 0};
  ClientToScreen(owner, &ownerOrigin);
  ClientToScreen(d, &origin);
  EXPECT_EQ(origin.x, ownerOrigin.x);
  EXPECT_EQ(origin.y, ownerOrigin.y);
}

TEST_F(TestWindows, TheLabelNamesAnyOwnerByHandleClassAndTextOrNoOwnerAtAll) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  // The main dialog's caption is longer than the label takes: the text request has room for
  // 63 characters with the terminating zero, so 62 of them arrive.
  std::string caption = WindowText(dlg_);
  ASSERT_GT(caption.size(), 62u);
  struct Case {
    HWND target;
    std::string line;
  } cases[] = {
      {nullptr, "Owner :"},
      {dlg_, OwnerLine(dlg_, "#32770", caption.substr(0, 62))},
      {helper.top, OwnerLine(helper.top, "WinHostTop", helper.tag + " top")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    HWND w = CreateTestWindow(c.target);
    HWND d = CreateModeless(c.target);
    ASSERT_NE(w, nullptr);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(GetWindow(w, GW_OWNER), c.target);
    EXPECT_EQ(GetWindow(d, GW_OWNER), c.target);
    EXPECT_EQ(LabelOf(w), c.line);
    EXPECT_EQ(LabelOf(d), c.line);
  }
}

TEST_F(TestWindows, AHungOwnerLeavesTheTextEmptyAndHoldsNothing) {
  HelperProcess helper("hang");
  ASSERT_TRUE(helper.ok());
  HWND w = CreateTestWindow(helper.top);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(LabelOf(w), OwnerLine(helper.top, "WinHostTop", ""));
  HWND d = CreateModeless(helper.top);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(LabelOf(d), OwnerLine(helper.top, "WinHostTop", ""));
  // A move asks the owner again, and again gives up.
  SetWindowPos(w, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(LabelOf(w), OwnerLine(helper.top, "WinHostTop", ""));
  EXPECT_EQ(WindowText(w), WindowCaption(w, 1));
}

TEST_F(TestWindows, TheLabelFollowsReOwnershipAndEveryMove) {
  HWND first = Owner("first owner");
  HWND second = Owner("second owner", 500, 300);
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  HWND w = CreateTestWindow(first);
  HWND d = CreateModeless(first);
  ASSERT_NE(w, nullptr);
  ASSERT_NE(d, nullptr);

  for (HWND subject : {w, d}) {
    SCOPED_TRACE(WindowText(subject));
    EXPECT_EQ(LabelOf(subject), OwnerLine(first, "TestTop", "first owner"));

    // Re-owning as the history does it: the owner field, then a move that shows it.
    SetWindowLongPtrA(subject, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(second));
    SetWindowPos(subject, nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(GetWindow(subject, GW_OWNER), second);
    EXPECT_EQ(LabelOf(subject), OwnerLine(second, "TestTop", "second owner"));

    // The owner's new text shows with the next move of the window.
    SetWindowTextA(second, "second owner renamed");
    SetWindowPos(subject, nullptr, 80, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(LabelOf(subject), OwnerLine(second, "TestTop", "second owner renamed"));
    SetWindowTextA(second, "second owner");

    SetWindowLongPtrA(subject, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(helper.top));
    SetWindowPos(subject, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    EXPECT_EQ(LabelOf(subject), OwnerLine(helper.top, "WinHostTop", helper.tag + " top"));

    SetWindowLongPtrA(subject, GWLP_HWNDPARENT, 0);
    SetWindowPos(subject, nullptr, 0, 0, 250, 120, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(GetWindow(subject, GW_OWNER), nullptr);
    EXPECT_EQ(LabelOf(subject), "Owner :");
  }
  // The captions stay what they were made with.
  EXPECT_EQ(WindowText(w), WindowCaption(w, 1));
  EXPECT_EQ(WindowText(d), DialogCaption(d, "Modeless", 2));
}

TEST_F(TestWindows, ThePopupButtonSwitchesTheWindowsOwnPopupStyle) {
  HWND owner = Owner("popup owner");
  HWND w = CreateTestWindow(owner);
  HWND d = CreateModeless(owner);
  ASSERT_NE(w, nullptr);
  ASSERT_NE(d, nullptr);

  for (HWND subject : {w, d}) {
    SCOPED_TRACE(WindowText(subject));
    ASSERT_TRUE(StyleOf(subject) & WS_POPUP);
    DWORD otherBits = StyleOf(subject) & ~WS_POPUP;

    ClickToggle(subject);
    EXPECT_FALSE(StyleOf(subject) & WS_POPUP);
    EXPECT_EQ(ToggleTextOf(subject), "not  WS_POPUP");
    EXPECT_EQ(StyleOf(subject) & ~WS_POPUP, otherBits) << std::hex << StyleOf(subject);

    ClickToggle(subject);
    EXPECT_TRUE(StyleOf(subject) & WS_POPUP);
    EXPECT_EQ(ToggleTextOf(subject), "WS_POPUP");
    EXPECT_EQ(StyleOf(subject) & ~WS_POPUP, otherBits) << std::hex << StyleOf(subject);

    EXPECT_EQ(GetWindow(subject, GW_OWNER), owner);

    // Any style change rewrites the text, an extended one too, and whoever makes it.
    SetWindowLongPtrA(subject, GWL_STYLE, StyleOf(subject) & ~WS_POPUP);
    EXPECT_EQ(ToggleTextOf(subject), "not  WS_POPUP");
    SetWindowLongPtrA(subject, GWL_STYLE, StyleOf(subject) | WS_POPUP);
    SendDlgItemMessageA(subject, IDC_POPUP_TOGGLE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("?"));
    SetWindowLongPtrA(subject, GWL_EXSTYLE, ExStyleOf(subject) ^ WS_EX_TOOLWINDOW);
    EXPECT_EQ(ToggleTextOf(subject), "WS_POPUP");
  }
  EXPECT_EQ(app.hTargetW, d);
}

TEST_F(TestWindows, MenuItemsEnterAndEscapeChangeNothing) {
  HWND w = CreateTestWindow(nullptr);
  HWND d = CreateModeless(nullptr);
  ASSERT_NE(w, nullptr);
  ASSERT_NE(d, nullptr);
  for (HWND subject : {w, d}) {
    SCOPED_TRACE(WindowText(subject));
    std::string caption = WindowText(subject);
    DWORD style = StyleOf(subject);
    const WPARAM commands[] = {301, 302, 303, IDOK, IDCANCEL, MAKEWPARAM(IDC_POPUP_TOGGLE, BN_SETFOCUS)};
    for (WPARAM command : commands) SendMessageA(subject, WM_COMMAND, command, 0);
    Pump();
    EXPECT_TRUE(IsWindowVisible(subject));
    EXPECT_EQ(WindowText(subject), caption);
    EXPECT_EQ(StyleOf(subject), style);
    EXPECT_EQ(ToggleTextOf(subject), "+ / -   WS_POPUP");
  }
  // Escape as a dialog's message loop meets it: IsDialogMessage makes it IDCANCEL. (Enter
  // would press the focused WS_POPUP button.)
  MSG escape = {GetDlgItem(d, IDC_POPUP_TOGGLE), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageA(d, &escape));
  Pump();
  EXPECT_TRUE(IsWindowVisible(d));
}

TEST_F(TestWindows, WmCloseDestroysATestWindowAndAModelessDialog) {
  HWND owner = Owner("closing owner");
  HWND w = CreateTestWindow(owner);
  HWND d = CreateModeless(owner);
  ASSERT_NE(w, nullptr);
  ASSERT_NE(d, nullptr);
  PostMessageA(w, WM_CLOSE, 0, 0);
  PostMessageA(d, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w) && !IsWindow(d); }));
  EXPECT_TRUE(IsWindow(owner));
  EXPECT_TRUE(IsWindow(dlg_));
  // Closed windows give their numbers back to nobody.
  HWND next = CreateTestWindow(owner);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(WindowText(next), WindowCaption(next, 3));
}

TEST_F(TestWindows, TheModalDialogRunsItsOwnLoopInWhichTheInspectionTimerGoesOn) {
  HWND owner = Owner("modal owner");
  Target(owner);
  InspectTimerCounter ticks(dlg_);
  std::vector<HWND> before = ThreadWindows("#32770");

  struct Seen {
    HWND modal = nullptr;
    std::string caption, label;
    LONG_PTR kind = -1;
    HWND owner = nullptr, w = nullptr;
    BOOL ownerEnabled = TRUE, lock = FALSE;
    int ticksAtStart = 0, ticksInside = 0;
    bool survivedKeys = false, survivedCommands = false;
    std::string toggleAfterClicks;
    int phase = 0;
  } seen;

  bool done = RunDuringNestedLoop(dlg_, IDC_DLGBOX, [&] {
    switch (seen.phase) {
      case 0:  // wait for the dialog and look at it
        seen.modal = NewWindow("#32770", before);
        if (!seen.modal) return false;
        seen.caption = WindowText(seen.modal);
        seen.label = LabelOf(seen.modal);
        seen.kind = GetWindowLongPtrA(seen.modal, GWLP_USERDATA);
        seen.owner = GetWindow(seen.modal, GW_OWNER);
        seen.ownerEnabled = IsWindowEnabled(owner);
        seen.w = app.hTargetW;
        seen.lock = app.lockW;
        seen.ticksAtStart = ticks.count();
        // Escape and Enter reach the dialog's loop as keys, which it turns into commands.
        PostMessageA(GetDlgItem(seen.modal, IDC_POPUP_TOGGLE), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(seen.modal, WM_KEYDOWN, VK_RETURN, 0);
        ++seen.phase;
        return false;
      case 1:  // the posted keys came before this timer message
        seen.survivedKeys = IsWindow(seen.modal) && IsWindowVisible(seen.modal);
        PostMessageA(seen.modal, WM_COMMAND, IDOK, 0);
        PostMessageA(seen.modal, WM_COMMAND, IDCANCEL, 0);
        ++seen.phase;
        return false;
      case 2:
        seen.survivedCommands = IsWindow(seen.modal) && IsWindowVisible(seen.modal);
        ++seen.phase;
        return false;
      case 3:  // the main dialog's timer keeps arriving while this loop runs
        if (ticks.count() < seen.ticksAtStart + 3) return false;
        seen.ticksInside = ticks.count() - seen.ticksAtStart;
        // The WS_POPUP button works in the modal dialog as well; bring it to a known state.
        if (!(StyleOf(seen.modal) & WS_POPUP)) ClickToggle(seen.modal);
        ClickToggle(seen.modal);
        seen.toggleAfterClicks = ToggleTextOf(seen.modal);
        PostMessageA(seen.modal, WM_CLOSE, 0, 0);
        return true;
      default:
        return true;
    }
  });
  ASSERT_TRUE(done) << "the modal dialog did not appear or did not end on WM_CLOSE";

  ASSERT_NE(seen.modal, nullptr);
  EXPECT_EQ(seen.caption, DialogCaption(seen.modal, "Modal", 1));
  EXPECT_EQ(seen.label, OwnerLine(owner, "TestTop", "modal owner"));
  EXPECT_EQ(seen.kind, 0);
  EXPECT_EQ(seen.owner, owner);
  EXPECT_FALSE(seen.ownerEnabled);  // a modal dialog disables its owner
  EXPECT_EQ(seen.w, seen.modal);
  EXPECT_TRUE(seen.lock);
  EXPECT_TRUE(seen.survivedKeys);
  EXPECT_TRUE(seen.survivedCommands);
  EXPECT_GE(seen.ticksInside, 3);
  EXPECT_EQ(seen.toggleAfterClicks, "not  WS_POPUP");

  // WM_CLOSE ended the dialog and its loop; the owner is enabled again.
  EXPECT_FALSE(IsWindow(seen.modal));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), static_cast<UINT>(BST_CHECKED));
}

TEST_F(TestWindows, OneSerialNumberCountsWindowsAndDialogsTogether) {
  HWND owner = Owner("serial owner");
  HWND w = CreateTestWindow(owner);
  ASSERT_NE(w, nullptr);
  HWND d = CreateModeless(owner);
  ASSERT_NE(d, nullptr);

  std::vector<HWND> before = ThreadWindows("#32770");
  HWND modal = nullptr;
  std::string modalCaption;
  bool done = RunDuringNestedLoop(dlg_, IDC_DLGBOX, [&] {
    modal = NewWindow("#32770", before);
    if (!modal) return false;
    modalCaption = WindowText(modal);
    SendMessageA(modal, WM_CLOSE, 0, 0);
    return true;
  });
  ASSERT_TRUE(done);
  HWND last = CreateTestWindow(owner);
  ASSERT_NE(last, nullptr);

  EXPECT_EQ(WindowText(w), WindowCaption(w, 1));
  EXPECT_EQ(WindowText(d), DialogCaption(d, "Modeless", 2));
  EXPECT_EQ(modalCaption, DialogCaption(modal, "Modal", 3));
  EXPECT_EQ(WindowText(last), WindowCaption(last, 4));
  EXPECT_EQ(app.testWindowCount, 4);
  EXPECT_EQ(app.hTargetW, last);
}

TEST_F(TestWindows, TheMessageBoxIsOwnedByTheCommandTargetAndTheTimerGoesOn) {
  HWND owner = Owner("message box owner");
  Target(owner);
  InspectTimerCounter ticks(dlg_);
  std::vector<HWND> before = ThreadWindows("#32770");

  HWND box = nullptr, boxOwner = nullptr;
  std::string caption;
  std::vector<std::string> texts;
  BOOL ownerEnabled = TRUE;
  int ticksAtStart = -1, ticksInside = 0;
  bool done = RunDuringNestedLoop(dlg_, IDC_MSGBOX, [&] {
    if (!box) {
      box = NewWindow("#32770", before);
      if (!box) return false;
      caption = WindowText(box);
      boxOwner = GetWindow(box, GW_OWNER);
      ownerEnabled = IsWindowEnabled(owner);
      for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c)) texts.push_back(ClassOf(c) + ":" + WindowText(c));
      }
      ticksAtStart = ticks.count();
      return false;
    }
    if (ticks.count() < ticksAtStart + 3) return false;
    ticksInside = ticks.count() - ticksAtStart;
    // The OK button, as a user presses it.
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return true;
  });
  ASSERT_TRUE(done) << "the message box did not appear or did not end on OK";

  EXPECT_EQ(caption, "MsgBox");
  EXPECT_EQ(boxOwner, owner);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_GE(ticksInside, 3);
  // Its text and its one button.
  int statics = 0, buttons = 0;
  for (const std::string& t : texts) {
    if (t == "Static:MsgBox") ++statics;
    if (t.rfind("Button:", 0) == 0) {
      ++buttons;
      EXPECT_EQ(t, "Button:OK");
    }
  }
  EXPECT_EQ(statics, 1);
  EXPECT_EQ(buttons, 1);

  EXPECT_FALSE(IsWindow(box));
  EXPECT_TRUE(IsWindowEnabled(owner));
  // A message box is no test window: no number, no change of W.
  EXPECT_EQ(app.testWindowCount, 0);
  EXPECT_EQ(app.hTargetW, nullptr);
}

TEST_F(TestWindows, ATestWindowAndADialogAreDraggedByAnyFreeSpot) {
  HWND w = CreateTestWindow(nullptr);
  HWND d = CreateModeless(nullptr);
  ASSERT_NE(w, nullptr);
  ASSERT_NE(d, nullptr);
  SetWindowPos(w, HWND_TOP, 100, 120, 0, 0, SWP_NOSIZE);
  SetWindowPos(d, HWND_TOP, 500, 400, 0, 0, SWP_NOSIZE);
  Pump();

  for (HWND subject : {w, d}) {
    SCOPED_TRACE(WindowText(subject));
    SetWindowPos(subject, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    RECT start;
    GetWindowRect(subject, &start);
    // A free spot of the client area, left of the label and above it.
    POINT spot = {3, 3};
    ClientToScreen(subject, &spot);
    ASSERT_EQ(WindowFromPoint(spot), subject);
    ASSERT_TRUE(MouseTo(spot.x, spot.y));
    ASSERT_TRUE(Xdotool("mousedown 1 mousemove " + std::to_string(spot.x + 40) + " " +
                        std::to_string(spot.y + 30) + " mousemove " + std::to_string(spot.x + 70) +
                        " " + std::to_string(spot.y + 50) + " mouseup 1"));
    RECT end;
    EXPECT_TRUE(PumpUntil([&] {
      GetWindowRect(subject, &end);
      return end.left == start.left + 70 && end.top == start.top + 50;
    })) << "moved to " << end.left << "," << end.top << " from " << start.left << "," << start.top;
    EXPECT_EQ(end.right - end.left, start.right - start.left);
    EXPECT_EQ(end.bottom - end.top, start.bottom - start.top);
  }
}
