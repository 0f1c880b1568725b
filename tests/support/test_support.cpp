#include "support/test_support.h"

#include <cstdio>
#include <cstdlib>

#include "app/app_state.h"
#include "app/main_dlg.h"
#include "app/texts.h"
#include "res/resource.h"

void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    Pump();
    if (cond()) return true;
    if (GetTickCount() - start > timeoutMs) return cond();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    Pump();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

std::string WindowText(HWND w) {
  char text[4096] = "";
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

std::string ClassOf(HWND w) {
  char name[256] = "";
  GetClassNameA(w, name, sizeof name);
  return name;
}

std::string Hex8(HWND w) {
  char text[16];
  snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(HandleBits(w)));
  return text;
}

std::string UniqueTag(const char* prefix) {
  static int counter = 0;
  char text[64];
  snprintf(text, sizeof text, "%s%lu_%d", prefix, GetCurrentProcessId(), ++counter);
  return text;
}

void MainDialogTest::SetUp() {
  // A fresh program start: the state is all zero and the title not yet joined to the help text.
  app = AppState{};
  app.hInstance = GetModuleHandleA(nullptr);
  titleText[kTitleChars] = '\0';
  dlg_ = CreateDialogParamA(app.hInstance, "Dlg", nullptr, MainDlgProc, 0);
  ASSERT_NE(dlg_, nullptr);
  ShowWindow(dlg_, SW_SHOWNORMAL);
  Pump();
}

void MainDialogTest::TearDown() {
  if (dlg_ && IsWindow(dlg_)) {
    KillTimer(dlg_, IDT_INSPECT);
    DestroyWindow(dlg_);
  }
  if (app.hHitRegion) DeleteObject(app.hHitRegion);
  Pump();
}

void MainDialogTest::StopTimer() {
  KillTimer(dlg_, IDT_INSPECT);
  Pump();
  // A WM_TIMER may already sit in the queue; it is retrieved only by GetMessage/PeekMessage,
  // which Pump has just done.
}

void MainDialogTest::Click(int id) { SendMessageA(dlg_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

namespace {

LRESULT CALLBACK TestTopProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, msg, wp, lp);
}

void RegisterTestClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = TestTopProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "TestTop";
  RegisterClassExA(&wc);
  wc.lpszClassName = "TestChild";
  RegisterClassExA(&wc);
}

}  // namespace

HWND MakeTopWindow(const char* title, DWORD style, DWORD exStyle, HWND owner, int x, int y, int w,
                   int h) {
  RegisterTestClasses();
  return CreateWindowExA(exStyle, "TestTop", title, style, x, y, w, h, owner, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

HWND MakeChildWindow(HWND parent, const char* title, int id, DWORD style, int x, int y, int w, int h) {
  RegisterTestClasses();
  return CreateWindowExA(0, "TestChild", title, style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                         nullptr);
}

bool StartProgram(const std::string& commandLine, PROCESS_INFORMATION* pi) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');  // CreateProcessA may write into its command line
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, pi)) {
    return true;
  }
  ADD_FAILURE() << "cannot start " << commandLine;
  return false;
}

std::string BuiltProgram(const char* name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path);
  dir = dir.substr(0, dir.find_last_of("\\/") + 1);
  return dir + name;
}

HelperProcess::HelperProcess(const std::string& options) {
  tag = UniqueTag("wh");
  if (!StartProgram("\"" + BuiltProgram("winhost.exe") + "\" " + tag + " " + options, &pi_)) return;
  std::string topText = tag + " top";
  std::string msgText = tag + " msg";
  std::string childText = tag + " child";
  std::string ownedText = tag + " owned";
  PumpUntil([&] {
    top = FindWindowA("WinHostTop", topText.c_str());
    msg = FindWindowExA(HWND_MESSAGE, nullptr, "WinHostMsg", msgText.c_str());
    return top != nullptr && msg != nullptr;
  }, 15000);
  if (top) {
    child = FindWindowExA(top, nullptr, "WinHostChild", childText.c_str());
    owned = FindWindowA("WinHostOwned", ownedText.c_str());
  }
  if (!top) ADD_FAILURE() << "winhost windows did not appear: " << tag << " " << options;
}

