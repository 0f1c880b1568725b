// The one way the tool reads another window's text: a bounded WM_GETTEXT request.
#pragma once
#include <windows.h>

// Every text field of the tool holds 62 characters and its terminator.
constexpr int kWindowTextChars = 64;

// Reads w's text into text, or leaves it empty when w does not answer in time. Another program's
// window may be hung: the request waits at most timeoutMs, and not at all for a thread the system
// already takes for hung (SMTO_ABORTIFHUNG). The result is always terminated.
void ReadWindowText(HWND w, char (&text)[kWindowTextChars], UINT timeoutMs);
