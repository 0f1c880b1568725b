// Helpers of the window behaviour tests: places on the main dialog in screen coordinates, the
// help windows of a dialog, real mouse input that is not waited for, and reading long texts.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/test_support.h"

// Screen point of a position given in dialog units of the main dialog's client area.
inline POINT DluToScreen(HWND dlg, int x, int y) {
  RECT r = {x, y, x, y};
  MapDialogRect(dlg, &r);
  POINT pt = {r.left, r.top};
  ClientToScreen(dlg, &pt);
  return pt;
}

// Screen point in the middle of a window.
inline POINT CenterOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

// The whole text of a window of this process, however long.
inline std::string LongText(HWND w) {
  int length = GetWindowTextLengthA(w);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(w, &text[0], length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

struct HelpWindowSearch {
  HWND owner;
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectHelpWindowProc(HWND w, LPARAM lp) {
  auto* search = reinterpret_cast<HelpWindowSearch*>(lp);
  if (ClassOf(w) == "Edit" && GetWindow(w, GW_OWNER) == search->owner) search->found.push_back(w);
  return TRUE;
}

// The "Edit" windows owned by the dialog: its help windows.
inline std::vector<HWND> HelpWindowsOf(HWND dlg) {
  HelpWindowSearch search{dlg, {}};
  EnumThreadWindows(GetWindowThreadProcessId(dlg, nullptr), CollectHelpWindowProc,
                    reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Starts xdotool without waiting for it. For input that must reach a modal loop (a menu, a
// move loop) which this thread enters while xdotool is still running.
inline bool StartXdotool(const std::string& commands) {
  std::string cmd = "Z:\\usr\\bin\\xdotool " + commands;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return true;
}

inline std::string XdoPoint(POINT pt) { return std::to_string(pt.x) + " " + std::to_string(pt.y); }

// A real drag with the left button from one screen point by (dx, dy). The press starts a move or
// size loop inside this thread; it ends with the release, after which Xdotool() returns.
inline bool DragWithLeftButton(POINT from, int dx, int dy) {
  POINT to = {from.x + dx, from.y + dy};
  return Xdotool("mousemove " + XdoPoint(from) + " mousedown 1 mousemove " + XdoPoint(to) + " mouseup 1");
}

// A real click of the right mouse button at a screen point.
inline bool RightClickAt(POINT pt) { return Xdotool("mousemove " + XdoPoint(pt) + " click 3"); }
