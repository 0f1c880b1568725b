// The built tool as its own process, observed and driven only from outside.
#include <windows.h>

#include "res/resource.h"
#include "support/test_support.h"

namespace {

TEST(ToolProcess, ShowsItsDialogIgnoresEnterAndEscapeAndExitsWithZeroOnClose) {
  ToolProcess tool;
  ASSERT_TRUE(tool.ok());
  EXPECT_TRUE(GetWindowLongPtrA(tool.dlg, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(WindowText(tool.Item(IDC_SETPARENT)), "SetParent  (Parent)");

  // The keys reach the dialog's own message loop, which makes IDOK and IDCANCEL of them. Posted
  // messages are handled in order: once the click on "lock" posted after them shows, they are.
  HWND lock = tool.Item(IDC_LOCK);
  PostMessageA(lock, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(lock, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(lock, BM_CLICK, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return SendMessageA(lock, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  SendMessageA(tool.dlg, WM_COMMAND, IDOK, 0);
  SendMessageA(tool.dlg, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(IsWindowVisible(tool.dlg));
  EXPECT_EQ(tool.Close(), 0u);
}

}  // namespace
