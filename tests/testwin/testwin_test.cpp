// Test windows, test dialogs and the message box as a user makes them with the real main dialog's
// buttons, owned by windows of this and of another process; and what they are made from.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

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
DWORD StyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)); }
// Caption, label, button text; then 1s for: it is W, the lock is set, its box checked, visible.
std::string Seen(HWND w) {
  return WindowText(w) + " / " + LabelOf(w) + " / " + WindowText(GetDlgItem(w, IDC_POPUP_TOGGLE)) +
         " / " + std::to_string(app.hTargetW == w) + std::to_string(app.lockW) +
         std::to_string(IsDlgButtonChecked(app.hMainDlg, IDC_LOCK)) +
         std::to_string(IsWindowVisible(w));
}

// A visible top-level window of this thread with the given class, other than the main dialog.
HWND ThreadWindow(const char* cls) {
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, cls, nullptr));) {
    bool mine = GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId();
    if (mine && w != app.hMainDlg && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

struct Watch {  // the class Watched looks for, what it does with the window, and the time
  const char* cls; std::function<bool(HWND)> step; HWND found; DWORD start; bool done;
} watch;

// A named CALLBACK, not a lambda: the 32-bit build calls timer procedures as stdcall.
void CALLBACK WatchTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (GetTickCount() - watch.start > 30000) {  // a failure must not hold the test in a loop
    if (HWND left = ThreadWindow("#32770")) EndDialog(left, 0);
    watch.found = nullptr;
    watch.done = true;
  } else if (!watch.done && (watch.found || (watch.found = ThreadWindow(watch.cls)))) {
    watch.done = watch.step(watch.found);
  }
}

// Clicks a creating button; a thread timer, which a modal loop dispatches too, shows the new
// window to step() until that has seen it end. Returns it, or 0 if it did not appear or end.
HWND Watched(int id, const char* cls, std::function<bool(HWND)> step) {
  watch = {cls, step, nullptr, GetTickCount(), false};
  UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchTimerProc);
  PostMessageA(app.hMainDlg, WM_COMMAND, id, 0);
  PumpUntil([] { return watch.done; }, 40000);
  KillTimer(nullptr, timer);
  return watch.found;
}

// Makes a window of one kind with its button and follows it through its life: shown() sees it new;
// once the inspection tick reports it, reported() sees it and WM_CLOSE is posted; then it must end.
// Returns the window, or 0 if it did not appear, was not reported, or did not end.
HWND MakeAndClose(int id, const char* cls, const std::function<void(HWND)>& shown,
                  const std::function<void(HWND)>& reported) {
  int phase = 0;
  return Watched(id, cls, [&](HWND w) {
    if (phase == 2) return !IsWindow(w);
    if (phase == 1) {  // the inspection tick goes on, in a modal loop too: the report follows W
      const std::string report = WindowText(GetDlgItem(app.hMainDlg, IDC_REPORT));
      if (IsWindow(w) && report.find("  " + Hex8(w)) == std::string::npos) return false;
      reported(w);  // or gone, when Enter or Escape closed it
      PostMessageA(w, WM_CLOSE, 0, 0);
      phase = 2;
      return false;
    }
    phase = 1;
    shown(w);
    return false;
  });
}

// The three kinds and the number each gets when they are made in this order.
struct Kind { int id; const char* cls; const char* caption; int serial; };
constexpr Kind kKinds[] = {{IDC_CREATEWND, "sButton", "Window", 1},
                           {IDC_CREATEDLG, "#32770", "Modeless  Dialog  Box", 2},
                           {IDC_DLGBOX, "#32770", "Modal  Dialog  Box", 3}};
// P as the command target and the lock off, as a kind is made with them.
void TargetUnlocked(HWND p) {
  app.hTargetP = p;
  app.hCommandTarget = p;  // the tick keeps P the command target
  app.lockW = FALSE;
  CheckDlgButton(app.hMainDlg, IDC_LOCK, BST_UNCHECKED);
}

using TestWindows = MainDialogTest;

