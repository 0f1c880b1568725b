// The relationship report: one description row per window, the 100 ms tick, the report pane.
#pragma once
#include <windows.h>

// The column header that stands above the ten rows.
extern const char kReportHeader[];

// Appends one row for h to report (which must have room for 365 more characters) and returns
// h for a window, -3 for -3, and 0 for 0 or a handle that names no window.
HWND DescribeWindow(HWND h, char* report);
BOOL CALLBACK CountZOrderProc(HWND w, LPARAM target);

void InspectTick(HWND dlg);
void OnLockClicked(HWND dlg);
LRESULT CALLBACK ReportPaneProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
