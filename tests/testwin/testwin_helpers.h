// Helpers for the test window tests: expected texts built from values queried here, the
// windows of this thread, the inspection timer counted, and a way to act while a nested modal
// loop runs.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"

// The caption of a test window: the handle's 8 digits right-aligned in ten places, then the
// serial number.
inline std::string WindowCaption(HWND w, int serial) {
  return "  " + Hex8(w) + "  _  Window  " + std::to_string(serial);
}

inline std::string DialogCaption(HWND w, const char* kind, int serial) {
  return "  " + Hex8(w) + "  _  " + kind + "  Dialog  Box  " + std::to_string(serial);
}

inline std::string OwnerLine(HWND owner, const std::string& cls, const std::string& text) {
  return "Owner :  " + Hex8(owner) + "    '" + cls + "'     '" + text + "'";
}

inline std::string LabelOf(HWND w) { return WindowText(GetDlgItem(w, IDC_OWNER_LABEL)); }
inline std::string ToggleTextOf(HWND w) { return WindowText(GetDlgItem(w, IDC_POPUP_TOGGLE)); }
inline DWORD StyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)); }
inline DWORD ExStyleOf(HWND w) { return static_cast<DWORD>(GetWindowLongPtrA(w, GWL_EXSTYLE)); }

// The visible top-level windows of this thread with the given class, in Z-order.
inline std::vector<HWND> ThreadWindows(const char* cls) {
  struct Search {
    const char* cls;
    std::vector<HWND> found;
  } search{cls, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (ClassOf(w) == s->cls && IsWindowVisible(w)) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The one window of the class that was not in `before`, or 0.
inline HWND NewWindow(const char* cls, const std::vector<HWND>& before) {
  for (HWND w : ThreadWindows(cls)) {
    bool known = false;
    for (HWND old : before) known = known || old == w;
    if (!known) return w;
  }
  return nullptr;
}

// Counts the inspection timer's messages as the main dialog receives them, by a subclass of the
// dialog that passes everything on. One counter at a time.
class InspectTimerCounter {
 public:
  explicit InspectTimerCounter(HWND dlg) : dlg_(dlg) {
    count_ = 0;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
  }
  ~InspectTimerCounter() {
    if (IsWindow(dlg_)) SetWindowLongPtrA(dlg_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  }
  int count() const { return count_; }

 private:
  static LRESULT CALLBACK CountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == IDT_INSPECT) ++count_;
    return CallWindowProcA(previous_, w, msg, wp, lp);
  }
  HWND dlg_;
  static inline int count_ = 0;
  static inline WNDPROC previous_ = nullptr;
};

// Posts a command to the main dialog whose handler runs a nested modal loop, and calls `step`
// from a thread timer, which that nested loop dispatches. `step` returns true once it is done
// (it has ended the loop). Returns false when the limit passed first: the timer then ends every
// dialog and message box of this thread but the main dialog, so that no failure holds the test
// inside a nested loop.
inline bool RunDuringNestedLoop(HWND mainDlg, int commandId, const std::function<bool()>& step,
                                DWORD limitMs = 20000) {
  struct Run {
    const std::function<bool()>* step;
    HWND mainDlg;
    DWORD start, limit;
    bool finished, timedOut;
  };
  static Run run;
  run = {&step, mainDlg, GetTickCount(), limitMs, false, false};
  UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
    // Still called after the step is done only when its closing did not end the loop.
    if (GetTickCount() - run.start > run.limit) {
      if (!run.timedOut) {
        for (HWND w : ThreadWindows("#32770")) {
          if (w != run.mainDlg) EndDialog(w, 0);
        }
      }
      run.timedOut = run.finished = true;
      return;
    }
    if (!run.finished) run.finished = (*run.step)();
  });
  PostMessageA(mainDlg, WM_COMMAND, MAKEWPARAM(commandId, BN_CLICKED), 0);
  // The nested loop runs inside this pump; it returns to it only when the loop has ended.
  PumpUntil([&] { return run.finished; }, limitMs + 5000);
  KillTimer(nullptr, timer);
  return run.finished && !run.timedOut;
}
