// The built tool closed with a hung program's window in its history: it passes that entry over,
// restores the others and ends, instead of waiting for the hung program for good.
#include <memory>

#include "robustness/robust_helpers.h"
#include "support/relations.h"

namespace robust {
namespace {

bool Down(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

// Whether row k (1 to 10) of the tool's report describes w.
bool RowNames(const ToolProcess& tool, int k, HWND w) {
  std::vector<std::string> parts = ReportParts(WindowText(tool.Item(IDC_REPORT)));
  return static_cast<int>(parts.size()) > k && parts[k].rfind("  " + Hex8(w), 0) == 0;
}

// Points at w and holds the key down until picked() is true, then lets it go.
bool Pick(HWND w, const char* key, int vk, const std::function<bool()>& picked) {
  POINT at = {0, 0};
  ClientToScreen(w, &at);
  if (!MouseTo(at.x + 20, at.y + 20)) return false;
  bool ok = KeyDown(key) && PumpUntil([&] { return Down(vk) && picked(); }, 10000);
  return KeyUp(key) && PumpUntil([vk] { return !Down(vk); }) && ok;
}

TEST(HungClose, TheToolPassesOverAHungWindowsEntryRestoresTheOthersAndEnds) {
  ToolProcess tool;
  ASSERT_TRUE(tool.ok());
  // The topmost dialog goes where it hides none of the windows that are picked.
  SetWindowPos(tool.dlg, nullptr, 560, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Two new parents: a window that shares its parent with a hung window waits for that one too when
  // it is hidden there, and the local window must go home however the other one fares.
  const DWORD visible = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  HWND p = MakeTopWindow("hung close P", visible, 0, nullptr, 900, 60, 350, 300);
  HWND p2 = MakeTopWindow("hung close P2", visible, 0, nullptr, 900, 380, 350, 200);
  HWND home = MakeTopWindow("hung close home", visible, 0, nullptr, 40, 520, 300, 200);
  HWND local = MakeChildWindow(home, "hung close local", 3, WS_CHILD | WS_VISIBLE, 10, 10, 120, 80);
  auto locked = [&] { return SendMessageA(tool.Item(IDC_LOCK), BM_GETCHECK, 0, 0) == BST_CHECKED; };
  auto setParent = [&](HWND w, HWND parent) {
    ASSERT_TRUE(Pick(parent, "F9", VK_F9, [&] { return RowNames(tool, 2, parent); }));
    ASSERT_TRUE(Pick(w, "F8", VK_F8, [&] { return locked() && RowNames(tool, 1, w); }));
    // Bounded: should the tool wait for the hung program, the test fails instead of waiting too.
    SendMessageTimeoutA(tool.dlg, WM_COMMAND, IDC_SETPARENT, 0, 0, 20000, nullptr);
    ASSERT_EQ(GetAncestor(w, GA_PARENT), parent);
    // The lock off again, as a click on "lock" leaves it, so that F8 picks anew.
    SendMessageA(tool.Item(IDC_LOCK), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(tool.dlg, WM_COMMAND, IDC_LOCK, 0);
  };
  ASSERT_NO_FATAL_FAILURE(setParent(local, p));

  // A program that answers long enough for its window to be picked and moved, on a busy machine too.
  auto host = std::make_unique<HelperProcess>("hangafter=15000");
  ASSERT_TRUE(host->ok());
  const HWND hungChild = host->child, hungTop = host->top;
  ASSERT_NO_FATAL_FAILURE(setParent(hungChild, p2));
  ASSERT_EQ(WindowText(tool.Item(IDC_COUNTER)), "2");
  ASSERT_TRUE(PumpUntil([&] { return IsHungAppWindow(hungTop) != FALSE; }, 30000)) << "never taken for hung";

  const DWORD start = GetTickCount();
  EXPECT_EQ(tool.Close(20000), 0u);
  EXPECT_LT(GetTickCount() - start, 10000u);
  ExpectRelations(local, ChildOfTop(home));
  ExpectRelations(hungChild, ChildOfTop(p2));
  host.reset();  // P2 can go once its hung child has gone with its program
  for (HWND w : {home, p, p2}) DestroyWindow(w);
}

}  // namespace
}  // namespace robust
