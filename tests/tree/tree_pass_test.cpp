// Depth, prefix and thread mark of tree rows, which a pass takes from the rows above each row,
// against the test's own walk to the root: a chain 10 levels deep on two threads, and a window
// moved to another parent while the pass runs.
#include <atomic>
#include <thread>

#include "app/app_state.h"
#include "res/resource.h"
#include "support/test_support.h"
#include "tree/tree.h"
#include "tree/tree_helpers.h"

namespace {

using namespace tree_test;

// The prefix by the test's own walk: a '+' per step to the desktop or the message root, the
// first replaced by the mark that compares the window's thread with its parent's.
std::string WalkedPrefix(HWND w) {
  HWND parent = GetAncestor(w, GA_PARENT);
  int depth = 0;
  for (HWND up = w; up && up != app.hDesktop && up != app.hMessageRoot; up = GetAncestor(up, GA_PARENT))
    ++depth;
  bool same = GetWindowThreadProcessId(w, nullptr) == GetWindowThreadProcessId(parent, nullptr);
  std::string prefix(depth, '+');
  prefix[0] = depth == 1 ? (same ? '!' : '.') : (same ? ' ' : '?');
  return prefix;
}

// Every row of the list that names one of windows, against its walked prefix; returns how many.
int ExpectWalkedRows(const std::vector<HWND>& windows) {
  int checked = 0;
  for (const ListRow& row : ListRows()) {
    HWND w = reinterpret_cast<HWND>(row.data);
    if (std::find(windows.begin(), windows.end(), w) == windows.end()) continue;
    std::string prefix = WalkedPrefix(w);
    char topMark = prefix.size() == 1 ? TopMarkOf(w) : ' ';
    EXPECT_EQ(row.line, TreeLine(w, topMark, prefix, ClassOf(w), WindowText(w)));
    ++checked;
  }
  return checked;
}

// Asked for its text while armed, the mover hands the window it names to another parent.
HWND gMoved, gNewParent;
LRESULT CALLBACK MoverProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETTEXT && gMoved) SetParent(gMoved, gNewParent), gMoved = nullptr;
  return DefWindowProcA(w, msg, wp, lp);
}

class TreePass : public MainDialogTest {
  void SetUp() override { MainDialogTest::SetUp(), StopTimer(); }
};

TEST_F(TreePass, RowsAtDepthsOneToTenOnTwoThreadsAndAWindowMovedDuringThePass) {
  // level 1 (top-level) holds the mover, then x, then the chain of levels 2 to 10; level 6 is
  // thread B's, so levels 6 and 7 carry '?'. Children are listed in the order they were made.
  std::vector<HWND> chain = {MakeTopWindow("pass 1", WS_OVERLAPPEDWINDOW, 0, nullptr, 40, 560, 300, 200)};
  WNDCLASSEXA wc{sizeof wc, 0, MoverProc};
  wc.hInstance = GetModuleHandleA(nullptr), wc.lpszClassName = "TreePassMover";
  RegisterClassExA(&wc);
  CreateWindowExA(0, "TreePassMover", "pass mover", WS_CHILD, 0, 0, 9, 9, chain[0], nullptr, nullptr,
                  nullptr);
  HWND x = MakeChildWindow(chain[0], "pass x", 11);
  std::atomic<HWND> six{nullptr};
  std::atomic<bool> done{false};
  std::thread threadB;
  for (int d = 2; d <= 10; ++d) {
    std::string text = "pass " + std::to_string(d);
    if (d == 6) {
      threadB = std::thread([&] {
        six = MakeChildWindow(chain.back(), text.c_str(), d);
        for (MSG m; !done;) {
          while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
          MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
      });
      ASSERT_TRUE(PumpUntil([&] { return six != nullptr; }, 20000));
      chain.push_back(six);
    } else {
      chain.push_back(MakeChildWindow(chain.back(), text.c_str(), d));
    }
  }
  std::vector<HWND> family = chain;
  family.push_back(x);
  gMoved = x, gNewParent = chain.back();  // from depth 2 to depth 11, while the rebuild runs
  Click(IDC_FILTER_ALL);
  EXPECT_EQ(gMoved, nullptr) << "the mover was not asked";
  EXPECT_EQ(GetAncestor(x, GA_PARENT), chain.back());
  // x stands twice: once from its old parent's list, taken before the move, then under level 10.
  EXPECT_EQ(ExpectWalkedRows(family), 12);
  EXPECT_EQ(RowLineOf(chain[9]), TreeLine(chain[9], ' ', " +++++++++", "TestChild", "pass 10"));
  EXPECT_EQ(RowLineOf(chain[6]), TreeLine(chain[6], ' ', "?++++++", "TestChild", "pass 7"));
  // The next refresh finds x once, under level 10, and rebuilds; "Desc" counts from the desktop.
  RefreshTree();
  EXPECT_EQ(ExpectWalkedRows(family), 11);
  app.hTargetW = chain[4];
  Click(IDC_FILTER_DESC);
  EXPECT_EQ(ListRows().size(), 7u);
  EXPECT_EQ(ExpectWalkedRows(family), 7);
  DestroyWindow(chain[0]);  // thread B serves the request for level 6 until it is gone
  done = true;
  threadB.join();
}

}  // namespace
