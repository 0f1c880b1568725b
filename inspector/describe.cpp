// One row of the relationship report: a window's handle, Z-order place, style symbols, class,
// text, rectangle, id, process, thread and executable. The rows of one report are described
// together, so that what they share is asked once.
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

constexpr int kFieldCount = kWindowTextChars - 1;
constexpr int kRowChars = 512;
constexpr UINT kTextTimeoutMs = 100;

// A row is one line: line breaks of a multi-line text would push the rows off their labels.
void FlattenLineBreaks(char* text) {
  for (char* c = text; *c; ++c) {
    if (*c == '\r' || *c == '\n') *c = ' ';
  }
}

void ReadStyleSymbols(DescribedWindow& d) {
  HWND h = d.h;
  lstrcpyA(d.symbols, kStartSymbols);
  DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_EXSTYLE));
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE));
  if (exStyle & WS_EX_LAYERED) d.symbols[0] = 'L';
  if (exStyle & WS_EX_TOPMOST) d.symbols[1] = 'T';
  d.symbols[2] = kKindSymbol[((style & WS_POPUP) ? 2 : 0) | ((style & WS_CHILD) ? 1 : 0)];
  // A window can answer both; the maximized mark is written last and so wins.
  if (IsIconic(h)) d.symbols[3] = 'm';
  if (IsZoomed(h)) d.symbols[3] = 'M';
  d.symbols[4] = IsWindowVisible(h) ? 'V' : 'H';
  d.symbols[5] = IsWindowEnabled(h) ? 'E' : 'D';
  if (style & WS_CLIPCHILDREN) d.symbols[6] = '+';
}

// The tree a window's place counts in. The desktop and the message root stand above every
// tree and keep the place 0; a window destroyed since the validity test has no root parent,
// and keeps the desktop's mark.
void FindRootParent(DescribedWindow& d) {
  d.prefix = " ";
  if (d.h == app.hDesktop) return;  // its own place and prefix need no root parent
  d.rootParent = GetAncestor(GetAncestor(d.h, GA_ROOT), GA_PARENT);
  if (d.rootParent != app.hDesktop && (d.h == app.hMessageRoot || d.rootParent == app.hMessageRoot))
    d.prefix = "o";
}

bool NeedsPlace(const DescribedWindow& d) {
  return d.valid && d.h != app.hDesktop && d.h != app.hMessageRoot;
}

// One walk over the descendants of one root parent, which notes the place of each of the
// report's windows it meets and stops after the last of them.
struct PlaceWalk {
  DescribedWindow* targets[kReportRows];
  int targetCount;
  int unmet;
  DWORD count;
};

BOOL CALLBACK CountPlacesProc(HWND w, LPARAM lp) {
  PlaceWalk& walk = *reinterpret_cast<PlaceWalk*>(lp);
  ++walk.count;
  for (int i = 0; i < walk.targetCount; ++i) {
    DescribedWindow& d = *walk.targets[i];
    if (d.h == w && d.place == 0) {
      d.place = walk.count;
      --walk.unmet;
    }
  }
  return walk.unmet > 0;
}

// Each window's place counts the windows that EnumChildWindows reports under its root parent up
// to and including it; a window the walk does not meet (it went or moved meanwhile) gets the
// number of windows the walk reported. The windows of one root parent share one walk.
void FindPlaces(ReportRows& rows) {
  bool walked[kReportRows] = {};
  for (int first = 0; first < rows.windowCount; ++first) {
    DescribedWindow& lead = rows.windows[first];
    if (walked[first] || !NeedsPlace(lead)) continue;
    PlaceWalk walk = {};
    for (int i = first; i < rows.windowCount; ++i) {
      DescribedWindow& d = rows.windows[i];
      if (walked[i] || !NeedsPlace(d) || d.rootParent != lead.rootParent) continue;
      walked[i] = true;
      walk.targets[walk.targetCount++] = &d;
    }
    walk.unmet = walk.targetCount;
    EnumChildWindows(lead.rootParent, CountPlacesProc, reinterpret_cast<LPARAM>(&walk));
    for (int i = 0; i < walk.targetCount; ++i) {
      if (walk.targets[i]->place == 0) walk.targets[i]->place = walk.count;
    }
  }
}

