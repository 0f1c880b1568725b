// The Z-order places of all ten report rows, which one walk per window tree finds, against a
// count of the test's own for each row; again after row windows moved or went between ticks.
#include "app/app_state.h"
#include "inspector/inspector.h"
#include "inspector_helpers.h"
#include "res/resource.h"

namespace {
using namespace inspector_test;

// Handle and Z-order column of row k of the report ("HHHHHHHH  0012", "HHHHHHHH o0003"), or the
// short row's text.
std::string ShownPlace(int k) {
  std::vector<std::string> lines = Lines(app.report);
  if (lines.size() <= 2u * k) return "(no row)";
  const std::string& row = lines[2 * k];
  if (row.size() < 20) return row.substr(2);
  return row.substr(2, 8) + " " + row.substr(15, row.find(' ', 16) - 15);
}

// The same column worked out by the test: the tree is the root parent's, the place a walk of
// its own up to the window; the desktop and the message root stand at 0.
std::string CountedPlace(HWND h) {
  if (h == nullptr) return "0";
  if (h == HWND_MESSAGE) return "HWND_MESSAGE";
  HWND root = GetAncestor(GetAncestor(h, GA_ROOT), GA_PARENT), messageRoot = app.hMessageRoot;
  bool own = h == GetDesktopWindow() || h == messageRoot;
  char place[32];
  snprintf(place, sizeof place, "%s%04d", root == messageRoot || h == messageRoot ? "o" : " ",
           own ? 0 : EnumPosition(root, h));
  return Hex8(h) + " " + place;
}

class ZOrder : public MainDialogTest {
 protected:
  void SetUp() override {
    MainDialogTest::SetUp();
    StopTimer();
  }
  // Locked on w with P = p: the ten rows name the windows given, each at its counted place.
  void ExpectPlaces(HWND w, HWND p, const std::vector<HWND>& rows) {
    app.lockW = TRUE, app.hTargetW = w, app.hTargetP = p;
    InspectTick(dlg_);
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(ShownPlace(k), CountedPlace(rows[k - 1])) << "row " << k;
  }
};

TEST_F(ZOrder, AllTenRowsInBothTreesBeforeAndAfterRowWindowsMoveOrGo) {
  HelperProcess host;  // another process's windows in both trees, before and among the rows
  ASSERT_TRUE(host.ok());
  // W is two levels down in the message-only tree; P a top-level window with an active popup.
  HWND mtop = MakeTopWindow("zorder mtop", WS_OVERLAPPED, 0, nullptr);
  SetParent(mtop, HWND_MESSAGE);
  HWND mmid = MakeChildWindow(mtop, "zorder mmid", 1), w = MakeChildWindow(mmid, "zorder w", 2);
  HWND ahead = MakeTopWindow("zorder ahead", WS_POPUP | WS_VISIBLE, 0, nullptr, 0, 0, 40, 40);
  HWND p = MakeTopWindow("zorder P", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 60, 560);
  HWND pop = MakeTopWindow("zorder popup", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, p, 400, 560);
  SetActiveWindow(pop);
  ASSERT_EQ(GetAncestor(mtop, GA_PARENT), app.hMessageRoot);
  // This Wine never reports an enabled popup: row 9 is 0.
  ExpectPlaces(w, p, {w, p, nullptr, mmid, mmid, mmid, mtop, mtop, nullptr, pop});
  // The message root, the helper's windows and the desktop: rows of both roots and one process.
  ExpectPlaces(host.child, host.msg, {host.child, host.msg, nullptr, host.top, host.top, host.top,
                                      host.top, host.top, nullptr, nullptr});
  // The message root has no root of its own here.
  ExpectPlaces(app.hMessageRoot, host.top, {app.hMessageRoot, host.top, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, host.owned});

  // Moved between two ticks: P to the bottom of the Z-order, W's family to the desktop's tree.
  SetWindowPos(p, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetParent(mtop, nullptr);
  ASSERT_EQ(GetAncestor(mtop, GA_PARENT), GetDesktopWindow());
  ExpectPlaces(w, p, {w, p, nullptr, mmid, mmid, mmid, mtop, mtop, nullptr, pop});
  // Gone between two ticks: a window ahead of every row, then the popup, then W and P themselves.
  DestroyWindow(ahead);
  DestroyWindow(pop);
  ExpectPlaces(w, p, {w, p, nullptr, mmid, mmid, mmid, mtop, mtop, nullptr, nullptr});
  DestroyWindow(mtop);
  ExpectPlaces(w, p, {nullptr, p, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
  EXPECT_EQ(app.hTargetW, w);  // a W that has gone keeps its handle
  DestroyWindow(p);
  ExpectPlaces(w, p, std::vector<HWND>(10, nullptr));
  EXPECT_EQ(app.hTargetP, nullptr);  // a P that has gone is forgotten
}

}  // namespace
