// Class names and texts at and beyond the buffer limits, texts full of '%' and control
// characters: the rows show them literally, cut to their fields, and nothing is written past a
// buffer.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "robustness/robust_helpers.h"

namespace robust {
namespace {

// A name of exactly n characters that starts with head.
std::string Sized(const std::string& head, size_t n) {
  std::string s = head;
  for (size_t i = 0; s.size() < n; ++i) s += static_cast<char>('a' + i % 26);
  return s.substr(0, n);
}

// Conversions that would read arguments, write through %n or print a string without end if the
// text ever reached wsprintfA as its format.
std::string PercentText(size_t n) {
  std::string s;
  while (s.size() < n) s += "%s%n%d%%%x%p%S%ls%.999d%-99s%c%";
  return s.substr(0, n);
}

// Every control character but the terminator, CR LF among them.
std::string ControlText(size_t n) {
  std::string s;
  for (size_t i = 0; s.size() < n; ++i) s += static_cast<char>(i % 31 + 1);
  s += '\x7f';
  return s.substr(0, n);
}

constexpr int kLongestReport = 3795;  // the header and ten of the widest rows, and the end
constexpr unsigned char kGuard = 0xA5;

// A family whose report rows are as wide as classes and texts make them:
//   o (top-level) owns t (popup) > c (child) > w (child)
// with classes of 255, 64, 63 and 62 characters and texts of '%', letters and control
// characters, each longer than its field. P is o.
class Limits : public RobustTest {
 protected:
  void SetUp() override {
    RobustTest::SetUp();
    for (const std::string* name : {&oClass, &tClass, &cClass, &wClass}) RegisterNamedClass(*name);
    HINSTANCE inst = GetModuleHandleA(nullptr);
    o = Keep(CreateWindowExA(0, oClass.c_str(), oText.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 560, 400,
                             300, nullptr, nullptr, inst, nullptr));
    t = Keep(CreateWindowExA(0, tClass.c_str(), tText.c_str(), WS_POPUP | WS_CAPTION | WS_VISIBLE, 480, 560,
                             400, 300, o, nullptr, inst, nullptr));
    c = Keep(CreateWindowExA(0, cClass.c_str(), cText.c_str(), WS_CHILD | WS_VISIBLE, 10, 10, 300, 200, t,
                             reinterpret_cast<HMENU>(0x1234), inst, nullptr));
    w = Keep(CreateWindowExA(0, wClass.c_str(), wText.c_str(), WS_CHILD | WS_VISIBLE, 5, 5, 100, 80, c,
                             reinterpret_cast<HMENU>(65535), inst, nullptr));
    Pump();
  }

  // The row a window of the family must have: class and text cut to 62 characters, the text's
  // line breaks made spaces.
  std::string FamilyRow(HWND h) const {
    if (h == nullptr) return "  0";
    struct Known {
      HWND h;
      const char* symbols;
      const std::string& cls;
      const std::string& text;
    };
    for (const Known& k : {Known{o, " _O_VE-", oClass, oText}, Known{t, " _P_VE-", tClass, tText},
                           Known{c, " _C_VE-", cClass, cText}, Known{w, " _C_VE-", wClass, wText}}) {
      if (k.h == h) return ReportRow(h, k.symbols, Cut62(k.cls), OneLine(Cut62(k.text)));
    }
    return "(not of the family) " + Hex8(h);
  }

