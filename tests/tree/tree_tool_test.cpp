// The window tree in the built tool, observed from outside and driven with real mouse input.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tree/tree_helpers.h"

namespace {

const std::string kSuffix = "  // Caption right click :  monitor  on/off";

// A combo box of another process reads right only through the wide messages.
std::vector<std::string> ToolRows(HWND combo) {
  std::vector<std::string> rows;
  LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t wide[512] = L"";
    if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) >= 511) {
      rows.push_back("(too long)");
      continue;
    }
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
    char narrow[512] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
    rows.push_back(narrow);
  }
  return rows;
}

int ToolRowIndex(HWND combo, HWND w) {
  LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    if (SendMessageW(combo, CB_GETITEMDATA, i, 0) == reinterpret_cast<LRESULT>(w)) return static_cast<int>(i);
  return -1;
}

struct FindList {
  DWORD pid;
  HWND list;
};

BOOL CALLBACK FindToolListProc(HWND w, LPARAM lp) {
  auto* find = reinterpret_cast<FindList*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == find->pid && ClassOf(w) == "ComboLBox") {
    find->list = w;
    return FALSE;
  }
  return TRUE;
}

HWND ToolList(DWORD pid) {
  FindList find = {pid, nullptr};
  EnumWindows(FindToolListProc, reinterpret_cast<LPARAM>(&find));
  return find.list;
}

bool ClickAt(POINT p, int button) {
  return Xdotool("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " click " +
                 std::to_string(button));
}

POINT CentreOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Scrolls the row to the top of the list and gives its middle in screen coordinates.
POINT ToolRowPoint(HWND list, int index) {
  SendMessageW(list, LB_SETTOPINDEX, index, 0);
  int itemHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  POINT p = {40, (index - top) * itemHeight + itemHeight / 2};
  ClientToScreen(list, &p);
  return p;
}

// Pixels in the monitor's blue inside the list's client area, read from the screen.
int BluePixelsOnScreen(HWND list) {
  RECT client;
  GetClientRect(list, &client);
  POINT origin = {0, 0};
  ClientToScreen(list, &origin);
  int width = client.right, height = client.bottom;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  int blue = 0;
  for (int y = 0; y < height; y += 1)
    for (int x = 0; x < width && x < 400; x += 1)
      if (GetPixel(memory, x, y) == RGB(0, 0, 221)) ++blue;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return blue;
}

