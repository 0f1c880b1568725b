// The filtered window tree: one combo box row per window, compared before it is rebuilt.
#include "app/app_state.h"
#include "app/window_text.h"
#include "res/resource.h"
#include "tree/tree.h"

namespace {

constexpr LPARAM kComparePass = 0;
constexpr LPARAM kBuildPass = 1;

constexpr int kLineChars = 256;
constexpr int kNameChars = kWindowTextChars;
constexpr int kPrefixChars = kTreeDepths;
constexpr int kLabelChars = 64;
constexpr UINT kTextTimeoutMs = 200;

// The thread mark that heads the tree prefix, indexed by [depth above 1][same thread as the parent].
constexpr char kThreadMark[2][2] = {{'.', '!'}, {'?', ' '}};

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

void ForgetTreePath() {
  for (TreePathStep& step : app.treePath) step = TreePathStep{nullptr, 0};
  app.treePathDepth = 0;
}

// A row's parent is the latest row one level up, so its depth and thread are known without a
// round trip per level. The handle is compared: a parent that is not on the path (a window moved
// or destroyed during the pass) is asked for, level by level, as a window whose ancestors this
// pass has not reported (W under "Desc").
int DepthOnPath(HWND parent) {
  if (parent == nullptr || IsRoot(parent)) return 1;
  for (int depth = app.treePathDepth; depth >= 1; --depth) {
    if (app.treePath[depth].w == parent) return depth + 1 < kPrefixChars ? depth + 1 : kPrefixChars - 1;
  }
  return 0;
}

// The walk to the desktop or the message root. A window destroyed during the pass has no parent
// any more, and the prefix has room for 63 marks: either ends the walk.
int WalkToRoot(HWND parent) {
  int depth = 1;
  for (HWND current = parent; current && !IsRoot(current) && depth < kPrefixChars - 1;
       current = GetAncestor(current, GA_PARENT)) {
    ++depth;
  }
  return depth;
}

DWORD ThreadOfParent(HWND parent, int depth) {
  const TreePathStep& step = app.treePath[depth - 1];
  if (parent && step.w == parent) return step.tid;
  return GetWindowThreadProcessId(parent, nullptr);
}

// Depth counts the steps up to the desktop or the message root: a '+' for each, the first
// replaced by the thread mark, which compares the row's thread with its parent's.
int BuildPrefix(HWND w, RowFacts& row) {
  row.parent = GetAncestor(w, GA_PARENT);
  int depth = DepthOnPath(row.parent);
  if (depth == 0) {
    depth = WalkToRoot(row.parent);
    // The rows above are not this row's ancestors: none of them may stand for one.
    for (int above = 1; above < depth; ++above) app.treePath[above] = TreePathStep{nullptr, 0};
  }
  for (int i = 0; i < depth; ++i) row.prefix[i] = '+';
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
  app.treePath[row.depth] = TreePathStep{w, row.tid};
  app.treePathDepth = row.depth;
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
  if (!ShowsTheSelection(w, row)) ReadWindowText(w, text, kTextTimeoutMs);

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
  if (!EnumTreeProc(pseudo, pass) || !EnumTreeProc(root, pass)) return false;
  EnumChildWindows(root, EnumTreeProc, pass);
  return !(pass == kComparePass && app.compareFoundDifference);
}

// Starts a build pass. A list that is already empty is left alone: emptying it again would
// only clear the edit field, which the text commands read as their input. A shown list would
// repaint and reset its scroll bar at every addition, round trips to the server each: it is
// drawn once, when the pass ends. A hidden one is left as it is, since the default handling of
// WM_SETREDRAW marks a window visible. Returns whether the drawing waits for FinishBuild.
bool StartBuild() {
  app.enumCount = 0;
  ForgetTreePath();
  bool drawLater = IsWindowVisible(app.hTreeList) != FALSE;
  if (drawLater) SendMessageA(app.hTreeList, WM_SETREDRAW, FALSE, 0);
  if (app.compareFoundDifference || SendMessageA(app.hTreeCombo, CB_GETCOUNT, 0, 0) > 0)
    SendMessageA(app.hTreeCombo, CB_RESETCONTENT, 0, 0);
  return drawLater;
}

void FinishBuild(bool drawLater) {
  if (!drawLater) return;
  SendMessageA(app.hTreeList, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(app.hTreeList, nullptr, TRUE);
}

// The rows produced all matched. A pass that produced no row at all still builds, so that the
// list and the label never keep rows of windows that no longer pass.
bool ListIsCurrent() { return !app.compareFoundDifference && app.enumCount != 0; }

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
  if (EnumTreeProc(w, kComparePass)) EnumChildWindows(w, EnumTreeProc, kComparePass);
  if (ListIsCurrent()) return;

  bool drawLater = StartBuild();
  EnumTreeProc(w, kBuildPass);
  EnumChildWindows(w, EnumTreeProc, kBuildPass);
  FinishBuild(drawLater);
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
  bool drawLater = StartBuild();
  RunPart(HWND_DESKTOP_VALUE, app.hDesktop, kBuildPass);
  DWORD desktopCount = app.enumCount;
  RunPart(HWND_MESSAGE_VALUE, app.hMessageRoot, kBuildPass);
  FinishBuild(drawLater);
  char label[kLabelChars];
  wsprintfA(label, "%lu   o%lu", desktopCount, app.enumCount - desktopCount);
  WriteCountLabel(label);
}

}  // namespace

void RefreshTree() {
  // The pseudo-values name no window: their ids are those of the roots they stand for.
  HWND asked = app.hTargetP;
  if (asked == HWND_DESKTOP_VALUE) asked = app.hDesktop;
  if (asked == HWND_MESSAGE_VALUE) asked = app.hMessageRoot;
  DWORD pid = 0;
  app.tidP = GetWindowThreadProcessId(asked, &pid);
  app.pidP = pid;

  app.enumCount = 0;
  app.compareFoundDifference = false;
  ForgetTreePath();
  if (app.treeFilter == TreeFilter::Desc) {
    RefreshDescendants();
  } else {
    RefreshWholeTree();
  }
}

BOOL CALLBACK EnumTreeProc(HWND w, LPARAM pass) {
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
  app.compareFoundDifference = true;
  return FALSE;
}