HelperProcess::~HelperProcess() {
  if (pi_.hProcess) {
    TerminateProcess(pi_.hProcess, 0);
    WaitForSingleObject(pi_.hProcess, 5000);
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
}

bool Xdotool(const std::string& commands, DWORD timeoutMs) {
  // xdotool gives no process handle to wait on: its last command touches a file that we wait for.
  static int counter = 0;
  char name[64];
  snprintf(name, sizeof name, "xdo_%lu_%d", GetCurrentProcessId(), ++counter);
  std::string winFile = std::string("Z:\\tmp\\") + name;
  DeleteFileA(winFile.c_str());
  std::string cmd = "Z:\\usr\\bin\\xdotool " + commands + " exec touch /tmp/" + name;
  // Wine starts a Unix program without process or thread handles but leaves stale values in those
  // fields: closing them closes whatever handle of ours they name (standard output, in the 32-bit
  // build, which then loses the rest of the test log).
  PROCESS_INFORMATION pi{};
  if (!StartProgram(cmd, &pi)) return false;
  bool done = PumpUntil([&] { return GetFileAttributesA(winFile.c_str()) != INVALID_FILE_ATTRIBUTES; },
                        timeoutMs);
  DeleteFileA(winFile.c_str());
  return done;
}

const char kToolTitle[] = "  WIN  API   -   Vorlan :    Parent ,  Owner ,  Z-order          (2010-07-06)";

namespace {

struct FindDialogOf {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindToolDialogProc(HWND w, LPARAM lp) {
  auto* find = reinterpret_cast<FindDialogOf*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == find->pid && ClassOf(w) == "#32770" && WindowText(w) == kToolTitle) {
    find->found = w;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

::testing::AssertionResult ReadingBecomes(const char* what, const std::function<std::string()>& read,
                                          const std::function<std::string()>& expected, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  const std::string first = read();
  std::string last = first;
  if (PumpUntil([&] { return (last = read()) == expected(); }, timeoutMs * ToolPatience())) {
    return ::testing::AssertionSuccess();
  }
  const std::string waited = std::to_string((GetTickCount() - start) / 1000) + " s";
  if (last == first) {
    return ::testing::AssertionFailure() << "slow: " << what << " still read '" << first << "' after "
                                         << waited << ", expected '" << expected() << "'";
  }
  return ::testing::AssertionFailure() << "wrong: " << what << " changed from '" << first << "' to '" << last
                                       << "' in " << waited << ", expected '" << expected() << "'";
}

std::string ToolProgram() {
  char path[MAX_PATH] = "";
  DWORD n = GetEnvironmentVariableA("WINREL_TOOL", path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(path) : BuiltProgram("..\\winrel.exe");
}

DWORD ToolPatience() {
  char text[16] = "";
  DWORD n = GetEnvironmentVariableA("WINREL_TOOL_PATIENCE", text, sizeof text);
  DWORD factor = n > 0 && n < sizeof text ? strtoul(text, nullptr, 10) : 1;
  return factor > 0 ? factor : 1;
}

ToolProcess::ToolProcess() {
  // The dialog must not appear under the pointer: a slow (emulated) tool that reads the pointer's
  // entry into its dialog late puts the cursor back there for a moment, and a pick of that moment
  // takes the old point. The screen's far corner holds no window of the tests.
  MouseTo(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  DWORD started = GetTickCount();
  if (!StartProgram("\"" + ToolProgram() + "\"", &pi_)) return;
  PumpUntil([&] {
    FindDialogOf find = {pi_.dwProcessId, nullptr};
    EnumWindows(FindToolDialogProc, reinterpret_cast<LPARAM>(&find));
    dlg = find.found;
    return dlg != nullptr && IsWindowVisible(dlg);
  }, 30000 * ToolPatience());
  if (!dlg) {
    ADD_FAILURE() << "the main dialog of " << ToolProgram() << " did not appear in "
                  << (GetTickCount() - started) / 1000 << " s";
  } else if (ToolPatience() > 1) {
    printf("%s showed its dialog after %lu s\n", ToolProgram().c_str(), (GetTickCount() - started) / 1000);
  }
}

DWORD ToolProcess::WaitExit(DWORD timeoutMs) {
  DWORD code = STILL_ACTIVE;
  if (!pi_.hProcess) return code;
  PumpUntil([&] { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0; },
            timeoutMs * ToolPatience());
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

DWORD ToolProcess::Close(DWORD timeoutMs) {
  if (dlg) PostMessageA(dlg, WM_CLOSE, 0, 0);
  return WaitExit(timeoutMs);
}

ToolProcess::~ToolProcess() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
}
