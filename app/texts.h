// The fixed texts of the main dialog.
#pragma once

extern const char kLegendText[];

// The help text: 72 lines, each ending in CR LF; whole only after start-up joined the title.
extern char kHelpText[];

// Offset of the title line (line 3) inside the help text.
constexpr int kHelpTitleOffset = 81;
constexpr int kHelpHeaderChars = 77;

// The title: the main dialog's caption and line 3 of the help text, one and the same storage.
extern char* const kTitleText;
constexpr int kTitleChars = 77;
