// The relationship editor: re-parenting with history, and the target commands.
#pragma once
#include <windows.h>

#include "app/app_state.h"
#include "app/main_dlg.h"

// The direction of one history step.
enum class Step { Undo, Redo };

void ChangeRelation(HistoryEntry::Kind kind);
void UndoRedoStep(Step step);
void RestoreAll();
// The buttons of the history: SetParent, SetWindowLong, Undo, Redo and the counter.
extern const CommandRoutes kHistoryRoutes;
// At close: undo everything unless F8 and F9 are both held down.
void ApplyCloseRule();

// A call that changes another thread's window (SetParent, SetWindowLongPtr, SetWindowPos, ShowWindow,
// EnableWindow, creating a window it owns) waits until that thread has handled the messages the
// call sends; one that hides, shows, re-parents or re-frames a child waits for its parent's thread
// as well. When one of the given windows belongs to a thread that the system takes for hung, this
// gives the error beep and answers true: the caller then makes no call at all.
bool RefusedAsHung(HWND first, HWND second = nullptr, HWND third = nullptr);

void ToggleStyle(HWND w, DWORD bits);
// The buttons that act on the command target or on P.
extern const CommandRoutes kTargetRoutes;
