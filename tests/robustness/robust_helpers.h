// Shared pieces of the robustness tests: the main dialog ticked by hand, the list and the report
// read back and checked for shape, windows with classes and texts of any length, and a clock
// for liveness bounds.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "inspector/inspector.h"
#include "res/resource.h"
#include "support/test_support.h"
#include "tree/tree.h"

namespace robust {

struct ListRow {
  std::string line;
  LRESULT data;   // the item data, the whole pointer-sized value
  LRESULT length; // what CB_GETLBTEXTLEN answers
};

// Every row of the tree combo box, each read whole, however long it is.
std::vector<ListRow> ListRows();
int RowIndexOf(HWND w);
std::string RowLineOf(HWND w);  // "(no row)" when w has none

// The row line a window must have: handle, two spaces, top mark, space, prefix, space, class,
// six spaces, quoted text.
std::string TreeLine(HWND w, char topMark, const std::string& prefix, const std::string& cls,
                     const std::string& text);
// The highest top-level window that is not topmost: the one row that carries '='.
HWND HighestNonTopmost();
char TopMarkOf(HWND w);

// Why a list row is not a row the tree can produce ("" when it is one): a pseudo row with its
// pseudo-value, or handle (the item data's low 32 bits), mark, prefix, class and quoted text,
// no longer than 255 characters.
std::string TreeRowFault(const ListRow& row);

// The report split into its header and rows (each without its leading CR LF CR LF).
std::vector<std::string> ReportParts(const std::string& report);
// Why a report row is not one the description can produce ("" when it is one): "0",
// "HWND_MESSAGE" or a full row of the fifteen fields in their places.
std::string ReportRowFault(const std::string& row);
// Why a report is not a header and ten such rows ("" when it is).
std::string ReportFault(const std::string& report);

// 1-based place of w among the descendants of root in EnumChildWindows order; 0 when absent.
int EnumPlace(HWND root, HWND w);
// The file name of a process's executable, asked of the process itself.
std::string ExeOf(DWORD pid);
// The full report row of a window of the desktop's tree (without the leading CR LF CR LF), with
// the style symbols, class and text given as the row must show them; place, rectangle, id,
// process, thread and executable are read from the window now.
std::string ReportRow(HWND w, const std::string& symbols, const std::string& cls,
                      const std::string& text);

// Milliseconds that fn takes.
double ElapsedMs(const std::function<void()>& fn);

// A window class of this process named name (any length up to 255), registered once.
void RegisterNamedClass(const std::string& name);
// The first 62 characters: what a 64-character buffer read with a count of 63 holds.
std::string Cut62(const std::string& s);
// A text with each CR and LF made a space, as a report row shows it.
std::string OneLine(std::string s);

// The thread mark of a window of depth 1: '!' on its parent's thread, '.' on another.
char TopLevelThreadMark(HWND w);

// Counts, until destroyed, what would change what a still scene shows: CB_RESETCONTENT and
// additions to the tree combo box, texts set into the report pane and into the count label.
class Writes {
 public:
  Writes();
  ~Writes();
  Writes(const Writes&) = delete;
  Writes& operator=(const Writes&) = delete;
  int resets() const;
  int additions() const;
  int paneTexts() const;
  int labelTexts() const;
};

// The main dialog with the inspection timer stopped: every tick and refresh is the test's own.
class RobustTest : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
  }
  void TearDown() override {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
      if (IsWindow(*it)) DestroyWindow(*it);
    MainDialogTest::TearDown();
  }
  // Windows destroyed after the test, newest first.
  HWND Keep(HWND w) {
    EXPECT_NE(w, nullptr);
    windows_.push_back(w);
    return w;
  }
  void Lock(HWND w, HWND p) {
    app.hTargetW = w;
    app.hTargetP = p;
    app.lockW = TRUE;
    CheckDlgButton(dlg_, IDC_LOCK, BST_CHECKED);
  }
  void Tick() { InspectTick(dlg_); }
  std::vector<std::string> Rows() const { return ReportParts(app.report); }

  std::vector<HWND> windows_;
};

}  // namespace robust
