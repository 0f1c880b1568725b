// The tick's rows and the tree passes as they were before each row's place and each tree row's
// depth came from one pass: one Z-order walk and one process snapshot per row, one ancestor walk
// per tree row. The benchmark measures them in the same run as today's routines, as a reference.
// Kept verbatim but for the namespace and two names; nothing else uses them.
#pragma once
#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include "app/app_state.h"
#include "inspector/inspector.h"
#include "res/resource.h"

namespace reference {

BOOL CALLBACK CountZOrderProc(HWND w, LPARAM target);
BOOL CALLBACK EnumTreeProcBefore(HWND w, LPARAM pass);

namespace {

constexpr char kRowFormat[] =
    "\r\n\r\n  %8.8lX     %s%.4d     %s     '%s'     '%s'      [ %d , %d , %d * %d ]      "
    "id_%lu_%4.4lX    pid_%lu    tid_%lu    %s";
constexpr char kMessageRow[] = "\r\n\r\n  HWND_MESSAGE";
constexpr char kNoWindowRow[] = "\r\n\r\n  0";
constexpr char kStartSymbols[] = " _____-";

// Position 3 of the style symbols, indexed by (WS_POPUP ? 2 : 0) | (WS_CHILD ? 1 : 0).
constexpr char kKindSymbol[4] = {'O', 'C', 'P', 'X'};

// The fixed buffers of one row; the counts handed to the system leave room for the terminator.
constexpr int kFieldChars = 64;
constexpr int kFieldCount = 63;
constexpr int kRowChars = 512;

// Another program's window may be hung: never wait for it without a bound. SMTO_ABORTIFHUNG
// returns at once for a thread the system already considers hung.
void ReadWindowText(HWND w, char (&text)[kFieldChars]) {
  SendMessageTimeoutA(w, WM_GETTEXT, kFieldCount, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 100, nullptr);
  // A row is one line: line breaks of a multi-line text would push the rows off their labels.
  for (char* c = text; *c; ++c) {
    if (*c == '\r' || *c == '\n') *c = ' ';
  }
}

// The executable's file name of a process, from a process snapshot; "?" when the process is not
// in it or no snapshot can be had.
void ReadExeName(DWORD pid, char (&exe)[kFieldChars]) {
  lstrcpyA(exe, "?");
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, pid);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;  // the ANSI record: Process32First refuses any other size
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == pid) {
      // Cut before the directory part is stripped, so a long path never overruns the field.
      entry.szExeFile[kFieldCount] = '\0';
      lstrcpyA(exe, entry.szExeFile);
      PathStripPathA(exe);
      break;
    }
  }
  CloseHandle(snapshot);
}

void ReadStyleSymbols(HWND h) {
  lstrcpyA(app.styleSymbols, kStartSymbols);
  DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_EXSTYLE));
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE));
  if (exStyle & WS_EX_LAYERED) app.styleSymbols[0] = 'L';
  if (exStyle & WS_EX_TOPMOST) app.styleSymbols[1] = 'T';
  app.styleSymbols[2] = kKindSymbol[((style & WS_POPUP) ? 2 : 0) | ((style & WS_CHILD) ? 1 : 0)];
  // A window can answer both; the maximized mark is written last and so wins.
  if (IsIconic(h)) app.styleSymbols[3] = 'm';
  if (IsZoomed(h)) app.styleSymbols[3] = 'M';
  app.styleSymbols[4] = IsWindowVisible(h) ? 'V' : 'H';
  app.styleSymbols[5] = IsWindowEnabled(h) ? 'E' : 'D';
  if (style & WS_CLIPCHILDREN) app.styleSymbols[6] = '+';
}

