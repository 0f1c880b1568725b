// Commands aimed at windows of a thread that has stopped taking its messages: each one is refused at
// once and changes nothing, and closing the tool passes over their history entries and restores the
// others.
#include <cstdio>
#include <thread>

#include "editor/editor.h"
#include "robustness/robust_helpers.h"
#include "support/relations.h"

namespace robust {
namespace {

// Long enough to tell a call that waited from one that did not, on a slow machine too.
constexpr DWORD kPromptMs = 3000;
// A tool that waits for the hung thread is slow by this much rather than stuck for good.
constexpr DWORD kHangMs = 60000;

// A thread of this process with a top-level window and a child, serving their messages until told
// to hang: then it retrieves no message at all until released or kHangMs have passed.
class HangingThread {
 public:
  explicit HangingThread(HWND localParent) {
    thread_ = std::thread([this, localParent] {
      top = MakeTopWindow("hung top", WS_OVERLAPPEDWINDOW, 0, nullptr, 760, 600, 300, 200);
      child = MakeChildWindow(top, "hung child", 5, WS_CHILD | WS_VISIBLE, 10, 10, 120, 80);
      // Two windows of the test's own thread under this one: one moves out, one stays.
      SendMessageA(localParent, WM_APP, 0, reinterpret_cast<LPARAM>(top));
      ShowWindow(top, SW_SHOWNOACTIVATE);  // the active window stays the test's
      ready_ = true;
      HANDLE events[2] = {hang_, quit_};
      for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(2, events, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) WaitForSingleObject(release_, kHangMs);  // hung: not even a peek
        if (woke == WAIT_OBJECT_0 + 1) break;
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
      }
      DestroyWindow(top);
    });
    PumpUntil([this] { return ready_.load(); }, 20000);
  }
  ~HangingThread() {
    SetEvent(release_);
    SetEvent(quit_);
    thread_.join();
    for (HANDLE e : {hang_, release_, quit_}) CloseHandle(e);
  }
  // Stops the thread and waits until the system takes its windows for hung.
  bool Hang() {
    SetEvent(hang_);
    return PumpUntil([this] { return IsHungAppWindow(top) != FALSE; }, 30000);
  }
  // Lets it serve its messages again.
  bool Release() {
    SetEvent(release_);
    return PumpUntil([this] { return !IsHungAppWindow(top); }, 30000);
  }
  HWND top = nullptr, child = nullptr;

 private:
  HANDLE hang_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE release_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE quit_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<bool> ready_{false};
  std::thread thread_;
};

// The test thread's children of the hanging thread's window: hiding, showing or re-parenting such a
// child waits for its parent's thread as well.
HWND madeUnder = nullptr, stayUnder = nullptr;
LRESULT CALLBACK MakeChildOnRequestProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) {
    HWND parent = reinterpret_cast<HWND>(lp);
    madeUnder = MakeChildWindow(parent, "local under hung", 6);
    stayUnder = MakeChildWindow(parent, "local staying under hung", 9, WS_CHILD | WS_VISIBLE, 150, 10);
  }
  return DefWindowProcA(w, msg, wp, lp);
}

// Everything a command could change about a window, in one line; its place among its siblings only
// with the Z-order (the history keeps no place in it).
std::string StateOf(HWND w, bool withPlace = true) {
  RECT r;
  GetWindowRect(w, &r);
  char text[240];
  snprintf(text, sizeof text,
           "style=%08lX ex=%08lX id=%lld rect=(%ld,%ld,%ld,%ld) parent=%s owner=%s above=%s",
           static_cast<DWORD>(GetWindowLongPtrA(w, GWL_STYLE)),
           static_cast<DWORD>(GetWindowLongPtrA(w, GWL_EXSTYLE)),
           static_cast<long long>(GetWindowLongPtrA(w, GWLP_ID)), r.left, r.top, r.right, r.bottom,
           Hex8(GetAncestor(w, GA_PARENT)).c_str(), Hex8(GetWindow(w, GW_OWNER)).c_str(),
           withPlace ? Hex8(GetWindow(w, GW_HWNDPREV)).c_str() : "-");
  return text;
}

// Ends a dialog or message box that a wrongly accepted command opened, so that a fault fails the
// test instead of holding it in a modal loop.
BOOL CALLBACK EndStrayDialogProc(HWND w, LPARAM) {
  if (w != app.hMainDlg && ClassOf(w) == "#32770") EndDialog(w, IDOK);
  return TRUE;
}

// A named CALLBACK, not a lambda: the 32-bit build calls timer procedures as stdcall.
void CALLBACK EndStrayDialogsTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), EndStrayDialogProc, 0);
}

class HungTest : public RobustTest {
 protected:
  DWORD MsClicking(int id) {
    DWORD start = GetTickCount();
    Click(id);
    return GetTickCount() - start;
  }
  std::string Counter() const { return WindowText(Item(IDC_COUNTER)); }
  void Mark() { SetDlgItemTextA(dlg_, IDC_COUNTER, "mark"); }  // a caption the tool never writes
};

