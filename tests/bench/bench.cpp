// winrel_bench: what one inspection tick and one tree refresh cost, against the floor of the
// window calls they cannot avoid, with 100, 500 and 2,000 windows of another process on the
// desktop. Prints one table per size. Run: bash scripts/bench.sh [sizes]
//
// Method. Every figure is a median over repetitions (the worst is printed beside it), since the
// machine is shared and one sample says little. A floor is the same window calls as the measured
// code makes, in a bare loop over the same windows, so "measured / floor" shows the overhead of
// the code itself. Tick and floor, refresh and floor are measured in alternation, so a change in
// the machine's load touches both. Nothing that counts messages runs while something is timed:
// a WH_CALLWNDPROC hook makes every message this thread sends to its own windows a round trip to
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

struct TickFloor {
  double walks, snapshots, texts, rest;
  double total() const { return walks + snapshots + texts + rest; }
};

// The window calls of one tick locked on w, in a bare loop: per row what a description asks,
// plus the command target's caption, the relation queries and the pane write.
TickFloor MeasureTickFloor(HWND dlg, HWND w, HWND p, const char* report) {
  TickFloor f = {0, 0, 0, 0};
  double t0 = Now();
  IsDlgButtonChecked(dlg, IDC_TARGET);
  char caption[64] = "";
  SendDlgItemMessageA(dlg, IDC_TARGET, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(caption));
  std::vector<HWND> rows = TickRows(w, p);
  f.rest += Now() - t0;
  for (HWND h : rows) {
    t0 = Now();
    BOOL valid = IsWindow(h);
    HWND root = GetAncestor(GetAncestor(h, GA_ROOT), GA_PARENT);
    f.rest += Now() - t0;
    if (!h || !valid) continue;
    t0 = Now();
    CountTo count = {h, 0};
    EnumChildWindows(root, CountToProc, reinterpret_cast<LPARAM>(&count));
    double t1 = Now();
    char text[64] = "";
    SendMessageTimeoutA(h, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 100, nullptr);
    double t2 = Now();
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
    double t3 = Now();
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, pid);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snapshot, &entry); ok && entry.th32ProcessID != pid;
         ok = Process32Next(snapshot, &entry)) {
    }
    CloseHandle(snapshot);
    double t4 = Now();
    f.walks += t1 - t0;
    f.texts += t2 - t1;
    f.rest += t3 - t2;
    f.snapshots += t4 - t3;
  }
  t0 = Now();
  SendDlgItemMessageA(dlg, IDC_REPORT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(report));
  f.rest += Now() - t0;
  return f;
}

// The calls a refresh under "All" cannot avoid, in a bare loop over the same windows: the two
// enumerations, and per window its ids, the walk to its root, class, text and the list item.
double MeasureTreeFloor() {
  double t0 = Now();
  std::vector<HWND> all;
  EnumChildWindows(app.hDesktop, CollectProc, reinterpret_cast<LPARAM>(&all));
  EnumChildWindows(app.hMessageRoot, CollectProc, reinterpret_cast<LPARAM>(&all));
  int item = 0;
  for (HWND w : all) {
    char name[64], buffer[64] = "", line[256];
    GetWindowThreadProcessId(w, nullptr);
    for (HWND a = w; a && a != app.hDesktop && a != app.hMessageRoot;) a = GetAncestor(a, GA_PARENT);
    GetClassNameA(w, name, 63);
    SendMessageTimeoutA(w, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 200, nullptr);
    SendMessageA(app.hTreeCombo, CB_GETLBTEXT, item++, reinterpret_cast<LPARAM>(line));
  }
  return Now() - t0;
}

double Time(const std::function<void()>& f) {
  double t0 = Now();
  f();
  return Now() - t0;
}

