// One report row per window, checked on real windows of this process, of a helper process and
// of a helper whose thread no longer answers.
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "inspector/inspector.h"
#include "inspector_helpers.h"
#include "support/test_support.h"

namespace {

using namespace inspector_test;

class Describe : public ::testing::Test {
 protected:
  void SetUp() override {
    app = AppState{};
    app.hDesktop = GetDesktopWindow();
    app.hMessageRoot = MessageRoot();
    ASSERT_NE(app.hMessageRoot, nullptr);
    DestroyWindow(MakeTopWindow("registers the test classes", 0));
  }
  void TearDown() override {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
      if (IsWindow(*it)) DestroyWindow(*it);
    Pump();
  }
  HWND Keep(HWND w) {
    EXPECT_NE(w, nullptr);
    windows_.push_back(w);
    return w;
  }
  // Describes h into a report that already holds some text, so the append is checked too.
  std::string Row(HWND h, HWND* result = nullptr) {
    char report[kReportChars] = "before";
    HWND r = DescribeWindow(h, report);
    if (result) *result = r;
    std::string text(report);
    EXPECT_EQ(text.substr(0, 6), "before");
    return text.substr(6);
  }

  std::vector<HWND> windows_;
};

TEST_F(Describe, ZeroMessageRootPseudoValueAndGoneWindowsGiveShortRows) {
  HWND result = reinterpret_cast<HWND>(1);
  EXPECT_EQ(Row(nullptr, &result), kZeroRow);
  EXPECT_EQ(result, nullptr);

  EXPECT_EQ(Row(HWND_MESSAGE, &result), kMessageRow);
  EXPECT_EQ(result, HWND_MESSAGE);

  HWND gone = MakeTopWindow("gone");
  ASSERT_NE(gone, nullptr);
  DestroyWindow(gone);
  ASSERT_FALSE(IsWindow(gone));
  EXPECT_EQ(Row(gone, &result), kZeroRow);
  EXPECT_EQ(result, nullptr);
}

TEST_F(Describe, PlainTopLevelWindowGivesTheFullRow) {
  HWND w = Keep(MakeTopWindow("plain window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 40, 500, 320, 210));
  HWND result = nullptr;
  std::string row = Row(w, &result);
  EXPECT_EQ(result, w);
  EXPECT_EQ(row, OwnRow(w, " _O_VE-", "TestTop", "plain window"));
  EXPECT_STREQ(app.styleSymbols, " _O_VE-");
  // The Z-order number is the place that EnumChildWindows gives it, here at least 1.
  EXPECT_GE(static_cast<int>(app.enumCount), 1);
  EXPECT_EQ(static_cast<int>(app.enumCount), EnumPosition(GetDesktopWindow(), w));
}

struct StyleCase {
  const char* name;
  DWORD style;
  DWORD exStyle;
  int show;            // ShowWindow command after creation, or -1
  bool disable;
  bool asChild;        // made a child of a plain top-level window
  DWORD addStyle;      // style bits added after creation
  const char* symbols;
};

const StyleCase kStyleCases[] = {
    {"overlapped", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, -1, false, false, 0, " _O_VE-"},
    {"popup", WS_POPUP | WS_VISIBLE, 0, -1, false, false, 0, " _P_VE-"},
    {"child", WS_CHILD | WS_VISIBLE, 0, -1, false, true, 0, " _C_VE-"},
    {"popup child", WS_CHILD | WS_VISIBLE, 0, -1, false, true, WS_POPUP, " _X_VE-"},
    {"layered", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_LAYERED, -1, false, false, 0, "L_O_VE-"},
    {"topmost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOPMOST, -1, false, false, 0, " TO_VE-"},
    {"layered topmost popup", WS_POPUP | WS_VISIBLE, WS_EX_LAYERED | WS_EX_TOPMOST, -1, false, false, 0, "LTP_VE-"},
    {"minimized", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, SW_MINIMIZE, false, false, 0, " _OmVE-"},
    {"maximized", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, SW_MAXIMIZE, false, false, 0, " _OMVE-"},
    {"hidden", WS_OVERLAPPEDWINDOW, 0, -1, false, false, 0, " _O_HE-"},
    {"disabled", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, -1, true, false, 0, " _O_VD-"},
    {"clip children", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, -1, false, false, 0, " _O_VE+"},
    {"hidden disabled clipping child", WS_CHILD | WS_CLIPCHILDREN, 0, -1, true, true, 0, " _C_HD+"},
};

TEST_F(Describe, StyleSymbolsFollowStylesAndStates) {
  for (const StyleCase& c : kStyleCases) {
    SCOPED_TRACE(c.name);
    HWND parent = c.asChild ? Keep(MakeTopWindow("parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 40, 500)) : nullptr;
    HWND w = Keep(CreateWindowExA(c.exStyle, c.asChild ? "TestChild" : "TestTop", c.name, c.style, 50, 510,
                                  200, 120, parent, nullptr, GetModuleHandleA(nullptr), nullptr));
    if (c.show >= 0) ShowWindow(w, c.show);
    if (c.disable) EnableWindow(w, FALSE);
    if (c.addStyle) SetWindowLongPtrA(w, GWL_STYLE, GetWindowLongPtrA(w, GWL_STYLE) | c.addStyle);
    Pump();
    EXPECT_EQ(Row(w), OwnRow(w, c.symbols, c.asChild ? "TestChild" : "TestTop", c.name));
    EXPECT_STREQ(app.styleSymbols, c.symbols);
  }
}

TEST_F(Describe, TextLineBreaksBecomeSpacesAndLongFieldsAreCutAt62) {
  HWND breaks = Keep(MakeTopWindow("one\r\ntwo\rthree\nfour", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 40, 500));
  EXPECT_EQ(Row(breaks), OwnRow(breaks, " _O_VE-", "TestTop", "one  two three four"));

  std::string longText(100, 't');
  for (int i = 0; i < 100; ++i) longText[i] = static_cast<char>('a' + i % 26);
  std::string longClass = "LongClassName_" + std::string(66, 'c');  // 80 characters
  RegisterPlainClass(longClass.c_str());
  HWND w = Keep(CreateWindowExA(0, longClass.c_str(), longText.c_str(), WS_POPUP | WS_VISIBLE, 60, 520, 200, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
  ASSERT_EQ(ClassOf(w), longClass);
  std::string row = Row(w);
  EXPECT_EQ(row, OwnRow(w, " _P_VE-", longClass.substr(0, 62), longText.substr(0, 62)));
  EXPECT_NE(row.find("'" + longClass.substr(0, 62) + "'"), std::string::npos);
}

TEST_F(Describe, IdShowsOnlyItsLow16BitsInDecimalAndHex) {
  HWND top = Keep(MakeTopWindow("ids", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 40, 500));
  HWND child = Keep(MakeChildWindow(top, "big id", 0x1ABCD));
  ASSERT_EQ(GetWindowLongPtrA(child, GWLP_ID), 0x1ABCD);
  std::string row = Row(child);
  EXPECT_EQ(row, OwnRow(child, " _C_VE-", "TestChild", "big id", 0x1ABCD));
  EXPECT_NE(row.find("      id_43981_ABCD    pid_"), std::string::npos) << row;

  HWND small = Keep(MakeChildWindow(top, "small id", 77));
  EXPECT_NE(Row(small).find("      id_77_004D    pid_"), std::string::npos);

  // A top-level window's id slot holds its menu handle.
  HMENU menu = CreateMenu();
  AppendMenuA(menu, MF_STRING, 1, "Item");
  HWND withMenu = Keep(CreateWindowExA(0, "TestTop", "menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 500, 300,
                                       200, nullptr, menu, GetModuleHandleA(nullptr), nullptr));
  DWORD menuBits = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(menu));
  EXPECT_EQ(Row(withMenu), OwnRow(withMenu, " _O_VE-", "TestTop", "menu", menuBits));
}

TEST_F(Describe, ZOrderNumberIsThePlaceInTheEnumerationOfTheWholeTree) {
  HWND top = Keep(MakeTopWindow("z top", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 40, 500));
  HWND child = Keep(MakeChildWindow(top, "z child"));
  HWND grandChild = Keep(MakeChildWindow(child, "z grandchild"));
  Row(top);
  int topNumber = static_cast<int>(app.enumCount);
  EXPECT_EQ(topNumber, EnumPosition(GetDesktopWindow(), top));
  // The enumeration visits a window's descendants right after the window.
  Row(child);
  EXPECT_EQ(static_cast<int>(app.enumCount), topNumber + 1);
  std::string row = Row(grandChild);
  EXPECT_EQ(static_cast<int>(app.enumCount), topNumber + 2);
  char number[16];
  snprintf(number, sizeof number, "      %04d     ", topNumber + 2);
  EXPECT_NE(row.find(number), std::string::npos) << row;

  // The first window that the enumeration reports has the number 1.
  HWND first = nullptr;
  EnumChildWindows(GetDesktopWindow(), [](HWND w, LPARAM lp) -> BOOL {
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&first));
  ASSERT_NE(first, nullptr);
  EXPECT_NE(Row(first).find("     0001     "), std::string::npos);
  EXPECT_EQ(app.enumCount, 1u);
}

TEST_F(Describe, CountZOrderProcCountsUpToAndIncludingTheTarget) {
  HWND target = reinterpret_cast<HWND>(0x1234);
  app.enumCount = 5;
  EXPECT_TRUE(CountZOrderProc(reinterpret_cast<HWND>(0x9999), reinterpret_cast<LPARAM>(target)));
  EXPECT_EQ(app.enumCount, 6u);
  EXPECT_FALSE(CountZOrderProc(target, reinterpret_cast<LPARAM>(target)));
  EXPECT_EQ(app.enumCount, 7u);
}

TEST_F(Describe, DesktopHasNumberZeroAndASpaceAsPrefix) {
  HWND desktop = GetDesktopWindow();
  HWND result = nullptr;
  std::string row = Row(desktop, &result);
  EXPECT_EQ(result, desktop);
  EXPECT_EQ(row, DesktopRow());
  EXPECT_NE(row.find("      0000     "), std::string::npos) << row;
  EXPECT_NE(row.find("     '#32769'     "), std::string::npos) << row;
  EXPECT_EQ(app.enumCount, 0u);
}

TEST_F(Describe, MessageOnlyWindowIsCountedInTheMessageTreeWithPrefixO) {
  HWND msg = Keep(CreateWindowExA(0, "TestTop", "message only", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr));
  ASSERT_EQ(GetAncestor(msg, GA_PARENT), app.hMessageRoot);
  int place = EnumPosition(app.hMessageRoot, msg);
  ASSERT_GE(place, 1);
  std::string row = Row(msg);
  EXPECT_EQ(row, ExpectedRow(msg, {"o", place, " _O_HE-", "TestTop", "message only", 0, OwnExeName()}));
  EXPECT_EQ(static_cast<int>(app.enumCount), place);

  // The message root itself stands at place 0 of its tree.
  row = Row(app.hMessageRoot);
  EXPECT_EQ(row, RootRow(app.hMessageRoot, "o"));
  EXPECT_NE(row.find("     o0000     "), std::string::npos) << row;
}

TEST_F(Describe, WindowsOfAnotherProcessNameItsExecutable) {
  HelperProcess helper;
  ASSERT_TRUE(helper.ok());
  ASSERT_NE(helper.child, nullptr);
  EXPECT_EQ(Row(helper.child),
            ExpectedRow(helper.child, {" ", EnumPosition(GetDesktopWindow(), helper.child), " _C_VE-",
                                       "WinHostChild", helper.tag + " child", 77, "winhost.exe"}));
  std::string row = Row(helper.msg);
  EXPECT_EQ(row, ExpectedRow(helper.msg, {"o", EnumPosition(app.hMessageRoot, helper.msg), " _O_HE-",
                                          "WinHostMsg", helper.tag + " msg", 0, "winhost.exe"}));
  char pid[32];
  snprintf(pid, sizeof pid, "    pid_%lu    ", helper.pid());
  EXPECT_NE(row.find(pid), std::string::npos);
}

TEST_F(Describe, AWindowWhoseThreadDoesNotAnswerComesBackWithAnEmptyText) {
  HelperProcess helper("hang");
  ASSERT_TRUE(helper.ok());
  // The helper stops serving messages once its windows exist: wait until a bounded text
  // request to it gives up, as the tool's will.
  ASSERT_TRUE(PumpUntil([&] {
    DWORD_PTR unused = 0;
    char text[64] = "";
    return SendMessageTimeoutA(helper.child, WM_GETTEXT, 63, reinterpret_cast<LPARAM>(text),
                               SMTO_ABORTIFHUNG, 200, &unused) == 0;
  }, 20000));
  DWORD start = GetTickCount();
  std::string row = Row(helper.child);
  DWORD took = GetTickCount() - start;
  EXPECT_EQ(row, ExpectedRow(helper.child, {" ", EnumPosition(GetDesktopWindow(), helper.child), " _C_VE-",
                                            "WinHostChild", "", 77, "winhost.exe"}));
  // The only wait is the text request's own bound; well under a second with margin to spare.
  EXPECT_LT(took, 2000u);
}

// A copy of the helper under a file name longer than the row's executable field.
TEST_F(Describe, LongExecutableNamesAreCutTo63Characters) {
  std::string longName = "winhost_with_a_very_long_executable_name_for_the_row_field_0123456789.exe";
  ASSERT_GT(longName.size(), 63u);
  char tempDir[MAX_PATH];
  GetTempPathA(MAX_PATH, tempDir);
  std::string copy = std::string(tempDir) + longName;
  ASSERT_TRUE(CopyFileA(BuiltProgram("winhost.exe").c_str(), copy.c_str(), FALSE));
  std::string tag = UniqueTag("long");
  std::string cmd = "\"" + copy + "\" " + tag;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<char> line(cmd.begin(), cmd.end());
  line.push_back('\0');
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  HWND top = nullptr;
  PumpUntil([&] { return (top = FindWindowA("WinHostTop", (tag + " top").c_str())) != nullptr; }, 15000);
  std::string row = top ? Row(top) : "";
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  DeleteFileA(copy.c_str());
  ASSERT_NE(top, nullptr);
  std::string tail = "    " + longName.substr(0, 63);
  ASSERT_GE(row.size(), tail.size());
  EXPECT_EQ(row.substr(row.size() - tail.size()), tail) << row;
}

}  // namespace
