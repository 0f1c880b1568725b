// Shared pieces of the history tests: the real main dialog with the tick stopped, windows that
// are destroyed after each test, and one-line descriptions of everything a history step
// restores, so that a failing comparison names every difference at once.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"

// Parent, owner, rectangle (in the parent's client coordinates), styles and id of a window,
// read with the plain queries.
inline std::string RelationsOf(HWND w) {
  HWND parent = GetAncestor(w, GA_PARENT);
  RECT r;
  GetWindowRect(w, &r);
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  ScreenToClient(parent, &corners[0]);
  ScreenToClient(parent, &corners[1]);
  char text[256];
  snprintf(text, sizeof text,
           "parent=%s owner=%s rect=(%ld,%ld,%ld,%ld) style=%08lX ex=%08lX id=%lld",
           Hex8(parent).c_str(), Hex8(GetWindow(w, GW_OWNER)).c_str(), corners[0].x, corners[0].y,
           corners[1].x, corners[1].y, static_cast<unsigned long>(GetWindowLongPtrA(w, GWL_STYLE)),
           static_cast<unsigned long>(GetWindowLongPtrA(w, GWL_EXSTYLE)),
           static_cast<long long>(GetWindowLongPtrA(w, GWLP_ID)));
  return text;
}

// The window rectangle in screen coordinates, as text.
inline std::string ScreenRectOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  char text[64];
  snprintf(text, sizeof text, "(%ld,%ld,%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

inline std::string ScreenRect(LONG x, LONG y, LONG width, LONG height) {
  char text[64];
  snprintf(text, sizeof text, "(%ld,%ld,%ld,%ld)", x, y, x + width, y + height);
  return text;
}

inline SIZE SizeOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return {r.right - r.left, r.bottom - r.top};
}

// A rectangle given in the client coordinates of parent.
struct ClientRect {
  HWND parent;
  LONG left, top, right, bottom;
};

inline std::string Entry(HWND window, const ClientRect& r, DWORD exStyle, DWORD style, DWORD kind,
                         HWND relation, DWORD id) {
  char text[256];
  snprintf(text, sizeof text,
           "window=%s parent=%s rect=(%ld,%ld,%ld,%ld) ex=%08lX style=%08lX kind=%lu relation=%s "
           "id=%lu",
           Hex8(window).c_str(), Hex8(r.parent).c_str(), r.left, r.top, r.right, r.bottom,
           static_cast<unsigned long>(exStyle), static_cast<unsigned long>(style),
           static_cast<unsigned long>(kind), Hex8(relation).c_str(), static_cast<unsigned long>(id));
  return text;
}

inline std::string EntryText(const HistoryEntry& e) {
  return Entry(e.hWindow, {e.hParent, e.left, e.top, e.right, e.bottom}, e.exStyle, e.style,
               e.kind, e.hRelation, e.id);
}

// What an entry must hold to put w back into its present state: read from the window now.
inline std::string EntryFor(HWND w, DWORD kind, HWND relation) {
  HWND parent = GetAncestor(w, GA_PARENT);
  RECT r;
  GetWindowRect(w, &r);
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  ScreenToClient(parent, &corners[0]);
  ScreenToClient(parent, &corners[1]);
  return Entry(w, {parent, corners[0].x, corners[0].y, corners[1].x, corners[1].y},
               static_cast<DWORD>(GetWindowLongPtrA(w, GWL_EXSTYLE)),
               static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)), kind, relation,
               static_cast<DWORD>(GetWindowLongPtrA(w, GWLP_ID)));
}

class HistoryTest : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
  }
  void TearDown() override {
    for (HWND w : windows_) {
      if (IsWindow(w)) DestroyWindow(w);
    }
    MainDialogTest::TearDown();
  }

  HWND Top(const char* title, int x, int y, int width = 300, int height = 220,
           DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, HWND owner = nullptr) {
    HWND w = MakeTopWindow(title, style, 0, owner, x, y, width, height);
    EXPECT_NE(w, nullptr) << title;
    windows_.push_back(w);
    return w;
  }
  HWND Child(HWND parent, const char* title, int id, int x, int y, int width, int height,
             DWORD style = WS_CHILD | WS_VISIBLE) {
    HWND w = MakeChildWindow(parent, title, id, style, x, y, width, height);
    EXPECT_NE(w, nullptr) << title;
    windows_.push_back(w);
    return w;
  }

  // What the inspection tick and the lock box would have chosen.
  void Choose(HWND w, HWND p, LONG f9x, LONG f9y) {
    app.hTargetW = w;
    app.hTargetP = p;
    app.ptF9 = {f9x, f9y};
    app.lockW = TRUE;
  }

  std::string Counter() const { return WindowText(Item(IDC_COUNTER)); }
  // A caption the tool never writes, to see whether a command rewrote the counter.
  void MarkCounter() { SetDlgItemTextA(dlg_, IDC_COUNTER, "mark"); }

  std::vector<HWND> windows_;
};
