// What the report must say, worked out from the test's own queries of the windows involved.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace inspector_test {

constexpr char kHeader[] =
    "  hWnd            Z-ord        Styles        Class        Text        [ x, y, width * height ]"
    "        Id /hMenu        Pid        Tid        Exe";
constexpr char kZeroRow[] = "\r\n\r\n  0";

struct PositionWalk {
  HWND target;
  int count;
  bool found;
};

// A named CALLBACK, not a lambda: the 32-bit build calls enumeration callbacks as stdcall.
inline BOOL CALLBACK CountUpToProc(HWND w, LPARAM lp) {
  PositionWalk& walk = *reinterpret_cast<PositionWalk*>(lp);
  ++walk.count;
  walk.found = w == walk.target;
  return !walk.found;
}

// 1-based place of target among the descendants of root, in EnumChildWindows order; 0 when absent.
inline int EnumPosition(HWND root, HWND target) {
  PositionWalk walk = {target, 0, false};
  EnumChildWindows(root, CountUpToProc, reinterpret_cast<LPARAM>(&walk));
  return walk.found ? walk.count : 0;
}

// Tree prefix (" " desktop, "o" message-only), Z-order place and the fields as the row shows them.
struct RowText {
  const char* prefix;
  int number;
  std::string symbols, cls, text;
  DWORD id;
  std::string exe;
};

// One full row: the id shows its low 16 bits; rectangle, process and thread are read from the window now.
inline std::string ExpectedRow(HWND h, const RowText& r) {
  RECT rc{};
  GetWindowRect(h, &rc);
  DWORD pid = 0;
  const DWORD tid = GetWindowThreadProcessId(h, &pid);
  const DWORD low = r.id & 0xFFFF;
  char row[1024];
  snprintf(row, sizeof row,
           "\r\n\r\n  %s     %s%04d     %s     '%s'     '%s'      [ %ld , %ld , %ld * %ld ]      "
           "id_%lu_%04lX    pid_%lu    tid_%lu    %s",
           Hex8(h).c_str(), r.prefix, r.number, r.symbols.c_str(), r.cls.c_str(), r.text.c_str(),
           rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, low, low, pid, tid, r.exe.c_str());
  return row;
}

// Splits a report into its lines (CR LF separated): the header on line 0, row k on line 2k.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

}  // namespace inspector_test
