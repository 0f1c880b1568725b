// Target commands. (To be built.)
#include "app/app_state.h"
#include "editor/editor.h"

void ToggleStyle(HWND, DWORD) {}
void OnTargetCommand(WORD) {}