  const std::string oClass = Sized("RobustO", 255), tClass = Sized("RobustT", 64);
  const std::string cClass = Sized("RobustC", 63), wClass = Sized("RobustW", 62);
  const std::string oText = PercentText(300), tText = Sized("Text of t ", 64);
  const std::string cText = ControlText(100), wText = PercentText(63);
  HWND o = nullptr, t = nullptr, c = nullptr, w = nullptr;
};

// Bytes of the record from one field up to another, to see that nothing wrote there.
std::vector<unsigned char> Bytes(size_t from, size_t to) {
  const unsigned char* base = reinterpret_cast<const unsigned char*>(&app);
  return std::vector<unsigned char>(base + from, base + to);
}

TEST_F(Limits, TheWidestReportIsShownLiterallyAndNothingIsWrittenPastItsBuffers) {
  ASSERT_TRUE(o && t && c && w);
  Lock(w, o);
  app.hCommandTarget = o;  // what the tick sets it to: P, as the target button is clear
  app.ptF9 = {0x5A5A5A5A, -0x5A5A5A5A};
  app.pidP = 0x11111111;
  app.tidP = 0x22222222;
  app.topTopLevelCount = 0x33333333;
  memset(app.report + kLongestReport, kGuard, sizeof app.report - kLongestReport);
  memset(app.prevReport + kLongestReport, kGuard, sizeof app.prevReport - kLongestReport);
  // Everything before the report (down to the targets) and after the style symbols (up to the
  // history) that a tick with the monitor off must not touch; enumCount is the tick's scratch.
  std::vector<unsigned char> before = Bytes(offsetof(AppState, hTargetW), offsetof(AppState, report));
  std::vector<unsigned char> ids = Bytes(offsetof(AppState, treeFilter), offsetof(AppState, enumCount));
  std::vector<unsigned char> after = Bytes(offsetof(AppState, topTopLevelCount), offsetof(AppState, history));

  Tick();

  HWND lastActive = GetLastActivePopup(o);
  std::string expected =
      "  hWnd            Z-ord        Styles        Class        Text        [ x, y, width * height ]"
      "        Id /hMenu        Pid        Tid        Exe";
  for (HWND h : {w, o, static_cast<HWND>(nullptr), c, c, c, t, o, static_cast<HWND>(nullptr),
                 lastActive == o ? nullptr : lastActive}) {
    expected += "\r\n\r\n" + FamilyRow(h);
  }
  EXPECT_GT(expected.size(), 2048u) << "the family should make a report longer than 2048 characters";
  EXPECT_EQ(std::string(app.report), expected);
  EXPECT_EQ(std::string(app.prevReport), expected);
  EXPECT_EQ(WindowText(app.hReportPane), expected);
  EXPECT_EQ(ReportFault(app.report), "");

  for (int i = kLongestReport; i < static_cast<int>(sizeof app.report); ++i) {
    ASSERT_EQ(static_cast<unsigned char>(app.report[i]), kGuard) << "report byte " << i;
    ASSERT_EQ(static_cast<unsigned char>(app.prevReport[i]), kGuard) << "previous report byte " << i;
  }
  EXPECT_EQ(Bytes(offsetof(AppState, hTargetW), offsetof(AppState, report)), before);
  EXPECT_EQ(Bytes(offsetof(AppState, treeFilter), offsetof(AppState, enumCount)), ids);
  EXPECT_EQ(Bytes(offsetof(AppState, topTopLevelCount), offsetof(AppState, history)), after);
  // The symbols of the last full row stay: t's when it is o's last active popup, else o's.
  EXPECT_EQ(app.styleSymbols[7], '\0');
  EXPECT_EQ(std::string(app.styleSymbols), lastActive == t ? " _P_VE-" : " _O_VE-");

  // A second tick finds the same report and leaves the pane alone.
  Writes writes;
  Tick();
  EXPECT_EQ(writes.paneTexts(), 0);
  EXPECT_EQ(std::string(app.report), expected);
}

TEST_F(Limits, ARowNeverPassesTheRoomItsCallerLeaves) {
  ASSERT_TRUE(o && t && c && w);
  // Room for one row of 365 characters and the end, then guard bytes.
  char buffer[366 + 64];
  memset(buffer, kGuard, sizeof buffer);
  for (HWND h : {o, t, c, w}) {
    buffer[0] = '\0';
    EXPECT_EQ(DescribeWindow(h, buffer), h);
    EXPECT_EQ("\r\n\r\n" + FamilyRow(h), std::string(buffer));
    for (size_t i = 366; i < sizeof buffer; ++i)
      ASSERT_EQ(static_cast<unsigned char>(buffer[i]), kGuard) << "byte " << i << " after " << Hex8(h);
  }
}

TEST_F(Limits, TheTreeShowsNamesAndTextsLiterallyCutToTheirFields) {
  ASSERT_TRUE(o && t && c && w);
  Click(IDC_FILTER_ALL);
  RefreshTree();  // takes in the count label and caption that the filter command wrote last
  // In the tree the text keeps its control characters: a list row may hold them.
  EXPECT_EQ(RowLineOf(o), TreeLine(o, TopMarkOf(o), std::string(1, TopLevelThreadMark(o)), Cut62(oClass),
                                   Cut62(oText)));
  EXPECT_EQ(RowLineOf(t), TreeLine(t, TopMarkOf(t), std::string(1, TopLevelThreadMark(t)), Cut62(tClass),
                                   Cut62(tText)));
  EXPECT_EQ(RowLineOf(c), TreeLine(c, ' ', " +", Cut62(cClass), Cut62(cText)));
  EXPECT_EQ(RowLineOf(w), TreeLine(w, ' ', " ++", Cut62(wClass), Cut62(wText)));
  for (const ListRow& row : ListRows()) EXPECT_EQ(TreeRowFault(row), "");

  // The compare pass reads such rows back and finds them equal.
  Writes writes;
  RefreshTree();
  EXPECT_EQ(writes.resets(), 0);
  EXPECT_EQ(writes.additions(), 0);
}

TEST_F(Limits, WindowsNestedBeyondThePrefixRoomKeepTheirLinesInsideTheLineBuffer) {
  const std::string cls = Sized("RobustDeep", 62);
  RegisterNamedClass(cls);
  HINSTANCE inst = GetModuleHandleA(nullptr);
  HWND top = Keep(CreateWindowExA(0, cls.c_str(), "deep top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 560, 400, 300,
                                  nullptr, nullptr, inst, nullptr));
  std::vector<HWND> chain = {top};
  const int kLevels = 70;
  for (int d = 2; d <= kLevels; ++d) {
    std::string text = Sized("level " + std::to_string(d) + " ", 100);
    HWND child = CreateWindowExA(0, cls.c_str(), text.c_str(), WS_CHILD | WS_VISIBLE, 1, 1, 300, 200,
                                 chain.back(), nullptr, inst, nullptr);
    ASSERT_NE(child, nullptr) << "depth " << d;
    chain.push_back(child);
  }
  app.hTargetW = top;
  Click(IDC_FILTER_DESC);
  std::vector<ListRow> rows = ListRows();
  ASSERT_EQ(rows.size(), chain.size());
  for (int d = 1; d <= kLevels; ++d) {
    const ListRow& row = rows[d - 1];
    EXPECT_EQ(row.data, reinterpret_cast<LRESULT>(chain[d - 1]));
    EXPECT_EQ(TreeRowFault(row), "") << "depth " << d;
    EXPECT_LE(row.line.size(), 255u);
    if (d == 1 || d > 63) continue;
    // Depth d: the thread mark and d - 1 plus signs, up to the 63 characters the prefix holds.
    std::string text = Sized("level " + std::to_string(d) + " ", 100);
    EXPECT_EQ(row.line, TreeLine(chain[d - 1], ' ', " " + std::string(d - 1, '+'), cls, Cut62(text)));
  }
  // Deeper windows keep the longest prefix.
  for (int d = 64; d <= kLevels; ++d) {
    std::string text = Sized("level " + std::to_string(d) + " ", 100);
    EXPECT_EQ(rows[d - 1].line, TreeLine(chain[d - 1], ' ', " " + std::string(62, '+'), cls, Cut62(text)));
  }

  // The report of the deepest window: its parent and root are the chain's.
  Lock(chain.back(), top);
  Tick();
  ASSERT_EQ(ReportFault(app.report), "");
  std::vector<std::string> report = Rows();
  EXPECT_EQ(report[1], ReportRow(chain.back(), " _C_VE-", cls, Cut62(Sized("level 70 ", 100))));
  EXPECT_EQ(report[6], ReportRow(chain[kLevels - 2], " _C_VE-", cls, Cut62(Sized("level 69 ", 100))));
  EXPECT_EQ(report[7], ReportRow(top, " _O_VE-", cls, "deep top"));
}

}  // namespace
}  // namespace robust
