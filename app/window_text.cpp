#include "app/window_text.h"

void ReadWindowText(HWND w, char (&text)[kWindowTextChars], UINT timeoutMs) {
  text[0] = '\0';
  // The count leaves room for the terminator, which a well-behaved window procedure writes.
  SendMessageTimeoutA(w, WM_GETTEXT, kWindowTextChars - 1, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, timeoutMs, nullptr);
  // A foreign window procedure need not terminate what it copies.
  text[kWindowTextChars - 1] = '\0';
}