// Numbered in turn, never again, each becomes the locked W; Enter and Escape (as keys, which a
// modal loop makes commands of, and as the commands), the menu items and a notification of the
// button that is not a click do not end it: only WM_CLOSE does. The message box takes no number.
TEST_F(TestWindows, EachKindIsNumberedInTurnBecomesWAndEndsOnlyOnWmClose) {
  HWND owner = MakeTopWindow("the owner");
  const std::string ownerLine = OwnerLine(owner, "TestTop", "the owner");
  // The target each kind is made with, and the owner line it shows; the modeless one gets none.
  const struct { HWND p; std::string line; } targets[] = {
      {owner, ownerLine}, {nullptr, "Owner :"}, {owner, ownerLine}};
  HWND last = nullptr;
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.caption);
    const auto& target = targets[kind.serial - 1];
    TargetUnlocked(target.p);
    auto seenAsMade = [&](HWND w) {
      return Caption(w, kind.caption, kind.serial) + " / " + target.line + " / + / -   WS_POPUP / 1111";
    };
    auto shown = [&](HWND w) {
      EXPECT_EQ(Seen(w), seenAsMade(w));
      PostMessageA(GetDlgItem(w, IDC_POPUP_TOGGLE), WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageA(w, WM_KEYDOWN, VK_RETURN, 0);
      for (int command : {IDOK, IDCANCEL, 301, 302, 303, BN_SETFOCUS << 16 | IDC_POPUP_TOGGLE}) {
        SendMessageA(w, WM_COMMAND, command, 0);
      }
    };
    auto reported = [&](HWND w) { EXPECT_EQ(Seen(w), seenAsMade(w)); };
    last = MakeAndClose(kind.id, kind.cls, shown, reported);
    ASSERT_NE(last, nullptr) << "it did not appear, was not reported, or WM_CLOSE did not end it";
  }

  // The message box: "MsgBox" as caption and text, owned by the target, OK only, no number.
  HWND box = Watched(IDC_MSGBOX, "#32770", [&](HWND b) {
    HWND text = FindWindowExA(b, nullptr, "Static", "MsgBox");
    HWND cancel = GetDlgItem(b, IDCANCEL);
    EXPECT_EQ(Seen(b) + " " + Hex8(GetWindow(b, GW_OWNER)), "MsgBox /  /  / 0111 " + Hex8(owner));
    EXPECT_TRUE(text && IsWindowVisible(GetDlgItem(b, IDOK)) && !IsWindowVisible(cancel));
    return PostMessageA(GetDlgItem(b, IDOK), BM_CLICK, 0, 0) != 0;
  });
  EXPECT_NE(box, nullptr) << "no message box, or OK did not end it";
  EXPECT_EQ(app.testWindowCount, 3);
  EXPECT_EQ(app.hTargetW, last);
  EXPECT_TRUE(DestroyWindow(owner)) << "the owner did not outlive the windows it owned";
}

// Each kind is owned by the command target, the modal one disabling it; its label names every
// owner it is given, of this or of another process, hung or not; its button flips only WS_POPUP.
TEST_F(TestWindows, EachKindNamesItsOwnerAndItsButtonFlipsOnlyWsPopup) {
  HelperProcess helper;
  HelperProcess hung("hang");
  ASSERT_TRUE(helper.ok() && hung.ok());
  HWND owner = MakeTopWindow("the owner");
  std::string mainText = WindowText(dlg_);  // the text request has room for 62 characters
  ASSERT_GT(mainText.size(), 62u);
  struct Owned { HWND owner; std::string line; } owners[] = {
      {dlg_, OwnerLine(dlg_, "#32770", mainText.substr(0, 62))},
      {helper.top, OwnerLine(helper.top, "WinHostTop", helper.tag + " top")},
      {hung.top, OwnerLine(hung.top, "WinHostTop", "")},  // no answer in time: no text
      {nullptr, "Owner :"},
      {owner, OwnerLine(owner, "TestTop", "the owner")},
  };
  // The first owner, and whether the owner stays enabled: the modal one disables P.
  const struct { const Owned& first; int enabled; } made[] = {{owners[4], 1}, {owners[3], 1}, {owners[4], 0}};
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.caption);
    const Owned& first = made[kind.serial - 1].first;
    TargetUnlocked(first.owner);
    auto shown = [&](HWND w) {
      const std::string caption = Caption(w, kind.caption, kind.serial);
      EXPECT_EQ(GetWindow(w, GW_OWNER), first.owner);
      EXPECT_EQ(IsWindowEnabled(owner), made[kind.serial - 1].enabled);
      DWORD style = StyleOf(w);
      for (const char* text : {"not  WS_POPUP", "WS_POPUP"}) {  // both templates have WS_POPUP
        SendDlgItemMessageA(w, IDC_POPUP_TOGGLE, BM_CLICK, 0, 0);
        EXPECT_EQ(Seen(w), caption + " / " + first.line + " / " + text + " / 1111");
        style ^= WS_POPUP;
        EXPECT_EQ(StyleOf(w), style) << "only WS_POPUP changes";
      }
      // Re-owned as the history does it: the owner field, then a move that the window sees.
      int x = 60;
      for (const Owned& o : owners) {
        SetWindowLongPtrA(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(o.owner));
        x += 20;
        SetWindowPos(w, nullptr, x, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(LabelOf(w), o.line);
      }
    };
    auto reported = [&](HWND w) {
      const std::string caption = Caption(w, kind.caption, kind.serial);
      EXPECT_EQ(Seen(w), caption + " / " + owners[4].line + " / WS_POPUP / 1111");
    };
    ASSERT_NE(MakeAndClose(kind.id, kind.cls, shown, reported), nullptr);
  }
  EXPECT_TRUE(DestroyWindow(owner)) << "the owner did not outlive the windows it owned";
}

