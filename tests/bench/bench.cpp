// winrel_bench: what one inspection tick and one tree refresh cost, against the least work that
// gives the same output, with 100, 500 and 2,000 windows of another process on the desktop; how
// soon the report follows a cursor move; the idle cost; and a churning desktop. Prints one table
// per size. Run: bash scripts/bench.sh [sizes] [nochurn] [noidle] [churnonly] [ticks=N]
//
// Method. Every figure is a median over repetitions (the worst is printed beside it), since the
// machine is shared and one sample says little. "Before" is the tick and the tree passes as they
// were before one pass served them (tests/bench/reference.h); the run checks that both give the
// same report and the same list. The least floor is the window calls the output needs, in a bare
// loop over the same windows, so "measured / least floor" shows what the code costs beyond them.
// Before, now and the floor are measured in alternation, so a change in the machine's load
// touches all three. Nothing that counts messages runs while something is timed: a
// WH_CALLWNDPROC hook makes every message this thread sends to its own windows a round trip to
// the Wine server (about 0.3 ms instead of 1 us), which would swamp the tree's list reads.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_dlg.h"
#include "app/texts.h"
#include "inspector/inspector.h"
#include "res/resource.h"
#include "tree/tree.h"
#include "tests/bench/reference.h"

namespace {

double Now() {
  static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double Worst(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

// One line of the table: what was measured, how often, median and worst.
void Row(const char* what, int count, const std::vector<double>& times) {
  char label[96];
  snprintf(label, sizeof label, "%s (%d)", what, count);
  printf("  %-62s %10.2f %10.2f\n", label, Median(times), Worst(times));
}

void Part(const char* what, double value) { printf("  %-62s %10.2f\n", what, value); }

// Progress marks on stderr, so a stall shows where it is.
void Progress(const char* step) {
  fprintf(stderr, "[%s]", step);
  fflush(stderr);
}

// The host's load average (Wine maps the Linux root to Z:), printed with each table: the
// machine is shared, and the figures mean little without it.
std::string LoadAverage() {
  FILE* f = fopen("Z:\\proc\\loadavg", "r");
  if (!f) return "?";
  char text[128] = "";
  if (!fgets(text, sizeof text, f)) text[0] = '\0';
  fclose(f);
  std::string s(text);
  size_t end = s.find(' ', s.find(' ', s.find(' ') + 1) + 1);  // the 1, 5 and 15 minute figures
  return s.substr(0, end);
}

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

std::string Dir() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path);
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

struct FindText {
  const char* text;
  HWND found;
};

BOOL CALLBACK FindTextProc(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<FindText*>(lp);
  char text[128] = "";
  GetWindowTextA(w, text, sizeof text);
  if (!lstrcmpA(text, f->text)) {
    f->found = w;
    return FALSE;
  }
  return TRUE;
}

// Counts what a still scene must not cause: pane, label and caption writes, list rebuilds.
// The counting procedures sit in front of the controls' own; they cost no server round trip.
struct Writes {
  int paneTexts, labelTexts, captionTexts, resets, additions;
} writes;

struct Spy {
  HWND w;
  WNDPROC previous;
};
Spy spies[4];

LRESULT CALLBACK SpyProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  WNDPROC previous = nullptr;
  for (const Spy& s : spies)
    if (s.w == w) previous = s.previous;
  if (msg == WM_SETTEXT && w == app.hReportPane) ++writes.paneTexts;
  if (msg == WM_SETTEXT && w == GetDlgItem(app.hMainDlg, IDC_TREECOUNT)) ++writes.labelTexts;
  if (msg == WM_SETTEXT && w == GetDlgItem(app.hMainDlg, IDC_TARGET)) ++writes.captionTexts;
  if (msg == CB_RESETCONTENT && w == app.hTreeCombo) ++writes.resets;
  if ((msg == CB_ADDSTRING || msg == CB_INSERTSTRING) && w == app.hTreeCombo) ++writes.additions;
  return CallWindowProcA(previous, w, msg, wp, lp);
}

void StartSpies() {
  HWND watched[4] = {app.hReportPane, GetDlgItem(app.hMainDlg, IDC_TREECOUNT),
                     GetDlgItem(app.hMainDlg, IDC_TARGET), app.hTreeCombo};
  for (int i = 0; i < 4; ++i) {
    spies[i].w = watched[i];
    spies[i].previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(watched[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SpyProc)));
  }
}

