// The built tool as a user drives it: point at P and press F9, point at W and press F8, click
// "SetParent  (Parent)", then close the tool, with and without F8 and F9 held down.
#include <windows.h>

#include <string>

#include "res/resource.h"
#include "support/test_support.h"

namespace {

bool Down(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

std::string ReportOf(const ToolProcess& tool) { return WindowText(tool.Item(IDC_REPORT)); }

POINT CentreOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string ParentAndRect(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return Hex8(GetAncestor(w, GA_PARENT)) + " " + std::to_string(r.left) + "," +
         std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom);
}

// Presses and releases one key through the X server and waits until the tool's tick has had
// the chance to see it: until seen() is true while the key is still down.
bool PressUntil(const char* key, int vk, const std::function<bool()>& seen) {
  if (!KeyDown(key)) return false;
  bool ok = PumpUntil([&] { return Down(vk) && seen(); }, 10000);
  KeyUp(key);
  PumpUntil([vk] { return !Down(vk); });
  return ok;
}

class HistoryE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tool_.ok());
    // The report pane is written by the first tick; without a tick nothing picks W or P.
    if (!PumpUntil([this] { return !ReportOf(tool_).empty(); }, 3000)) {
      GTEST_SKIP() << "the tool's inspection tick does not write a report";
    }
    ASSERT_TRUE(helper_.ok());
    // The tool's dialog is topmost: it is moved where it hides neither W nor P.
    SetWindowPos(tool_.dlg, nullptr, 560, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    p_ = MakeTopWindow("history e2e P", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 900, 60, 350, 300);
    ASSERT_NE(p_, nullptr);
    Pump();
  }
  void TearDown() override {
    if (p_) DestroyWindow(p_);
  }

  // Picks P with F9 at the point f9 inside P, then W (the helper's child) with F8.
  void PickWAndP(POINT f9) {
    ASSERT_TRUE(MouseTo(f9.x, f9.y));
    ASSERT_EQ(WindowFromPoint(f9), p_);
    // The tick follows the cursor: once the report names P, a press of F9 changes its P row.
    ASSERT_TRUE(PumpUntil([&] { return ReportOf(tool_).find(Hex8(p_)) != std::string::npos; }));
    std::string before = ReportOf(tool_);
    ASSERT_TRUE(PressUntil("F9", VK_F9, [&] { return ReportOf(tool_) != before; }));

    POINT w = CentreOf(helper_.child);
    ASSERT_TRUE(MouseTo(w.x, w.y));
    ASSERT_EQ(WindowFromPoint(w), helper_.child);
    ASSERT_TRUE(PumpUntil([&] { return ReportOf(tool_).find(Hex8(helper_.child)) != std::string::npos; }));
    ASSERT_TRUE(PressUntil("F8", VK_F8, [&] {
      return SendMessageA(tool_.Item(IDC_LOCK), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }));
  }

  void SetParentThroughTheTool(POINT f9) {
    RECT r;
    GetWindowRect(helper_.child, &r);
    SendMessageA(tool_.dlg, WM_COMMAND, IDC_SETPARENT, 0);
    ASSERT_EQ(GetAncestor(helper_.child, GA_PARENT), p_);
    RECT now;
    GetWindowRect(helper_.child, &now);
    EXPECT_EQ(now.left, f9.x);
    EXPECT_EQ(now.top, f9.y);
    EXPECT_EQ(now.right - now.left, r.right - r.left);
    EXPECT_EQ(now.bottom - now.top, r.bottom - r.top);
    EXPECT_EQ(WindowText(tool_.Item(IDC_COUNTER)), "1");
  }

  ToolProcess tool_;
  HelperProcess helper_;
  HWND p_ = nullptr;
};

TEST_F(HistoryE2e, UndoPutsWBackAndClosingRestoresWhatIsStillChanged) {
  std::string former = ParentAndRect(helper_.child);
  POINT f9 = {960, 160};
  PickWAndP(f9);
  SetParentThroughTheTool(f9);
  std::string changed = ParentAndRect(helper_.child);

  SendMessageA(tool_.dlg, WM_COMMAND, IDC_UNDO, 0);
  EXPECT_EQ(ParentAndRect(helper_.child), former);
  EXPECT_EQ(WindowText(tool_.Item(IDC_COUNTER)), "0");
  SendMessageA(tool_.dlg, WM_COMMAND, IDC_REDO, 0);
  EXPECT_EQ(ParentAndRect(helper_.child), changed);

  EXPECT_EQ(tool_.Close(), 0u);
  EXPECT_EQ(ParentAndRect(helper_.child), former);
}

TEST_F(HistoryE2e, ClosingWithF8AndF9HeldKeepsTheChange) {
  POINT f9 = {1000, 200};
  PickWAndP(f9);
  SetParentThroughTheTool(f9);
  std::string changed = ParentAndRect(helper_.child);

  ASSERT_TRUE(KeyDown("F8"));
  ASSERT_TRUE(KeyDown("F9"));
  bool held = PumpUntil([] { return Down(VK_F8) && Down(VK_F9); });
  DWORD code = held ? tool_.Close() : STILL_ACTIVE;
  KeyUp("F8");
  KeyUp("F9");
  PumpUntil([] { return !Down(VK_F8) && !Down(VK_F9); });
  ASSERT_TRUE(held);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ParentAndRect(helper_.child), changed);
}

}  // namespace
