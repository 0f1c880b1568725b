// winhost: a helper process that owns windows for the tests.
//   winhost TAG [hang] [hangafter=MS] [many=N] [deep=D]
// Creates "TAG top" (WinHostTop), its child "TAG child" (WinHostChild), a popup "TAG owned"
// (WinHostOwned) owned by top and a message-only window "TAG msg" (WinHostMsg), then serves
// messages until top is closed. "hang" stops serving messages once the windows exist, so the
// windows stop answering; "hangafter=MS" does so after MS milliseconds. "many=N" adds N more
// windows (a third each top-level, child and message-only) with texts, for load tests.
// "deep=D" nests a chain of D more children inside "TAG child"; the innermost is "TAG deep".
// "churn" adds a second thread that creates and destroys windows without end (class
// WinHostChurn, texts "TAG churn N"): a visible top-level window at (300, 420) with a child, a
// child of "TAG top" and a message-only window, each living a few milliseconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

LRESULT CALLBACK HostProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY && GetWindowLongPtrA(w, GWLP_USERDATA) == 1) PostQuitMessage(0);
  return DefWindowProcA(w, msg, wp, lp);
}

void Register(const char* name) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

std::string churnTag;
HWND churnParent;

// Each round's windows live while the thread serves its messages for a few milliseconds, so
// text requests to them are answered, then go; a round never waits on another thread.
DWORD WINAPI ChurnThread(void*) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  for (unsigned n = 0;; ++n) {
    std::string text = churnTag + " churn " + std::to_string(n);
    HWND a = CreateWindowExA(0, "WinHostChurn", text.c_str(), WS_POPUP | WS_VISIBLE, 300, 420, 120, 80,
                             nullptr, nullptr, inst, nullptr);
    CreateWindowExA(0, "WinHostChurn", text.c_str(), WS_CHILD | WS_VISIBLE, 5, 5, 60, 40, a, nullptr, inst,
                    nullptr);
    HWND c = CreateWindowExA(0, "WinHostChurn", text.c_str(), WS_CHILD | WS_VISIBLE, 200, 120, 40, 30,
                             churnParent, nullptr, inst, nullptr);
    HWND m = CreateWindowExA(0, "WinHostChurn", text.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst,
                             nullptr);
    DWORD start = GetTickCount();
    do {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    } while (GetTickCount() - start < 4);
    DestroyWindow(m);
    DestroyWindow(c);
    DestroyWindow(a);  // and its child
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::string tag = argv[1];
  bool hang = false, churn = false;
  int hangAfter = -1, many = 0, deep = 0;
  for (int i = 2; i < argc; ++i) {
    if (!strcmp(argv[i], "hang")) hang = true;
    else if (!strcmp(argv[i], "churn")) churn = true;
    else if (!strncmp(argv[i], "hangafter=", 10)) hangAfter = atoi(argv[i] + 10);
    else if (!strncmp(argv[i], "many=", 5)) many = atoi(argv[i] + 5);
    else if (!strncmp(argv[i], "deep=", 5)) deep = atoi(argv[i] + 5);
  }
  const char* const classes[] = {"WinHostTop",  "WinHostChild", "WinHostOwned",
                                 "WinHostMsg",  "WinHostMany",  "WinHostChurn"};
  for (const char* c : classes) Register(c);
  HINSTANCE inst = GetModuleHandleA(nullptr);
  HWND top = CreateWindowExA(0, "WinHostTop", (tag + " top").c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             200, 150, 400, 300, nullptr, nullptr, inst, nullptr);
  SetWindowLongPtrA(top, GWLP_USERDATA, 1);
  HWND child = CreateWindowExA(0, "WinHostChild", (tag + " child").c_str(), WS_CHILD | WS_VISIBLE, 20,
                               20, 150, 100, top, reinterpret_cast<HMENU>(77), inst, nullptr);
  for (int d = 1; d <= deep; ++d) {
    std::string text = d == deep ? tag + " deep" : tag + " level " + std::to_string(d);
    child = CreateWindowExA(0, "WinHostMany", text.c_str(), WS_CHILD | WS_VISIBLE, 1, 1, 140 - d, 90 - d,
                            child, nullptr, inst, nullptr);
  }
  CreateWindowExA(0, "WinHostOwned", (tag + " owned").c_str(), WS_POPUP | WS_CAPTION | WS_VISIBLE, 650,
                  150, 200, 120, top, nullptr, inst, nullptr);
  for (int i = 0; i < many; ++i) {
    char text[64];
    snprintf(text, sizeof text, "%s many %d", tag.c_str(), i);
    // A third each: top-level, children of top, message-only.
    switch (i % 3) {
      case 0:
        CreateWindowExA(0, "WinHostMany", text, WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, inst,
                        nullptr);
        break;
      case 1:
        CreateWindowExA(0, "WinHostMany", text, WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, top, nullptr, inst,
                        nullptr);
        break;
      default:
        CreateWindowExA(0, "WinHostMany", text, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
        break;
    }
  }
  // Created last: the tests wait for it as the sign that every window exists.
  CreateWindowExA(0, "WinHostMsg", (tag + " msg").c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst,
                  nullptr);
  if (churn) {
    churnTag = tag;
    churnParent = top;
    CloseHandle(CreateThread(nullptr, 0, ChurnThread, nullptr, 0, nullptr));
  }
  if (hang) for (;;) Sleep(1000);
  if (hangAfter >= 0) SetTimer(nullptr, 0, hangAfter, nullptr);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    if (m.message == WM_TIMER && m.hwnd == nullptr) for (;;) Sleep(1000);
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return 0;
}
