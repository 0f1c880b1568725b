// The tree list window: the combo box's drop-down list, which can also stand free as a
// captioned window and run as a live monitor of the window tree.
#include "app/app_state.h"
#include "res/resource.h"
#include "tree/tree.h"

namespace {

constexpr int kCaptionChars = 256;
constexpr char kCaptionSuffix[] = "  // Caption right click :  monitor  on/off";
constexpr COLORREF kMonitorTextColor = 0x00DD0000;  // RGB(0, 0, 221)

// The drop-down form clears WS_POPUP, WS_CAPTION and WS_THICKFRAME and keeps a thin border;
// the free form sets all three.
constexpr DWORD kFreeFormBits = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
constexpr DWORD kDropDownMask = ~kFreeFormBits;
static_assert(kDropDownMask == 0x7F3BFFFF, "the drop-down form keeps every bit but the free form's");

// The list window's caption for each filter. The process and thread captions name P's id; their
// letter goes into the sixth character of the shared format.
struct FilterButton {
  TreeFilter filter;
  const char* caption;  // nullptr: the id caption with idLetter
  char idLetter;
};
constexpr FilterButton kFilterButtons[] = {
    {TreeFilter::TopL, "Top-level", 0},
    {TreeFilter::All, "All", 0},
    {TreeFilter::Pid, nullptr, 'p'},
    {TreeFilter::Tid, nullptr, 't'},
    {TreeFilter::Desc, "W :  Descendants", 0},
    {TreeFilter::Point, "Cursor over window", 0},
};

const FilterButton* FindFilterByValue(TreeFilter filter) {
  for (const FilterButton& b : kFilterButtons)
    if (b.filter == filter) return &b;
  return nullptr;
}

DWORD CurrentStyle() { return static_cast<DWORD>(GetWindowLongPtrA(app.hTreeList, GWL_STYLE)); }
DWORD DropDownForm(DWORD style) { return (style & kDropDownMask) | WS_BORDER; }
DWORD FreeForm(DWORD style) { return style | kFreeFormBits; }
void SetListStyle(DWORD style) { SetWindowLongPtrA(app.hTreeList, GWL_STYLE, static_cast<LONG>(style)); }

// The list keeps its place, width and Z-order and grows by two rows, but its bottom stops at the
// bottom of its monitor's work area: below it, its rows and sizing border could not be reached. A
// list that already reaches further keeps its height. A pinned height absorbs the growth in
// WM_WINDOWPOSCHANGING.
void GrowList(UINT flags) {
  RECT r;
  GetWindowRect(app.hTreeList, &r);
  LRESULT itemHeight = SendMessageA(app.hTreeList, LB_GETITEMHEIGHT, 0, 0);
  if (itemHeight == LB_ERR) itemHeight = 0;
  LONG height = r.bottom - r.top;
  LONG grown = height + 2 * static_cast<LONG>(itemHeight);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(app.hTreeList, MONITOR_DEFAULTTONEAREST), &monitor);
  LONG room = monitor.rcWork.bottom - r.top;
  if (grown > room) grown = room > height ? room : height;
  SetWindowPos(app.hTreeList, nullptr, 0, 0, r.right - r.left, grown, flags);
}

void OnListRButtonDown(HWND list, LPARAM lp) {
  // The high word of the answer is set when the point lies below the last row or the list is
  // empty: then no row is under the click and W stays.
  LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, lp);
  if (HIWORD(hit) != 0) return;
  WPARAM index = LOWORD(hit);
  // The highlight goes straight to the list, so the combo box reports no selection change and
  // P stays.
  SendMessageA(list, LB_SETCURSEL, index, 0);
  app.hTargetW = reinterpret_cast<HWND>(SendMessageA(list, LB_GETITEMDATA, index, 0));
  app.lockW = TRUE;
  SendDlgItemMessageA(app.hMainDlg, IDC_LOCK, BM_SETCHECK, BST_CHECKED, 0);
}

// The right button on the free list's caption switches the monitor.
void OnListNcRButtonDown(HWND list, WPARAM hitTest) {
  if (hitTest != HTCAPTION) return;
  if (app.monitorHeight != 0) {
    app.monitorHeight = 0;
  } else {
    RECT r;
    GetWindowRect(list, &r);
    app.monitorHeight = r.bottom - r.top;
  }
  InvalidateRect(list, nullptr, TRUE);  // the text colour follows the monitor at once
}

// Posted by the list to itself when its owner may have come to the top, handled once that
// activation has run its course.
constexpr UINT kMsgStayAboveOwner = WM_APP + 1;

// An owned window stays above its owner. When the system activates a window it brings it to the top
// with its owned windows above it; but a window system without a window manager raises the newly
// focused owner over everything at once and then takes that order over as the window order, no
// owned window considered. Only a Z-order change of the list itself raises it there again, and one
// to the top is skipped while the list still counts as the top window: so it steps below its owner
// and then to the top, where the owner rule keeps it. Where the system has kept the order itself,
// the list ends where it stood.
void OnListStayAboveOwner(HWND list) {
  DWORD style = CurrentStyle();
  // A dropped list is the combo box's business; it closes when the focus leaves.
  if (!IsWindowVisible(list) || style != FreeForm(style)) return;
  constexpr UINT kRestackOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowPos(list, GetWindow(list, GW_OWNER), 0, 0, 0, 0, kRestackOnly);
  SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, kRestackOnly);
}

