// The help window: a read-only edit control that shows the help text over the report pane.
#include "app/app_state.h"
#include "app/chrome.h"
#include "app/texts.h"

namespace {

constexpr DWORD kHelpExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr DWORD kHelpStyle = WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_THICKFRAME |
                             ES_READONLY | ES_MULTILINE;
// Selected at opening: the header line with its line break; the end lies one character further,
// inside the empty line below, which looks the same.
constexpr WPARAM kHeaderSelectionEnd = kHelpHeaderChars + kLineBreakChars + 1;

}  // namespace

HWND OpenHelpWindow() {
  // The window opens over the report pane, a quarter of the pane's height below its top; the
  // pane's client origin follows the pane when it has been dragged sideways.
  RECT client;
  GetClientRect(app.hReportPane, &client);
  const UINT h = static_cast<UINT>(client.bottom);
  POINT origin = {0, 0};
  MapWindowPoints(app.hReportPane, nullptr, &origin, 1);

  const int x = origin.x + static_cast<int>(h / 32);
  const int y = origin.y + static_cast<int>(h / 4);
  const int height = static_cast<int>(h - h / 4 - h / 32);
  const int width = 2 * height;

  // Owned by the main dialog, so every help window goes when the dialog goes; none is recorded,
  // and any number may be open at once.
  HWND help = CreateWindowExA(kHelpExStyle, "edit", helpText, kHelpStyle, x, y, width, height,
                              app.hMainDlg, nullptr, app.hInstance, nullptr);
  if (!help) return nullptr;
  Subclass(help, HelpWindowProc);
  SendMessageA(help, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  SendMessageA(help, EM_SETSEL, 0, kHeaderSelectionEnd);
  return help;
}

namespace {

LRESULT CloseHelpWindow(HWND help) {
  DestroyWindow(help);
  return 0;
}

LRESULT DragHelpWindow(HWND help, LPARAM lp) {
  // Dragged as if by a caption, which it has none of; the edit control never sees the press, so
  // the caret does not move and the header line stays selected.
  DefWindowProcA(help, WM_NCLBUTTONDOWN, HTCAPTION, lp);
  return 0;
}

}  // namespace

LRESULT CALLBACK HelpWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_RBUTTONUP:   return CloseHelpWindow(w);
    case WM_LBUTTONDOWN: return DragHelpWindow(w, lp);
    default:             return CallPreviousProc(w, msg, wp, lp);
  }
}
