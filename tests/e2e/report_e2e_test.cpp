// The built tool reporting on another program's windows, driven by the real mouse and keys and
// read from outside through its report pane.
#include <windows.h>

#include <string>
#include <vector>

#include "inspector/inspector_helpers.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

using namespace inspector_test;

// Row k (1 to 10) of the report that the tool's pane shows.
std::string ShownRow(const ToolProcess& tool, int k) {
  std::vector<std::string> lines = Lines(WindowText(tool.Item(IDC_REPORT)));
  return static_cast<int>(lines.size()) > 2 * k ? "\r\n\r\n" + lines[2 * k] : "";
}

POINT ClientPoint(HWND w, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(w, &p);
  return p;
}

bool Checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST(ReportEndToEnd, F9AndF8PickAnotherProgramsWindowsAndTheReportLocksOnW) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  ASSERT_NE(helper.child, nullptr);
  ToolProcess tool;
  ASSERT_TRUE(tool.ok());
  ASSERT_FALSE(Checked(tool.Item(IDC_LOCK)));

  auto topRow = [&] {
    return ExpectedRow(helper.top, {" ", EnumPosition(GetDesktopWindow(), helper.top), " _O_VE-", "WinHostTop",
                                    helper.tag + " top", 0, "winhost.exe"});
  };
  auto childRow = [&] {
    return ExpectedRow(helper.child, {" ", EnumPosition(GetDesktopWindow(), helper.child), " _C_VE-",
                                      "WinHostChild", WindowText(helper.child), 77, "winhost.exe"});
  };

  // F9 over the helper's top window, beside its child: P.
  POINT onTop = ClientPoint(helper.top, 30, 180);
  ASSERT_EQ(WindowFromPoint(onTop), helper.top) << "the tool or another window covers the helper";
  ASSERT_TRUE(MouseTo(onTop.x, onTop.y));
  ASSERT_TRUE(PumpUntil([&] { return ShownRow(tool, 1) == topRow(); }, 10000));
  ASSERT_TRUE(KeyDown("F9"));
  bool pickedP = PumpUntil([&] { return ShownRow(tool, 2) == topRow(); }, 10000);
  ASSERT_TRUE(KeyUp("F9"));
  ASSERT_TRUE(pickedP);
  EXPECT_FALSE(Checked(tool.Item(IDC_LOCK)));

  // F8 over the child: W, and the lock.
  POINT onChild = ClientPoint(helper.child, 40, 40);
  ASSERT_EQ(WindowFromPoint(onChild), helper.child);
  ASSERT_TRUE(MouseTo(onChild.x, onChild.y));
  ASSERT_TRUE(PumpUntil([&] { return ShownRow(tool, 1) == childRow(); }, 10000));
  ASSERT_TRUE(KeyDown("F8"));
  bool locked = PumpUntil([&] { return Checked(tool.Item(IDC_LOCK)); }, 10000);
  ASSERT_TRUE(KeyUp("F8"));
  ASSERT_TRUE(locked);

  // The mouse goes elsewhere; a change of W's text shows that the tool ticked since then, and
  // the report still describes W.
  ASSERT_TRUE(MouseTo(onTop.x, onTop.y));
  SendMessageA(helper.child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((helper.tag + " renamed").c_str()));
  ASSERT_TRUE(PumpUntil([&] {
    return WindowText(tool.Item(IDC_REPORT)).find(helper.tag + " renamed") != std::string::npos;
  }, 10000));

  std::string report = WindowText(tool.Item(IDC_REPORT));
  EXPECT_EQ(report.substr(0, sizeof kHeader - 1), kHeader);
  EXPECT_EQ(ShownRow(tool, 1), childRow());
  EXPECT_NE(report.find("\r\n\r\n  " + Hex8(helper.child) + "     "), std::string::npos);
  EXPECT_EQ(ShownRow(tool, 2), topRow());
  EXPECT_EQ(ShownRow(tool, 3), kZeroRow);  // a child has no owner
  for (int k = 4; k <= 8; ++k) EXPECT_EQ(ShownRow(tool, k), topRow()) << "row " << k;
  EXPECT_TRUE(Checked(tool.Item(IDC_LOCK)));

  EXPECT_EQ(tool.Close(), 0u);
}

}  // namespace