// The owner takes the activation from the list, or this program takes it back from another: either
// may bring the owner to the top.
void OnListActivation(HWND list, bool ownerMayRise) {
  if (ownerMayRise) PostMessageA(list, kMsgStayAboveOwner, 0, 0);
}

LRESULT OnListPosChanging(HWND list, UINT msg, WPARAM wp, LPARAM lp) {
  if (app.monitorHeight == 0) return CallPreviousProc(list, msg, wp, lp);
  reinterpret_cast<WINDOWPOS*>(lp)->cy = app.monitorHeight;
  return 0;
}

}  // namespace

BOOL CALLBACK FindTreeListProc(HWND w, LPARAM) {
  char name[64];
  name[0] = '\0';
  GetClassNameA(w, name, 63);
  int different = lstrcmpiA(name, "combolbox");
  if (different == 0) app.hTreeList = w;
  return different;
}

LRESULT CALLBACK TreeListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:             return 0;  // the list lives as long as its combo box
    // The list has no menu of its own. The default handling would hand the request to the
    // list's parent, which for the free form (WS_POPUP) is its owner, the main dialog: and
    // there a right click switches the control under the cursor on or off.
    case WM_CONTEXTMENU:       return 0;
    case WM_RBUTTONDOWN:       OnListRButtonDown(w, lp); break;
    case WM_NCRBUTTONDOWN:     OnListNcRButtonDown(w, wp); break;
    case WM_WINDOWPOSCHANGING: return OnListPosChanging(w, msg, wp, lp);
    case WM_ACTIVATE:          OnListActivation(w, LOWORD(wp) == WA_INACTIVE); break;
    case WM_ACTIVATEAPP:       OnListActivation(w, wp != FALSE); break;
    case kMsgStayAboveOwner:   OnListStayAboveOwner(w); return 0;
    default:                   break;
  }
  return CallPreviousProc(w, msg, wp, lp);
}

void SetTreeCaption() {
  const FilterButton* button = FindFilterByValue(app.treeFilter);
  if (!button) return;
  char caption[kCaptionChars];
  if (button->caption) {
    wsprintfA(caption, "%s%s", button->caption, kCaptionSuffix);
  } else {
    char format[] = "P :  _id_%lu  %s";
    format[5] = button->idLetter;
    DWORD id = button->filter == TreeFilter::Pid ? app.pidP : app.tidP;
    wsprintfA(caption, format, id, kCaptionSuffix);
  }
  SendMessageA(app.hTreeList, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption));
}

namespace {

void OnFilterCommand(LONG_PTR filter) {
  app.treeFilter = static_cast<TreeFilter>(filter);
  // An empty list differs from the first row, so the refresh always rebuilds.
  SendMessageA(app.hTreeList, LB_RESETCONTENT, 0, 0);
  RefreshTree();
  SetTreeCaption();  // after the refresh, which takes P's ids
  GrowList(SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void OnMonitorCommand() {
  BOOL visible = IsWindowVisible(app.hTreeList);
  DWORD style = CurrentStyle();
  if (visible) {
    SetListStyle(DropDownForm(style));
    GrowList(SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_HIDEWINDOW);
    return;
  }
  // Shown where it last stood, with a caption and a sizing border; owned by the main dialog
  // and topmost since start-up, so it stays above the dialog until M/ hides it again.
  SetListStyle(FreeForm(style));
  SendMessageA(app.hTreeList, LB_RESETCONTENT, 0, 0);
  RefreshTree();
  GrowList(SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

// A route carries its filter as its argument.
constexpr LONG_PTR FilterArg(TreeFilter filter) { return static_cast<LONG_PTR>(filter); }

constexpr CommandRoute kTreeCommands[] = {
    {IDC_FILTER_TOPL, OnFilterCommand, FilterArg(TreeFilter::TopL)},
    {IDC_FILTER_ALL, OnFilterCommand, FilterArg(TreeFilter::All)},
    {IDC_FILTER_PID, OnFilterCommand, FilterArg(TreeFilter::Pid)},
    {IDC_FILTER_TID, OnFilterCommand, FilterArg(TreeFilter::Tid)},
    {IDC_FILTER_DESC, OnFilterCommand, FilterArg(TreeFilter::Desc)},
    {IDC_FILTER_POINT, OnFilterCommand, FilterArg(TreeFilter::Point)},
    {IDC_MONITOR, WithoutArg<OnMonitorCommand>, 0},
};

}  // namespace

constexpr CommandRoutes kTreeRoutes = RoutesOf(kTreeCommands);

void OnTreeSelChange() {
  // Any control's notification code 1 lands here (a static's double click too): without a
  // selected row there is no window to take.
  LRESULT index = SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return;
  app.hTargetP = reinterpret_cast<HWND>(SendMessageA(app.hTreeCombo, CB_GETITEMDATA, index, 0));
}

void OnTreeDropDown() { RefreshTree(); }

INT_PTR OnCtlColorListBox(HDC dc) {
  if (app.monitorHeight == 0) return FALSE;  // the default colours
  SetTextColor(dc, kMonitorTextColor);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  // A dialog procedure answers a colour message with the background brush itself.
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
}

void TreeMonitorStep() {
  if (!IsWindowVisible(app.hTreeList)) {
    // However the list was hidden, the monitor is off and the list goes back to its
    // drop-down form, so the combo box can drop it down again.
    app.monitorHeight = 0;
    DWORD style = CurrentStyle();
    if (style != DropDownForm(style)) {
      SetListStyle(DropDownForm(style));
      SetWindowPos(app.hTreeList, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    return;
  }
  if (app.monitorHeight != 0) RefreshTree();
}
