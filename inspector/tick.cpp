// The inspection tick. (To be built.)
#include "app/app_state.h"
#include "inspector/inspector.h"

const char kReportHeader[] = "";
void InspectTick(HWND) {}
void OnLockClicked(HWND) {}
