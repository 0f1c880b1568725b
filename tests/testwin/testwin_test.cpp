// Test windows, test dialogs and the message box as a user makes them: the real main dialog, its
// real buttons, and owners of this and of another process; and the resources they are made from.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"
#include "testwin/testwin.h"

namespace {

// "%10.8lX" of an ordinary handle: two spaces and its 8 digits.
std::string Caption(HWND w, const std::string& kind, int serial) {
  return "  " + Hex8(w) + "  _  " + kind + "  " + std::to_string(serial);
}
std::string OwnerLine(HWND owner, const std::string& cls, const std::string& text) {
  return "Owner :  " + Hex8(owner) + "    '" + cls + "'     '" + text + "'";
}
std::string LabelOf(HWND w) { return WindowText(GetDlgItem(w, IDC_OWNER_LABEL)); }
std::string ToggleTextOf(HWND w) { return WindowText(GetDlgItem(w, IDC_POPUP_TOGGLE)); }
DWORD StyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)); }

// The visible top-level windows of this thread with the given class.
std::vector<HWND> ThreadWindows(const char* cls) {
  std::pair<const char*, std::vector<HWND>> search{cls, {}};
  EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM lp) -> BOOL {
    auto* s = reinterpret_cast<decltype(search)*>(lp);
    if (ClassOf(w) == s->first && IsWindowVisible(w)) s->second.push_back(w);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&search));
  return search.second;
}
HWND NewWindow(const char* cls, const std::vector<HWND>& before) {
  std::vector<HWND> now = ThreadWindows(cls);
  for (HWND w : now) if (std::find(before.begin(), before.end(), w) == before.end()) return w;
  return nullptr;
}

// The nested modal loop that RunNested watches.
struct Nested {
  std::function<void(HWND)> look;
  std::function<bool(HWND)> finish;
  std::vector<HWND> before;
  HWND mainDlg, found;
  DWORD start;
  bool done, late;
} nested;

class TestWindows : public MainDialogTest {
 protected:
  void TearDown() override {
    for (const char* cls : {"sButton", "#32770"}) {
      for (HWND w : ThreadWindows(cls)) if (w != dlg_) DestroyWindow(w);
    }
    for (HWND w : owners_) DestroyWindow(w);
    MainDialogTest::TearDown();
  }

  HWND Owner(const char* title) {
    owners_.push_back(MakeTopWindow(title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 300, 200));
    return owners_.back();
  }
  // A click on "CreateWnd  (Owner)" or "CreateDlg (Owner)", with the lock off before it. The
  // target is P as well, as the inspection tick then keeps it the command target.
  HWND Create(int id, HWND target) {
    const char* cls = id == IDC_CREATEWND ? "sButton" : "#32770";
    app.hTargetP = app.hCommandTarget = target;
    app.lockW = FALSE;
    CheckDlgButton(dlg_, IDC_LOCK, BST_UNCHECKED);
    std::vector<HWND> before = ThreadWindows(cls);
    Click(id);
    return NewWindow(cls, before);
  }

  // A click on a button whose handler runs a nested modal loop: a thread timer, which that loop
  // dispatches, shows the new dialog to look() once, then to finish() until that has ended it.
  // Returns the dialog, or 0 when it did not appear or its loop did not end.
  HWND RunNested(int id, std::function<void(HWND)> look, std::function<bool(HWND)> finish) {
    nested = {look, finish, ThreadWindows("#32770"), dlg_, nullptr, GetTickCount(), false, false};
    UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
      Nested& n = nested;
      if (!n.late && GetTickCount() - n.start > 20000) {
        // A failure must not hold the test inside the nested loop.
        for (HWND w : ThreadWindows("#32770")) if (w != n.mainDlg) EndDialog(w, 0);
        n.late = n.done = true;
      } else if (!n.found) {
        if ((n.found = NewWindow("#32770", n.before))) n.look(n.found);
      } else if (!n.done) {
        n.done = n.finish(n.found);
      }
    });
    PostMessageA(dlg_, WM_COMMAND, id, 0);
    PumpUntil([] { return nested.done; }, 25000);
    KillTimer(nullptr, timer);
    return nested.late ? nullptr : nested.found;
  }

  // The report pane, which only the inspection tick writes.
  bool Reported(const std::string& text) {
    return WindowText(Item(IDC_REPORT)).find(text) != std::string::npos;
  }

  std::vector<HWND> owners_;
};

