// One description row per window. (To be built.)
#include "app/app_state.h"
#include "inspector/inspector.h"

HWND DescribeWindow(HWND h, char* report) {
  lstrcatA(report, "\r\n\r\n  0");
  return h;
}
BOOL CALLBACK CountZOrderProc(HWND, LPARAM) { return FALSE; }
