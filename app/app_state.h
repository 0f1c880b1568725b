// The program's whole state: one record, alive for the whole run, all zero at start and
// touched only on the GUI thread.
#pragma once
#include <windows.h>

// Pseudo-values that take part in comparisons, texts and item data.
#define HWND_DESKTOP_VALUE reinterpret_cast<HWND>(0)
#define HWND_MESSAGE_VALUE reinterpret_cast<HWND>(-3)

// The header (144 characters) and ten full rows of at most 365 characters need 3795 characters
// with the terminator; the report buffers are sized for the worst case so no append can overrun.
constexpr int kReportChars = 4096;
constexpr int kHistorySlots = 64;
constexpr int kHistoryLimit = 63;  // a change is accepted only while historyPos is below this

// The deepest row the tree tells apart: its prefix holds 63 characters.
constexpr int kTreeDepths = 64;

// Which windows the tree list shows; a 32-bit value, 0 ("Top-L") at start.
enum class TreeFilter : DWORD { TopL = 0, All = 1, Pid = 2, Tid = 3, Desc = 4, Point = 5 };

// One recorded change of parent or owner. Each undo or redo step exchanges the entry with the live
// state of hWindow, so the entry always holds what the next step needs.
struct HistoryEntry {
  // Which call changes the relation; a 32-bit field like every other one of the entry.
  enum class Kind : DWORD {
    SetParent = 0,  // SetParent
    SetOwner = 1,   // SetWindowLongPtr(GWLP_HWNDPARENT)
  };
  HWND hWindow;
  HWND hParent;   // the parent after the next step; 0 stands for the desktop window
  LONG left, top, right, bottom;  // in client coordinates of hParent
  DWORD exStyle;
  DWORD style;
  Kind kind;      // never changes
  HWND hRelation; // what the next step passes to that call
  DWORD id;
};

// A row of the current tree pass: the latest row of its depth.
struct TreePathStep {
  HWND w;
  DWORD tid;
};

// Each group names the code that writes it; every other part only reads.
struct AppState {
  // Handles found at start. Written by start-up (app/main_dlg.cpp, app/main.cpp for hInstance).
  HINSTANCE hInstance;
  HWND hMainDlg;
  HWND hDesktop;
  HWND hMessageRoot;  // the parent of message-only windows
  HWND hReportPane;   // control 2001
  HWND hLegendPane;   // control 2002
  HWND hTreeCombo;    // control 2016
  HWND hTreeList;     // the combo box's drop-down list window (found by tree/tree_list.cpp)
  HRGN hHitRegion;    // scratch region, only ever the output of GetWindowRgn

  // Geometry taken at start (app/main_dlg.cpp).
  LONG minTrackWidth, minTrackHeight;
  LONG reportX, reportY, reportWidth, reportHeight;

  // The targets.
  HWND hTargetW;        // W, the 'Window': F8 (tick), a right-clicked row (tree list), a new test
                        // window (testwin), an undo or redo step (history), "sWaP" (target commands)
  HWND hTargetP;        // P, the 'new Parent|Owner': F9 and row 2 of every tick, a chosen row
                        // (tree list), "sWaP" and the navigation buttons (target commands)
  HWND hCommandTarget;  // P, or W while button 2038 is checked; set by every tick
  BOOL lockW;           // the "lock" box (tick), F8, a right-clicked row, "Desc", a new test window
  POINT ptF9;           // cursor position (screen) when F9 picked P; written by the tick

  // The report: written by the tick (inspector/tick.cpp, inspector/describe.cpp).
  char report[kReportChars];
  char prevReport[kReportChars];  // emptied at start-up
  char styleSymbols[8];           // the symbols of the last full row described

  // The tree.
  TreeFilter treeFilter;  // the filter buttons (tree/tree_list.cpp)
  // Written by every refresh and its passes (tree/tree_enum.cpp).
  DWORD pidP, tidP;
  DWORD enumCount;  // the index of the next row of a tree pass
  DWORD topTopLevelCount;
  // EnumChildWindows reports a window before its children, so the latest rows of depths 0 to
  // treePathDepth are the current row's ancestors.
  bool compareFoundDifference;  // the compare pass met a row that differs from its list item
  TreePathStep treePath[kTreeDepths];
  int treePathDepth;
  LONG monitorHeight;  // the list window's caption right click (tree/tree_list.cpp), and the tick
                       // step that turns the monitor off while the list is hidden

  // The history: written by editor/history.cpp alone.
  HistoryEntry history[kHistorySlots];
  DWORD historyPos;
  DWORD historyTop;

  // The test windows: written by testwin/testwin.cpp alone.
  WNDPROC buttonClassProc;
  int testWindowCount;
};

extern AppState app;

// Low 32 bits of a handle, the form in which every text of the tool shows it.
inline DWORD HandleBits(HWND h) { return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(h)); }

// The error beep that answers every refused command.
inline void ErrorBeep() { MessageBeep(MB_ICONHAND); }

// Subclassing keeps the replaced procedure in the window's own GWLP_USERDATA.
void Subclass(HWND w, WNDPROC proc);
LRESULT CallPreviousProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