TEST_F(TestWindows, TestWindowsAreNumberedInTurnBecomeWToggleWsPopupAndCloseOnlyOnWmClose) {
  HWND owner = Owner("the owner");
  struct Kind { int id; const char* cls; const char* caption; } kinds[] = {
      {IDC_CREATEWND, "sButton", "Window"}, {IDC_CREATEDLG, "#32770", "Modeless  Dialog  Box"}};
  std::vector<HWND> made;
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.caption);
    HWND w = Create(kind.id, owner);
    ASSERT_NE(w, nullptr);
    made.push_back(w);
    std::string caption = Caption(w, kind.caption, static_cast<int>(made.size()));
    EXPECT_EQ(WindowText(w), caption);
    EXPECT_EQ(ClassOf(w), kind.cls);
    EXPECT_EQ(GetWindow(w, GW_OWNER), owner);
    EXPECT_EQ(LabelOf(w), OwnerLine(owner, "TestTop", "the owner"));
    EXPECT_NE(GetMenu(w), nullptr);
    EXPECT_EQ(app.hTargetW, w);
    EXPECT_TRUE(app.lockW);
    EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), static_cast<UINT>(BST_CHECKED));

    // Enter and Escape as the commands they become, the menu items, and a notification of the
    // button that is not a click change nothing.
    for (int command : {IDOK, IDCANCEL, 301, 302, 303, BN_SETFOCUS << 16 | IDC_POPUP_TOGGLE}) {
      SendMessageA(w, WM_COMMAND, command, 0);
    }
    Pump();
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(WindowText(w), caption);
    EXPECT_EQ(ToggleTextOf(w), "+ / -   WS_POPUP");

    ASSERT_TRUE(StyleOf(w) & WS_POPUP);
    DWORD otherBits = StyleOf(w) & ~WS_POPUP;
    for (const char* text : {"not  WS_POPUP", "WS_POPUP"}) {
      SendDlgItemMessageA(w, IDC_POPUP_TOGGLE, BM_CLICK, 0, 0);
      EXPECT_EQ(ToggleTextOf(w), text);
      EXPECT_EQ(StyleOf(w), otherBits | (text[0] == 'W' ? WS_POPUP : 0)) << std::hex << StyleOf(w);
    }
  }
  for (HWND w : made) PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(made[0]) && !IsWindow(made[1]); }));
  EXPECT_TRUE(IsWindow(owner));
  // Numbers of closed windows are not given out again.
  HWND next = Create(IDC_CREATEWND, owner);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(WindowText(next), Caption(next, "Window", 3));
}