void StopSpies() {
  for (Spy& s : spies) SetWindowLongPtrA(s.w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.previous));
}

BOOL CALLBACK CollectProc(HWND w, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  return TRUE;
}

struct CountTo {
  HWND target;
  int count;
};

BOOL CALLBACK CountToProc(HWND w, LPARAM lp) {
  auto* c = reinterpret_cast<CountTo*>(lp);
  ++c->count;
  return w != c->target;
}

// The ten windows a tick locked on w describes, with P = p, asked the way the tick asks.
std::vector<HWND> TickRows(HWND w, HWND p) {
  auto notP = [p](HWND h) { return h == p ? nullptr : h; };
  return {w, p, GetWindow(w, GW_OWNER), reinterpret_cast<HWND>(GetWindowLongPtrA(w, GWLP_HWNDPARENT)),
          GetParent(w), GetAncestor(w, GA_PARENT), GetAncestor(w, GA_ROOT), GetAncestor(w, GA_ROOTOWNER),
          notP(GetWindow(p, GW_ENABLEDPOPUP)), notP(GetLastActivePopup(p))};
}

// One walk over a root parent's descendants that stops after the last of the targets.
struct Targets {
  std::vector<HWND> left;
};

BOOL CALLBACK FindTargetsProc(HWND w, LPARAM lp) {
  auto& t = *reinterpret_cast<Targets*>(lp);
  t.left.erase(std::remove(t.left.begin(), t.left.end(), w), t.left.end());
  return !t.left.empty();
}

struct TickFloor {
  double walks, snapshots, texts, rest;
  double total() const { return walks + snapshots + texts + rest; }
};

// The least work for the report of a tick locked on w, in a bare loop: the command target's
// caption, the relation queries, each distinct window once (validity, root parent, class, text,
// styles and states, id, ids, rectangle), one walk per window tree up to the last of its row
// windows, one process snapshot walked until every process is named, and the pane write.
TickFloor MeasureLeastTickFloor(HWND dlg, HWND w, HWND p, const char* report) {
  TickFloor f = {0, 0, 0, 0};
  double t0 = Now();
  IsDlgButtonChecked(dlg, IDC_TARGET);
  char caption[64] = "";
  SendDlgItemMessageA(dlg, IDC_TARGET, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(caption));
  std::vector<HWND> rows = TickRows(w, p), windows;
  for (HWND h : rows)
    if (h && std::find(windows.begin(), windows.end(), h) == windows.end() && IsWindow(h))
      windows.push_back(h);
  std::vector<std::pair<HWND, HWND>> rootOf;  // window, root parent
  for (HWND h : windows) rootOf.push_back({h, GetAncestor(GetAncestor(h, GA_ROOT), GA_PARENT)});
  f.rest += Now() - t0;
  t0 = Now();
  for (HWND root : {app.hDesktop, app.hMessageRoot}) {
    Targets t;
    for (auto& [h, r] : rootOf)
      if (r == root && h != app.hMessageRoot) t.left.push_back(h);
    if (!t.left.empty()) EnumChildWindows(root, FindTargetsProc, reinterpret_cast<LPARAM>(&t));
  }
  f.walks += Now() - t0;
  std::vector<DWORD> pids;
  for (HWND h : windows) {
    t0 = Now();
    char text[64] = "";
    SendMessageTimeoutA(h, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 100, nullptr);
    double t1 = Now();
    char name[64] = "";
    GetClassNameA(h, name, 63);
    GetWindowLongPtrA(h, GWLP_ID);
    GetWindowLongPtrA(h, GWL_EXSTYLE);
    GetWindowLongPtrA(h, GWL_STYLE);
    IsIconic(h);
    IsZoomed(h);
    IsWindowVisible(h);
    IsWindowEnabled(h);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    RECT r;
    GetWindowRect(h, &r);
    if (std::find(pids.begin(), pids.end(), pid) == pids.end()) pids.push_back(pid);
    f.texts += t1 - t0;
    f.rest += Now() - t1;
  }
  t0 = Now();
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32First(snapshot, &entry); ok && !pids.empty(); ok = Process32Next(snapshot, &entry))
    pids.erase(std::remove(pids.begin(), pids.end(), entry.th32ProcessID), pids.end());
  CloseHandle(snapshot);
  f.snapshots += Now() - t0;
  t0 = Now();
  SendDlgItemMessageA(dlg, IDC_REPORT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(report));
  f.rest += Now() - t0;
  return f;
}