// Resource words written out in hexadecimal, so that a difference shows where it is.
struct Words {
  std::string hex;
  Words& operator<<(int v) {
    char w[8];
    snprintf(w, 8, "%04X ", v);
    hex += w;
    return *this;
  }
  Words& operator<<(const char* s) {  // each character a word, the terminator included
    do *this << (*s & 0xFF);
    while (*s++);
    return *this;
  }
  Words& Dword(DWORD v) { return *this << LOWORD(v) << HIWORD(v); }
  Words& Align() { return hex.size() % 10 ? *this << 0 : *this; }  // to a four-byte boundary
};
std::string ResourceWords(const char* name, LPCSTR type) {
  HRSRC found = FindResourceA(nullptr, name, type);
  const WORD* data = static_cast<const WORD*>(LockResource(LoadResource(nullptr, found)));
  Words words;
  for (DWORD i = 0; data && i < SizeofResource(nullptr, found) / 2; ++i) words << data[i];
  return words.hex;
}
// An extended template with menu 300, 8 point Tahoma, the owner label and the WS_POPUP button.
// The resource compiler stores class names in capitals; the dialog manager ignores their case.
std::string TestDialogTemplate(DWORD style, const char* cls) {
  Words t;
  t.Dword(0xFFFF0001).Dword(0).Dword(0).Dword(style) << 2 << 0 << 0 << 200 << 70 << 0xFFFF << 300;
  (cls ? t << cls : t << 0) << 0 << 8 << 0 << 0x0100 << "Tahoma";
  t.Align().Dword(0).Dword(0).Dword(0x54000000) << 4 << 16 << 400 << 14;
  t.Dword(201) << "STATIC" << 0 << 0;
  t.Align().Dword(0).Dword(0).Dword(0x54018000) << 50 << 42 << 100 << 14;
  t.Dword(202) << "BUTTON" << "+ / -   WS_POPUP" << 0;
  return t.hex;
}

TEST_F(TestWindows, TemplatesMenuAndTheSButtonClassHoldExactlyTheirParts) {
  EXPECT_EQ(ResourceWords("Dlg2", RT_DIALOG), TestDialogTemplate(0x92CF0040, nullptr));
  EXPECT_EQ(ResourceWords("Dlg3", RT_DIALOG), TestDialogTemplate(0x92CF004B, "SBUTTON"));
  // Version 0; per item its flags (MF_END ends a level), a plain item's id, and its text.
  Words m;
  m << 0 << 0 << (MF_POPUP | MF_END) << " Menu" << 0 << 301 << "MenuItem";
  m << (MF_POPUP | MF_END) << " SubMenu" << 0 << 302 << "MenuItem" << MF_END << 303 << "MenuItem";
  EXPECT_EQ(ResourceWords(MAKEINTRESOURCEA(300), RT_MENU), m.hex);

  // "sButton" is the system's Button class with double clicks only and room for dialog data.
  WNDCLASSEXA button{sizeof button}, mine{sizeof mine};
  ASSERT_TRUE(GetClassInfoExA(nullptr, "Button", &button));
  ASSERT_TRUE(GetClassInfoExA(app.hInstance, "sButton", &mine));
  EXPECT_EQ(app.buttonClassProc, button.lpfnWndProc);
  EXPECT_NE(button.style, static_cast<UINT>(CS_DBLCLKS));  // the Button class's other bits go
  button.style = CS_DBLCLKS;
  button.lpfnWndProc = TestWindowProc;
  button.cbWndExtra = 30;
  button.hInstance = app.hInstance;
  button.lpszClassName = mine.lpszClassName;
  EXPECT_EQ(memcmp(&mine, &button, sizeof mine), 0) << mine.style << " " << mine.cbWndExtra;
}

}  // namespace
