// What the report must say, worked out from the test's own queries of the windows involved.
#pragma once
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace inspector_test {

constexpr char kHeader[] =
    "  hWnd            Z-ord        Styles        Class        Text        [ x, y, width * height ]"
    "        Id /hMenu        Pid        Tid        Exe";
constexpr char kZeroRow[] = "\r\n\r\n  0";
constexpr char kMessageRow[] = "\r\n\r\n  HWND_MESSAGE";

// The file name of this test program, as the process list names it.
inline std::string OwnExeName() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  return p.substr(p.find_last_of("\\/") + 1);
}

// The file name of any process's executable, asked of the process itself.
inline std::string ExeNameOfProcess(DWORD pid) {
  char path[MAX_PATH] = "";
  DWORD size = MAX_PATH;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return "";
  QueryFullProcessImageNameA(process, 0, path, &size);
  CloseHandle(process);
  std::string p(path);
  return p.substr(p.find_last_of("\\/") + 1);
}

// The parent of message-only windows, found the documented way: ask a message-only window.
inline HWND MessageRoot() {
  HWND probe = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HWND root = GetAncestor(probe, GA_PARENT);
  DestroyWindow(probe);
  return root;
}

// 1-based place of target among the descendants of root, in EnumChildWindows order; 0 when absent.
inline int EnumPosition(HWND root, HWND target) {
  struct Walk {
    HWND target;
    int count;
    bool found;
  } walk = {target, 0, false};
  EnumChildWindows(
      root,
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Walk*>(lp);
        ++s->count;
        if (w == s->target) s->found = true;
        return !s->found;
      },
      reinterpret_cast<LPARAM>(&walk));
  return walk.found ? walk.count : 0;
}

struct RowText {
  const char* prefix;       // " " for the desktop's tree, "o" for the message-only tree
  int number;               // Z-order place
  std::string symbols;      // seven style symbols
  std::string cls;
  std::string text;
  DWORD id;                 // the full GWLP_ID value; the row shows its low 16 bits
  std::string exe;
};

// One full row, its rectangle, process and thread read from the window now.
inline std::string ExpectedRow(HWND h, const RowText& r) {
  RECT rc{};
  GetWindowRect(h, &rc);
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(h, &pid);
  unsigned long low = r.id & 0xFFFFul;
  char row[1024];
  snprintf(row, sizeof row,
           "\r\n\r\n  %s     %s%04d     %s     '%s'     '%s'      [ %ld , %ld , %ld * %ld ]      "
           "id_%lu_%04lX    pid_%lu    tid_%lu    %s",
           Hex8(h).c_str(), r.prefix, r.number, r.symbols.c_str(), r.cls.c_str(), r.text.c_str(),
           static_cast<long>(rc.left), static_cast<long>(rc.top), static_cast<long>(rc.right - rc.left),
           static_cast<long>(rc.bottom - rc.top), low, low, static_cast<unsigned long>(pid),
           static_cast<unsigned long>(tid), r.exe.c_str());
  return row;
}

// The row of a window of this process in the desktop's tree, with its own class and text.
inline std::string OwnRow(HWND h, const std::string& symbols, const std::string& cls,
                          const std::string& text, DWORD id = 0) {
  return ExpectedRow(h, {" ", EnumPosition(GetDesktopWindow(), h), symbols, cls, text, id, OwnExeName()});
}

// The row of one of the two roots (the desktop or the message root), which stand at place 0 of
// their trees. Their styles are the system's, so the symbols are read here from the style bits
// and states with the meaning the help text gives each position.
inline std::string RootRow(HWND desktop, const char* prefix) {
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(desktop, GWL_STYLE));
  DWORD ex = static_cast<DWORD>(GetWindowLongPtrA(desktop, GWL_EXSTYLE));
  std::string symbols = (ex & WS_EX_LAYERED) ? "L" : " ";
  symbols += (ex & WS_EX_TOPMOST) ? "T" : "_";
  symbols += (style & WS_POPUP) ? ((style & WS_CHILD) ? "X" : "P") : ((style & WS_CHILD) ? "C" : "O");
  symbols += IsZoomed(desktop) ? "M" : (IsIconic(desktop) ? "m" : "_");
  symbols += IsWindowVisible(desktop) ? "V" : "H";
  symbols += IsWindowEnabled(desktop) ? "E" : "D";
  symbols += (style & WS_CLIPCHILDREN) ? "+" : "-";
  DWORD pid = 0;
  GetWindowThreadProcessId(desktop, &pid);
  return ExpectedRow(desktop, {prefix, 0, symbols, ClassOf(desktop), WindowText(desktop),
                               static_cast<DWORD>(GetWindowLongPtrA(desktop, GWLP_ID)),
                               ExeNameOfProcess(pid)});
}

inline std::string DesktopRow() { return RootRow(GetDesktopWindow(), " "); }

// Splits a report into its lines (CR LF separated).
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

// Counts WM_SETTEXT reaching a window, then lets the message go on unchanged. The replaced
// procedure is kept here, not in the window's user data, which the tool's own subclass uses.
class SetTextCounter {
 public:
  explicit SetTextCounter(HWND w) : w_(w) {
    Counters()[w] = this;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
  }
  ~SetTextCounter() {
    if (IsWindow(w_)) SetWindowLongPtrA(w_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    Counters().erase(w_);
  }
  SetTextCounter(const SetTextCounter&) = delete;
  SetTextCounter& operator=(const SetTextCounter&) = delete;
  int count() const { return count_; }

 private:
  static std::map<HWND, SetTextCounter*>& Counters() {
    static std::map<HWND, SetTextCounter*> counters;
    return counters;
  }
  static LRESULT CALLBACK CountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    SetTextCounter* self = Counters()[w];
    if (msg == WM_SETTEXT) ++self->count_;
    return CallWindowProcA(self->previous_, w, msg, wp, lp);
  }
  HWND w_;
  WNDPROC previous_ = nullptr;
  int count_ = 0;
};

// A window class of this process with the given name, registered once.
inline void RegisterPlainClass(const char* name) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

}  // namespace inspector_test
