// Test windows: subjects for ownership studies, made on demand and owned by the command target.
// A test window is a Button-class window that the dialog manager builds from "Dlg3"; a test
// dialog is an ordinary dialog from "Dlg2". Both make themselves W, show their handle and serial
// number in the caption and keep a label naming their current owner.
#include "testwin/testwin.h"

#include "app/app_state.h"
#include "app/window_text.h"
#include "editor/editor.h"
#include "res/resource.h"

namespace {

// An owner of another program that does not answer within this time leaves its text empty.
constexpr UINT kOwnerTextTimeoutMs = 100;

constexpr LPARAM kModalParam = 0;
constexpr LPARAM kModelessParam = 1;

// Becoming W with the lock set makes the report follow the new window from the next tick on.
void AdoptAsTarget(HWND w) {
  app.hTargetW = w;
  app.lockW = TRUE;
  SendDlgItemMessageA(app.hMainDlg, IDC_LOCK, BM_SETCHECK, BST_CHECKED, 0);
  ++app.testWindowCount;
}

void SetCaption(HWND w, const char* caption) {
  SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption));
}

void ShowPopupState(HWND w) {
  // Any style change lands here, the extended style included: the text always tells the
  // current WS_POPUP bit, whatever changed.
  const char* text = (GetWindowLongPtrA(w, GWL_STYLE) & WS_POPUP) ? "WS_POPUP" : "not  WS_POPUP";
  SendDlgItemMessageA(w, IDC_POPUP_TOGGLE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// The button's BN_CLICKED arrives with notification code 0, so wParam is exactly its id.
BOOL OnToggleCommand(HWND w, WPARAM wp) {
  if (wp != IDC_POPUP_TOGGLE) return FALSE;
  ToggleStyle(w, WS_POPUP);
  return TRUE;
}

void DragByBody(HWND w, LPARAM lp) {
  // A press that claims to be on the caption starts the system's own move loop.
  DefWindowProcA(w, WM_NCLBUTTONDOWN, HTCAPTION, lp);
}

void OnTestWindowCreate(HWND w) {
  AdoptAsTarget(w);
  char caption[64];
  wsprintfA(caption, "%10.8lX  _  Window  %d", HandleBits(w), app.testWindowCount);
  SetCaption(w, caption);
}

BOOL OnTestDlgInit(HWND dlg, LPARAM param) {
  AdoptAsTarget(dlg);
  // The kind is kept in the dialog itself: WM_CLOSE must know how this dialog has to end.
  SetWindowLongPtrA(dlg, GWLP_USERDATA, param);
  char caption[64];
  wsprintfA(caption, "%10.8lX  _  %s  Dialog  Box  %d", HandleBits(dlg),
            param == kModalParam ? "Modal" : "Modeless", app.testWindowCount);
  SetCaption(dlg, caption);
  UpdateOwnerLabel(dlg);
  return TRUE;  // the focus goes to the first tab stop, the WS_POPUP button
}

void CloseTestDlg(HWND dlg) {
  // A modal dialog must end its DialogBoxParam loop; destroying it would leave the loop to
  // notice a vanished window. A modeless one has nobody waiting for it.
  if (GetWindowLongPtrA(dlg, GWLP_USERDATA) == kModalParam) {
    EndDialog(dlg, 0);
  } else {
    DestroyWindow(dlg);
  }
}

// Every creating command makes the command target's root window the new window's owner; a modal
// one disables it, and every new window is activated over it: calls that wait for the owner's
// thread. A hung target or root refuses the command before anything is made.
bool OwnerRefusedAsHung() {
  return RefusedAsHung(app.hCommandTarget, GetAncestor(app.hCommandTarget, GA_ROOT));
}

void CreateTestWindow() {
  if (OwnerRefusedAsHung()) return;
  // No dialog procedure: the dialog manager's messages go to the "sButton" window procedure.
  HWND w = CreateDialogParamA(app.hInstance, "Dlg3", app.hCommandTarget, nullptr, 0);
  UpdateOwnerLabel(w);
}

void CreateModelessTestDlg() {
  if (OwnerRefusedAsHung()) return;
  CreateDialogParamA(app.hInstance, "Dlg2", app.hCommandTarget, TestDlgProc, kModelessParam);
}

void RunModalTestDlg() {
  if (OwnerRefusedAsHung()) return;
  // Returns only when the dialog ends; its nested loop keeps dispatching the main dialog's
  // messages, the inspection timer included.
  DialogBoxParamA(app.hInstance, "Dlg2", app.hCommandTarget, TestDlgProc, kModalParam);
}

void RunOwnedMessageBox() {
  if (OwnerRefusedAsHung()) return;
  MessageBoxA(app.hCommandTarget, "MsgBox", "MsgBox", MB_OK);
}

constexpr CommandRoute kTestCommands[] = {
    {IDC_CREATEWND, WithoutArg<CreateTestWindow>, 0},
    {IDC_CREATEDLG, WithoutArg<CreateModelessTestDlg>, 0},
    {IDC_DLGBOX, WithoutArg<RunModalTestDlg>, 0},
    {IDC_MSGBOX, WithoutArg<RunOwnedMessageBox>, 0},
};

}  // namespace

constexpr CommandRoutes kTestWindowRoutes = RoutesOf(kTestCommands);

void RegisterTestWindowClass() {
  // The system's Button class with room for the dialog manager's data: a dialog template may
  // then name it as its class.
  // Zeroed first: should the Button class ever be missing, nothing undefined gets registered.
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  GetClassInfoExA(nullptr, "Button", &wc);
  wc.style = CS_DBLCLKS;
  app.buttonClassProc = wc.lpfnWndProc;
  wc.lpfnWndProc = TestWindowProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = app.hInstance;
  wc.lpszClassName = "sButton";
  RegisterClassExA(&wc);
}

void UpdateOwnerLabel(HWND w) {
  // WM_WINDOWPOSCHANGED arrives while the dialog manager is still building the window: without
  // the label there is nothing to write, and no reason to ask the owner anything yet.
  HWND label = GetDlgItem(w, IDC_OWNER_LABEL);
  if (!label) return;

  char line[256];
  HWND owner = GetWindow(w, GW_OWNER);
  if (owner) {
    char cls[kWindowTextChars] = "";
    char text[kWindowTextChars];
    GetClassNameA(owner, cls, kWindowTextChars - 1);
    // The owner may belong to a hung program: asked with a bound, it leaves the text empty.
    ReadWindowText(owner, text, kOwnerTextTimeoutMs);
    wsprintfA(line, "%s  %8.8lX    '%s'     '%s'", "Owner :", HandleBits(owner), cls, text);
  } else {
    lstrcpyA(line, "Owner :");
  }
  SendMessageA(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(line));
}

LRESULT CALLBACK TestWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:           OnTestWindowCreate(w); return 0;
    case WM_WINDOWPOSCHANGED: UpdateOwnerLabel(w); return 0;
    case WM_LBUTTONDOWN:      DragByBody(w, lp); return 0;
    case WM_STYLECHANGED:     ShowPopupState(w); return 0;
    case WM_COMMAND:
      if (OnToggleCommand(w, wp)) return 0;
      break;
    default:
      break;
  }
  // Everything else, the dialog manager's messages included, is the Button class's business.
  return CallWindowProcA(app.buttonClassProc, w, msg, wp, lp);
}

INT_PTR CALLBACK TestDlgProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:       return OnTestDlgInit(dlg, lp);
    case WM_WINDOWPOSCHANGED: UpdateOwnerLabel(dlg); return TRUE;
    case WM_CLOSE:            CloseTestDlg(dlg); return TRUE;
    case WM_LBUTTONDOWN:      DragByBody(dlg, lp); return TRUE;
    case WM_COMMAND:          return OnToggleCommand(dlg, wp);  // Enter and Escape end nothing
    case WM_STYLECHANGED:     ShowPopupState(dlg); return TRUE;
    default:                  return FALSE;
  }
}
