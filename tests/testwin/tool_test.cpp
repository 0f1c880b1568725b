// The built tool as a user meets it: a real click on "CreateWnd  (Owner)", the test window seen
// from outside, and its label following a re-ownership made from here.
#include <windows.h>

#include <string>
#include <vector>

#include "testwin_helpers.h"

namespace {

// The visible windows of the given class that belong to the process.
std::vector<HWND> ProcessWindows(DWORD pid, const char* cls) {
  struct Search {
    DWORD pid;
    const char* cls;
    std::vector<HWND> found;
  } search{pid, cls, {}};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == s->pid && ClassOf(w) == s->cls && IsWindowVisible(w)) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ClickAt(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  return Xdotool("mousemove " + std::to_string((r.left + r.right) / 2) + " " +
                 std::to_string((r.top + r.bottom) / 2) + " click 1");
}

}  // namespace

TEST(TestWindowInTheTool, AClickMakesANumberedWindowWhoseLabelFollowsItsOwner) {
  ToolProcess tool;
  ASSERT_TRUE(tool.ok());
  HWND button = tool.Item(IDC_CREATEWND);
  ASSERT_EQ(WindowText(button), "CreateWnd  (Owner)");
  ASSERT_TRUE(IsWindowEnabled(button));

  ASSERT_TRUE(ClickAt(button));
  HWND w = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    std::vector<HWND> found = ProcessWindows(tool.pid(), "sButton");
    w = found.size() == 1 ? found[0] : nullptr;
    return w != nullptr;
  })) << "no test window appeared";
  EXPECT_EQ(WindowText(w), WindowCaption(w, 1));
  // At start P is nobody, so the command target is nobody and the window has no owner.
  EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
  EXPECT_EQ(LabelOf(w), "Owner :");
  EXPECT_EQ(IsDlgButtonChecked(tool.dlg, IDC_LOCK), static_cast<UINT>(BST_CHECKED));

  // Re-owned under a window of this process, then under the tool's own dialog, as the history
  // does it: the owner field, then a move (away from the tool's buttons, for the next click).
  HWND owner = MakeTopWindow("a new owner from outside", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(owner, nullptr);
  SetWindowLongPtrA(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  SetWindowPos(w, nullptr, 600, 560, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(PumpUntil([&] {
    return LabelOf(w) == OwnerLine(owner, "TestTop", "a new owner from outside");
  })) << LabelOf(w);

  SetWindowLongPtrA(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(tool.dlg));
  SetWindowPos(w, nullptr, 620, 580, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  std::string dialogText = WindowText(tool.dlg).substr(0, 62);
  EXPECT_TRUE(PumpUntil([&] { return LabelOf(w) == OwnerLine(tool.dlg, "#32770", dialogText); }))
      << LabelOf(w);

  // A second click numbers the next window 2.
  ASSERT_TRUE(ClickAt(button));
  HWND second = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    for (HWND found : ProcessWindows(tool.pid(), "sButton")) {
      if (found != w) second = found;
    }
    return second != nullptr;
  })) << "no second test window appeared";
  EXPECT_EQ(WindowText(second), WindowCaption(second, 2));

  EXPECT_EQ(tool.Close(), 0u);
  DestroyWindow(owner);
}
