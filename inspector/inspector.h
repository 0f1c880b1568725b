// The relationship report: one description row per window, the 100 ms tick, the report pane.
#pragma once
#include <windows.h>

#include "app/window_text.h"

// The column header that stands above the ten rows.
extern const char kReportHeader[];

constexpr int kReportRows = 10;
// The two short rows, in place of a window index.
constexpr int kMessageRowMark = -1;   // "HWND_MESSAGE"
constexpr int kNoWindowRowMark = -2;  // "0"

// What one row shows of a window, asked of the window once per report however many rows name it.
struct DescribedWindow {
  HWND h;
  BOOL valid;          // IsWindow, asked first
  const char* prefix;  // the tree the place counts in: " " the desktop's, "o" the message-only one
  HWND rootParent;     // GetAncestor(GetAncestor(h, GA_ROOT), GA_PARENT): where the place counts from
  DWORD place;         // 1-based place among the root parent's descendants; 0 for the two roots
  DWORD id, pid, tid;
  RECT rect;
  char symbols[8];
  char className[kWindowTextChars];
  char text[kWindowTextChars];
  char exe[kWindowTextChars];
};

// The rows of one report, gathered first and described together: each distinct window is asked
// once, one enumeration per window tree finds every place, and one process snapshot names every
// executable. Lives on the tick's stack; all zero to start.
struct ReportRows {
  int rowCount;
  int rowWindow[kReportRows];  // an index into windows, or one of the short rows' marks
  int windowCount;
  DescribedWindow windows[kReportRows];
};

// Adds the row for h and returns what its row stands for: h for a window, -3 for -3, and 0 for 0
// or a handle that names no window.
HWND AddReportRow(ReportRows& rows, HWND h);
// Describes the windows of the rows added and appends one row per add to report, which must have
// room for 365 characters per row. The symbols of the last full row stay in app.styleSymbols.
void AppendReportRows(ReportRows& rows, char* report);
// A report of one row.
HWND DescribeWindow(HWND h, char* report);

void InspectTick(HWND dlg);
void OnLockClicked(HWND dlg);
LRESULT CALLBACK ReportPaneProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