void RunSize(int n, int tickCount) {
  char tag[32];
  wsprintfA(tag, "bench%lu_%d", GetCurrentProcessId(), n);
  std::string cmd = "\"" + Dir() + "winhost.exe\" " + tag + " many=" + std::to_string(n) + " deep=8";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    printf("cannot start %s\n", cmd.c_str());
    return;
  }
  std::string topText = std::string(tag) + " top", msgText = std::string(tag) + " msg";
  std::string deepText = std::string(tag) + " deep";
  HWND top = nullptr, msg = nullptr;
  for (int i = 0; i < 3000 && !(top && msg); ++i) {
    top = FindWindowA("WinHostTop", topText.c_str());
    msg = FindWindowExA(HWND_MESSAGE, nullptr, "WinHostMsg", msgText.c_str());
    Sleep(10);
  }
  FindText find = {deepText.c_str(), nullptr};
  if (top) EnumChildWindows(top, FindTextProc, reinterpret_cast<LPARAM>(&find));
  HWND deep = find.found;
  if (!deep) {
    printf("helper windows did not appear\n");
    TerminateProcess(pi.hProcess, 0);
    return;
  }
  std::string loadBefore = LoadAverage();

  Progress("0");
  app = AppState{};
  app.hInstance = GetModuleHandleA(nullptr);
  titleText[kTitleChars] = '\0';
  HWND dlg = CreateDialogParamA(app.hInstance, "Dlg", nullptr, MainDlgProc, 0);
  ShowWindow(dlg, SW_SHOWNORMAL);
  KillTimer(dlg, IDT_INSPECT);
  Pump();

  std::vector<HWND> desktopWindows, messageWindows;
  EnumChildWindows(app.hDesktop, CollectProc, reinterpret_cast<LPARAM>(&desktopWindows));
  EnumChildWindows(app.hMessageRoot, CollectProc, reinterpret_cast<LPARAM>(&messageWindows));

  Progress("1");
  // One tick, locked on the innermost window of the chain, P the helper's top window; and its
  // floor. Every measured tick writes the pane (the previous report is forgotten), the worst
  // case; the floor writes it too.
  app.hTargetW = deep;
  app.lockW = TRUE;
  app.hTargetP = top;
  InspectTick(dlg);
  std::vector<double> ticks, floors, walks, snapshots, texts, rests;
  for (int i = 0; i < 20; ++i) {
    app.prevReport[0] = '\0';
    ticks.push_back(Time([&] { InspectTick(dlg); }));
    TickFloor f = MeasureTickFloor(dlg, deep, top, app.report);
    floors.push_back(f.total());
    walks.push_back(f.walks);
    snapshots.push_back(f.snapshots);
    texts.push_back(f.texts);
    rests.push_back(f.rest);
  }
  int reportChars = lstrlenA(app.report);

  Progress("2");
  // The tree under "All": rebuilds (the list emptied first), refreshes that find no
  // difference, and the floor, in alternation.
  SendMessageA(dlg, WM_COMMAND, IDC_FILTER_ALL, 0);
  Pump();
  RefreshTree();  // the first list showed the count label and caption of the filter before
  std::vector<double> rebuilds, compares, treeFloors;
  const int rounds = n >= 2000 ? 3 : 5;
  for (int i = 0; i < rounds; ++i) {
    SendMessageA(app.hTreeList, LB_RESETCONTENT, 0, 0);
    rebuilds.push_back(Time(RefreshTree));
    compares.push_back(Time(RefreshTree));
    treeFloors.push_back(MeasureTreeFloor());
  }
  int rowsInList = static_cast<int>(SendMessageA(app.hTreeCombo, CB_GETCOUNT, 0, 0));

  Progress("3");
  // A still scene with the tree monitor on: first timed, then counted, never both at once.
  SendMessageA(dlg, WM_COMMAND, IDC_MONITOR, 0);  // the list as a free window
  Pump();
  RECT r;
  GetWindowRect(app.hTreeList, &r);
  // Monitor on, as a right click on the list's caption does (sending the click itself would start
  // the system's wait for the button release).
  app.monitorHeight = r.bottom - r.top;
  for (int i = 0; i < 3; ++i) {  // settle: the count label and the free caption enter the list
    InspectTick(dlg);
    Pump();
  }
  // Timed: the tick with its monitor step, and the same tick's two halves measured apart (the
  // tick with the monitor off, then the refresh that the monitor step would run).
  std::vector<double> monitorTicks, plainTicks, plainRefreshes;
  for (int i = 0; i < tickCount; ++i) {
    monitorTicks.push_back(Time([&] { InspectTick(dlg); }));
    Pump();
  }
  for (int i = 0; i < tickCount; ++i) {
    LONG height = app.monitorHeight;
    app.monitorHeight = 0;
    plainTicks.push_back(Time([&] { InspectTick(dlg); }));
    app.monitorHeight = height;
    plainRefreshes.push_back(Time(RefreshTree));
    Pump();
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

  Progress("4");
  printf("\n%d helper windows (%zu windows in the desktop tree, %zu message-only; %d rows under \"All\";"
         " report %d characters)\n",
         n, desktopWindows.size(), messageWindows.size(), rowsInList, reportChars);
  printf("  load average before / after: %s / %s\n", loadBefore.c_str(), LoadAverage().c_str());
  printf("  %-62s %10s %10s\n", "measure (ms of this Wine)", "median", "worst");
  Row("inspection tick, lock on a window 10 levels deep", 20, ticks);
  Row("floor: the tick's window calls in a bare loop", 20, floors);
  Part("  floor part: Z-order walks (EnumChildWindows)", Median(walks));
  Part("  floor part: process snapshots", Median(snapshots));
  Part("  floor part: text requests", Median(texts));
  Part("  floor part: the rest (class, styles, states, ids, rect, pane)", Median(rests));
  Part("ratio: tick / floor", Median(ticks) / Median(floors));
  Row("RefreshTree \"All\", no difference (compare pass only)", rounds, compares);
  Row("RefreshTree \"All\", full rebuild (compare + build)", rounds, rebuilds);
  Row("floor: enumerate + ids + ancestors + class + text + item", rounds, treeFloors);
  Part("ratio: no-difference refresh / floor", Median(compares) / Median(treeFloors));
  Row("tick with the tree monitor on, still scene", tickCount, monitorTicks);
  Row("  its halves apart: tick with the monitor off", tickCount, plainTicks);
  Row("  its halves apart: RefreshTree of the monitor step", tickCount, plainRefreshes);
  printf("  still scene, %d ticks, monitor %s: pane writes %d, count label writes %d, 2038 caption writes %d,"
         " CB_RESETCONTENT %d, CB_ADDSTRING %d\n",
         tickCount, monitorOn ? "on" : "OFF", writes.paneTexts, writes.labelTexts, writes.captionTexts,
         writes.resets, writes.additions);
  fflush(stdout);

  DestroyWindow(dlg);
  DeleteObject(app.hHitRegion);
  Pump();
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  int monitorTicks = 0;  // 0: 100, or 20 from 2,000 windows on
  for (int i = 1; i < argc; ++i) {
    if (!strncmp(argv[i], "ticks=", 6)) {
      monitorTicks = atoi(argv[i] + 6);
    } else {
      sizes.push_back(atoi(argv[i]));
    }
  }
  if (sizes.empty()) sizes = {100, 500, 2000};
  printf("winrel_bench: times in milliseconds under this Wine (every window call is a server round trip)\n");
  for (int n : sizes) RunSize(n, monitorTicks ? monitorTicks : (n >= 2000 ? 20 : 100));
  return 0;
}
