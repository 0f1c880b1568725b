// Filtered window tree enumeration. (To be built.)
#include "app/app_state.h"
#include "tree/tree.h"

void RefreshTree() {}
BOOL CALLBACK EnumTreeProc(HWND, LPARAM) { return FALSE; }
