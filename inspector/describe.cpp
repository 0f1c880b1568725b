// One row of the relationship report: a window's handle, Z-order place, style symbols, class,
// text, rectangle, id, process, thread and executable.
#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include "app/app_state.h"
#include "inspector/inspector.h"

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

HWND DescribeWindow(HWND h, char* report) {
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

BOOL CALLBACK CountZOrderProc(HWND w, LPARAM target) {
  ++app.enumCount;
  return w != reinterpret_cast<HWND>(target);
}
