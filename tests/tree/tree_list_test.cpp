// The tree list window: captions, filter commands, the free form, the monitor, and choosing
// P and W from the rows with messages and with real mouse clicks.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_dlg.h"
#include "tree/tree_helpers.h"

namespace {

const std::string kSuffix = "  // Caption right click :  monitor  on/off";

DWORD ListStyle() { return static_cast<DWORD>(GetWindowLongPtrA(app.hTreeList, GWL_STYLE)); }

RECT ListRect() {
  RECT r;
  GetWindowRect(app.hTreeList, &r);
  return r;
}

LONG Height(const RECT& r) { return r.bottom - r.top; }
LONG Width(const RECT& r) { return r.right - r.left; }

int ItemHeight() { return static_cast<int>(SendMessageA(app.hTreeList, LB_GETITEMHEIGHT, 0, 0)); }

constexpr DWORD kFreeBits = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
// The drop-down form keeps WS_BORDER, which is half of WS_CAPTION.
constexpr DWORD kFreeOnlyBits = WS_POPUP | WS_DLGFRAME | WS_THICKFRAME;

// The dialog procedure's answer when the list asks for its colours, and the text colour it
// leaves in the device context.
COLORREF ListTextColour(INT_PTR* brush) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  *brush = MainDlgProc(app.hMainDlg, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(app.hTreeList));
  COLORREF colour = GetTextColor(dc);
  DeleteDC(dc);
  return colour;
}

// Counts the pixels of the list's first rows painted in the monitor's blue, copied out of
// the window in one piece.
int MonitorBluePixels() {
  RedrawWindow(app.hTreeList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Pump();
  RECT client;
  GetClientRect(app.hTreeList, &client);
  int width = client.right, height = ItemHeight() * 3;
  if (height > client.bottom) height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HDC window = GetDC(app.hTreeList);
  BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
  ReleaseDC(app.hTreeList, window);
  GdiFlush();
  int blue = 0;
  const DWORD* pixel = static_cast<const DWORD*>(bits);
  for (int i = 0; i < width * height; ++i)
    if ((pixel[i] & 0xFFFFFF) == 0x0000DD) ++blue;  // a DIB keeps blue in the low byte
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return blue;
}

// Records each size request that reaches the list, with the height the list had at that
// moment. The list box trims its height to whole rows afterwards (no LBS_NOINTEGRALHEIGHT).
struct SizeRequest {
  int before;
  int cy;
  UINT flags;
};
std::vector<SizeRequest> sizeRequests;
WNDPROC recordedProc;

LRESULT CALLBACK RecordingListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_WINDOWPOSCHANGING) {
    const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lp);
    RECT r;
    GetWindowRect(w, &r);
    if (!(pos->flags & SWP_NOSIZE)) sizeRequests.push_back({r.bottom - r.top, pos->cy, pos->flags});
  }
  return CallWindowProcA(recordedProc, w, msg, wp, lp);
}

// One at a time: each chains to the procedure it found.
struct SizeRecorder {
  SizeRecorder() {
    sizeRequests.clear();
    recordedProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        app.hTreeList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingListProc)));
  }
  ~SizeRecorder() {
    SetWindowLongPtrA(app.hTreeList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordedProc));
  }
  // The one request made with exactly these flags, or a record with cy -1.
  SizeRequest With(UINT flags) const {
    SizeRequest found = {0, -1, 0};
    int matches = 0;
    for (const SizeRequest& r : sizeRequests)
      if ((r.flags & 0xFFF) == flags) found = r, ++matches;
    return matches == 1 ? found : SizeRequest{0, -1, 0};
  }
};

constexpr UINT kGrowFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;

// Counts the context menu requests that reach the main dialog while it is alive. The main
// dialog answers them by switching the control under the cursor; a right click on the list is
// not meant for it.
int dialogContextMenus;
WNDPROC dialogProc;

LRESULT CALLBACK CountingDialogProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CONTEXTMENU) ++dialogContextMenus;
  return CallWindowProcA(dialogProc, w, msg, wp, lp);
}

struct DialogMenuCounter {
  explicit DialogMenuCounter(HWND dlg) : dlg(dlg) {
    dialogContextMenus = 0;
    dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingDialogProc)));
  }
  ~DialogMenuCounter() { SetWindowLongPtrA(dlg, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialogProc)); }
  int count() const { return dialogContextMenus; }
  HWND dlg;
};

