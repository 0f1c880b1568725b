// Re-parenting with undo and redo. (To be built.)
#include "app/app_state.h"
#include "editor/editor.h"

void ChangeRelation(DWORD) {}
void UndoRedoStep(DWORD) {}
void RestoreAll() {}
void OnHistoryCommand(WORD) {}
void ApplyCloseRule() {}
