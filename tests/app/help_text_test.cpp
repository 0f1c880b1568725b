// The help text as the help window shows it: every line, the title line and its storage.
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_dlg.h"
#include "app/texts.h"
#include "support/test_support.h"

namespace {

const char kTitle[] =
    "  WIN  API   -   Vorlan :    Parent ,  Owner ,  Z-order          (2010-07-06)";

// The help text line by line, without the line breaks. Line 3 is the title followed by one space.
const char* const kExpectedLines[] = {
    "  //  Drag 'n' Drop  this  Help  window  //  Close  Help :  Right Click  //  ",
    "",
    nullptr,  // the title line, checked on its own
    "",
    "  Usage :",
    "",
    "  Any  control  right  click :  enable / disable",
    "",
    "  Checkbox  <real  [child]> :  using  Real[ChildWindowFromPoint]",
    "",
    "  [Choose  'Window'  + set <Lock>]",
    "  a)  window  under  cursor  +  key  F8",
    "  b)  select  combobox list item  +  right click",
    "",
    "  [Choose  'new Parent|Owner']",
    "  a)  window  under  cursor  +  key F9  (=> preset 'Window' position)",
    "  b)  select  combobox list item  +  left click",
    "",
    "  [Combobox :  filtered  window  tree ,  via  Enum*Windows]",
    "  'Top-L' :  all  top-level  windows  (+ message-only)",
    "  'All' :  all  (+ message-only)  windows",
    "  'Desc.' :  all  descendants  of  'Window'",
    "  'Pid' :  all  windows  of  'Parent|Owner'  process",
    "  'Tid' :  all  windows  of  'Parent|Owner'  thread",
    "  'Point' :  all windows under cursor",
    "",
    "  'M /' :  FILTERED  WINDOW  TREE  MONITOR ,  on/off",
    "",
    "  'sWaP' +  <Lock> :  swap  'Window'  and  'Parent|Owner'",
    "  'P' / 'W' :  set  target  ('W' - 'Window' ,  'P' - 'Parent|Owner')",
    "",
    "  [For  target]",
    "  'Pop /' :  WS_POPUP  on/off",
    "  'Child /' :  WS_CHILD  on/off",
    "  'min /' :  minimize / restore",
    "  'Vis / Hid' :  Visible / Hidden",
    "  'En / Dis' :  Enable / Disable",
    "  'ClipChild +/-' :  WS_CLIPCHILDREN  on/off",
    "  'Tool/' :  WS_EX_TOOLWINDOW  on/off",
    "  'App/' :  WS_EX_APPWINDOW  on/off",
    "  'Text' :  WM_SETTEXT  from  combo",
    "  'Id' :  set Id  from  combo",
    "  'X' :  post  WM_CLOSE",
    "  'Up','Down','Topmost','Notopmost','Top','Bottom':  change Z-position",
    "  'First','Prev','Next','Last':  set target  from  Z-siblings",
    "",
    "  F8 + F9  +  <Close> :  exit  without  primary  parent  restoration",
    "",
    "  [Window  stile  symbols]",
    "  L - WS_EX_LAYERED",
    "  T - WS_EX_TOPMOST",
    "  C - WS_CHILD",
    "  P - WS_POPUP",
    "  O - Overlapped  (not WS_CHILD + not WS_POPUP)",
    "  X - WS_CHILD + WS_POPUP,  forbidden :-)",
    "  m - mINIMIZED",
    "  M - Maximized",
    "  V - Visible",
    "  H - Hidden",
    "  D - Disabled",
    "  E - Enabled",
    "",
    "  [Window  tree  symbols]",
    "  + - child",
    "  ? - Tid (child) != Tid (parent)",
    "  . - top-level",
    "  ! - Tid (top-level) == Tid (Desktop)",
    "  = - top  top-level  (notopmost)",
    "  o - message-only",
    "",
    "  -----------",
    "  Init: 2006-06-06",
};

std::string ExpectedLine(size_t index) {
  return index == 2 ? std::string(kTitle) + " " : std::string(kExpectedLines[index]);
}

std::string ExpectedHelpText() {
  std::string text;
  for (size_t i = 0; i < sizeof kExpectedLines / sizeof kExpectedLines[0]; ++i)
    text += ExpectedLine(i) + "\r\n";
  return text;
}

// Splits at CR LF; a text that does not end in CR LF leaves its rest as a last, unterminated line.
std::vector<std::string> SplitLines(const std::string& text, std::string* rest) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  *rest = text.substr(start);
  return lines;
}

using HelpText = MainDialogTest;

TEST_F(HelpText, HasSeventyTwoLinesEachEndingInCrLfWithTheExactWords) {
  StopTimer();
  std::string rest;
  std::vector<std::string> lines = SplitLines(kHelpText, &rest);
  EXPECT_EQ(rest, "") << "text after the last CR LF";
  ASSERT_EQ(lines.size(), 72u);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i], ExpectedLine(i)) << "line " << i + 1;
    // A lone CR or LF inside a line would show as a broken line in the edit control.
    EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos) << "line " << i + 1;
  }
  EXPECT_EQ(std::string(kHelpText), ExpectedHelpText());
}

TEST_F(HelpText, HeaderLineIsSeventySevenCharactersFollowedByAnEmptyLine) {
  std::string text = kHelpText;
  EXPECT_EQ(text.find("\r\n"), 77u);
  // The help window selects the first 80 characters: the header, its break and the next CR.
  EXPECT_EQ(text.substr(0, 81),
            "  //  Drag 'n' Drop  this  Help  window  //  Close  Help :  Right Click  //  \r\n\r\n");
}

TEST_F(HelpText, TitleLineIsTheCaptionStoredOnceAndEndsInOneSpace) {
  StopTimer();
  char caption[256] = "";
  GetWindowTextA(dlg_, caption, sizeof caption);
  EXPECT_STREQ(caption, kTitle);
  // The caption's storage is the help text's third line: one text, not two copies.
  std::string text = kHelpText;
  size_t third = text.find("\r\n\r\n") + 4;
  EXPECT_EQ(kTitleText, kHelpText + third);
  EXPECT_EQ(text.substr(third, sizeof kTitle), std::string(kTitle) + " ");
  EXPECT_EQ(text.substr(third + sizeof kTitle, 2), "\r\n");
}

TEST(HelpTextBeforeStartUp, EndsAfterTheTitleUntilTheDialogJoinsIt) {
  // As at a program start: the zero behind the title is still there, so the stored text is cut
  // after line 3 until the main dialog has taken its caption from it.
  kTitleText[lstrlenA(kTitle)] = '\0';
  EXPECT_EQ(std::string(kHelpText),
            "  //  Drag 'n' Drop  this  Help  window  //  Close  Help :  Right Click  //  \r\n\r\n" +
                std::string(kTitle));
  app = AppState{};
  app.hInstance = GetModuleHandleA(nullptr);
  HWND dlg = CreateDialogParamA(app.hInstance, "Dlg", nullptr, MainDlgProc, 0);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(std::string(kHelpText), ExpectedHelpText());
  DestroyWindow(dlg);
  if (app.hHitRegion) DeleteObject(app.hHitRegion);
  Pump();
}

}  // namespace
