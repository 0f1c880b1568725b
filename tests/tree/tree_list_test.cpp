// The tree list window: captions, the free form and the monitor, choosing P and W from its rows.
#include <tuple>

#include "tree/tree_helpers.h"

namespace {

const std::string kSuffix = "  // Caption right click :  monitor  on/off";

// The style without what the list box switches itself: visibility and scroll bars.
DWORD Form() {
  return static_cast<DWORD>(GetWindowLongPtrA(app.hTreeList, GWL_STYLE)) & ~(WS_VISIBLE | WS_VSCROLL | WS_HSCROLL);
}
RECT ListRect() { RECT r; GetWindowRect(app.hTreeList, &r); return r; }
LONG Height() { return ListRect().bottom - ListRect().top; }
// Left, top and right: the list keeps its place and width whatever its height.
std::tuple<LONG, LONG, LONG> Sides(const RECT& r) { return {r.left, r.top, r.right}; }
LONG Row() { return static_cast<LONG>(SendMessageA(app.hTreeList, LB_GETITEMHEIGHT, 0, 0)); }

// Pixels of the monitor's blue, RGB(0, 0, 221), in the list's first rows as painted now.
int BluePixels() {
  RedrawWindow(app.hTreeList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC window = GetDC(app.hTreeList), memory = CreateCompatibleDC(window);
  HGDIOBJ old = SelectObject(memory, CreateCompatibleBitmap(window, 300, 3 * Row()));
  BitBlt(memory, 0, 0, 300, 3 * Row(), window, 0, 0, SRCCOPY);
  int blue = 0;
  for (int i = 0; i < 300 * 3 * Row(); ++i) blue += GetPixel(memory, i % 300, i / 300) == RGB(0, 0, 221);
  DeleteObject(SelectObject(memory, old));
  DeleteDC(memory), ReleaseDC(app.hTreeList, window);
  return blue;
}

// The button-down on the caption waits in a loop of its own for the button-up: queue that first.
void RightClickCaption() {
  PostMessageA(app.hTreeList, WM_RBUTTONUP, 0, 0);
  SendMessageA(app.hTreeList, WM_NCRBUTTONDOWN, HTCAPTION, 0);
  Pump();
}

TEST_F(TreeTest, CaptionsFreeFormAndMonitorFollowTheStateTable) {
  // Closed: the drop-down form, hidden. A filter command names itself in the caption and makes the
  // list two rows taller in place.
  DWORD dropDown = Form();
  EXPECT_EQ(dropDown & (WS_POPUP | WS_DLGFRAME | WS_THICKFRAME | WS_BORDER), static_cast<DWORD>(WS_BORDER));
  EXPECT_EQ(WindowText(app.hTreeList), "Top-level  // Caption right click :  monitor  on/off");
  const std::string pid = std::to_string(GetCurrentProcessId()), tid = std::to_string(GetCurrentThreadId());
  const struct { int id; std::string caption; } cases[] = {
      {IDC_FILTER_ALL, "All" + kSuffix},          {IDC_FILTER_TID, "P :  tid_" + tid + "  " + kSuffix},
      {IDC_FILTER_DESC, "W :  Descendants" + kSuffix}, {IDC_FILTER_POINT, "Cursor over window" + kSuffix},
      {IDC_FILTER_PID, "P :  pid_" + pid + "  " + kSuffix}, {IDC_FILTER_TOPL, "Top-level" + kSuffix}};
  app.hTargetP = dlg_;
  RECT before = ListRect();
  for (const auto& c : cases) {
    Click(c.id);
    EXPECT_EQ(WindowText(app.hTreeList), c.caption);
    EXPECT_EQ(Sides(ListRect()), Sides(before));
    EXPECT_EQ(ListRect().bottom, before.bottom + 2 * Row());
    before = ListRect();
  }
  // M/: the free form, refreshed, shown where it stood, taller (the list trims itself to whole rows).
  HWND late = MakeTopWindow("tree late", WS_POPUP);
  Click(IDC_MONITOR);
  RECT free = ListRect();
  EXPECT_EQ(Form(), dropDown | WS_POPUP | WS_CAPTION | WS_THICKFRAME);
  EXPECT_TRUE(HasRow(late));
  EXPECT_EQ(Sides(free), Sides(before));
  EXPECT_GT(free.bottom, before.bottom + Row());
  EXPECT_LE(free.bottom, before.bottom + 2 * Row());
  SendMessageA(app.hTreeList, WM_CLOSE, 0, 0);  // swallowed
  HWND later = MakeTopWindow("tree later", WS_POPUP);
  TreeMonitorStep();  // free, not monitoring: no refresh
  EXPECT_TRUE(IsWindowVisible(app.hTreeList));
  EXPECT_FALSE(HasRow(later));
  EXPECT_EQ(BluePixels(), 0);

  // A right click on the caption: monitoring, blue, refreshed at every step, height pinned.
  RightClickCaption();
  LONG pinned = free.bottom - free.top;
  EXPECT_EQ(app.monitorHeight, pinned);
  EXPECT_GT(BluePixels(), 0);
  TreeMonitorStep();
  EXPECT_TRUE(HasRow(later));
  SetWindowPos(app.hTreeList, nullptr, 0, 0, 400, pinned + 90, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(ListRect().right - free.left, 400);
  EXPECT_EQ(Height(), pinned);
  EXPECT_EQ(WindowText(app.hTreeList), cases[5].caption);  // only a filter command sets it
  Click(IDC_FILTER_PID);
  EXPECT_EQ(Height(), pinned);
  app.hTargetP = GetDesktopWindow();  // a new P shows in the caption at the next filter command
  TreeMonitorStep();
  EXPECT_EQ(WindowText(app.hTreeList), cases[4].caption);
  RightClickCaption();  // again: free, default colours, growing again
  EXPECT_EQ(app.monitorHeight, 0);
  EXPECT_EQ(BluePixels(), 0);
  Click(IDC_FILTER_PID);
  EXPECT_GT(Height(), pinned + Row());
  DWORD otherPid = 0;
  GetWindowThreadProcessId(GetDesktopWindow(), &otherPid);
  EXPECT_EQ(WindowText(app.hTreeList), "P :  pid_" + std::to_string(otherPid) + "  " + kSuffix);

  // Hidden by M/ or any other way: the next step ends the monitor and restores the drop-down form.
  for (bool byMonitorButton : {true, false}) {
    SCOPED_TRACE(byMonitorButton);
    if (!IsWindowVisible(app.hTreeList)) Click(IDC_MONITOR);
    RightClickCaption();
    pinned = Height();
    byMonitorButton ? Click(IDC_MONITOR) : void(ShowWindow(app.hTreeList, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(app.hTreeList));
    EXPECT_EQ(Height(), pinned);
    EXPECT_EQ(app.monitorHeight, pinned);
    TreeMonitorStep();
    EXPECT_EQ(app.monitorHeight, 0);
    EXPECT_EQ(Form(), dropDown);
  }
  for (HWND w : {late, later}) DestroyWindow(w);
}

TEST_F(TreeTest, RealClicksOnRowsChoosePAndWAndOnTheCaptionSwitchTheMonitor) {
  HWND w = MakeTopWindow("tree choice", WS_POPUP, 0, nullptr, 0, 0, 10, 10);
  Click(IDC_MONITOR);
  // A right click's default handling asks the owner, the main dialog, for a context menu, and
  // there a right click switches the control under the cursor on or off.
  MessageCounter menus(dlg_, {WM_CONTEXTMENU});
  for (HWND row : {w, HWND_MESSAGE_VALUE, HWND_DESKTOP_VALUE}) {
    SCOPED_TRACE(Hex8(row));
    int index = RowIndexOf(row);
    ASSERT_GE(index, 0);
    SendMessageA(app.hTreeList, LB_SETTOPINDEX, index, 0);
    RECT r{};
    SendMessageA(app.hTreeList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(app.hTreeList, &centre);
    app.hTargetP = app.hTargetW = dlg_;
    app.lockW = FALSE;
    CheckDlgButton(dlg_, IDC_LOCK, BST_UNCHECKED);
    ASSERT_TRUE(MouseTo(centre.x, centre.y) && Xdotool("click 1"));
    EXPECT_TRUE(PumpUntil([&] { return app.hTargetP == row; })) << Hex8(app.hTargetP);
    EXPECT_EQ(app.hTargetW, dlg_);
    EXPECT_FALSE(app.lockW);
    app.hTargetP = dlg_;
    ASSERT_TRUE(MouseTo(centre.x, centre.y) && Xdotool("click 3"));
    EXPECT_TRUE(PumpUntil([&] { return app.hTargetW == row; })) << Hex8(app.hTargetW);
    EXPECT_TRUE(app.lockW && IsDlgButtonChecked(dlg_, IDC_LOCK) == BST_CHECKED);
    EXPECT_EQ(app.hTargetP, dlg_);
    EXPECT_EQ(SendMessageA(app.hTreeList, LB_GETCURSEL, 0, 0), index);
    EXPECT_TRUE(IsWindowVisible(app.hTreeList));
  }
  RECT r = ListRect();
  POINT caption = {(r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  ASSERT_EQ(SendMessageA(app.hTreeList, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  ASSERT_TRUE(MouseTo(caption.x, caption.y) && Xdotool("click 3"));
  EXPECT_TRUE(PumpUntil([&] { return app.monitorHeight == r.bottom - r.top; }));
  caption.x += 4 * GetSystemMetrics(SM_CXDOUBLECLK);  // not a double click
  ASSERT_TRUE(MouseTo(caption.x, caption.y) && Xdotool("click 3"));
  EXPECT_TRUE(PumpUntil([&] { return app.monitorHeight == 0; }));
  EXPECT_EQ(menus.seen.size(), 0u);

  // Below the last row, or notification code 1 from another control: W and P stay.
  app.hTargetW = w;
  Click(IDC_FILTER_DESC);  // one row, nothing selected
  app.hTargetW = app.hTargetP = dlg_;
  SendMessageA(app.hTreeList, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, Height() - 3 * Row()));
  SendMessageA(dlg_, WM_COMMAND, MAKEWPARAM(IDC_REPORT, CBN_SELCHANGE), 0);
  EXPECT_EQ(app.hTargetW, dlg_);
  EXPECT_EQ(app.hTargetP, dlg_);
  DestroyWindow(w);
}

}  // namespace
