// Shared test machinery: the real main dialog, message pumping with time limits, helper
// processes that own windows, and real X input through xdotool.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Pumps messages until read() gives expected() or timeoutMs times the tool's patience passed. A
// failure tells a slow program (the reading never moved from its first value) from a wrong one
// (it moved, to another value); `what` names the reading in the message.
::testing::AssertionResult ReadingBecomes(const char* what, const std::function<std::string()>& read,
                                          const std::function<std::string()>& expected, DWORD timeoutMs);

// Processes pending messages of this thread (all windows), without waiting.
void Pump();
// Pumps messages until cond() is true or timeoutMs passed; returns the last value of cond().
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000);
// Pumps messages for the given time (for letting the other side act, never for a result).
void PumpFor(DWORD ms);

// Reads a window's text (any process) through a bounded request.
std::string WindowText(HWND w);
std::string ClassOf(HWND w);

// Prints a handle the way the tool does: 8 upper-case hexadecimal digits of its low 32 bits.
std::string Hex8(HWND w);

// A unique tag for window titles of one test.
std::string UniqueTag(const char* prefix);

// A fixture that runs the real main dialog, built from the real template "Dlg" with the real
// MainDlgProc, modelessly inside the test thread. The AppState is reset first, as at a
// program start. The inspection timer runs; call StopTimer() to tick by hand.
class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Kills the inspection timer so that the test drives InspectTick itself.
  void StopTimer();
  // Sends WM_COMMAND as a click of the control would (BN_CLICKED, wParam = id).
  void Click(int id);
  HWND Item(int id) const { return GetDlgItem(dlg_, id); }

  HWND dlg_ = nullptr;
};

// A top-level window of this thread for tests (class "TestTop", registered once).
HWND MakeTopWindow(const char* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                   DWORD exStyle = 0, HWND owner = nullptr, int x = 100, int y = 100,
                   int w = 300, int h = 200);
HWND MakeChildWindow(HWND parent, const char* title, int id = 0, DWORD style = WS_CHILD | WS_VISIBLE,
                     int x = 10, int y = 10, int w = 100, int h = 60);

// A helper process (winhost.exe) that owns a small family of windows:
//   top:   class "WinHostTop",   text "<tag> top", visible overlapped window
//   child: class "WinHostChild", text "<tag> child", a child of top
//   owned: class "WinHostOwned", text "<tag> owned", a popup owned by top
//   msg:   class "WinHostMsg",   text "<tag> msg", a message-only window
// Options are passed on to winhost's command line (for instance "hang" stops its thread from
// answering messages once the windows exist). The destructor ends the process.
class HelperProcess {
 public:
  explicit HelperProcess(const std::string& options = "");
  ~HelperProcess();
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;

  bool ok() const { return top != nullptr; }
  DWORD pid() const { return pi_.dwProcessId; }
  std::string tag;
  HWND top = nullptr;
  HWND child = nullptr;
  HWND owned = nullptr;
  HWND msg = nullptr;

 private:
  PROCESS_INFORMATION pi_{};
};

// Runs xdotool (real X input, which GetAsyncKeyState sees under Wine) with the given command
// list and waits until it has finished. Returns false when it did not finish in time.
bool Xdotool(const std::string& commands, DWORD timeoutMs = 10000);
inline bool KeyDown(const char* key) { return Xdotool(std::string("keydown ") + key); }
inline bool KeyUp(const char* key) { return Xdotool(std::string("keyup ") + key); }
inline bool MouseTo(int x, int y) {
  return Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y));
}

// Starts a program; a failure to start is a test failure.
bool StartProgram(const std::string& commandLine, PROCESS_INFORMATION* pi);

// Path of a program built beside the tests (winhost.exe) or the tool itself.
std::string BuiltProgram(const char* name);

// The tool under test: the 64-bit build beside the tests, or the program that WINREL_TOOL names
// (the shipped 32-bit build, which runs emulated and so much slower).
std::string ToolProgram();
// How many times longer than the 64-bit tool the tool under test may take to react: the factor
// that WINREL_TOOL_PATIENCE gives, 1 without it. Waits on the tool's reactions are scaled by it.
DWORD ToolPatience();

// The tool started as its own process; finds its main dialog by caption. Its start may take
// minutes under emulation, so the wait for the dialog is 30 s times the patience.
class ToolProcess {
 public:
  ToolProcess();
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  bool ok() const { return dlg != nullptr; }
  // Sends WM_CLOSE and waits for the process to end; returns its exit code (or STILL_ACTIVE).
  // The time limit is scaled by the patience.
  DWORD Close(DWORD timeoutMs = 15000);
  // Waits for the process to end (after something else closed it); returns its exit code.
  DWORD WaitExit(DWORD timeoutMs = 15000);
  DWORD pid() const { return pi_.dwProcessId; }
  HWND Item(int id) const { return GetDlgItem(dlg, id); }
  HWND dlg = nullptr;

 private:
  PROCESS_INFORMATION pi_{};
};

extern const char kToolTitle[];
