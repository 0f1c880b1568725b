// Re-parenting and re-owning of W under P, with a history of 64 slots for undo and redo.
//
// Slots below historyPos hold the state from before their change (their next step is an undo);
// slots from historyPos up to historyTop - 1 hold the state from after it (a redo). One step
// exchanges a slot with the live state of its window, which turns it into what the opposite
// step needs, so undo and redo are the same routine.
#include "app/app_state.h"
#include "editor/editor.h"
#include "res/resource.h"

namespace {

using Kind = HistoryEntry::Kind;

// SetWindowPos flags: keep the Z-order, and let a changed style redraw the frame.
constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED;  // 0x25
constexpr UINT kMoveAndSize = SWP_NOZORDER | SWP_FRAMECHANGED;            // 0x24

// A window's relation, style, extended style, id and rectangle as one step reads it.
struct LiveState {
  HWND parent;
  RECT rect;  // in client coordinates of parent
  DWORD exStyle;
  DWORD style;
  DWORD id;
};

DWORD ReadLong(HWND w, int index) { return static_cast<DWORD>(GetWindowLongPtrA(w, index)); }

// Styles and ids are 32-bit values; a 64-bit window word holds them sign-extended, as
// SetWindowLongA would have stored them.
void WriteLong(HWND w, int index, DWORD value) {
  SetWindowLongPtrA(w, index, static_cast<LONG_PTR>(static_cast<LONG>(value)));
}

void ReadLiveState(HWND w, LiveState& s) {
  s.exStyle = ReadLong(w, GWL_EXSTYLE);
  s.style = ReadLong(w, GWL_STYLE);
  s.id = ReadLong(w, GWLP_ID);
  GetWindowRect(w, &s.rect);
  s.parent = GetAncestor(w, GA_PARENT);
  // The rectangle is restored later with SetWindowPos, which takes client coordinates of the
  // parent.
  MapWindowPoints(nullptr, s.parent, reinterpret_cast<POINT*>(&s.rect), 2);
}

// Gives w the relation of the entry's kind. SetParent and SetWindowLongPtr(GWLP_HWNDPARENT)
// both return the previous relation; *ok tells whether the call reported success.
HWND ApplyRelation(Kind kind, HWND w, HWND relation, bool* ok) {
  if (kind == Kind::SetParent) {
    HWND previous = SetParent(w, relation);
    *ok = previous != nullptr;
    return previous;
  }
  // A window without an owner returns 0 from a successful call as well: only the last error
  // tells a failure apart, so it is cleared first.
  SetLastError(0);
  HWND previous = reinterpret_cast<HWND>(
      SetWindowLongPtrA(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(relation)));
  *ok = previous != nullptr || GetLastError() == 0;
  return previous;
}

// Hiding and showing again makes a visible window repaint itself in its new place.
void RepaintByShowing(HWND w) {
  if (IsWindowVisible(w)) {
    ShowWindow(w, SW_HIDE);
    ShowWindow(w, SW_SHOWNORMAL);
  }
}

void ShowCount() { SetDlgItemInt(app.hMainDlg, IDC_COUNTER, app.historyPos, FALSE); }

// The F9 point is a screen position; the window is placed there in its parent's client area.
void MoveToF9Point(HWND w) {
  POINT pt = app.ptF9;
  MapWindowPoints(nullptr, GetAncestor(w, GA_PARENT), &pt, 1);
  SetWindowPos(w, nullptr, pt.x, pt.y, 0, 0, kMoveOnly);
}

// A step calls SetParent or SetWindowLongPtr on the entry's window with the entry's relation, then
// sets the window's styles, id and place: these wait for the window's thread, and for the thread of
// the parent that it leaves.
bool StepRefusedAsHung(const HistoryEntry& e) {
  return RefusedAsHung(e.hWindow, e.hRelation, GetAncestor(e.hWindow, GA_PARENT));
}

void OnSetParentClicked() { ChangeRelation(Kind::SetParent); }
void OnSetOwnerClicked() { ChangeRelation(Kind::SetOwner); }

// A step refused for a hung window changes nothing, the position included: the same click works
// once the window's program answers again.
void OnUndoClicked() {
  if (app.historyPos == 0) {
    ErrorBeep();
  } else if (!StepRefusedAsHung(app.history[app.historyPos - 1])) {
    UndoRedoStep(Step::Undo);
  }
}

void OnRedoClicked() {
  if (app.historyPos >= app.historyTop || app.historyTop >= kHistorySlots) {
    ErrorBeep();
  } else if (!StepRefusedAsHung(app.history[app.historyPos])) {
    UndoRedoStep(Step::Redo);
  }
}

constexpr CommandRoute kHistoryCommands[] = {
    {IDC_SETPARENT, WithoutArg<OnSetParentClicked>, 0},
    {IDC_SETOWNER, WithoutArg<OnSetOwnerClicked>, 0},
    {IDC_UNDO, WithoutArg<OnUndoClicked>, 0},
    {IDC_REDO, WithoutArg<OnRedoClicked>, 0},
    {IDC_COUNTER, WithoutArg<RestoreAll>, 0},
};

}  // namespace

