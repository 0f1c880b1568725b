// The real main dialog with its tick stopped, so that only the test sets W, P and the command
// target; and readers of the window states that the editor changes.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"

inline DWORD StyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)); }
inline DWORD ExStyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_EXSTYLE)); }
inline LONG_PTR IdOf(HWND w) { return GetWindowLongPtrA(w, GWLP_ID); }

// Everything a history step restores, in one line, so that a failure names every difference.
inline std::string RelationsOf(HWND w) {
  HWND parent = GetAncestor(w, GA_PARENT);
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  char text[200];
  snprintf(text, sizeof text, "parent=%s owner=%s rect=(%ld,%ld,%ld,%ld) style=%08lX ex=%08lX id=%lld",
           Hex8(parent).c_str(), Hex8(GetWindow(w, GW_OWNER)).c_str(), r.left, r.top, r.right, r.bottom,
           StyleOf(w), ExStyleOf(w), static_cast<long long>(IdOf(w)));
  return text;
}

// Rectangles as text: one at (x, y) of a given size, or a window's, in screen coordinates.
inline std::string ScreenRect(LONG x, LONG y, LONG width, LONG height) {
  char text[64];
  snprintf(text, sizeof text, "(%ld,%ld,%ld,%ld)", x, y, x + width, y + height);
  return text;
}
inline std::string ScreenRectOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return ScreenRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// Indexes of the given windows in their siblings' Z-order, top first; other windows left out.
inline std::string Order(const std::vector<HWND>& windows) {
  std::string order;
  for (HWND w = GetWindow(windows[0], GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT)) {
    for (size_t i = 0; i < windows.size(); ++i) {
      if (w == windows[i]) order += static_cast<char>('0' + i);
    }
  }
  return order;
}

// A style change whose frame was not recalculated keeps the old client area. Another
// process's window may still be answering a message of its own when it is read (seen once in a
// full run), so the check waits a while for the frame to fit before it fails.
inline void ExpectFrameFitsStyles(HWND w, BOOL menuBar = FALSE) {
  RECT outer, client, frame;
  auto read = [&] {
    frame = {0, 0, 0, 0};
    GetWindowRect(w, &outer);
    GetClientRect(w, &client);
    AdjustWindowRectEx(&frame, StyleOf(w), menuBar, ExStyleOf(w));
    return client.right == (outer.right - outer.left) - (frame.right - frame.left) &&
           client.bottom == (outer.bottom - outer.top) - (frame.bottom - frame.top);
  };
  PumpUntil(read, 2000);
  EXPECT_EQ(client.right, (outer.right - outer.left) - (frame.right - frame.left)) << "client width";
  EXPECT_EQ(client.bottom, (outer.bottom - outer.top) - (frame.bottom - frame.top)) << "client height";
}

class EditorTest : public MainDialogTest {
 protected:
  void SetUp() override { MainDialogTest::SetUp(); StopTimer(); }
  void TearDown() override {
    for (HWND w : windows_) DestroyWindow(w);  // some are gone already: that call just fails
    MainDialogTest::TearDown();
  }
  HWND Keep(HWND w) {
    EXPECT_NE(w, nullptr);
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
  // What F8, F9 and the lock box would have chosen.
  void Choose(HWND w, HWND p, LONG f9x, LONG f9y) {
    app.hTargetW = w;
    app.hTargetP = p;
    app.ptF9 = {f9x, f9y};
    app.lockW = TRUE;
  }
  // What the tick does with the target button on "P".
  void TargetP(HWND p) { app.hTargetP = app.hCommandTarget = p; }
  std::string Counter() const { return WindowText(Item(IDC_COUNTER)); }
  // A caption the tool never writes, to see whether a command rewrote the counter.
  void MarkCounter() { SetDlgItemTextA(dlg_, IDC_COUNTER, "mark"); }
  void SetEditField(const char* text) { SetWindowTextA(app.hTreeCombo, text); }
  std::vector<HWND> windows_;
};