TEST(TreeInTheTool, ListsTheTreeAtStartAndRealClicksOnTheFreeListChooseWAndP) {
  const std::string text = UniqueTag("tool tree");
  HWND mine = MakeTopWindow(text.c_str(), WS_POPUP | WS_VISIBLE, 0, nullptr, 20, 900, 120, 40);
  HWND child = MakeChildWindow(mine, "tool tree child", 7, WS_CHILD | WS_VISIBLE, 2, 2, 30, 20);
  ASSERT_NE(child, nullptr);
  Pump();
  ToolProcess tool;
  ASSERT_TRUE(tool.ok());
  HWND combo = tool.Item(IDC_TREECOMBO);

  // At start: the top-level list, opened by the desktop's pseudo row, with this window's row.
  std::vector<std::string> rows = ToolRows(combo);
  ASSERT_GT(rows.size(), 4u);
  EXPECT_EQ(rows[0], "HWND_DESKTOP");
  int index = ToolRowIndex(combo, mine);
  ASSERT_GE(index, 0);
  const std::string plain = ExpectedRow(mine, ' ', ".", "TestTop", text);
  const std::string marked = ExpectedRow(mine, '=', ".", "TestTop", text);
  EXPECT_TRUE(rows[index] == plain || rows[index] == marked) << rows[index];
  EXPECT_EQ(ToolRowIndex(combo, child), -1);
  int message = -1;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i] == "HWND_MESSAGE") message = static_cast<int>(i);
  ASSERT_GT(message, 0);
  char label[64];
  snprintf(label, sizeof label, "%d   o%d", message, static_cast<int>(rows.size()) - message);
  EXPECT_EQ(WindowText(tool.Item(IDC_TREECOUNT)), label);
  EXPECT_EQ(SendMessageW(tool.Item(IDC_FILTER_TOPL), BM_GETCHECK, 0, 0), BST_CHECKED);

  HWND list = ToolList(tool.pid());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(WindowText(list), "Top-level" + kSuffix);
  EXPECT_FALSE(IsWindowVisible(list));

  // "All" changes the list: the child appears.
  ASSERT_TRUE(ClickAt(CentreOf(tool.Item(IDC_FILTER_ALL)), 1));
  EXPECT_TRUE(PumpUntil([&] { return ToolRowIndex(combo, child) >= 0; }));
  EXPECT_EQ(WindowText(list), "All" + kSuffix);

  // M/ frees the list: a captioned window that stays open.
  ASSERT_TRUE(ClickAt(CentreOf(tool.Item(IDC_MONITOR)), 1));
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(list) != FALSE; }));
  EXPECT_EQ(GetWindowLongPtrA(list, GWL_STYLE) & WS_CAPTION, static_cast<LONG_PTR>(WS_CAPTION));

  // It drops below the combo box, over the filter buttons: drag it up by its caption (the
  // drag keeps the cursor within the owner, the main dialog).
  RECT before;
  GetWindowRect(list, &before);
  POINT grip = {(before.left + before.right) / 2, before.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  ASSERT_EQ(SendMessageW(list, WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTCAPTION);
  ASSERT_TRUE(Xdotool("mousemove " + std::to_string(grip.x) + " " + std::to_string(grip.y) +
                      " mousedown 1 mousemove " + std::to_string(grip.x) + " " + std::to_string(grip.y - 140) +
                      " mousemove " + std::to_string(grip.x) + " " + std::to_string(grip.y - 280) + " mouseup 1"));
  EXPECT_TRUE(PumpUntil([&] {
    RECT now;
    GetWindowRect(list, &now);
    return now.top == before.top - 280 && now.left == before.left;
  }));

  // A right click on this window's row makes it W and sets the lock; "Desc" then lists it first.
  index = ToolRowIndex(combo, mine);
  ASSERT_GE(index, 0);
  ASSERT_TRUE(ClickAt(ToolRowPoint(list, index), 3));
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(tool.Item(IDC_LOCK), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  ASSERT_TRUE(ClickAt(CentreOf(tool.Item(IDC_FILTER_DESC)), 1));
  EXPECT_TRUE(PumpUntil([&] {
    std::vector<std::string> now = ToolRows(combo);
    return now.size() == 2 && (now[0] == plain || now[0] == marked);
  })) << ToolRows(combo).size();
  EXPECT_EQ(WindowText(tool.Item(IDC_TREECOUNT)), "2");

  // A left click on the child's row makes it P: "Pid" then names this process.
  index = ToolRowIndex(combo, child);
  ASSERT_GE(index, 0);
  ASSERT_TRUE(ClickAt(ToolRowPoint(list, index), 1));
  PumpUntil([&] { return SendMessageW(combo, CB_GETCURSEL, 0, 0) == index; });
  ASSERT_TRUE(ClickAt(CentreOf(tool.Item(IDC_FILTER_PID)), 1));
  EXPECT_TRUE(PumpUntil([&] {
    return WindowText(list) == "P :  pid_" + std::to_string(GetCurrentProcessId()) + "  " + kSuffix;
  })) << WindowText(list);
  EXPECT_GE(ToolRowIndex(combo, child), 0);
  EXPECT_EQ(ToolRowIndex(combo, tool.dlg), -1);

  // A right click on the caption turns the monitor on: blue text and a pinned height.
  EXPECT_EQ(BluePixelsOnScreen(list), 0);
  RECT r;
  GetWindowRect(list, &r);
  POINT caption = {(r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  ASSERT_TRUE(ClickAt(caption, 3));
  EXPECT_TRUE(PumpUntil([&] { return BluePixelsOnScreen(list) > 0; }));
  SetWindowPos(list, nullptr, 0, 0, r.right - r.left + 30, r.bottom - r.top + 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpUntil([&] {
    RECT now;
    GetWindowRect(list, &now);
    return now.right - now.left == r.right - r.left + 30;
  });
  RECT pinned;
  GetWindowRect(list, &pinned);
  EXPECT_EQ(pinned.right - pinned.left, r.right - r.left + 30);
  EXPECT_EQ(pinned.bottom - pinned.top, r.bottom - r.top);

  // M/ closes it again.
  ASSERT_TRUE(ClickAt(CentreOf(tool.Item(IDC_MONITOR)), 1));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(list); }));
  EXPECT_EQ(tool.Close(), 0u);
  DestroyWindow(mine);
}

}  // namespace
