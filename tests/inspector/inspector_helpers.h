// What the report must say, worked out from the test's own queries of the windows involved.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace inspector_test {

constexpr char kHeader[] =
    "  hWnd            Z-ord        Styles        Class        Text        [ x, y, width * height ]"
    "        Id /hMenu        Pid        Tid        Exe";
constexpr char kZeroRow[] = "\r\n\r\n  0";

// 1-based place of target among the descendants of root, in EnumChildWindows order; 0 when absent.
inline int EnumPosition(HWND root, HWND target) {
  struct Walk { HWND target; int count; bool found; } walk = {target, 0, false};
  auto step = [](HWND w, LPARAM lp) -> BOOL { auto& s = *(Walk*)lp; ++s.count; return !(s.found = (w == s.target)); };
  EnumChildWindows(root, step, reinterpret_cast<LPARAM>(&walk));
  return walk.found ? walk.count : 0;
}

// The executable's file name, asked of the process itself rather than of a process snapshot.
inline std::string ExeOf(HWND h) {
  DWORD pid = 0, size = MAX_PATH;
  GetWindowThreadProcessId(h, &pid);
  char path[MAX_PATH] = "";
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  QueryFullProcessImageNameA(process, 0, path, &size);
  CloseHandle(process);
  return std::string(path).substr(std::string(path).find_last_of('\\') + 1);
}

// Tree prefix (" " desktop, "o" message-only), Z-order place, fields; the row shows the id's low 16 bits.
struct RowText { const char* prefix; int number; std::string symbols, cls, text; DWORD id; std::string exe; };

// One full row; rectangle, process and thread are read from the window now.
inline std::string ExpectedRow(HWND h, const RowText& r) {
  RECT rc{};
  GetWindowRect(h, &rc);
  DWORD pid = 0, tid = GetWindowThreadProcessId(h, &pid);
  unsigned long low = r.id & 0xFFFFul;
  char row[1024];
  snprintf(row, sizeof row,
           "\r\n\r\n  %s     %s%04d     %s     '%s'     '%s'      [ %ld , %ld , %ld * %ld ]      "
           "id_%lu_%04lX    pid_%lu    tid_%lu    %s",
           Hex8(h).c_str(), r.prefix, r.number, r.symbols.c_str(), r.cls.c_str(), r.text.c_str(), long(rc.left),
           long(rc.top), long(rc.right - rc.left), long(rc.bottom - rc.top), low, low, (unsigned long)pid,
           (unsigned long)tid, r.exe.c_str());
  return row;
}

// The row of a window in the desktop's tree (or, with a number, of any tree), its exe asked of it.
inline std::string ExpectedRow(HWND h, const char* symbols, const std::string& cls, const std::string& text,
                               DWORD id = 0, const char* prefix = " ", int number = -1) {
  if (number < 0) number = EnumPosition(GetDesktopWindow(), h);
  return ExpectedRow(h, {prefix, number, symbols, cls, text, id, ExeOf(h)});
}

// Splits a report into its lines (CR LF separated): the header on line 0, row k on line 2k.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, end = 0; end != std::string::npos; start = end + 2) {
    end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
  }
  return lines;
}

}  // namespace inspector_test