// Fills app.enumCount with h's place among the descendants of its root parent (the desktop or
// the parent of message-only windows) and returns the prefix that names that tree.
const char* CountZOrder(HWND h) {
  app.enumCount = 0;
  HWND rootParent = GetAncestor(GetAncestor(h, GA_ROOT), GA_PARENT);
  // A window destroyed since the validity test has no root parent: it keeps the desktop's mark.
  const char* prefix = " ";
  if (h != app.hDesktop && rootParent != app.hDesktop &&
      (h == app.hMessageRoot || rootParent == app.hMessageRoot)) {
    prefix = "o";
  }
  // The two roots stand above every tree and keep the number 0.
  if (h != app.hDesktop && h != app.hMessageRoot) {
    EnumChildWindows(rootParent, CountZOrderProc, reinterpret_cast<LPARAM>(h));
  }
  return prefix;
}

void FormatRow(HWND h, char (&row)[kRowChars]) {
  char className[kFieldChars] = "";
  char text[kFieldChars] = "";
  char exe[kFieldChars] = "";
  const char* prefix = CountZOrder(h);
  GetClassNameA(h, className, kFieldCount);
  ReadWindowText(h, text);
  // GWLP_ID of a top-level window is its menu handle; only the low 16 bits are shown as the id.
  DWORD id = static_cast<DWORD>(GetWindowLongPtrA(h, GWLP_ID)) & 0xFFFF;
  ReadStyleSymbols(h);
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(h, &pid);
  ReadExeName(pid, exe);
  RECT r = {0, 0, 0, 0};
  GetWindowRect(h, &r);
  wsprintfA(row, kRowFormat, HandleBits(h), prefix, static_cast<int>(app.enumCount),
            app.styleSymbols, className, text, r.left, r.top, r.right - r.left, r.bottom - r.top,
            id, id, pid, tid, exe);
}

}  // namespace

inline HWND DescribeWindowBefore(HWND h, char* report) {
  BOOL isWindow = IsWindow(h);
  // HWND_MESSAGE is a pseudo-handle: it names the message-only tree, not a window.
  if (h == HWND_MESSAGE_VALUE) {
    lstrcatA(report, kMessageRow);
    return HWND_MESSAGE_VALUE;
  }
  if (h == nullptr || !isWindow) {
    lstrcatA(report, kNoWindowRow);
    return nullptr;
  }
  char row[kRowChars] = "";
  FormatRow(h, row);
  lstrcatA(report, row);
  return h;
}

inline BOOL CALLBACK CountZOrderProc(HWND w, LPARAM target) {
  ++app.enumCount;
  return w != reinterpret_cast<HWND>(target);
}

