// Shared pieces of the target command tests: the real main dialog with the tick stopped, and
// readers of the window states the commands change.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"

// The main dialog with its timer stopped, so that only the test sets the command target.
class TargetTest : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
  }
  // What the tick would do with the target button on "P" or "W".
  void TargetP(HWND p) { app.hTargetP = p; app.hCommandTarget = p; }
  void TargetW(HWND w) { app.hTargetW = w; app.hCommandTarget = w; }
  void SetEditField(const char* text) { SetWindowTextA(app.hTreeCombo, text); }
  std::string EditField() const { return WindowText(app.hTreeCombo); }
};

inline DWORD StyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)); }
inline DWORD ExStyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_EXSTYLE)); }
inline LONG_PTR IdOf(HWND w) { return GetWindowLongPtrA(w, GWLP_ID); }

// The client area must be what the current styles leave of the outer rectangle: a style change
// whose frame was not recalculated keeps the old client area.
inline void ExpectFrameFitsStyles(HWND w, BOOL menuBar = FALSE) {
  RECT outer, client, frame = {0, 0, 0, 0};
  GetWindowRect(w, &outer);
  GetClientRect(w, &client);
  AdjustWindowRectEx(&frame, StyleOf(w), menuBar, ExStyleOf(w));
  EXPECT_EQ(client.right, (outer.right - outer.left) - (frame.right - frame.left)) << "client width";
  EXPECT_EQ(client.bottom, (outer.bottom - outer.top) - (frame.bottom - frame.top)) << "client height";
}

// The children of a parent from the top of their Z-order down.
inline std::vector<HWND> ChildStack(HWND parent) {
  std::vector<HWND> stack;
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) stack.push_back(w);
  return stack;
}

// The given windows in the order in which they stand among their siblings, top first; windows
// of other programs in between are left out.
inline std::vector<HWND> RelativeOrder(std::initializer_list<HWND> windows) {
  std::vector<HWND> order;
  HWND first = GetWindow(*windows.begin(), GW_HWNDFIRST);
  for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
    for (HWND mine : windows) {
      if (w == mine) order.push_back(w);
    }
  }
  return order;
}

// A top-level window of this thread with four visible children c[0]..c[3], created in that order
// and so stacked in that order from the top.
struct ChildFamily {
  HWND parent = nullptr;
  HWND c[4] = {};
  explicit ChildFamily(const char* title) {
    parent = MakeTopWindow(title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 420, 300, 360, 260);
    for (int i = 0; i < 4; ++i) c[i] = MakeChildWindow(parent, "c", 100 + i, WS_CHILD | WS_VISIBLE, 10 + 20 * i, 10 + 20 * i);
  }
  ~ChildFamily() { DestroyWindow(parent); }
  std::vector<HWND> Stack(std::initializer_list<int> indexes) const {
    std::vector<HWND> s;
    for (int i : indexes) s.push_back(c[i]);
    return s;
  }
};
