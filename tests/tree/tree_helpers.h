// Helpers of the window tree tests: reading the list back, the row a window must have, counting
// what a refresh sends to the combo box, and a second GUI thread with windows of its own.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"
#include "tree/tree.h"

struct ListRow {
  std::string line;
  LRESULT data;  // the item data, the whole pointer-sized value
};

// Every row of the tree combo box, read back through the combo box messages.
std::vector<ListRow> ListRows();
// Index of the row whose item data is w, or -1.
int RowIndexOf(HWND w);
// The line of w's row, or "(no row)".
std::string RowLineOf(HWND w);
std::string CountLabel();

// The row line a window must have, written the way a reader of the list sees it:
// handle, two spaces, top mark, space, prefix, space, class, six spaces, quoted text.
std::string ExpectedRow(HWND w, char topMark, const std::string& prefix, const std::string& cls,
                        const std::string& text);
// The highest top-level window that is not topmost, found by walking the Z-order.
HWND HighestNonTopmost();
// '=' for that window, ' ' for every other.
char ExpectedTopMark(HWND w);

// Counts the messages that change the list, sent to the combo box and the count label
// while it is alive; restores both procedures when it ends.
class ListChangeCounter {
 public:
  ListChangeCounter();
  ~ListChangeCounter();
  int resets() const;
  int additions() const;  // CB_ADDSTRING and CB_INSERTSTRING
  int itemData() const;
  int selections() const;
  int labelWrites() const;
  int total() const { return resets() + additions() + itemData() + selections() + labelWrites(); }
};

// A second GUI thread of this process with its own message loop. Run(fn) executes fn on that
// thread (windows created there belong to it) and waits, pumping this thread meanwhile.
class GuiThread {
 public:
  GuiThread();
  ~GuiThread();
  void Run(const std::function<void()>& fn);
  DWORD id() const { return id_; }

 private:
  std::thread thread_;
  std::atomic<DWORD> idAtomic_{0};
  DWORD id_ = 0;
};

// The main dialog with the inspection timer stopped: every refresh in these tests is one the
// test asks for.
class TreeTest : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
  }
  // Sends the row's selection notification as the combo box does after a click on a row.
  void SelectRow(int index);
  // Right button down on the list at the middle of a row, as the mouse brings it.
  void RightClickRow(int index);
  // Shows the list as a free window (the M/ command) unless it is visible already.
  void ShowFreeList();
};

// Registers (once) a window class with the given name whose procedure is DefWindowProcA.
void RegisterPlainClass(const char* name);
