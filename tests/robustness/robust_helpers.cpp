#include "robustness/robust_helpers.h"

#include <cstdio>
#include <regex>

namespace robust {

namespace {

constexpr char kHeader[] =
    "  hWnd            Z-ord        Styles        Class        Text        [ x, y, width * height ]"
    "        Id /hMenu        Pid        Tid        Exe";

}  // namespace

std::vector<ListRow> ListRows() {
  std::vector<ListRow> rows;
  LRESULT count = SendMessageA(app.hTreeCombo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageA(app.hTreeCombo, CB_GETLBTEXTLEN, i, 0);
    std::vector<char> buffer(length > 0 ? length + 1 : 1, '\0');
    SendMessageA(app.hTreeCombo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
    rows.push_back({buffer.data(), SendMessageA(app.hTreeCombo, CB_GETITEMDATA, i, 0), length});
  }
  return rows;
}

int RowIndexOf(HWND w) {
  std::vector<ListRow> rows = ListRows();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].data == reinterpret_cast<LRESULT>(w)) return static_cast<int>(i);
  return -1;
}

std::string RowLineOf(HWND w) {
  int index = RowIndexOf(w);
  return index < 0 ? "(no row)" : ListRows()[index].line;
}

std::string TreeLine(HWND w, char topMark, const std::string& prefix, const std::string& cls,
                     const std::string& text) {
  return Hex8(w) + "  " + topMark + " " + prefix + " " + cls + "      \"" + text + "\"";
}

HWND HighestNonTopmost() {
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (!(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST)) return w;
  return nullptr;
}

char TopMarkOf(HWND w) { return w == HighestNonTopmost() ? '=' : ' '; }

std::string TreeRowFault(const ListRow& row) {
  if (row.length < 0 || static_cast<size_t>(row.length) != row.line.size())
    return "the item's length and text disagree: " + row.line;
  if (row.line.size() > 255) return "longer than 255 characters: " + row.line;
  if (row.line == "HWND_DESKTOP") return row.data == 0 ? "" : "HWND_DESKTOP without the value 0";
  if (row.line == "HWND_MESSAGE") return row.data == -3 ? "" : "HWND_MESSAGE without the value -3";
  static const std::regex shape(R"(^([0-9A-F]{8})  [ =] (?:[.!? ]\+*)? [\s\S]*      "[\s\S]*"$)");
  std::smatch m;
  if (!std::regex_match(row.line, m, shape)) return "not a row line: " + row.line;
  char data[16];
  snprintf(data, sizeof data, "%08lX", static_cast<unsigned long>(row.data & 0xFFFFFFFF));
  if (m[1].str() != data) return std::string("handle differs from the item data ") + data + ": " + row.line;
  return "";
}

std::vector<std::string> ReportParts(const std::string& report) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = report.find("\r\n\r\n", start);
    parts.push_back(report.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 4;
  }
}

std::string ReportRowFault(const std::string& row) {
  if (row == "  0" || row == "  HWND_MESSAGE") return "";
  static const std::regex shape(
      R"(^  [0-9A-F]{8}     [ o][0-9]{4,}     [ L][_T][XPCO][_mM][VH][ED][-+]     '[^\r\n]*'     '[^\r\n]*')"
      R"(      \[ -?[0-9]+ , -?[0-9]+ , -?[0-9]+ \* -?[0-9]+ \]      id_([0-9]+)_([0-9A-F]{4}))"
      R"(    pid_[0-9]+    tid_[0-9]+    [^\r\n]*$)");
  std::smatch m;
  if (!std::regex_match(row, m, shape)) return "not a report row: " + row;
  // Rows are preceded by CR LF CR LF (4 characters); a row is at most 365 characters with them.
  if (row.size() + 4 > 365) return "longer than the widest row: " + row;
  unsigned long decimal = strtoul(m[1].str().c_str(), nullptr, 10);
  unsigned long hex = strtoul(m[2].str().c_str(), nullptr, 16);
  if (decimal != hex || decimal > 0xFFFF) return "the two forms of the id differ: " + row;
  return "";
}

std::string ReportFault(const std::string& report) {
  std::vector<std::string> parts = ReportParts(report);
  if (parts.size() != 11) return "not a header and ten rows: " + report;
  if (parts[0] != kHeader) return "the header is not first: " + parts[0];
  for (size_t i = 1; i < parts.size(); ++i) {
    std::string fault = ReportRowFault(parts[i]);
    if (!fault.empty()) return "row " + std::to_string(i) + ": " + fault;
  }
  return "";
}