// The right button on the caption, as the mouse brings it: the default handling of the
// button-down waits in a loop of its own for the button-up, which is queued first.
void RightClickCaption() {
  PostMessageA(app.hTreeList, WM_RBUTTONUP, 0, 0);
  SendMessageA(app.hTreeList, WM_NCRBUTTONDOWN, HTCAPTION, 0);
  Pump();
}

POINT RowCentreOnScreen(int index) {
  SendMessageA(app.hTreeList, LB_SETTOPINDEX, index, 0);
  RECT r{};
  SendMessageA(app.hTreeList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(app.hTreeList, &p);
  return p;
}

// ---------------------------------------------------------------------------------------------
using TreeCaption = TreeTest;

TEST_F(TreeCaption, EachFilterNamesItselfInTheListCaption) {
  EXPECT_EQ(WindowText(app.hTreeList), "Top-level" + kSuffix);
  HWND p = MakeTopWindow("tree caption P");
  app.hTargetP = p;
  const std::string pid = std::to_string(GetCurrentProcessId());
  const std::string tid = std::to_string(GetCurrentThreadId());
  struct Case {
    int id;
    std::string caption;
  };
  const Case cases[] = {
      {IDC_FILTER_ALL, "All" + kSuffix},
      {IDC_FILTER_PID, "P :  pid_" + pid + "  " + kSuffix},
      {IDC_FILTER_TID, "P :  tid_" + tid + "  " + kSuffix},
      {IDC_FILTER_DESC, "W :  Descendants" + kSuffix},
      {IDC_FILTER_POINT, "Cursor over window" + kSuffix},
      {IDC_FILTER_TOPL, "Top-level" + kSuffix},
  };
  for (const Case& c : cases) {
    Click(c.id);
    EXPECT_EQ(WindowText(app.hTreeList), c.caption);
  }
  EXPECT_EQ(WindowText(app.hTreeList),
            "Top-level  // Caption right click :  monitor  on/off");

  // The id stays that of the P at the filter command, until the next one.
  Click(IDC_FILTER_PID);
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  app.hTargetP = helper.top;
  RefreshTree();
  EXPECT_EQ(WindowText(app.hTreeList), "P :  pid_" + pid + "  " + kSuffix);
  Click(IDC_FILTER_PID);
  EXPECT_EQ(WindowText(app.hTreeList), "P :  pid_" + std::to_string(helper.pid()) + "  " + kSuffix);

  // Neither the free form nor the monitor touches the caption.
  ShowFreeList();
  RightClickCaption();
  EXPECT_EQ(WindowText(app.hTreeList), "P :  pid_" + std::to_string(helper.pid()) + "  " + kSuffix);
  DestroyWindow(p);
}

// ---------------------------------------------------------------------------------------------
using TreeListWindow = TreeTest;

TEST_F(TreeListWindow, EachFilterCommandGrowsTheListByTwoRowsInPlace) {
  RECT before = ListRect();
  int item = ItemHeight();
  ASSERT_GT(item, 0);
  for (int id : {IDC_FILTER_ALL, IDC_FILTER_TOPL}) {
    SizeRecorder recorder;
    Click(id);
    SizeRequest grown = recorder.With(kGrowFlags);
    EXPECT_EQ(grown.before, Height(before));
    EXPECT_EQ(grown.cy, Height(before) + 2 * item);
    RECT after = ListRect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(Width(after), Width(before));
    EXPECT_EQ(Height(after), Height(before) + 2 * item);
    before = after;
  }
  EXPECT_FALSE(IsWindowVisible(app.hTreeList));
}

TEST_F(TreeListWindow, MonitorButtonShowsTheFreeListAndHidesItAgain) {
  // Closed: the drop-down form, hidden, no monitor.
  DWORD dropDown = ListStyle();
  EXPECT_FALSE(IsWindowVisible(app.hTreeList));
  EXPECT_EQ(dropDown & kFreeOnlyBits, 0u);
  EXPECT_EQ(dropDown & WS_BORDER, static_cast<DWORD>(WS_BORDER));
  EXPECT_EQ(app.monitorHeight, 0);
  RECT closed = ListRect();
  std::string caption = WindowText(app.hTreeList);

  HWND late = MakeTopWindow("tree late", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  ASSERT_EQ(RowIndexOf(late), -1);
  auto shown = std::make_unique<SizeRecorder>();
  Click(IDC_MONITOR);
  // Free: a captioned, sizable window, refreshed, two rows taller, where it stood.
  EXPECT_TRUE(IsWindowVisible(app.hTreeList));
  EXPECT_EQ(ListStyle() & ~WS_VISIBLE, dropDown | kFreeBits);
  EXPECT_GE(RowIndexOf(late), 0);
  RECT free = ListRect();
  EXPECT_EQ(free.left, closed.left);
  EXPECT_EQ(free.top, closed.top);
  EXPECT_EQ(Width(free), Width(closed));
  SizeRequest grown = shown->With(kGrowFlags | SWP_SHOWWINDOW);
  shown.reset();
  EXPECT_EQ(grown.cy, grown.before + 2 * ItemHeight());
  EXPECT_LE(Height(free), grown.cy);
  EXPECT_GT(Height(free), grown.cy - ItemHeight());
  EXPECT_EQ(app.monitorHeight, 0);
  EXPECT_EQ(WindowText(app.hTreeList), caption);
  // Topmost and owned by the main dialog since start-up.
  EXPECT_TRUE(GetWindowLongPtrA(app.hTreeList, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(app.hTreeList, GW_OWNER), dlg_);

  // A close request is swallowed.
  SendMessageA(app.hTreeList, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(app.hTreeList));
  EXPECT_TRUE(IsWindowVisible(app.hTreeList));

  // Closed again: drop-down form, hidden, grown once more.
  SizeRecorder hidden;
  Click(IDC_MONITOR);
  EXPECT_FALSE(IsWindowVisible(app.hTreeList));
  EXPECT_EQ(ListStyle(), dropDown);
  SizeRequest regrown = hidden.With(kGrowFlags | SWP_HIDEWINDOW);
  EXPECT_EQ(regrown.before, Height(free));
  EXPECT_EQ(regrown.cy, Height(free) + 2 * ItemHeight());
  TreeMonitorStep();
  EXPECT_EQ(ListStyle(), dropDown);
  EXPECT_EQ(app.monitorHeight, 0);
  DestroyWindow(late);
}

TEST_F(TreeListWindow, CaptionRightClickSwitchesTheBlueMonitorWithAPinnedHeight) {
  ShowFreeList();
  INT_PTR brush = 0;
  EXPECT_EQ(ListTextColour(&brush), RGB(1, 2, 3));
  EXPECT_EQ(brush, 0);
  EXPECT_EQ(MonitorBluePixels(), 0);

  RECT free = ListRect();
  RightClickCaption();
  EXPECT_EQ(app.monitorHeight, Height(free));
  EXPECT_EQ(ListTextColour(&brush), RGB(0, 0, 221));
  EXPECT_NE(brush, 0);
  EXPECT_GT(MonitorBluePixels(), 0);

  // Only the width follows a resize; a filter command does not make it taller.
  SetWindowPos(app.hTreeList, nullptr, 0, 0, Width(free) + 40, Height(free) + 90, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Width(ListRect()), Width(free) + 40);
  EXPECT_EQ(Height(ListRect()), Height(free));
  Click(IDC_FILTER_ALL);
  EXPECT_EQ(Height(ListRect()), Height(free));

  // A right click elsewhere than on the caption changes nothing.
  SendMessageA(app.hTreeList, WM_NCRBUTTONDOWN, HTBOTTOM, 0);
  EXPECT_EQ(app.monitorHeight, Height(free));

  RightClickCaption();
  EXPECT_EQ(app.monitorHeight, 0);
  EXPECT_EQ(ListTextColour(&brush), RGB(1, 2, 3));
  EXPECT_EQ(brush, 0);
  EXPECT_EQ(MonitorBluePixels(), 0);
  Click(IDC_FILTER_TOPL);
  EXPECT_EQ(Height(ListRect()), Height(free) + 2 * ItemHeight());
}

TEST_F(TreeListWindow, MonitorStepRefreshesOnlyWhileMonitoring) {
  DWORD dropDown = ListStyle();
  ShowFreeList();
  HWND first = MakeTopWindow("tree step one", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  TreeMonitorStep();  // free, not monitoring: the list waits for a command
  EXPECT_EQ(RowIndexOf(first), -1);

  RightClickCaption();
  TreeMonitorStep();
  EXPECT_GE(RowIndexOf(first), 0);
  HWND second = MakeTopWindow("tree step two", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  TreeMonitorStep();
  EXPECT_GE(RowIndexOf(second), 0);

  // The free list hidden by M/: the monitor stays on until the next step turns it off.
  LONG pinned = app.monitorHeight;
  Click(IDC_MONITOR);
  EXPECT_FALSE(IsWindowVisible(app.hTreeList));
  EXPECT_EQ(app.monitorHeight, pinned);
  EXPECT_EQ(Height(ListRect()), pinned);
  TreeMonitorStep();
  EXPECT_EQ(app.monitorHeight, 0);
  EXPECT_EQ(ListStyle(), dropDown);
  DestroyWindow(first);
  DestroyWindow(second);
}

TEST_F(TreeListWindow, AListHiddenAnyOtherWayGoesBackToTheDropDownFormAtTheNextStep) {
  DWORD dropDown = ListStyle();
  ShowFreeList();
  RightClickCaption();
  ASSERT_NE(app.monitorHeight, 0);
  ShowWindow(app.hTreeList, SW_HIDE);
  EXPECT_EQ(ListStyle() & kFreeBits, kFreeBits);
  TreeMonitorStep();
  EXPECT_EQ(app.monitorHeight, 0);
  EXPECT_EQ(ListStyle(), dropDown);
  EXPECT_FALSE(IsWindowVisible(app.hTreeList));

  // The combo box can drop it down again, and then it is refreshed.
  HWND late = MakeTopWindow("tree dropped", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  SendMessageA(app.hTreeCombo, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_TRUE(PumpUntil([] { return IsWindowVisible(app.hTreeList) != FALSE; }));
  EXPECT_GE(RowIndexOf(late), 0);
  EXPECT_EQ(ListStyle() & kFreeOnlyBits, 0u);
  TreeMonitorStep();  // dropped: nothing to do
  EXPECT_EQ(app.monitorHeight, 0);
  SendMessageA(app.hTreeCombo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_TRUE(PumpUntil([] { return !IsWindowVisible(app.hTreeList); }));
  DestroyWindow(late);
}

TEST_F(TreeListWindow, DropDownNotificationRefreshesTheList) {
  HWND late = MakeTopWindow("tree dropdown", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  EXPECT_EQ(RowIndexOf(late), -1);
  SendMessageA(dlg_, WM_COMMAND, MAKEWPARAM(IDC_TREECOMBO, CBN_DROPDOWN),
               reinterpret_cast<LPARAM>(app.hTreeCombo));
  EXPECT_GE(RowIndexOf(late), 0);
  DestroyWindow(late);
}

// ---------------------------------------------------------------------------------------------
using TreeChoice = TreeTest;

TEST_F(TreeChoice, SelectingARowMakesItsWindowP) {
  HWND w = MakeTopWindow("tree choice", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  Click(IDC_FILTER_TOPL);
  app.hTargetW = GetDesktopWindow();
  int index = RowIndexOf(w);
  ASSERT_GE(index, 0);
  SelectRow(index);
  EXPECT_EQ(app.hTargetP, w);
  EXPECT_EQ(app.hTargetW, GetDesktopWindow());
  EXPECT_FALSE(app.lockW);

  int message = -1;
  std::vector<ListRow> rows = ListRows();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].line == "HWND_MESSAGE") message = static_cast<int>(i);
  ASSERT_GE(message, 0);
  SelectRow(message);
  EXPECT_EQ(app.hTargetP, HWND_MESSAGE_VALUE);
  SelectRow(0);
  EXPECT_EQ(app.hTargetP, HWND_DESKTOP_VALUE);

  // The notification code alone counts; without a selected row P stays.
  app.hTargetP = w;
  SendMessageA(app.hTreeCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageA(dlg_, WM_COMMAND, MAKEWPARAM(IDC_REPORT, CBN_SELCHANGE), 0);
  EXPECT_EQ(app.hTargetP, w);
  DestroyWindow(w);
}

TEST_F(TreeChoice, RightClickOnARowMakesItsWindowWAndSetsTheLock) {
  HWND w = MakeTopWindow("tree right", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  Click(IDC_FILTER_TOPL);
  app.hTargetP = GetDesktopWindow();
  int index = RowIndexOf(w);
  ASSERT_GE(index, 0);
  RightClickRow(index);
  EXPECT_EQ(app.hTargetW, w);
  EXPECT_TRUE(app.lockW);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), BST_CHECKED);
  EXPECT_EQ(SendMessageA(app.hTreeList, LB_GETCURSEL, 0, 0), index);
  EXPECT_EQ(app.hTargetP, GetDesktopWindow());

  RightClickRow(0);
  EXPECT_EQ(app.hTargetW, HWND_DESKTOP_VALUE);
  int message = -1;
  std::vector<ListRow> rows = ListRows();
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].line == "HWND_MESSAGE") message = static_cast<int>(i);
  ASSERT_GE(message, 0);
  RightClickRow(message);
  EXPECT_EQ(app.hTargetW, HWND_MESSAGE_VALUE);
  EXPECT_EQ(app.hTargetP, GetDesktopWindow());
  DestroyWindow(w);
}

TEST_F(TreeChoice, RightClickBelowTheLastRowChoosesNothing) {
  HWND w = MakeTopWindow("tree lonely", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  app.hTargetW = w;
  Click(IDC_FILTER_DESC);  // one row only
  ASSERT_EQ(ListRows().size(), 1u);
  ShowFreeList();
  app.lockW = FALSE;
  CheckDlgButton(dlg_, IDC_LOCK, BST_UNCHECKED);
  app.hTargetW = nullptr;
  RECT client;
  GetClientRect(app.hTreeList, &client);
  ASSERT_GT(client.bottom, 3 * ItemHeight());
  SendMessageA(app.hTreeList, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, client.bottom - 3));
  EXPECT_EQ(app.hTargetW, nullptr);
  EXPECT_FALSE(app.lockW);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), BST_UNCHECKED);
  DestroyWindow(w);
}

TEST_F(TreeChoice, RealClicksOnTheFreeListChoosePAndWAndSwitchTheMonitor) {
  HWND pw = MakeTopWindow("tree click P", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  HWND ww = MakeTopWindow("tree click W", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  ShowFreeList();
  ASSERT_GE(RowIndexOf(pw), 0);
  ASSERT_GE(RowIndexOf(ww), 0);
  DialogMenuCounter menus(dlg_);

  POINT p = RowCentreOnScreen(RowIndexOf(pw));
  ASSERT_TRUE(Xdotool("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " click 1"));
  EXPECT_TRUE(PumpUntil([&] { return app.hTargetP == pw; })) << Hex8(app.hTargetP);
  EXPECT_TRUE(IsWindowVisible(app.hTreeList));  // the free list stays open

  p = RowCentreOnScreen(RowIndexOf(ww));
  ASSERT_TRUE(Xdotool("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " click 3"));
  EXPECT_TRUE(PumpUntil([&] { return app.hTargetW == ww; })) << Hex8(app.hTargetW);
  EXPECT_TRUE(app.lockW);
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_LOCK), BST_CHECKED);
  EXPECT_EQ(app.hTargetP, pw);

  // The caption: the window's top edge plus half a caption height, in the middle.
  RECT r = ListRect();
  int x = (r.left + r.right) / 2;
  int y = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  ASSERT_EQ(SendMessageA(app.hTreeList, WM_NCHITTEST, 0, MAKELPARAM(x, y)), HTCAPTION);
  ASSERT_TRUE(Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 3"));
  EXPECT_TRUE(PumpUntil([&] { return app.monitorHeight == Height(r); }));
  // A second click at the same place would be a double click: click elsewhere on the caption.
  x += 4 * GetSystemMetrics(SM_CXDOUBLECLK);
  ASSERT_EQ(SendMessageA(app.hTreeList, WM_NCHITTEST, 0, MAKELPARAM(x, y)), HTCAPTION);
  ASSERT_TRUE(Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 3"));
  EXPECT_TRUE(PumpUntil([&] { return app.monitorHeight == 0; }));
  EXPECT_EQ(menus.count(), 0);
  DestroyWindow(pw);
  DestroyWindow(ww);
}

TEST_F(TreeChoice, RightClicksOnTheFreeListDoNotReachTheMainDialog) {
  HWND w = MakeTopWindow("tree no menu", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  ShowFreeList();
  int index = RowIndexOf(w);
  ASSERT_GE(index, 0);
  DialogMenuCounter menus(dlg_);
  RightClickRow(index);
  EXPECT_EQ(app.hTargetW, w);
  // The button-up on the caption itself, where the default handling asks for a menu.
  RECT r = ListRect();
  POINT caption = {(r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  SetCursorPos(caption.x, caption.y);
  PostMessageA(app.hTreeList, WM_RBUTTONUP, 0, MAKELPARAM(caption.x, caption.y));
  SendMessageA(app.hTreeList, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(caption.x, caption.y));
  EXPECT_NE(app.monitorHeight, 0);
  Pump();
  EXPECT_EQ(menus.count(), 0);
  DestroyWindow(w);
}

}  // namespace
