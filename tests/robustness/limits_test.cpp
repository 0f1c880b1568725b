// Names and texts beyond the buffer limits, full of '%' and control characters, show literally and
// cut to their fields; nothing is written past a buffer; a still scene writes nothing.
#include <cstddef>
#include <cstring>

#include "robustness/robust_helpers.h"

namespace robust {
namespace {

// A text of exactly n characters: head, then pattern over and over.
std::string Filled(const std::string& head, const std::string& pattern, size_t n) {
  std::string s = head;
  while (s.size() < n) s += pattern;
  return s.substr(0, n);
}
const std::string kLetters = "abcdefghijklmnopqrstuvwxyz";
// Conversions that would read arguments, write through %n or run on if a text reached wsprintfA
// as its format; and every control character but the terminator, CR and LF among them.
const std::string kPercents = "%s%n%d%%%x%p%S%ls%.999d%-99s%c%";
const std::string kControls = [] {
  std::string s;
  for (char c = 1; c < 32; ++c) s += c;
  return s;
}();
constexpr size_t kLongestReport = 3795;  // the header and ten of the widest rows, and the end

// o (top-level) owns t (popup) > c (child) > w (child): classes of 255, 64, 63 and 62 characters
// and texts longer than their fields make every row as wide as it gets.
struct Member {
  std::string cls, text;
  DWORD style;
  int x, y, cx, cy, id;
  const char* symbols;
};
const Member kWidest[4] = {
    {Filled("RobustO", kLetters, 255), Filled("", kPercents, 300), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
     40, 560, 400, 300, 0, " _O_VE-"},
    {Filled("RobustT", kLetters, 64), Filled("Text of t ", kLetters, 64),
     WS_POPUP | WS_CAPTION | WS_VISIBLE, 480, 560, 400, 300, 0, " _P_VE-"},
    {Filled("RobustC", kLetters, 63), Filled("", kControls, 100), WS_CHILD | WS_VISIBLE,
     10, 10, 300, 200, 0x1234, " _C_VE-"},
    {Filled("RobustW", kLetters, 62), Filled("", kPercents, 63), WS_CHILD | WS_VISIBLE,
     5, 5, 100, 80, 65535, " _C_VE-"},
};

class WidestTest : public RobustTest {
 protected:
  void SetUp() override {
    RobustTest::SetUp();
    for (int i = 0; i < 4; ++i) {
      const Member& m = kWidest[i];
      RegisterNamedClass(m.cls);
      HMENU id = reinterpret_cast<HMENU>(INT_PTR{m.id});
      h[i] = Keep(CreateWindowExA(0, m.cls.c_str(), m.text.c_str(), m.style, m.x, m.y, m.cx, m.cy,
                                  i ? h[i - 1] : nullptr, id, GetModuleHandleA(nullptr), nullptr));
      ASSERT_NE(h[i], nullptr);
    }
  }
  // The report row of x: the report keeps no line break, CR and LF show as spaces.
  std::string ReportRowOf(HWND x) const {
    std::string r = x ? "(not of the family)" : "  0";
    for (int i = 0; i < 4; ++i) {
      const Member& m = kWidest[i];
      if (x == h[i]) r = ReportRow(x, m.symbols, m.cls.substr(0, 62), m.text.substr(0, 62));
    }
    for (char& c : r) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    return r;
  }
  HWND h[4] = {};
};

TEST_F(WidestTest, TheWidestRowsShowLiterallyInsideTheirBuffers) {
  Lock(h[3], h[0]);
  app.hCommandTarget = h[0];  // what the tick sets it to: P, as the target button is clear
  app.ptF9 = {0x5A5A5A5A, -0x5A5A5A5A};  // not zero, so that a write of zeros would show
  app.pidP = 0x11111111;
  app.tidP = 0x22222222;
  app.topTopLevelCount = 0x33333333;
  memset(app.report + kLongestReport, 0xA5, sizeof app.report - kLongestReport);
  memset(app.prevReport + kLongestReport, 0xA5, sizeof app.prevReport - kLongestReport);
  static AppState before;
  memcpy(&before, &app, sizeof app);
  Tick();
  HWND lastActive = GetLastActivePopup(h[0]);
  HWND secondPopup = lastActive == h[0] ? HWND{} : lastActive;
  std::string expected = kHeader;
  // W, P, W's owner, its GWL_HWNDPARENT, parent, ancestors, root and root owner, P's two popups.
  for (HWND x : {h[3], h[0], HWND{}, h[2], h[2], h[2], h[1], h[0], HWND{}, secondPopup})
    expected += "\r\n\r\n" + ReportRowOf(x);
  EXPECT_GT(expected.size(), 2048u);
  EXPECT_EQ(std::string(app.report), expected);
  EXPECT_EQ(std::string(app.prevReport), expected);
  EXPECT_EQ(WindowText(app.hReportPane), expected);
  // The symbols of the last full row stay: t's when it is o's last active popup, else o's.
  EXPECT_STREQ(app.styleSymbols, lastActive == h[1] ? " _P_VE-" : " _O_VE-");
  // Apart from the reports up to the widest one, the symbols and its scratch count, the tick
  // wrote nothing: not the guard bytes after the reports, nor a field around them.
  memcpy(before.report, app.report, kLongestReport);
  memcpy(before.prevReport, app.prevReport, kLongestReport);
  memcpy(before.styleSymbols, app.styleSymbols, sizeof app.styleSymbols);
  before.enumCount = app.enumCount;
  const char* now = reinterpret_cast<const char*>(&app);
  const char* was = reinterpret_cast<const char*>(&before);
  size_t same = 0;
  while (same < sizeof app && now[same] == was[same]) ++same;
  EXPECT_EQ(same, sizeof app) << "the first byte written";
}

// A still scene: a message-only P, whose row follows the combo box's own rows, and the list
// monitored. The first ticks take in the count label and caption that the commands changed.
TEST_F(WidestTest, AStillSceneOfTheWidestRowsWritesNothing) {
  RegisterNamedClass("RobustMsg");
  HWND p = Keep(CreateWindowExA(0, "RobustMsg", "still list P", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr));
  Lock(h[3], p);
  Click(IDC_FILTER_ALL);
  ShowMonitoredList();
  for (int i = 0; i < 3; ++i) {
    Tick();
    Pump();
  }
  const std::string prefixes[4] = {TopLevelPrefix(h[0]), TopLevelPrefix(h[1]), " +", " ++"};
  for (int i = 0; i < 4; ++i) {  // the tree keeps control characters, as a list row may hold them
    const char mark = i < 2 ? TopMarkOf(h[i]) : ' ';
    const Member& m = kWidest[i];
    EXPECT_EQ(RowLineOf(h[i]), TreeLine(h[i], mark, prefixes[i], m.cls.substr(0, 62), m.text.substr(0, 62)));
  }
  // The rebuild selected P's row into the edit field; the combo box and the edit field (depths 2
  // and 3) show empty texts, so that their rows do not change with the selection.
  HWND edit = FindWindowExA(app.hTreeCombo, nullptr, "Edit", nullptr);
  const int pRow = RowIndexOf(p);
  ASSERT_GT(pRow, RowIndexOf(edit));
  const std::string pLine =
      TreeLine(p, HighestNonTopmost() ? ' ' : '=', TopLevelPrefix(p), "RobustMsg", "still list P");
  EXPECT_EQ(RowLineOf(p), pLine);
  EXPECT_EQ(WindowText(edit), pLine);
  EXPECT_EQ(RowLineOf(app.hTreeCombo), TreeLine(app.hTreeCombo, ' ', " +", "ComboBox", ""));
  EXPECT_EQ(RowLineOf(edit), TreeLine(edit, ' ', " ++", "Edit", ""));
  Writes writes;
  for (int i = 0; i < 10; ++i) {
    Tick();
    Pump();
  }
  RefreshTree();
  EXPECT_EQ(Writes::log, "");
  EXPECT_EQ(SendMessageA(app.hTreeCombo, CB_GETCURSEL, 0, 0), pRow);
}

TEST_F(RobustTest, WindowsNestedBeyondThePrefixRoomKeepTheirLinesInsideTheLineBuffer) {
  const std::string cls = Filled("RobustDeep", kLetters, 62);
  RegisterNamedClass(cls);
  auto text = [](int d) { return Filled("level " + std::to_string(d) + " ", kLetters, 100); };
  std::vector<HWND> chain;
  for (int d = 1; d <= 70; ++d) {
    const DWORD style = (d > 1 ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
    HWND parent = d > 1 ? chain.back() : nullptr;
    chain.push_back(CreateWindowExA(0, cls.c_str(), text(d).c_str(), style, 1, 1, 300, 200, parent, nullptr,
                                    nullptr, nullptr));
    ASSERT_NE(Keep(chain.back()), nullptr) << "depth " << d;
  }
  app.hTargetW = chain[0];
  Click(IDC_FILTER_DESC);
  std::vector<ListRow> rows = ListRows();
  ASSERT_EQ(rows.size(), chain.size());
  ExpectWellFormedList();  // each row's handle is its item data's
  // The thread mark and d - 1 plus signs, as many as the prefix's 63 characters hold.
  for (int d = 2; d <= 70; ++d) {
    const std::string prefix = " " + std::string(std::min(d - 1, 62), '+');
    EXPECT_EQ(rows[d - 1].line, TreeLine(chain[d - 1], ' ', prefix, cls, text(d).substr(0, 62)));
  }
}

}  // namespace
}  // namespace robust
