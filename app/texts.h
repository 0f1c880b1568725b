// The fixed texts of the main dialog: legend, title and help.
#pragma once

extern const char kLegendText[];

// The title: the main dialog's caption and, stored once, line 3 of the help text.
constexpr char kTitle[] = "  WIN  API   -   Vorlan :    Parent ,  Owner ,  Z-order          (2010-07-06)";
constexpr int kTitleChars = sizeof kTitle - 1;

// Line 1 of the help text, which a new help window shows selected.
constexpr char kHelpHeader[] =
    "  //  Drag 'n' Drop  this  Help  window  //  Close  Help :  Right Click  //  ";
constexpr int kHelpHeaderChars = sizeof kHelpHeader - 1;

// Every line of the help text ends in CR LF, and line 2 is empty: the title starts behind two.
constexpr char kLineBreak[] = "\r\n";
constexpr int kLineBreakChars = sizeof kLineBreak - 1;
constexpr int kHelpTitleOffset = kHelpHeaderChars + 2 * kLineBreakChars;

// The help text, 72 lines. Start-up writes it: the zero that ends the title becomes a space,
// which joins the title to the rest; until then the text ends behind the title.
extern char* const helpText;
// The title inside the help text, where the caption is taken from.
extern char* const titleText;
