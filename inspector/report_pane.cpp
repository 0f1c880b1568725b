// The report pane. (To be built.)
#include "app/app_state.h"
#include "inspector/inspector.h"

LRESULT CALLBACK ReportPaneProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return CallPreviousProc(w, msg, wp, lp);
}