// The least work for a refresh under "All" that finds no difference, in a bare loop: one
// enumeration per tree, per window its ids and parent, per row its class, text and list item.
struct TreeFloorWalk {
  int item;
};

void FloorRow(HWND w, TreeFloorWalk& walk) {
  char name[64], text[64] = "", line[256];
  GetWindowThreadProcessId(w, nullptr);
  GetAncestor(w, GA_PARENT);
  GetClassNameA(w, name, 63);
  SendMessageTimeoutA(w, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 200, nullptr);
  SendMessageA(app.hTreeCombo, CB_GETLBTEXT, walk.item++, reinterpret_cast<LPARAM>(line));
}

BOOL CALLBACK FloorRowProc(HWND w, LPARAM lp) {
  FloorRow(w, *reinterpret_cast<TreeFloorWalk*>(lp));
  return TRUE;
}

double MeasureLeastTreeFloor() {
  double t0 = Now();
  TreeFloorWalk walk = {0};
  for (HWND root : {app.hDesktop, app.hMessageRoot}) {
    char line[256];
    GetWindowThreadProcessId(root, nullptr);  // the pseudo row takes the root's ids
    SendMessageA(app.hTreeCombo, CB_GETLBTEXT, walk.item++, reinterpret_cast<LPARAM>(line));
    FloorRow(root, walk);
    EnumChildWindows(root, FloorRowProc, reinterpret_cast<LPARAM>(&walk));
  }
  return Now() - t0;
}

double Time(const std::function<void()>& f) {
  double t0 = Now();
  f();
  return Now() - t0;
}

// ---- Latency and idle cost: the real timer, and a message loop like the dialog's own.

// Row 1 of the report that the pane shows names w.
bool PaneShows(HWND w) {
  char hex[16];
  wsprintfA(hex, "\r\n\r\n  %8.8lX", HandleBits(w));
  return strncmp(app.prevReport + lstrlenA(kReportHeader), hex, lstrlenA(hex)) == 0;
}

// How the timer's ticks are run: today's routines (reference) or the tool's own (dispatched).
bool gReferenceTicks;
std::vector<double>* gTickTimes;

// Serves this thread's messages as the dialog's modal loop would, until done() or capMs.
bool ServeUntil(const std::function<bool()>& done, double capMs) {
  double start = Now();
  while (Now() - start < capMs) {
    // Asleep until a message comes, as the dialog's own loop is: a poll would add its own cost.
    DWORD left = static_cast<DWORD>(capMs - (Now() - start)) + 1;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_ALLINPUT);
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      bool tick = m.message == WM_TIMER && m.hwnd == app.hMainDlg;
      double t0 = Now();
      if (tick && gReferenceTicks) {
        reference::InspectTick(app.hMainDlg);
      } else {
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
      if (tick && gTickTimes) gTickTimes->push_back(Now() - t0);
      if (done()) return true;
      if (Now() - start >= capMs) break;
    }
  }
  return done();
}

struct Spot {
  POINT at;
  HWND shown;
};

// The time from a cursor move to the pane showing the window under the cursor, over moves
// between two spots that land at every phase of the timer period.
std::vector<double> MoveLatencies(const Spot (&spots)[2], int moves, double capMs) {
  std::vector<double> times;
  for (int i = 0; i < moves; ++i) {
    const Spot& s = spots[i % 2];
    SetCursorPos(s.at.x, s.at.y);
    double t0 = Now();
    bool shown = ServeUntil([&] { return PaneShows(s.shown); }, capMs);
    times.push_back(shown ? Now() - t0 : capMs);
    fprintf(stderr, "[%s %.0f]", gReferenceTicks ? "before" : "now", times.back());
    if (!shown) fprintf(stderr, "[row 1: %.30s]", app.prevReport + lstrlenA(kReportHeader) + 4);
    ServeUntil([] { return false; }, 150 + 37 * (i % 4));  // a later phase of the period next time
  }
  return times;
}

