// The window tree: its enumeration into the combo box and the list window's behaviour.
#pragma once
#include <windows.h>

#include "app/main_dlg.h"

void RefreshTree();
BOOL CALLBACK EnumTreeProc(HWND w, LPARAM pass);

BOOL CALLBACK FindTreeListProc(HWND w, LPARAM lp);
LRESULT CALLBACK TreeListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
void SetTreeCaption();

// Main dialog commands and messages that belong to the tree list.
extern const CommandRoutes kTreeRoutes;  // the filter buttons and "M/"
void OnTreeSelChange();
void OnTreeDropDown();
INT_PTR OnCtlColorListBox(HDC dc);

// The last step of every inspection tick.
void TreeMonitorStep();