TEST_F(TestWindows, TheLabelNamesEachNewOwnerByHandleClassAndText) {
  HelperProcess helper, hung("hang");
  ASSERT_TRUE(helper.ok() && hung.ok());
  HWND owner = Owner("an owner");
  // The text request has room for 62 characters and the terminating zero.
  std::string mainText = WindowText(dlg_);
  ASSERT_GT(mainText.size(), 62u);
  struct Case { HWND owner; std::string line; } cases[] = {
      {owner, OwnerLine(owner, "TestTop", "an owner")},
      {dlg_, OwnerLine(dlg_, "#32770", mainText.substr(0, 62))},
      {helper.top, OwnerLine(helper.top, "WinHostTop", helper.tag + " top")},
      {hung.top, OwnerLine(hung.top, "WinHostTop", "")},  // no answer in time: no text
      {nullptr, "Owner :"},
  };
  for (int id : {IDC_CREATEWND, IDC_CREATEDLG}) {
    HWND w = Create(id, nullptr);
    ASSERT_NE(w, nullptr);
    std::string caption = WindowText(w);
    EXPECT_EQ(LabelOf(w), "Owner :") << caption;
    int x = 40;
    for (const Case& c : cases) {
      SCOPED_TRACE(caption + " owned by " + Hex8(c.owner));
      // Re-owned as the history does it: the owner field, then a move that the window sees.
      SetWindowLongPtrA(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(c.owner));
      SetWindowPos(w, nullptr, x += 20, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      EXPECT_EQ(GetWindow(w, GW_OWNER), c.owner);
      EXPECT_EQ(LabelOf(w), c.line);
    }
  }
}

TEST_F(TestWindows, ModalDialogAndMessageBoxAreOwnedByTheTargetAndTheTimerGoesOnInTheirLoops) {
  HWND owner = Owner("modal owner");
  ASSERT_NE(Create(IDC_CREATEWND, owner), nullptr);
  ASSERT_NE(Create(IDC_CREATEDLG, owner), nullptr);
  // What the dialogs of the nested loops show, seen from inside those loops.
  std::string seen;
  HWND modal = RunNested(IDC_DLGBOX, [&](HWND d) {
    seen = WindowText(d) + " / " + LabelOf(d) + " / owner enabled " +
           std::to_string(IsWindowEnabled(owner)) + " / W " + Hex8(app.hTargetW) + " lock " +
           std::to_string(app.lockW);
    // The dialog's loop makes commands of these keys, before its next timer message.
    PostMessageA(GetDlgItem(d, IDC_POPUP_TOGGLE), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(d, WM_KEYDOWN, VK_RETURN, 0);
  }, [&](HWND d) {
    // The inspection tick goes on inside the dialog's loop: the report follows the new W.
    if (!Reported("  " + Hex8(d) + " ")) return false;
    seen += " / visible " + std::to_string(IsWindowVisible(d));
    return PostMessageA(d, WM_CLOSE, 0, 0) != 0;
  });
  ASSERT_NE(modal, nullptr) << "no modal dialog, no report of it, or WM_CLOSE did not end it";
  EXPECT_EQ(seen, Caption(modal, "Modal  Dialog  Box", 3) + " / " +
                      OwnerLine(owner, "TestTop", "modal owner") + " / owner enabled 0 / W " +
                      Hex8(modal) + " lock 1 / visible 1");

  HWND box = RunNested(IDC_MSGBOX, [&](HWND b) {
    seen = WindowText(b) + " / owner " + Hex8(GetWindow(b, GW_OWNER)) + " / text " +
           WindowText(FindWindowExA(b, nullptr, "Static", "MsgBox"));
    for (HWND c = GetWindow(b, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      bool button = ClassOf(c) == "Button" && IsWindowVisible(c);
      if (button) seen += " / button " + std::to_string(GetDlgCtrlID(c));
    }
    SetWindowTextA(owner, "renamed owner");
  }, [&](HWND b) {  // the tick's report of P, the owner, shows its new text
    return Reported("'renamed owner'") && PostMessageA(GetDlgItem(b, IDOK), BM_CLICK, 0, 0) != 0;
  });
  ASSERT_NE(box, nullptr) << "no message box, no report in its loop, or OK did not end it";
  EXPECT_EQ(seen, "MsgBox / owner " + Hex8(owner) + " / text MsgBox / button 1");
  // A message box is no test window: no number, and W stays.
  EXPECT_EQ(app.testWindowCount, 3);
  EXPECT_EQ(app.hTargetW, modal);
}

// Resource words written out in hexadecimal, so that a difference shows where it is.
struct Words {
  std::string hex;
  Words& operator<<(DWORD v) {
    char word[8];
    snprintf(word, sizeof word, "%04lX ", v & 0xFFFFul);
    return hex += word, *this;
  }
  Words& Dword(DWORD v) { return *this << LOWORD(v) << HIWORD(v); }
  Words& Text(const char* s) { do *this << static_cast<BYTE>(*s); while (*s++); return *this; }
  // Each control of an extended template starts on a four-byte boundary.
  Words& Align() { return hex.size() % 10 ? *this << 0 : *this; }
};

std::string ResourceWords(const char* name, LPCSTR type) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, name, type);
  if (!found) return "(missing)";
  const WORD* data = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
  Words words;
  for (DWORD i = 0; i < SizeofResource(module, found) / 2; ++i) words << data[i];
  return words.hex;
}

// An extended template with menu 300, 8 point Tahoma, the owner label and the WS_POPUP button.
// The resource compiler stores class names in capitals; the dialog manager ignores their case.
std::string TestDialogTemplate(DWORD style, const char* cls) {
  Words t;
  t.Dword(0xFFFF0001).Dword(0).Dword(0).Dword(style) << 2 << 0 << 0 << 200 << 70 << 0xFFFF << 300;
  (cls ? t.Text(cls) : t << 0) << 0 << 8 << 0 << 0x0100;
  t.Text("Tahoma").Align().Dword(0).Dword(0).Dword(0x54000000) << 4 << 16 << 400 << 14;
  t.Dword(201).Text("STATIC") << 0 << 0;
  t.Align().Dword(0).Dword(0).Dword(0x54018000) << 50 << 42 << 100 << 14;
  t.Dword(202).Text("BUTTON").Text("+ / -   WS_POPUP") << 0;
  return t.hex;
}

TEST(TestWindowResources, TemplatesAndMenuHoldExactlyTheirItems) {
  EXPECT_EQ(ResourceWords("Dlg2", RT_DIALOG), TestDialogTemplate(0x92CF0040, nullptr));
  EXPECT_EQ(ResourceWords("Dlg3", RT_DIALOG), TestDialogTemplate(0x92CF004B, "SBUTTON"));
  // A standard menu template: header version 0, then per item its flags (MF_END marks the last
  // of each level), the id of a plain item, and the text.
  Words menu;
  (menu << 0 << 0 << (MF_POPUP | MF_END)).Text(" Menu") << 0 << 301;
  (menu.Text("MenuItem") << (MF_POPUP | MF_END)).Text(" SubMenu") << 0 << 302;
  (menu.Text("MenuItem") << MF_END << 303).Text("MenuItem");
  EXPECT_EQ(ResourceWords(MAKEINTRESOURCEA(300), RT_MENU), menu.hex);
}

TEST_F(TestWindows, SButtonIsTheSystemButtonClassWithDialogRoom) {
  auto fields = [](const WNDCLASSEXA& c) {
    return std::make_tuple(c.style, reinterpret_cast<void*>(c.lpfnWndProc), c.cbClsExtra,
                           c.cbWndExtra, c.hInstance, c.hIcon, c.hIconSm, c.hCursor,
                           c.hbrBackground, c.lpszMenuName);
  };
  WNDCLASSEXA button{sizeof button}, mine{sizeof mine};
  ASSERT_TRUE(GetClassInfoExA(nullptr, "Button", &button));
  ASSERT_TRUE(GetClassInfoExA(app.hInstance, "sButton", &mine));
  EXPECT_EQ(app.buttonClassProc, button.lpfnWndProc);
  EXPECT_NE(button.style, static_cast<UINT>(CS_DBLCLKS));  // the Button class's other bits go
  button.style = CS_DBLCLKS;
  button.lpfnWndProc = TestWindowProc;
  button.cbWndExtra = 30;
  button.hInstance = app.hInstance;
  EXPECT_EQ(fields(mine), fields(button));  // the rest as the Button class has it
}

}  // namespace
