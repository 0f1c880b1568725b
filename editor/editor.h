// The relationship editor: re-parenting with history, and the target commands.
#pragma once
#include <windows.h>

void ChangeRelation(DWORD kind);
void UndoRedoStep(DWORD undo);
void RestoreAll();
void OnHistoryCommand(WORD id);
// At close: undo everything unless F8 and F9 are both held down.
void ApplyCloseRule();

void ToggleStyle(HWND w, DWORD bits);
void OnTargetCommand(WORD id);