namespace tree {

constexpr LPARAM kComparePass = 0;
constexpr LPARAM kBuildPass = 1;

constexpr int kLineChars = 256;
constexpr int kNameChars = 64;
constexpr int kPrefixChars = 64;
constexpr int kLabelChars = 64;
constexpr UINT kTextTimeoutMs = 200;

// The thread mark that heads the tree prefix, indexed by [depth above 1][same thread as the parent].
constexpr char kThreadMark[2][2] = {{'.', '!'}, {'?', ' '}};

// Set by the compare pass at its first difference. The row counter alone cannot tell a
// difference at the first row from a pass that produced no row at all.
bool compareFoundDifference;

struct RowFacts {
  DWORD pid;
  DWORD tid;
  HWND parent;  // GetAncestor(GA_PARENT); none for the roots and the pseudo rows
  int depth;
  char topMark;
  char prefix[kPrefixChars];
  char line[kLineChars];
};

// The pseudo rows stand for the two roots: they show a word only and take the root's ids.
bool DescribePseudoRow(HWND w, RowFacts& row) {
  HWND root;
  if (w == HWND_DESKTOP_VALUE) {
    lstrcpyA(row.line, "HWND_DESKTOP");
    root = app.hDesktop;
  } else if (w == HWND_MESSAGE_VALUE) {
    lstrcpyA(row.line, "HWND_MESSAGE");
    root = app.hMessageRoot;
  } else {
    return false;
  }
  row.pid = 0;
  row.tid = GetWindowThreadProcessId(root, &row.pid);
  row.parent = nullptr;
  row.depth = 0;
  return true;
}

bool IsRoot(HWND w) { return w == app.hDesktop || w == app.hMessageRoot; }

// The thread of the latest row of each depth in this refresh. EnumChildWindows reports a
// window before its children, so a row's parent is the latest row one level up: its thread is
// known without another round trip to the server. The handle is compared, so a parent that is
// not that row (a window moved or destroyed during the pass) is asked for.
struct KnownThread {
  HWND w;
  DWORD tid;
};
KnownThread knownThreads[kPrefixChars];

void ForgetKnownThreads() {
  for (KnownThread& known : knownThreads) known = KnownThread{nullptr, 0};
}

DWORD ThreadOfParent(HWND parent, int depth) {
  const KnownThread& known = knownThreads[depth - 1];
  if (parent && known.w == parent) return known.tid;
  return GetWindowThreadProcessId(parent, nullptr);
}

// Depth counts the steps up to the desktop or the message root. A window destroyed during the
// pass has no parent any more, and the prefix has room for 63 marks: either ends the walk.
// The walk's first step is the parent that the thread mark compares with.
int BuildPrefix(HWND w, RowFacts& row) {
  row.parent = GetAncestor(w, GA_PARENT);
  int depth = 0;
  row.prefix[depth++] = '+';
  for (HWND current = row.parent; current && !IsRoot(current) && depth < kPrefixChars - 1;
       current = GetAncestor(current, GA_PARENT)) {
    row.prefix[depth++] = '+';
  }
  row.prefix[depth] = '\0';
  DWORD parentTid = ThreadOfParent(row.parent, depth);
  row.prefix[0] = kThreadMark[depth > 1 ? 1 : 0][row.tid == parentTid ? 1 : 0];
  return depth;
}

// Only the first top-level window of a pass that is not topmost gets '='; the desktop part
// lists top-level windows in Z-order from the top, so that is the highest of them.
char TopMark(HWND w, int depth) {
  if (depth != 1 || app.topTopLevelCount != 0) return ' ';
  if (GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) return ' ';
  app.topTopLevelCount = 1;
  return '=';
}

// Everything the filters look at: ids, depth, marks.
void PlaceInTree(HWND w, RowFacts& row) {
  row.pid = 0;
  row.tid = GetWindowThreadProcessId(w, &row.pid);
  row.prefix[0] = '\0';
  row.parent = nullptr;
  row.depth = IsRoot(w) ? 0 : BuildPrefix(w, row);
  row.topMark = TopMark(w, row.depth);
  knownThreads[row.depth] = KnownThread{w, row.tid};
}

// The tree combo box and its edit field answer with the selected row, which every rebuild sets
// anew. Read as rows they would differ after each rebuild, and a monitored list would rebuild
// on every tick: their rows show no text.
bool ShowsTheSelection(HWND w, const RowFacts& row) {
  return w == app.hTreeCombo || row.parent == app.hTreeCombo;
}

// Class and text are fetched only for rows that pass: a text request to another program
// costs a round trip, and up to the time-out for a window that does not answer.
void WriteWindowLine(HWND w, RowFacts& row) {
  // A window that goes away meanwhile leaves both requests unanswered: empty texts serve.
  char className[kNameChars] = "";
  GetClassNameA(w, className, kNameChars - 1);
  char text[kNameChars] = "";
  // Another program's window may hang: the request is bounded and gives up on a hung thread.
  if (!ShowsTheSelection(w, row)) {
    SendMessageTimeoutA(w, WM_GETTEXT, kNameChars - 1, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, kTextTimeoutMs, nullptr);
  }
  text[kNameChars - 1] = '\0';  // a foreign window procedure need not terminate what it copies

  char topMark[2] = {row.topMark, '\0'};
  wsprintfA(row.line, "%8.8lX  %s %s %s      \"%s\"", HandleBits(w), topMark, row.prefix,
            className, text);
}

// Only geometry counts: hidden windows pass like visible ones. A pseudo value has no
// rectangle and so never lies under the cursor.
bool LiesUnderCursor(HWND w) {
  POINT cursor;
  RECT r;
  if (!GetCursorPos(&cursor) || !GetWindowRect(w, &r)) return false;
  // PtInRect counts the left and top edges in, the right and bottom edges out.
  if (!PtInRect(&r, cursor)) return false;
  switch (GetWindowRgn(w, app.hHitRegion)) {
    case NULLREGION:
      return false;
    case SIMPLEREGION:
    case COMPLEXREGION:
      // A window region is kept in window coordinates.
      return PtInRegion(app.hHitRegion, cursor.x - r.left, cursor.y - r.top) != FALSE;
    default:
      return true;  // ERROR: the window has no region, the rectangle decides alone
  }
}

bool PassesFilter(HWND w, const RowFacts& row) {
  switch (app.treeFilter) {
    case TreeFilter::TopL:  return row.depth <= 1;
    case TreeFilter::Pid:   return row.pid == app.pidP;
    case TreeFilter::Tid:   return row.tid == app.tidP;
    case TreeFilter::Point: return LiesUnderCursor(w);
    default:                return true;  // All, Desc
  }
}

// A list item that does not exist, or one too long for the buffer, differs from any row.
bool ItemMatches(DWORD index, const char* line) {
  LRESULT length = SendMessageA(app.hTreeCombo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR || length >= kLineChars) return false;
  char item[kLineChars];
  if (SendMessageA(app.hTreeCombo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item)) == CB_ERR)
    return false;
  return lstrcmpA(item, line) == 0;
}