TEST_F(HungTest, EveryCommandThatWouldWaitForAHungWindowIsRefusedAtOnceAndChangesNothing) {
  HWND home = Keep(MakeTopWindow("home", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 40, 600, 300, 200));
  HWND p = Keep(MakeTopWindow("P", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 380, 600, 340, 240));
  SetWindowLongPtrA(home, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeChildOnRequestProc));
  HangingThread hung(home);
  ASSERT_TRUE(hung.top && hung.child && madeUnder && stayUnder);
  HWND local = MakeChildWindow(home, "local", 7);
  HWND ownedLater = Keep(MakeTopWindow("owned later"));
  const std::string localWas = StateOf(local, false);

  // While the thread answers: four changes, the second one out of its window, the third of its child.
  for (HWND w : {local, madeUnder, hung.child}) {
    Lock(w, p);
    Click(IDC_SETPARENT);
    ASSERT_EQ(GetAncestor(w, GA_PARENT), p);
  }
  HWND last = MakeChildWindow(home, "last", 8);
  const std::string lastWas = StateOf(last, false);
  Lock(last, p);
  Click(IDC_SETPARENT);
  ASSERT_EQ(Counter(), "4");
  ASSERT_TRUE(hung.Hang()) << "never taken for hung";

  // W hung, P hung, W's parent hung: no change is made nor recorded, the counter is not rewritten.
  const std::string childNow = StateOf(hung.child);
  const std::string childNowInP = StateOf(hung.child, false);
  const std::string ownedNow = StateOf(ownedLater);
  const std::string stayNow = StateOf(stayUnder);
  Mark();
  for (HWND w : {hung.child, ownedLater, stayUnder}) {
    Lock(w, w == ownedLater ? hung.top : p);
    EXPECT_LT(MsClicking(w == ownedLater ? IDC_SETOWNER : IDC_SETPARENT), kPromptMs) << Hex8(w);
  }
  EXPECT_EQ(Counter(), "mark");
  EXPECT_EQ(app.historyPos, 4u);
  EXPECT_EQ(StateOf(hung.child), childNow);
  EXPECT_EQ(StateOf(ownedLater), ownedNow);
  EXPECT_EQ(StateOf(stayUnder), stayNow);

  // Undo: the newest entry is undone; the next one names a hung window and is refused as it is.
  Click(IDC_UNDO);
  ASSERT_EQ(Counter(), "3");
  EXPECT_EQ(StateOf(last, false), lastWas);
  const HistoryEntry kept = app.history[2];
  Mark();
  EXPECT_LT(MsClicking(IDC_UNDO), kPromptMs);
  EXPECT_EQ(Counter(), "mark");
  EXPECT_EQ(app.historyPos, 3u);
  EXPECT_EQ(memcmp(&kept, &app.history[2], sizeof kept), 0);
  EXPECT_EQ(StateOf(hung.child, false), childNowInP);
  Click(IDC_REDO);
  ASSERT_EQ(Counter(), "4");

  // Every target command that makes a waiting call on T or P, and every window it would own.
  struct Command { int id; bool onP; } const commands[] = {
      {IDC_ENABLE, 0},    {IDC_MINIMIZE, 0}, {IDC_VISIBLE, 0}, {IDC_CLIPCHILD, 0}, {IDC_POPUP, 0},
      {IDC_CHILD, 0},     {IDC_ID, 0},       {IDC_TOPMOST, 0}, {IDC_NOTOPMOST, 0}, {IDC_ZTOP, 0},
      {IDC_ZBOTTOM, 0},   {IDC_TOOLWIN, 1},  {IDC_APPWIN, 1},  {IDC_ZUP, 1},       {IDC_ZDOWN, 1},
      {IDC_CREATEWND, 0}, {IDC_CREATEDLG, 0}, {IDC_DLGBOX, 0}, {IDC_MSGBOX, 0},
  };
  UINT_PTR guard = SetTimer(nullptr, 0, 2 * kPromptMs, EndStrayDialogsTimerProc);
  SetWindowTextA(app.hTreeCombo, "12");
  for (HWND t : {hung.top, hung.child, stayUnder}) {
    const std::string before = StateOf(t);
    for (const Command& c : commands) {
      app.hCommandTarget = c.onP ? p : t;
      app.hTargetP = c.onP ? t : p;
      EXPECT_LT(MsClicking(c.id), kPromptMs) << Hex8(t) << " command " << c.id;
      EXPECT_EQ(StateOf(t), before) << "command " << c.id;
    }
    EXPECT_TRUE(IsWindowVisible(t) && IsWindowEnabled(t) && !IsIconic(t));
  }
  KillTimer(nullptr, guard);
  EXPECT_EQ(app.testWindowCount, 0);
  EXPECT_STREQ(WindowText(app.hTreeCombo).c_str(), "12");

  // Closing: the entries of the hung child and of the window that left the hung parent are passed
  // over, newest first; the two around them are restored.
  const DWORD start = GetTickCount();
  SendMessageA(dlg_, WM_CLOSE, 0, 0);
  EXPECT_LT(GetTickCount() - start, 2 * kPromptMs);
  EXPECT_EQ(Counter(), "0");
  EXPECT_EQ(app.historyPos, 0u);
  EXPECT_EQ(app.historyTop, 0u);
  EXPECT_EQ(StateOf(local, false), localWas);
  EXPECT_EQ(StateOf(last, false), lastWas);
  ExpectRelations(madeUnder, ChildOfTop(p));
  ExpectRelations(hung.child, ChildOfTop(p));
  // Windows of this thread under the other one go while it answers: their parent's thread is told.
  ASSERT_TRUE(hung.Release());
  DestroyWindow(madeUnder);
  DestroyWindow(stayUnder);
  DestroyWindow(local);
  DestroyWindow(last);
}

}  // namespace
}  // namespace robust
