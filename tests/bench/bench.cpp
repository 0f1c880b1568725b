// winrel_bench: what one inspection tick and one tree refresh cost, against the floor of the
// window calls they cannot avoid, with 100, 500 and 2,000 windows of another process on the
// desktop. Prints one table per size. Run: bash scripts/bench.sh
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
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

// Progress marks on stderr, so a stall shows where it is.
void Progress(const char* step) {
  fprintf(stderr, "[%s]", step);
  fflush(stderr);
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

// Counts what a still scene must not cause: pane and label writes, list rebuilds.
struct Writes {
  int paneTexts, labelTexts, captionTexts, resets, additions;
} writes;

LRESULT CALLBACK CountHook(int code, WPARAM wp, LPARAM lp) {
  const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION) {
    if (m->message == WM_SETTEXT && m->hwnd == app.hReportPane) ++writes.paneTexts;
    if (m->message == WM_SETTEXT && m->hwnd == GetDlgItem(app.hMainDlg, IDC_TREECOUNT)) ++writes.labelTexts;
    if (m->message == WM_SETTEXT && m->hwnd == GetDlgItem(app.hMainDlg, IDC_TARGET)) ++writes.captionTexts;
    if (m->message == CB_RESETCONTENT && m->hwnd == app.hTreeCombo) ++writes.resets;
    if (m->message == CB_ADDSTRING && m->hwnd == app.hTreeCombo) ++writes.additions;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
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

void RunSize(int n) {
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

  Progress("0");
  app = AppState{};
  app.hInstance = GetModuleHandleA(nullptr);
  kTitleText[kTitleChars] = '\0';
  HWND dlg = CreateDialogParamA(app.hInstance, "Dlg", nullptr, MainDlgProc, 0);
  ShowWindow(dlg, SW_SHOWNORMAL);
  KillTimer(dlg, IDT_INSPECT);
  Pump();

  std::vector<HWND> desktopWindows, messageWindows;
  EnumChildWindows(app.hDesktop, CollectProc, reinterpret_cast<LPARAM>(&desktopWindows));
  EnumChildWindows(app.hMessageRoot, CollectProc, reinterpret_cast<LPARAM>(&messageWindows));

  Progress("1");
  // One tick, locked on the innermost window of the chain, P the helper's top window.
  app.hTargetW = deep;
  app.lockW = TRUE;
  app.hTargetP = top;
  std::vector<double> ticks;
  for (int i = 0; i < 20; ++i) {
    app.prevReport[0] = '\0';  // make every measured tick write the pane, the worst case
    double t0 = Now();
    InspectTick(dlg);
    ticks.push_back(Now() - t0);
  }
  double tickMedian = Median(ticks), tickWorst = *std::max_element(ticks.begin(), ticks.end());

  Progress("2");
  // The parts of a tick, measured as the same calls for the ten rows' windows.
  HWND rows[10] = {deep, top, GetWindow(deep, GW_OWNER),
                   reinterpret_cast<HWND>(GetWindowLongPtrA(deep, GWLP_HWNDPARENT)), GetParent(deep),
                   GetAncestor(deep, GA_PARENT), GetAncestor(deep, GA_ROOT),
                   GetAncestor(deep, GA_ROOTOWNER), nullptr, nullptr};
  double walk = 0, snapshot = 0, text = 0;
  for (int r = 0; r < 10; ++r) {
    HWND w = rows[r];
    if (!w || !IsWindow(w)) continue;
    double t0 = Now();
    CountTo count = {w, 0};
    EnumChildWindows(GetAncestor(GetAncestor(w, GA_ROOT), GA_PARENT), CountToProc,
                     reinterpret_cast<LPARAM>(&count));
    double t1 = Now();
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32First(snap, &entry); ok; ok = Process32Next(snap, &entry)) {
    }
    CloseHandle(snap);
    double t2 = Now();
    char buffer[64] = "";
    SendMessageTimeoutA(w, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 100,
                        nullptr);
    double t3 = Now();
    walk += t1 - t0;
    snapshot += t2 - t1;
    text += t3 - t2;
  }

  Progress("3");
  // The tree under "All": one full rebuild, then refreshes that find no difference.
  SendMessageA(dlg, WM_COMMAND, IDC_FILTER_ALL, 0);
  Pump();
  std::vector<double> rebuilds, compares;
  for (int i = 0; i < 3; ++i) {
    SendMessageA(app.hTreeList, LB_RESETCONTENT, 0, 0);
    double t0 = Now();
    RefreshTree();
    rebuilds.push_back(Now() - t0);
  }
  for (int i = 0; i < 5; ++i) {
    double t0 = Now();
    RefreshTree();
    compares.push_back(Now() - t0);
  }
  int rows_in_list = static_cast<int>(SendMessageA(app.hTreeCombo, CB_GETCOUNT, 0, 0));

  Progress("4");
  // The floor: the calls a refresh cannot avoid, in a bare loop over the same windows.
  std::vector<double> floors;
  for (int i = 0; i < 3; ++i) {
    double t0 = Now();
    std::vector<HWND> all;
    EnumChildWindows(app.hDesktop, CollectProc, reinterpret_cast<LPARAM>(&all));
    EnumChildWindows(app.hMessageRoot, CollectProc, reinterpret_cast<LPARAM>(&all));
    int item = 0;
    for (HWND w : all) {
      char name[64], buffer[64] = "", line[256];
      GetClassNameA(w, name, 63);
      SendMessageTimeoutA(w, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 200,
                          nullptr);
      for (HWND a = w; a && a != app.hDesktop && a != app.hMessageRoot;) a = GetAncestor(a, GA_PARENT);
      GetWindowThreadProcessId(w, nullptr);
      SendMessageA(app.hTreeCombo, CB_GETLBTEXT, item++, reinterpret_cast<LPARAM>(line));
    }
    floors.push_back(Now() - t0);
  }

  Progress("5");
  // A still scene: 100 ticks with the tree monitor on, nothing changing.
  SendMessageA(dlg, WM_COMMAND, IDC_MONITOR, 0);  // the list as a free window
  Pump();
  RECT r;
  GetWindowRect(app.hTreeList, &r);
  // Monitor on, as a right click on the list's caption does (sending the click itself would start
  // the system's wait for the button release).
  app.monitorHeight = r.bottom - r.top;
  Pump();
  InspectTick(dlg);  // settle: the first tick may write
  Pump();
  writes = {};
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountHook, nullptr, GetCurrentThreadId());
  std::vector<double> monitorTicks;
  for (int i = 0; i < 100; ++i) {
    double t0 = Now();
    InspectTick(dlg);
    monitorTicks.push_back(Now() - t0);
    Pump();
  }
  UnhookWindowsHookEx(hook);
  bool monitorOn = app.monitorHeight != 0;

  Progress("6");
  printf("\n%d helper windows (%zu windows in the desktop tree, %zu message-only; %d rows under \"All\")\n",
         n, desktopWindows.size(), messageWindows.size(), rows_in_list);
  printf("  %-58s %10s %10s\n", "measure", "median ms", "worst ms");
  printf("  %-58s %10.2f %10.2f\n", "inspection tick, lock on a window 10 levels deep", tickMedian, tickWorst);
  printf("  %-58s %10.2f\n", "  part: Z-order walks (EnumChildWindows) of the rows", walk);
  printf("  %-58s %10.2f\n", "  part: process snapshots of the rows", snapshot);
  printf("  %-58s %10.2f\n", "  part: text requests of the rows", text);
  printf("  %-58s %10.2f\n", "  part: the rest (classes, styles, ancestors, format, pane)",
         tickMedian - walk - snapshot - text);
  printf("  %-58s %10.2f %10.2f\n", "RefreshTree \"All\", no difference (compare pass only)", Median(compares),
         *std::max_element(compares.begin(), compares.end()));
  printf("  %-58s %10.2f %10.2f\n", "RefreshTree \"All\", full rebuild (compare + build)", Median(rebuilds),
         *std::max_element(rebuilds.begin(), rebuilds.end()));
  printf("  %-58s %10.2f %10.2f\n", "floor: enumerate + class + text + ancestors + item read", Median(floors),
         *std::max_element(floors.begin(), floors.end()));
  printf("  %-58s %10.2f\n", "ratio: no-difference refresh / floor", Median(compares) / Median(floors));
  printf("  %-58s %10.2f %10.2f\n", "tick with the tree monitor on (still scene)", Median(monitorTicks),
         *std::max_element(monitorTicks.begin(), monitorTicks.end()));
  printf("  still scene, 100 ticks, monitor %s: pane writes %d, count label writes %d, 2038 caption writes %d,"
         " CB_RESETCONTENT %d, CB_ADDSTRING %d\n",
         monitorOn ? "on" : "OFF", writes.paneTexts, writes.labelTexts, writes.captionTexts, writes.resets,
         writes.additions);
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
  std::vector<int> sizes = {100, 500, 2000};
  if (argc > 1) {
    sizes.clear();
    for (int i = 1; i < argc; ++i) sizes.push_back(atoi(argv[i]));
  }
  printf("winrel_bench: times in milliseconds under this Wine (every window call is a server round trip)\n");
  for (int n : sizes) RunSize(n);
  return 0;
}