void AddRow(HWND w, DWORD index, const char* line) {
  // The combo box does not sort: every addition lands at the end, at the row's own index.
  SendMessageA(app.hTreeCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
  SendMessageA(app.hTreeCombo, CB_SETITEMDATA, index, reinterpret_cast<LPARAM>(w));
  if (w == app.hTargetP) SendMessageA(app.hTreeCombo, CB_SETCURSEL, index, 0);
}

// One part of a pass: the pseudo row, the root's own row, then everything below the root.
// Returns false once the compare pass has found a difference.
bool RunPart(HWND pseudo, HWND root, LPARAM pass) {
  if (!EnumTreeProcBefore(pseudo, pass) || !EnumTreeProcBefore(root, pass)) return false;
  EnumChildWindows(root, EnumTreeProcBefore, pass);
  return !(pass == kComparePass && compareFoundDifference);
}

// Starts a build pass. A list that is already empty is left alone: emptying it again would
// only clear the edit field, which the text commands read as their input.
void StartBuild() {
  app.enumCount = 0;
  if (compareFoundDifference || SendMessageA(app.hTreeCombo, CB_GETCOUNT, 0, 0) > 0)
    SendMessageA(app.hTreeCombo, CB_RESETCONTENT, 0, 0);
}

// The rows produced all matched. A pass that produced no row at all still builds, so that the
// list and the label never keep rows of windows that no longer pass.
bool ListIsCurrent() { return !compareFoundDifference && app.enumCount != 0; }

void WriteCountLabel(const char* text) {
  char current[kLabelChars];
  GetDlgItemTextA(app.hMainDlg, IDC_TREECOUNT, current, kLabelChars - 1);
  if (lstrcmpA(current, text) != 0) SetDlgItemTextA(app.hMainDlg, IDC_TREECOUNT, text);
}

void RefreshDescendants() {
  // The list of W's descendants is what the lock is for: the tick keeps W while it is set.
  app.lockW = TRUE;
  SendDlgItemMessageA(app.hMainDlg, IDC_LOCK, BM_SETCHECK, BST_CHECKED, 0);

  // W passes unchanged, pseudo-values included; this list never resets the '=' mark.
  HWND w = app.hTargetW;
  if (EnumTreeProcBefore(w, kComparePass)) EnumChildWindows(w, EnumTreeProcBefore, kComparePass);
  if (ListIsCurrent()) return;

  StartBuild();
  EnumTreeProcBefore(w, kBuildPass);
  EnumChildWindows(w, EnumTreeProcBefore, kBuildPass);
  char label[kLabelChars];
  wsprintfA(label, "%lu", app.enumCount);
  WriteCountLabel(label);
}

void RefreshWholeTree() {
  app.topTopLevelCount = 0;
  if (RunPart(HWND_DESKTOP_VALUE, app.hDesktop, kComparePass))
    RunPart(HWND_MESSAGE_VALUE, app.hMessageRoot, kComparePass);
  if (ListIsCurrent()) return;

  app.topTopLevelCount = 0;
  StartBuild();
  RunPart(HWND_DESKTOP_VALUE, app.hDesktop, kBuildPass);
  DWORD desktopCount = app.enumCount;
  RunPart(HWND_MESSAGE_VALUE, app.hMessageRoot, kBuildPass);
  char label[kLabelChars];
  wsprintfA(label, "%lu   o%lu", desktopCount, app.enumCount - desktopCount);
  WriteCountLabel(label);
}

}  // namespace tree
using namespace tree;

