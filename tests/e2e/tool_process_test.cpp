// The built tool as its own process, observed and driven only from outside.
#include <windows.h>

#include "res/resource.h"
#include "support/test_support.h"

namespace {

TEST(ToolProcess, StartsShowsItsDialogAndExitsWithZeroOnClose) {
  ToolProcess tool;
  ASSERT_TRUE(tool.ok());
  EXPECT_TRUE(GetWindowLongPtrA(tool.dlg, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(WindowText(tool.Item(IDC_SETPARENT)), "SetParent  (Parent)");
  EXPECT_EQ(tool.Close(), 0u);
}

TEST(ToolProcess, EnterAndEscapeDoNotCloseIt) {
  ToolProcess tool;
  ASSERT_TRUE(tool.ok());
  // The keys reach the dialog's own message loop, where the dialog manager makes them IDOK and
  // IDCANCEL.
  PostMessageA(tool.Item(IDC_LOCK), WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(tool.Item(IDC_LOCK), WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageA(tool.dlg, WM_COMMAND, IDOK, 0);
  SendMessageA(tool.dlg, WM_COMMAND, IDCANCEL, 0);
  PumpFor(300);
  EXPECT_TRUE(IsWindowVisible(tool.dlg));
  EXPECT_EQ(tool.Close(), 0u);
}

}  // namespace