void ReadWindowFacts(DescribedWindow& d) {
  HWND h = d.h;
  GetClassNameA(h, d.className, kFieldCount);
  ReadWindowText(h, d.text, kTextTimeoutMs);
  FlattenLineBreaks(d.text);
  // GWLP_ID of a top-level window is its menu handle; only the low 16 bits are shown as the id.
  d.id = static_cast<DWORD>(GetWindowLongPtrA(h, GWLP_ID)) & 0xFFFF;
  ReadStyleSymbols(d);
  d.tid = GetWindowThreadProcessId(h, &d.pid);
  GetWindowRect(h, &d.rect);
}

// The executables' file names from one process snapshot; "?" for a process that is not in it or
// when no snapshot can be had. Each step of the walk is a round trip: it ends once every
// process is named.
void ReadExeNames(ReportRows& rows) {
  int unnamed = 0;
  for (int i = 0; i < rows.windowCount; ++i) {
    lstrcpyA(rows.windows[i].exe, "?");
    unnamed += rows.windows[i].valid ? 1 : 0;
  }
  if (unnamed == 0) return;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;  // the ANSI record: Process32First refuses any other size
  for (BOOL more = Process32First(snapshot, &entry); more && unnamed > 0;
       more = Process32Next(snapshot, &entry)) {
    // Cut before the directory part is stripped, so a long path never overruns the field.
    entry.szExeFile[kFieldCount] = '\0';
    for (int i = 0; i < rows.windowCount; ++i) {
      DescribedWindow& d = rows.windows[i];
      // No file name holds '?': a field that starts with it is still unnamed.
      if (!d.valid || d.pid != entry.th32ProcessID || d.exe[0] != '?') continue;
      lstrcpyA(d.exe, entry.szExeFile);
      PathStripPathA(d.exe);
      --unnamed;
    }
  }
  CloseHandle(snapshot);
}

void FormatRow(const DescribedWindow& d, char (&row)[kRowChars]) {
  const RECT& r = d.rect;
  wsprintfA(row, kRowFormat, HandleBits(d.h), d.prefix, static_cast<int>(d.place), d.symbols,
            d.className, d.text, r.left, r.top, r.right - r.left, r.bottom - r.top, d.id, d.id,
            d.pid, d.tid, d.exe);
}

}  // namespace

HWND AddReportRow(ReportRows& rows, HWND h) {
  if (rows.rowCount == kReportRows) return nullptr;  // a report has ten rows; no more fit
  int& slot = rows.rowWindow[rows.rowCount++];
  // HWND_MESSAGE is a pseudo-handle: it names the message-only tree, not a window.
  if (h == HWND_MESSAGE_VALUE) {
    slot = kMessageRowMark;
    return HWND_MESSAGE_VALUE;
  }
  slot = kNoWindowRowMark;
  if (h == nullptr) return nullptr;
  for (int i = 0; i < rows.windowCount; ++i) {
    if (rows.windows[i].h == h) slot = i;
  }
  if (slot == kNoWindowRowMark) {
    slot = rows.windowCount++;
    rows.windows[slot].h = h;
    rows.windows[slot].valid = IsWindow(h);
  }
  if (!rows.windows[slot].valid) {
    slot = kNoWindowRowMark;
    return nullptr;
  }
  return h;
}

void AppendReportRows(ReportRows& rows, char* report) {
  for (int i = 0; i < rows.windowCount; ++i) {
    if (rows.windows[i].valid) FindRootParent(rows.windows[i]);
  }
  FindPlaces(rows);
  for (int i = 0; i < rows.windowCount; ++i) {
    if (rows.windows[i].valid) ReadWindowFacts(rows.windows[i]);
  }
  ReadExeNames(rows);
  for (int k = 0; k < rows.rowCount; ++k) {
    int slot = rows.rowWindow[k];
    if (slot == kMessageRowMark) {
      lstrcatA(report, kMessageRow);
    } else if (slot == kNoWindowRowMark) {
      lstrcatA(report, kNoWindowRow);
    } else {
      char row[kRowChars];
      FormatRow(rows.windows[slot], row);
      lstrcatA(report, row);
      lstrcpyA(app.styleSymbols, rows.windows[slot].symbols);
    }
  }
}

HWND DescribeWindow(HWND h, char* report) {
  ReportRows rows = {};
  HWND shown = AddReportRow(rows, h);
  AppendReportRows(rows, report);
  return shown;
}
