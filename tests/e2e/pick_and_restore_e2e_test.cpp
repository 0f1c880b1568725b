// The built tool driven with the real mouse and keys and read from outside: F9 picks P and F8
// picks W, a window of another program; the report names them; "SetParent  (Parent)" moves W
// under P; closing the tool puts W back unless F8 and F9 are held down.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "inspector/inspector_helpers.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

// The test program's own executable name, as the tool's process snapshot shows it.
std::string OwnExeName() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  return p.substr(p.find_last_of("\\/") + 1);
}

using namespace inspector_test;

bool Down(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

std::string ParentAndRect(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return Hex8(GetAncestor(w, GA_PARENT)) + " " + std::to_string(r.left) + "," +
         std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom);
}

class PickAndRestore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tool_.ok());
    ASSERT_TRUE(helper_.ok());
    // The tool's dialog is topmost: it goes where it hides neither W nor P.
    SetWindowPos(tool_.dlg, nullptr, 560, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    p_ = MakeTopWindow("e2e P", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 900, 60, 350, 300);
    ASSERT_NE(p_, nullptr);
    former_ = ParentAndRect(helper_.child);
  }
  void TearDown() override { DestroyWindow(p_); }

  // Row k (1 to 10) of the report that the tool's pane shows.
  std::string Row(int k) {
    std::vector<std::string> lines = Lines(WindowText(tool_.Item(IDC_REPORT)));
    return static_cast<int>(lines.size()) > 2 * k ? "\r\n\r\n" + lines[2 * k] : "";
  }
  std::string RowOf(HWND w, const char* symbols, const char* cls, DWORD id,
                    const std::string& exe) {
    return ExpectedRow(w, {" ", EnumPosition(GetDesktopWindow(), w), symbols, cls, WindowText(w),
                           id, exe});
  }
  std::string PRow() { return RowOf(p_, " _O_VE-", "TestTop", 0, OwnExeName()); }
  std::string WRow() { return RowOf(helper_.child, " _C_VE-", "WinHostChild", 77, "winhost.exe"); }
  std::string RowsFourToEight() {
    std::string rows;
    for (int k = 4; k <= 8; ++k) rows += Row(k);
    return rows;
  }
  std::string Lock() {
    return SendMessageA(tool_.Item(IDC_LOCK), BM_GETCHECK, 0, 0) == BST_CHECKED ? "checked" : "unchecked";
  }

  // Points at a window until the report's first row describes it, then holds the key down until
  // the reading `what` shows the pick, and lets the key go. Waits are scaled for an emulated tool.
  ::testing::AssertionResult Pick(POINT at, const std::function<std::string()>& row, const char* key, int vk,
                                  const char* what, const std::function<std::string()>& read,
                                  const std::function<std::string()>& picked) {
    if (!MouseTo(at.x, at.y)) return ::testing::AssertionFailure() << "xdotool did not move the pointer";
    ::testing::AssertionResult shown = ReadingBecomes("row 1", [&] { return Row(1); }, row, 10000);
    if (!shown) return shown;
    ::testing::AssertionResult result = ::testing::AssertionFailure() << key << " did not go down";
    if (KeyDown(key) && PumpUntil([vk] { return Down(vk); })) {
      result = ReadingBecomes(what, read, picked, 10000);
    }
    if (!KeyUp(key) || !PumpUntil([vk] { return !Down(vk); })) {
      return ::testing::AssertionFailure() << key << " did not come up";
    }
    return result;
  }

  // F9 at the point f9 in P, F8 on the helper's child; then "SetParent  (Parent)".
  void PickAndSetParent(POINT f9) {
    ASSERT_EQ(WindowFromPoint(f9), p_);
    const std::function<std::string()> pRow = [&] { return PRow(); };
    const std::function<std::string()> wRow = [&] { return WRow(); };
    ASSERT_TRUE(Pick(f9, pRow, "F9", VK_F9, "row 2", [&] { return Row(2); }, pRow));
    EXPECT_EQ(Lock(), "unchecked");
    POINT onW = {0, 0};
    ClientToScreen(helper_.child, &onW);
    onW = {onW.x + 40, onW.y + 40};
    ASSERT_EQ(WindowFromPoint(onW), helper_.child);
    ASSERT_TRUE(Pick(onW, wRow, "F8", VK_F8, "the lock", [&] { return Lock(); }, [] { return "checked"; }));

    // Away from W, the report stays on it: a new text of W shows up there.
    ASSERT_TRUE(MouseTo(f9.x, f9.y));
    SetWindowTextA(helper_.child, (helper_.tag + " renamed").c_str());
    ASSERT_TRUE(ReadingBecomes("row 1", [&] { return Row(1); }, wRow, 10000));
    EXPECT_EQ(WindowText(tool_.Item(IDC_REPORT)).substr(0, sizeof kHeader - 1), kHeader);
    EXPECT_EQ(Row(2), PRow());
    EXPECT_EQ(Row(3), kZeroRow);  // a child has no owner
    std::string top = RowOf(helper_.top, " _O_VE-", "WinHostTop", 0, "winhost.exe");
    EXPECT_EQ(RowsFourToEight(), top + top + top + top + top);

    RECT r, now;
    GetWindowRect(helper_.child, &r);
    SendMessageA(tool_.dlg, WM_COMMAND, IDC_SETPARENT, 0);
    ASSERT_EQ(GetAncestor(helper_.child, GA_PARENT), p_);
    GetWindowRect(helper_.child, &now);
    EXPECT_EQ(now.left, f9.x);
    EXPECT_EQ(now.top, f9.y);
    EXPECT_EQ(now.right - now.left, r.right - r.left);
    EXPECT_EQ(now.bottom - now.top, r.bottom - r.top);
    EXPECT_EQ(WindowText(tool_.Item(IDC_COUNTER)), "1");
    // The next tick names P as W's parent and ancestors; row 4 is GetWindowLongA(GWL_HWNDPARENT),
    // a 32-bit reading in the 32-bit build.
    EXPECT_TRUE(ReadingBecomes("rows 4 to 8", [&] { return RowsFourToEight(); }, [&] {
      std::string p = PRow();
      return p + p + p + p + p;
    }, 5000));
  }

  ToolProcess tool_;
  HelperProcess helper_;
  HWND p_ = nullptr;
  std::string former_;
};

