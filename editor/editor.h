// The relationship editor: re-parenting with history, and the target commands.
#pragma once
#include <windows.h>

#include "app/main_dlg.h"

void ChangeRelation(DWORD kind);
void UndoRedoStep(DWORD undo);
void RestoreAll();
// The buttons of the history: SetParent, SetWindowLong, Undo, Redo and the counter.
extern const CommandRoutes kHistoryRoutes;
// At close: undo everything unless F8 and F9 are both held down.
void ApplyCloseRule();

void ToggleStyle(HWND w, DWORD bits);
// The buttons that act on the command target or on P.
extern const CommandRoutes kTargetRoutes;