inline void RefreshTree() {
  // The pseudo-values name no window: their ids are those of the roots they stand for.
  HWND asked = app.hTargetP;
  if (asked == HWND_DESKTOP_VALUE) asked = app.hDesktop;
  if (asked == HWND_MESSAGE_VALUE) asked = app.hMessageRoot;
  DWORD pid = 0;
  app.tidP = GetWindowThreadProcessId(asked, &pid);
  app.pidP = pid;

  app.enumCount = 0;
  compareFoundDifference = false;
  ForgetKnownThreads();
  if (app.treeFilter == TreeFilter::Desc) {
    RefreshDescendants();
  } else {
    RefreshWholeTree();
  }
}

inline BOOL CALLBACK EnumTreeProcBefore(HWND w, LPARAM pass) {
  RowFacts row;
  bool pseudo = DescribePseudoRow(w, row);
  if (!pseudo) PlaceInTree(w, row);
  if (!PassesFilter(w, row)) return TRUE;
  if (!pseudo) WriteWindowLine(w, row);

  DWORD index = app.enumCount++;
  if (pass == kBuildPass) {
    AddRow(w, index, row.line);
    return TRUE;
  }
  if (ItemMatches(index, row.line)) return TRUE;
  app.enumCount = 0;
  compareFoundDifference = true;
  return FALSE;
}

namespace tick {

void SetCommandTarget(HWND dlg) {
  bool targetIsW = IsDlgButtonChecked(dlg, IDC_TARGET) != BST_UNCHECKED;
  app.hCommandTarget = targetIsW ? app.hTargetW : app.hTargetP;
  const char* wanted = targetIsW ? "W" : "P";
  // Rewriting a caption repaints the button: write it only when it is not already the letter.
  char caption[64] = "";
  SendDlgItemMessageA(dlg, IDC_TARGET, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(caption));
  if (caption[0] != wanted[0] || caption[1] != '\0') {
    SendDlgItemMessageA(dlg, IDC_TARGET, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wanted));
  }
}

// Descends from the desktop to the deepest window under the cursor. Each level asks only for
// the direct child at the point, in that parent's client coordinates.
HWND FindWindowUnderCursor(HWND dlg) {
  POINT pt;
  GetCursorPos(&pt);
  bool real = IsDlgButtonChecked(dlg, IDC_REAL) != BST_UNCHECKED;
  HWND current = app.hDesktop;
  HWND previous = app.hDesktop;
  for (;;) {
    MapWindowPoints(previous, current, &pt, 1);
    // Without "real", hidden windows are passed over but disabled and transparent ones are found.
    HWND child = real ? RealChildWindowFromPoint(current, pt)
                      : ChildWindowFromPointEx(current, pt, CWP_SKIPINVISIBLE);
    if (child == nullptr || child == current) return current;
    previous = current;
    current = child;
  }
}