// CPU time in ms of this process.
double OwnCpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// CPU time in ms of a Linux process from /proc (Wine maps the root to Z:). Not for this process:
// the Wine server opens files for its clients, so "self" there is the server.
double CpuMs(const std::string& pid) {
  FILE* f = fopen(("Z:\\proc\\" + pid + "\\stat").c_str(), "r");
  if (!f) return 0;
  char text[1024] = "";
  if (!fgets(text, sizeof text, f)) text[0] = '\0';
  fclose(f);
  const char* p = strrchr(text, ')');
  unsigned long utime = 0, stime = 0;
  if (p) sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime);
  return 10.0 * static_cast<double>(utime + stime);  // clock ticks of 10 ms
}

// The Wine server of this prefix: the wineserver process whose environment names our prefix.
std::string WineServerPid() {
  char prefix[MAX_PATH] = "";
  GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  std::string pid;
  do {
    std::string name = found.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    FILE* f = fopen(("Z:\\proc\\" + name + "\\comm").c_str(), "r");
    char comm[64] = "";
    if (!f) continue;
    if (!fgets(comm, sizeof comm, f)) comm[0] = '\0';
    fclose(f);
    if (strncmp(comm, "wineserver", 10) != 0) continue;
    f = fopen(("Z:\\proc\\" + name + "\\environ").c_str(), "rb");
    if (!f) continue;
    std::string env;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) env.append(buffer, n);
    fclose(f);
    if (env.find(std::string("WINEPREFIX=") + prefix + '\0') != std::string::npos) pid = name;
  } while (pid.empty() && FindNextFileA(search, &found));
  FindClose(search);
  return pid;
}

struct Scene {
  HWND dlg, top, owned, deep, msg;
  PROCESS_INFORMATION pi;
};

// Starts winhost with the given options and the tool's main dialog in this process, with its
// timer stopped; the dialog and the list window stand clear of the helper's windows.
bool StartScene(Scene& s, const std::string& options) {
  char tag[32];
  static int counter = 0;
  wsprintfA(tag, "bench%lu_%d", GetCurrentProcessId(), ++counter);
  std::string cmd = "\"" + Dir() + "winhost.exe\" " + tag + " " + options;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  s.pi = {};
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &s.pi)) {
    printf("cannot start %s\n", cmd.c_str());
    return false;
  }
  std::string topText = std::string(tag) + " top", msgText = std::string(tag) + " msg";
  std::string deepText = std::string(tag) + " deep", ownedText = std::string(tag) + " owned";
  s.top = s.msg = nullptr;
  for (int i = 0; i < 3000 && !(s.top && s.msg); ++i) {
    s.top = FindWindowA("WinHostTop", topText.c_str());
    s.msg = FindWindowExA(HWND_MESSAGE, nullptr, "WinHostMsg", msgText.c_str());
    Sleep(10);
  }
  s.owned = FindWindowA("WinHostOwned", ownedText.c_str());
  FindText find = {deepText.c_str(), nullptr};
  if (s.top) EnumChildWindows(s.top, FindTextProc, reinterpret_cast<LPARAM>(&find));
  s.deep = find.found;
  if (!s.top || !s.owned || (options.find("deep=") != std::string::npos && !s.deep)) {
    printf("helper windows did not appear\n");
    TerminateProcess(s.pi.hProcess, 0);
    return false;
  }
  app = AppState{};
  app.hInstance = GetModuleHandleA(nullptr);
  titleText[kTitleChars] = '\0';
  s.dlg = CreateDialogParamA(app.hInstance, "Dlg", nullptr, MainDlgProc, 0);
  ShowWindow(s.dlg, SW_SHOWNORMAL);
  KillTimer(s.dlg, IDT_INSPECT);
  // The always-on-top dialog below the helper's windows (top 200..600 x 150..450, owned
  // 650..850 x 150..270, churning windows 300..420 x 420..500).
  SetWindowPos(s.dlg, nullptr, 0, 560, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  return true;
}