TEST_F(PickAndRestore, UndoAndRedoExchangeWATreeRowBecomesPAndClosingPutsWBack) {
  ASSERT_NO_FATAL_FAILURE(PickAndSetParent({960, 160}));
  std::string changed = ParentAndRect(helper_.child);
  SendMessageA(tool_.dlg, WM_COMMAND, IDC_UNDO, 0);
  EXPECT_EQ(ParentAndRect(helper_.child), former_);
  EXPECT_EQ(WindowText(tool_.Item(IDC_COUNTER)), "0");
  SendMessageA(tool_.dlg, WM_COMMAND, IDC_REDO, 0);
  EXPECT_EQ(ParentAndRect(helper_.child), changed);

  // A row of the tree list chosen as the list does it (the selection, then its notification)
  // makes P the window that the row's item data names: here the helper's message-only window,
  // shown in the message-only tree ('o'). "Top-L" lists the windows made since the tool started.
  SendMessageA(tool_.dlg, WM_COMMAND, IDC_FILTER_TOPL, 0);
  HWND combo = tool_.Item(IDC_TREECOMBO);
  LRESULT row = CB_ERR;
  for (LRESULT i = SendMessageA(combo, CB_GETCOUNT, 0, 0) - 1; i >= 0 && row == CB_ERR; --i) {
    if (SendMessageA(combo, CB_GETITEMDATA, i, 0) == reinterpret_cast<LRESULT>(helper_.msg)) row = i;
  }
  ASSERT_NE(row, CB_ERR) << "the tree list has no row of the message-only window";
  SendMessageA(combo, CB_SETCURSEL, row, 0);
  SendMessageA(tool_.dlg, WM_COMMAND, MAKEWPARAM(IDC_TREECOMBO, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  const std::function<std::string()> msgRow = [&] {
    HWND msg = helper_.msg;
    return ExpectedRow(msg, {"o", EnumPosition(GetAncestor(msg, GA_PARENT), msg), " _O_HE-", "WinHostMsg",
                             WindowText(msg), 0, "winhost.exe"});
  };
  EXPECT_TRUE(ReadingBecomes("row 2", [&] { return Row(2); }, msgRow, 5000));

  EXPECT_EQ(tool_.Close(), 0u);
  EXPECT_EQ(ParentAndRect(helper_.child), former_);
}

TEST_F(PickAndRestore, ClosingWithF8AndF9HeldKeepsTheChange) {
  ASSERT_NO_FATAL_FAILURE(PickAndSetParent({1000, 200}));
  std::string changed = ParentAndRect(helper_.child);
  ASSERT_TRUE(KeyDown("F8"));
  ASSERT_TRUE(KeyDown("F9"));
  bool held = PumpUntil([] { return Down(VK_F8) && Down(VK_F9); }, 10000);
  DWORD code = held ? tool_.Close() : STILL_ACTIVE;
  KeyUp("F8");
  KeyUp("F9");
  PumpUntil([] { return !Down(VK_F8) && !Down(VK_F9); });
  ASSERT_TRUE(held);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(ParentAndRect(helper_.child), changed);
}

}  // namespace