void PickW(HWND dlg, HWND inspected) {
  app.lockW = TRUE;
  SendDlgItemMessageA(dlg, IDC_LOCK, BM_SETCHECK, BST_CHECKED, 0);
  app.hTargetW = inspected;
}

void PickP(HWND, HWND inspected) {
  app.hTargetP = inspected;
  GetCursorPos(&app.ptF9);
}

struct PickKey {
  int vk;
  void (*pick)(HWND dlg, HWND inspected);
};

// The keys are polled rather than received as messages, so they work whichever program has the
// keyboard focus. The most significant bit of GetAsyncKeyState means "down now".
constexpr PickKey kPickKeys[] = {
    {VK_F8, PickW},
    {VK_F9, PickP},
};

HWND FindInspectedWindow(HWND dlg) {
  if (app.lockW) return app.hTargetW;
  HWND inspected = FindWindowUnderCursor(dlg);
  for (const PickKey& key : kPickKeys) {
    if (GetAsyncKeyState(key.vk) & 0x8000) key.pick(dlg, inspected);
  }
  return inspected;
}

HWND OwnerOf(HWND w) { return GetWindow(w, GW_OWNER); }
HWND HwndParentOf(HWND w) { return reinterpret_cast<HWND>(GetWindowLongPtrA(w, GWLP_HWNDPARENT)); }
HWND ParentOf(HWND w) { return GetParent(w); }
HWND AncestorParentOf(HWND w) { return GetAncestor(w, GA_PARENT); }
HWND RootOf(HWND w) { return GetAncestor(w, GA_ROOT); }
HWND RootOwnerOf(HWND w) { return GetAncestor(w, GA_ROOTOWNER); }

// Rows 3 to 8: the inspected window's relations, in the order of the legend's labels.
constexpr HWND (*kRelations[])(HWND) = {
    OwnerOf, HwndParentOf, ParentOf, AncestorParentOf, RootOf, RootOwnerOf,
};

// A popup query that answers P itself means P has no such popup.
HWND PopupOtherThanP(HWND popup) { return popup == app.hTargetP ? nullptr : popup; }

void AppendRows(HWND inspected) {
  // A W that has gone keeps its handle; a P that has gone is forgotten.
  DescribeWindowBefore(inspected, app.report);
  app.hTargetP = DescribeWindowBefore(app.hTargetP, app.report);
  for (HWND (*relation)(HWND) : kRelations) DescribeWindowBefore(relation(inspected), app.report);
  DescribeWindowBefore(PopupOtherThanP(GetWindow(app.hTargetP, GW_ENABLEDPOPUP)), app.report);
  DescribeWindowBefore(PopupOtherThanP(GetLastActivePopup(app.hTargetP)), app.report);
}

// Setting a static's text repaints it: a still scene must cause no repainting.
void ShowReportIfChanged(HWND dlg) {
  if (lstrcmpA(app.report, app.prevReport) == 0) return;
  lstrcpyA(app.prevReport, app.report);
  SendDlgItemMessageA(dlg, IDC_REPORT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(app.prevReport));
}

}  // namespace tick

inline void InspectTick(HWND dlg) {
  // Uses W and P as they were before this tick's keys: a pick reaches the command target one
  // tick later.
  tick::SetCommandTarget(dlg);
  lstrcpyA(app.report, kReportHeader);
  tick::AppendRows(tick::FindInspectedWindow(dlg));
  tick::ShowReportIfChanged(dlg);
  // The monitor step's refresh; the benchmark keeps the list visible whenever the monitor is on.
  if (app.monitorHeight != 0 && IsWindowVisible(app.hTreeList)) RefreshTree();
}


}  // namespace reference