constexpr CommandRoutes kHistoryRoutes = RoutesOf(kHistoryCommands);

bool RefusedAsHung(HWND first, HWND second, HWND third) {
  if (!IsHungAppWindow(first) && !IsHungAppWindow(second) && !IsHungAppWindow(third)) return false;
  ErrorBeep();
  return true;
}

void ChangeRelation(Kind kind) {
  if (app.historyPos >= kHistoryLimit || !app.lockW) {
    ErrorBeep();
    return;
  }
  HWND w = app.hTargetW;
  // Refused like the checks above: nothing is recorded and the counter is not rewritten.
  if (RefusedAsHung(w, app.hTargetP, GetAncestor(w, GA_PARENT))) return;
  LiveState before;
  ReadLiveState(w, before);

  bool ok = false;
  HWND previous = ApplyRelation(kind, w, app.hTargetP, &ok);
  if (ok) {
    HistoryEntry& e = app.history[app.historyPos];
    e.hWindow = w;
    e.hParent = before.parent;
    e.left = before.rect.left;
    e.top = before.rect.top;
    e.right = before.rect.right;
    e.bottom = before.rect.bottom;
    e.exStyle = before.exStyle;
    e.style = before.style;
    e.kind = kind;
    e.hRelation = previous;
    e.id = before.id;

    ++app.historyPos;
    // A change after some undos keeps the redo range above its own slot.
    if (app.historyTop < app.historyPos) app.historyTop = app.historyPos;

    // A new owner does not move a window by itself; both kinds place W at the F9 point.
    MoveToF9Point(w);
    RepaintByShowing(w);
  } else {
    ErrorBeep();
  }
  ShowCount();
}

void UndoRedoStep(Step step) {
  if (step == Step::Undo) --app.historyPos;
  HistoryEntry& e = app.history[app.historyPos];
  HWND h = e.hWindow;

  LiveState live;
  ReadLiveState(h, live);

  bool ok = false;
  HWND previous = ApplyRelation(e.kind, h, e.hRelation, &ok);
  if (!ok) {
    ErrorBeep();
  } else {
    HWND wanted = e.hParent ? e.hParent : app.hDesktop;
    if (GetAncestor(h, GA_PARENT) != wanted) {
      // The window was given another parent since the entry was written; the entry no longer
      // fits it, so the relation is put back and the entry is left as it is.
      bool putBack = false;
      ApplyRelation(e.kind, h, previous, &putBack);
      ErrorBeep();
    } else {
      app.hTargetW = h;
      e.hParent = live.parent;
      WriteLong(h, GWL_EXSTYLE, e.exStyle);
      e.exStyle = live.exStyle;
      WriteLong(h, GWL_STYLE, e.style);
      e.style = live.style;
      e.hRelation = previous;
      WriteLong(h, GWLP_ID, e.id);
      e.id = live.id;
      SetWindowPos(h, nullptr, e.left, e.top, e.right - e.left, e.bottom - e.top, kMoveAndSize);
      e.left = live.rect.left;
      e.top = live.rect.top;
      e.right = live.rect.right;
      e.bottom = live.rect.bottom;
      RepaintByShowing(h);
    }
  }
  // The position moves past the entry even when the step failed, so that the next steps go on
  // with the other entries.
  if (step == Step::Redo) ++app.historyPos;
  ShowCount();
}

void RestoreAll() {
  // Every pass lowers the position, so the loop always ends: a step does, failed or not, and so
  // does passing over the entry of a hung window, which keeps its change and its contents. Closing
  // the tool must not wait for a program that has stopped answering; the others are restored.
  while (app.historyPos > 0) {
    if (StepRefusedAsHung(app.history[app.historyPos - 1])) {
      --app.historyPos;
      ShowCount();
    } else {
      UndoRedoStep(Step::Undo);
    }
  }
  app.historyTop = 0;
}

void ApplyCloseRule() {
  // The high bit of GetAsyncKeyState tells that the key is down now. Holding F8 and F9 together
  // is the user's way to leave the changed windows as they are.
  bool f8Down = (GetAsyncKeyState(VK_F8) & 0x8000) != 0;
  bool f9Down = (GetAsyncKeyState(VK_F9) & 0x8000) != 0;
  if (!f8Down || !f9Down) RestoreAll();
}
