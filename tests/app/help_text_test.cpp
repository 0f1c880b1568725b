// The help text as the help window shows it: every line, the title line and its storage.
#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_dlg.h"
#include "app/texts.h"
#include "help_expected.h"
#include "support/test_support.h"

namespace {

const std::string kTitle = kExpectedTitle;

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
    EXPECT_EQ(lines[i], ExpectedHelpLine(i)) << "line " << i + 1;
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
  EXPECT_EQ(caption, kTitle);
  // The caption's storage is the help text's third line: one text, not two copies.
  std::string text = kHelpText;
  size_t third = text.find("\r\n\r\n") + 4;
  EXPECT_EQ(kTitleText, kHelpText + third);
  EXPECT_EQ(text.substr(third, kTitle.size() + 1), kTitle + " ");
  EXPECT_EQ(text.substr(third + kTitle.size() + 1, 2), "\r\n");
}

TEST(HelpTextBeforeStartUp, EndsAfterTheTitleUntilTheDialogJoinsIt) {
  // As at a program start: the zero behind the title is still there, so the stored text is cut
  // after line 3 until the main dialog has taken its caption from it.
  kTitleText[kTitle.size()] = '\0';
  EXPECT_EQ(std::string(kHelpText),
            "  //  Drag 'n' Drop  this  Help  window  //  Close  Help :  Right Click  //  \r\n\r\n" +
                kTitle);
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