void EndScene(Scene& s) {
  KillTimer(s.dlg, IDT_INSPECT);
  DestroyWindow(s.dlg);
  DeleteObject(app.hHitRegion);
  Pump();
  TerminateProcess(s.pi.hProcess, 0);
  WaitForSingleObject(s.pi.hProcess, 5000);
  CloseHandle(s.pi.hProcess);
  CloseHandle(s.pi.hThread);
}

// The tree list as a free window with the monitor on, clear of the helper's windows.
void MonitorOn() {
  if (!IsWindowVisible(app.hTreeList)) SendMessageA(app.hMainDlg, WM_COMMAND, IDC_MONITOR, 0);
  Pump();
  SetWindowPos(app.hTreeList, nullptr, 900, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  GetWindowRect(app.hTreeList, &r);
  // As a right click on the list's caption sets it (sending the click itself would start the
  // system's wait for the button release).
  app.monitorHeight = r.bottom - r.top;
}

void MonitorOff() { app.monitorHeight = 0; }

// Latency of the report after a cursor move, today's routines and the tool's in alternation.
void LatencyRows(const Scene& s, const char* what, int moves, double capMs) {
  const bool monitored = app.monitorHeight != 0;
  const Spot spots[2] = {{{750, 210}, s.owned}, {{500, 400}, s.top}};
  app.lockW = FALSE;
  CheckDlgButton(s.dlg, IDC_LOCK, BST_UNCHECKED);
  SetTimer(s.dlg, IDT_INSPECT, 100, nullptr);
  std::vector<double> latency[2], ticks[2];
  for (int round = 0; round < 2; ++round) {
    for (int reference = 1; reference >= 0; --reference) {
      gReferenceTicks = reference != 0;
      gTickTimes = &ticks[reference];
      std::vector<double> t = MoveLatencies(spots, moves / 2, capMs);
      latency[reference].insert(latency[reference].end(), t.begin(), t.end());
    }
  }
  gTickTimes = nullptr;
  gReferenceTicks = false;
  KillTimer(s.dlg, IDT_INSPECT);
  Pump();
  if ((app.monitorHeight != 0 && IsWindowVisible(app.hTreeList)) != monitored)
    printf("  %s: the monitor did not stay %s\n", what, monitored ? "on" : "off");
  char label[128];
  for (int reference = 1; reference >= 0; --reference) {
    const char* method = reference ? "before" : "now";
    snprintf(label, sizeof label, "%s, %s: cursor move to report", what, method);
    Row(label, static_cast<int>(latency[reference].size()), latency[reference]);
    snprintf(label, sizeof label, "%s, %s: one timer tick", what, method);
    Row(label, static_cast<int>(ticks[reference].size()), ticks[reference]);
  }
}

// CPU time of this process and of the Wine server over a still scene with the monitor off and
// the cursor resting on the helper's top window, today's routines and the tool's in alternation.
void IdleRows(const Scene& s, const char* where, HWND under, double seconds) {
  std::string server = WineServerPid();
  app.lockW = FALSE;
  CheckDlgButton(s.dlg, IDC_LOCK, BST_UNCHECKED);
  MonitorOff();
  RECT r;
  GetWindowRect(under, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SetTimer(s.dlg, IDT_INSPECT, 100, nullptr);
  double self[2] = {0, 0}, wineserver[2] = {0, 0}, wall[2] = {0, 0};
  for (int round = 0; round < 2; ++round) {
    for (int reference = 1; reference >= 0; --reference) {
      gReferenceTicks = reference != 0;
      ServeUntil([] { return false; }, 500);  // the first ticks of this method settle the pane
      double t0 = Now(), c0 = OwnCpuMs(), w0 = server.empty() ? 0 : CpuMs(server);
      ServeUntil([] { return false; }, seconds * 500);
      wall[reference] += Now() - t0;
      self[reference] += OwnCpuMs() - c0;
      wineserver[reference] += server.empty() ? 0 : CpuMs(server) - w0;
    }
  }
  gReferenceTicks = false;
  KillTimer(s.dlg, IDT_INSPECT);
  Pump();
  for (int reference = 1; reference >= 0; --reference) {
    char serverShare[32] = "?";
    double measured = wall[reference] / 1000;  // seconds; CPU ms per second / 10 is percent
    if (!server.empty())
      snprintf(serverShare, sizeof serverShare, "%.1f%%", wineserver[reference] / measured / 10);
    printf("  idle, cursor on %s, %s: this process %.1f%% of a core, Wine server %s (%.0f s)\n", where,
           reference ? "before" : "now", self[reference] / measured / 10, serverShare, measured);
  }
  printf("  ratio: idle CPU now / before, cursor on %s: this process %.2f, Wine server %.2f\n", where,
         self[0] / self[1], wineserver[1] > 0 ? wineserver[0] / wineserver[1] : 0.0);
}

void RunSize(int n, int tickCount, bool idle) {
  Scene s;
  if (!StartScene(s, "many=" + std::to_string(n) + " deep=8")) return;
  HWND dlg = s.dlg, deep = s.deep, top = s.top;
  std::string loadBefore = LoadAverage();
  std::vector<HWND> desktopWindows, messageWindows;
  EnumChildWindows(app.hDesktop, CollectProc, reinterpret_cast<LPARAM>(&desktopWindows));
  EnumChildWindows(app.hMessageRoot, CollectProc, reinterpret_cast<LPARAM>(&messageWindows));

  Progress("tick");
  // One tick, locked on the innermost window of the chain, P the helper's top window: today's
  // routines, the tool's and the least floor in alternation. Every measured tick writes the pane
  // (the previous report is forgotten), the worst case; the floor writes it too.
  app.hTargetW = deep;
  app.lockW = TRUE;
  app.hTargetP = top;
  InspectTick(dlg);
  std::string now = app.report;
  reference::InspectTick(dlg);
  bool sameReport = now == app.report;
  std::vector<double> ticks, oldTicks, floors, walks, snapshots, texts, rests;
  for (int i = 0; i < 20; ++i) {
    app.prevReport[0] = '\0';
    oldTicks.push_back(Time([&] { reference::InspectTick(dlg); }));
    app.prevReport[0] = '\0';
    ticks.push_back(Time([&] { InspectTick(dlg); }));
    TickFloor f = MeasureLeastTickFloor(dlg, deep, top, app.report);
    floors.push_back(f.total());
    walks.push_back(f.walks);
    snapshots.push_back(f.snapshots);
    texts.push_back(f.texts);
    rests.push_back(f.rest);
  }
  int reportChars = lstrlenA(app.report);

  Progress("refresh");
  // The tree under "All": rebuilds (the list emptied first), refreshes that find no
  // difference, and the floor, today's routines and the tool's in alternation.
  SendMessageA(dlg, WM_COMMAND, IDC_FILTER_ALL, 0);
  Pump();
  RefreshTree();  // the first list showed the count label and caption of the filter before
  writes = {};
  StartSpies();
  reference::RefreshTree();  // today's routines find the same rows: nothing to rebuild
  StopSpies();
  bool sameList = writes.resets == 0 && writes.additions == 0;
  std::vector<double> rebuilds, compares, oldRebuilds, oldCompares, treeFloors;
  const int rounds = n >= 2000 ? 3 : 5;
  for (int i = 0; i < rounds; ++i) {
    SendMessageA(app.hTreeList, LB_RESETCONTENT, 0, 0);
    oldRebuilds.push_back(Time(reference::RefreshTree));
    oldCompares.push_back(Time(reference::RefreshTree));
    SendMessageA(app.hTreeList, LB_RESETCONTENT, 0, 0);
    rebuilds.push_back(Time(RefreshTree));
    compares.push_back(Time(RefreshTree));
    treeFloors.push_back(MeasureLeastTreeFloor());
  }
  int rowsInList = static_cast<int>(SendMessageA(app.hTreeCombo, CB_GETCOUNT, 0, 0));

  Progress("still");
  // A still scene with the tree monitor on: first timed, then counted, never both at once.
  MonitorOn();
  for (int i = 0; i < 3; ++i) {  // settle: the count label and the free caption enter the list
    InspectTick(dlg);
    Pump();
  }
  std::vector<double> monitorTicks, oldMonitorTicks, monitorFloors;
  for (int i = 0; i < tickCount; ++i) {
    oldMonitorTicks.push_back(Time([&] { reference::InspectTick(dlg); }));
    Pump();
    monitorTicks.push_back(Time([&] { InspectTick(dlg); }));
    Pump();
    double tickFloor = MeasureLeastTickFloor(dlg, deep, top, app.report).total();
    monitorFloors.push_back(tickFloor + MeasureLeastTreeFloor());
  }
  // Counted: what the same still scene writes.
  writes = {};
  StartSpies();
  for (int i = 0; i < tickCount; ++i) {
    InspectTick(dlg);
    Pump();
  }
  StopSpies();
  bool monitorOn = app.monitorHeight != 0 && IsWindowVisible(app.hTreeList);
  Writes stillWrites = writes;

  printf("\n%d helper windows (%zu windows in the desktop tree, %zu message-only; %d rows under \"All\";"
         " report %d characters)\n",
         n, desktopWindows.size(), messageWindows.size(), rowsInList, reportChars);
  printf("  load average before: %s\n", loadBefore.c_str());
  printf("  today's routines and the tool's give the same report: %s; the same list: %s\n",
         sameReport ? "yes" : "NO", sameList ? "yes" : "NO");
  printf("  %-62s %10s %10s\n", "measure (ms of this Wine)", "median", "worst");
  Row("inspection tick before (a walk and a snapshot per row)", 20, oldTicks);
  Row("inspection tick now, lock on a window 10 levels deep", 20, ticks);
  Row("least floor of the tick (bare loop)", 20, floors);
  Part("  floor part: Z-order walks, one per tree", Median(walks));
  Part("  floor part: one process snapshot", Median(snapshots));
  Part("  floor part: text requests", Median(texts));
  Part("  floor part: the rest (relations, class, styles, ids, rect, pane)", Median(rests));
  Part("ratio: tick now / least floor", Median(ticks) / Median(floors));
  Part("ratio: tick before / least floor", Median(oldTicks) / Median(floors));
  Part("ratio: tick now / tick before", Median(ticks) / Median(oldTicks));
  Row("RefreshTree \"All\" before, no difference", rounds, oldCompares);
  Row("RefreshTree \"All\" now, no difference", rounds, compares);
  Row("RefreshTree \"All\" before, full rebuild", rounds, oldRebuilds);
  Row("RefreshTree \"All\" now, full rebuild", rounds, rebuilds);
  Row("least floor: enumerate + ids + parent + class + text + item", rounds, treeFloors);
  Part("ratio: no-difference refresh now / least floor", Median(compares) / Median(treeFloors));
  Part("ratio: no-difference refresh before / least floor", Median(oldCompares) / Median(treeFloors));
  Row("tick with the tree monitor on, still scene, before", tickCount, oldMonitorTicks);
  Row("tick with the tree monitor on, still scene, now", tickCount, monitorTicks);
  Row("least floor of both (tick floor + refresh floor)", tickCount, monitorFloors);
  Part("ratio: monitored tick now / least floor", Median(monitorTicks) / Median(monitorFloors));
  printf("  still scene, %d ticks, monitor %s: pane writes %d, count label writes %d, 2038 caption writes %d,"
         " CB_RESETCONTENT %d, CB_ADDSTRING %d\n",
         tickCount, monitorOn ? "on" : "OFF", stillWrites.paneTexts, stillWrites.labelTexts,
         stillWrites.captionTexts, stillWrites.resets, stillWrites.additions);
  fflush(stdout);

  Progress("latency");
  const int moves = n >= 2000 ? 4 : 8;
  MonitorOff();
  LatencyRows(s, "still, monitor off", moves, 20000);
  MonitorOn();
  LatencyRows(s, "still, monitor on", moves, 20000);
  if (idle) {
    Progress("idle");
    IdleRows(s, "the helper's top window", s.top, 20);
    IdleRows(s, "the innermost window of the chain", s.deep, 20);
  }
  printf("  load average after: %s\n", LoadAverage().c_str());
  fflush(stdout);
  EndScene(s);
}

// A churning desktop: winhost's churn thread makes and destroys windows without pause, with
// 300 more windows; "All" monitored. The report's latency after a cursor move, each tick's
// cost, and how many of the ticks rebuilt the list.
void RunChurn() {
  Scene s;
  if (!StartScene(s, "churn many=300")) return;
  std::string loadBefore = LoadAverage();
  SendMessageA(s.dlg, WM_COMMAND, IDC_FILTER_ALL, 0);
  MonitorOn();
  printf("\nchurning desktop: 300 helper windows and a thread that makes and destroys windows; \"All\", "
         "monitor on\n  load average before: %s\n", loadBefore.c_str());
  printf("  %-62s %10s %10s\n", "measure (ms of this Wine)", "median", "worst");
  Progress("churn");
  // Where a tick's time goes: the report, then the monitor's refresh (which rebuilds, as the
  // list differs at every tick); and whether text requests to the churning windows wait.
  std::vector<double> reports[2], refreshes[2], slowTexts;
  int rebuilt[2] = {0, 0};
  for (int i = 0; i < 6; ++i) {
    for (int reference = 1; reference >= 0; --reference) {
      writes = {};
      StartSpies();
      LONG height = app.monitorHeight;
      app.monitorHeight = 0;
      auto tick = [&] { reference ? reference::InspectTick(s.dlg) : InspectTick(s.dlg); };
      reports[reference].push_back(Time(tick));
      app.monitorHeight = height;
      refreshes[reference].push_back(Time([&] { reference ? reference::RefreshTree() : RefreshTree(); }));
      StopSpies();
      rebuilt[reference] += writes.resets;
      Pump();
    }
    std::vector<HWND> all;
    EnumChildWindows(app.hDesktop, CollectProc, reinterpret_cast<LPARAM>(&all));
    EnumChildWindows(app.hMessageRoot, CollectProc, reinterpret_cast<LPARAM>(&all));
    double slowest = 0;
    for (HWND w : all) {
      char text[64] = "";
      double t0 = Now();
      SendMessageTimeoutA(w, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 200, nullptr);
      slowest = std::max(slowest, Now() - t0);
    }
    slowTexts.push_back(slowest);
  }
  for (int reference = 1; reference >= 0; --reference) {
    const char* method = reference ? "before" : "now";
    printf("  churn, %s: %d of 6 refreshes rebuilt the list\n", method, rebuilt[reference]);
    Row((std::string("churn, ") + method + ": the report part of a tick").c_str(), 6, reports[reference]);
    Row((std::string("churn, ") + method + ": the monitor's refresh").c_str(), 6, refreshes[reference]);
  }
  Row("churn: the slowest text request of a pass over all windows", 6, slowTexts);
  writes = {};
  StartSpies();
  LatencyRows(s, "churn, monitor on", 8, 15000);
  StopSpies();
  printf("  rebuilds during the churn latency runs (both methods): CB_RESETCONTENT %d\n", writes.resets);
  printf("  load average after: %s\n", LoadAverage().c_str());
  fflush(stdout);
  EndScene(s);
}

}  // namespace

int main(int argc, char** argv) {
  // Progress and tables appear as they are made, also when written to a file.
  setvbuf(stdout, nullptr, _IONBF, 0);
  setvbuf(stderr, nullptr, _IONBF, 0);
  std::vector<int> sizes;
  int monitorTicks = 0;  // 0: 100, or 20 from 2,000 windows on
  bool churn = true, idle = true, sizesWanted = true;
  for (int i = 1; i < argc; ++i) {
    if (!strncmp(argv[i], "ticks=", 6)) {
      monitorTicks = atoi(argv[i] + 6);
    } else if (!strcmp(argv[i], "nochurn")) {
      churn = false;
    } else if (!strcmp(argv[i], "churnonly")) {
      sizesWanted = false;
    } else if (!strcmp(argv[i], "noidle")) {
      idle = false;
    } else {
      sizes.push_back(atoi(argv[i]));
    }
  }
  if (sizes.empty() && sizesWanted) sizes = {100, 500, 2000};
  printf("winrel_bench: times in milliseconds under this Wine (every window call is a server round trip)\n");
  printf("\"before\": the routines as they were before one pass served the report and the tree, kept in\n"
         "tests/bench/reference.h and measured in the same run\n");
  for (int n : sizes) RunSize(n, monitorTicks ? monitorTicks : (n >= 2000 ? 20 : 100), idle && n == 100);
  if (churn) RunChurn();
  return 0;
}
