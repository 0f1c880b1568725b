// The main dialog ticked by hand; the list and the report read back, checked for shape or exactly.
#pragma once
#include <regex>

#include "app/app_state.h"
#include "inspector/inspector.h"
#include "inspector/inspector_helpers.h"
#include "res/resource.h"
#include "support/test_support.h"
#include "tree/tree.h"
#include "tree/tree_helpers.h"

namespace robust {

using namespace tree_test;
using inspector_test::kHeader;

// The report of a W and a P that have both gone.
inline std::string AllGone() {
  std::string s = kHeader;
  for (int i = 0; i < 10; ++i) s += "\r\n\r\n  0";
  return s;
}

// The prefix of a window of depth 1: '!' on its parent's thread, '.' on another.
inline std::string TopLevelPrefix(HWND w) {
  DWORD parentThread = GetWindowThreadProcessId(GetAncestor(w, GA_PARENT), nullptr);
  return GetWindowThreadProcessId(w, nullptr) == parentThread ? "!" : ".";
}
// Why a list row is not one the tree can produce ("" when it is one).
inline std::string TreeRowFault(const ListRow& r) {
  static const std::regex shape(R"([0-9A-F]{8}  [ =] (?:[.!? ]\+*)? [\s\S]*      "[\s\S]*")");
  const std::string& s = r.line;
  bool ok = r.length == static_cast<LRESULT>(s.size()) && s.size() <= 255 &&
            (s == "HWND_DESKTOP"   ? r.data == 0
             : s == "HWND_MESSAGE" ? r.data == -3
                                   : std::regex_match(s, shape) && s.substr(0, 8) == Hex8(HWND(r.data)));
  return ok ? "" : "not a row of the tree: " + s;
}

// The report split at its CR LF CR LF: the header, then the rows.
inline std::vector<std::string> ReportParts(const std::string& report) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t end; (end = report.find("\r\n\r\n", start)) != std::string::npos; start = end + 4)
    parts.push_back(report.substr(start, end - start));
  parts.push_back(report.substr(start));
  return parts;
}
// Why a report is not the header and ten rows of at most 365 characters each ("" when it is).
inline std::string ReportFault(const std::string& report) {
  static const std::regex row(
      R"(  0|  HWND_MESSAGE|  [0-9A-F]{8}     [ o]\d{4,}     [ L][_T][XPCO][_mM][VH][ED][-+]     '[^\r\n]*')"
      R"(     '[^\r\n]*'      \[ -?\d+ , -?\d+ , -?\d+ \* -?\d+ \]      id_\d+_[0-9A-F]{4})"
      R"(    pid_\d+    tid_\d+    [^\r\n]*)");
  std::vector<std::string> parts = ReportParts(report);
  if (parts.size() != 11 || parts[0] != kHeader) return "not a header and ten rows: " + report;
  for (size_t i = 1; i < parts.size(); ++i)
    if (parts[i].size() + 4 > 365 || !std::regex_match(parts[i], row)) return "row " + parts[i];
  return "";
}

// The full report row of a window of the desktop's tree (without its CR LF CR LF), with symbols,
// class and text as the row must show them; the rest is read from the window now.
inline std::string ReportRow(HWND w, const char* symbols, const std::string& cls, const std::string& text) {
  DWORD pid = 0, size = MAX_PATH;
  GetWindowThreadProcessId(w, &pid);
  char path[MAX_PATH] = "";
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process) {
    QueryFullProcessImageNameA(process, 0, path, &size);
    CloseHandle(process);
  }
  const char* exe = std::max(strrchr(path, '\\'), strrchr(path, '/'));
  inspector_test::RowText row = {" ", inspector_test::EnumPosition(GetDesktopWindow(), w), symbols, cls, text,
                                 static_cast<DWORD>(GetWindowLongPtrA(w, GWLP_ID)), exe ? exe + 1 : path};
  return inspector_test::ExpectedRow(w, row).substr(4);
}
// A window class of this process with a name of any length up to 255, registered once.
inline void RegisterNamedClass(const std::string& name) {
  WNDCLASSEXA wc{sizeof wc, 0, DefWindowProcA}, found{sizeof found};
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name.c_str();
  EXPECT_TRUE(GetClassInfoExA(wc.hInstance, name.c_str(), &found) || RegisterClassExA(&wc)) << name;
}

// Logs, while alive, each message that would change what a still scene shows: list resets and
// additions and texts set into the tree combo box (0), the report pane (1) or the count label (2).
class Writes {
 public:
  Writes() {
    log.clear();
    HWND ws[3] = {app.hTreeCombo, app.hReportPane, GetDlgItem(app.hMainDlg, IDC_TREECOUNT)};
    for (int i = 0; i < 3; ++i) {
      w[i] = ws[i];
      old[i] = WNDPROC(SetWindowLongPtrA(w[i], GWLP_WNDPROC, LONG_PTR(LogProc)));
    }
  }
  ~Writes() {
    for (int i = 0; i < 3; ++i) SetWindowLongPtrA(w[i], GWLP_WNDPROC, LONG_PTR(old[i]));
  }
  static inline std::string log;
 private:
  static LRESULT CALLBACK LogProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    int i = h == w[0] ? 0 : h == w[1] ? 1 : 2;
    if (m == CB_RESETCONTENT || m == CB_ADDSTRING || m == CB_INSERTSTRING || m == WM_SETTEXT)
      log += "window " + std::to_string(i) + " message " + std::to_string(m) + "; ";
    return CallWindowProcA(old[i], h, m, wp, lp);
  }
  static inline HWND w[3];
  static inline WNDPROC old[3];
};

// The main dialog with the inspection timer stopped: every tick and refresh is the test's own.
class RobustTest : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
  }
  void TearDown() override {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) DestroyWindow(*it);
    MainDialogTest::TearDown();
  }
  HWND Keep(HWND w) {  // destroyed after the test, newest first
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
  void ShowMonitoredList() {
    Click(IDC_MONITOR);
    ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(app.hTreeList) != FALSE; }));
    RECT r;
    GetWindowRect(app.hTreeList, &r);
    app.monitorHeight = r.bottom - r.top;  // what a right click on the free list's caption sets
  }
  void ExpectWellFormedList() {
    for (const ListRow& row : ListRows()) EXPECT_EQ(TreeRowFault(row), "");
  }

  std::vector<HWND> windows_;
};

}  // namespace robust