int EnumPlace(HWND root, HWND w) {
  struct Walk {
    HWND target;
    int count;
    bool found;
  } walk = {w, 0, false};
  EnumChildWindows(
      root,
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Walk*>(lp);
        ++s->count;
        s->found = h == s->target;
        return !s->found;
      },
      reinterpret_cast<LPARAM>(&walk));
  return walk.found ? walk.count : 0;
}

std::string ExeOf(DWORD pid) {
  char path[MAX_PATH] = "";
  DWORD size = MAX_PATH;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return "";
  QueryFullProcessImageNameA(process, 0, path, &size);
  CloseHandle(process);
  std::string p(path);
  return p.substr(p.find_last_of("\\/") + 1);
}

std::string ReportRow(HWND w, const std::string& symbols, const std::string& cls,
                      const std::string& text) {
  RECT r{};
  GetWindowRect(w, &r);
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(w, &pid);
  unsigned long id = static_cast<unsigned long>(GetWindowLongPtrA(w, GWLP_ID) & 0xFFFF);
  char row[1024];
  snprintf(row, sizeof row,
           "  %s      %04d     %s     '%s'     '%s'      [ %ld , %ld , %ld * %ld ]      id_%lu_%04lX    "
           "pid_%lu    tid_%lu    %s",
           Hex8(w).c_str(), EnumPlace(GetDesktopWindow(), w), symbols.c_str(), cls.c_str(), text.c_str(),
           static_cast<long>(r.left), static_cast<long>(r.top), static_cast<long>(r.right - r.left),
           static_cast<long>(r.bottom - r.top), id, id, static_cast<unsigned long>(pid),
           static_cast<unsigned long>(tid), ExeOf(pid).c_str());
  return row;
}

double ElapsedMs(const std::function<void()>& fn) {
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  fn();
  QueryPerformanceCounter(&t1);
  return 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
}

void RegisterNamedClass(const std::string& name) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExA(GetModuleHandleA(nullptr), name.c_str(), &wc)) return;
  wc = WNDCLASSEXA{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name.c_str();
  EXPECT_NE(RegisterClassExA(&wc), 0) << "class of " << name.size() << " characters";
}

std::string Cut62(const std::string& s) { return s.substr(0, 62); }

std::string OneLine(std::string s) {
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

char TopLevelThreadMark(HWND w) {
  DWORD parentThread = GetWindowThreadProcessId(GetAncestor(w, GA_PARENT), nullptr);
  return GetWindowThreadProcessId(w, nullptr) == parentThread ? '!' : '.';
}

namespace {

struct WriteCounts {
  int resets, additions, paneTexts, labelTexts;
} counts;

// The procedures that the counting procedures stand in front of, by window.
struct Watched {
  HWND w;
  WNDPROC previous;
};
Watched watched[3];

LRESULT CALLBACK CountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC previous = nullptr;
  for (const Watched& one : watched)
    if (one.w == w) previous = one.previous;
  if (w == app.hTreeCombo && msg == CB_RESETCONTENT) ++counts.resets;
  if (w == app.hTreeCombo && (msg == CB_ADDSTRING || msg == CB_INSERTSTRING)) ++counts.additions;
  if (w == app.hReportPane && msg == WM_SETTEXT) ++counts.paneTexts;
  if (w == GetDlgItem(app.hMainDlg, IDC_TREECOUNT) && msg == WM_SETTEXT) ++counts.labelTexts;
  return CallWindowProcA(previous, w, msg, wp, lp);
}

}  // namespace

Writes::Writes() {
  counts = WriteCounts{};
  HWND windows[3] = {app.hTreeCombo, app.hReportPane, GetDlgItem(app.hMainDlg, IDC_TREECOUNT)};
  for (int i = 0; i < 3; ++i) {
    watched[i].w = windows[i];
    watched[i].previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(windows[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
  }
}

Writes::~Writes() {
  for (Watched& one : watched)
    SetWindowLongPtrA(one.w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(one.previous));
}

int Writes::resets() const { return counts.resets; }
int Writes::additions() const { return counts.additions; }
int Writes::paneTexts() const { return counts.paneTexts; }
int Writes::labelTexts() const { return counts.labelTexts; }

}  // namespace robust
