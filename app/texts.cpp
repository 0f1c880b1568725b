// The fixed texts of the main dialog: legend, title and help.
#include "app/texts.h"

// Labels of the report rows: label k stands on line 2k + 1, level with report row k.
const char kLegendText[] =
    "\r\n"
    "\r\n"
    "  Window    < F8 >    W\r\n"
    "\r\n"
    "      new  Parent | Owner    < F9 >    P\r\n"
    "\r\n"
    "  GetWindow  (gw_owner)\r\n"
    "\r\n"
    "  GetWindowLong  (gwl_hwndparent)\r\n"
    "\r\n"
    "  GetParent\r\n"
    "\r\n"
    "  GetAncestor  (ga_parent)\r\n"
    "\r\n"
    "  GetAncestor  (ga_root)\r\n"
    "\r\n"
    "  GetAncestor  (ga_rootowner)\r\n"
    "\r\n"
    "      GetWindow  (Owner , gw_enabledpopup)\r\n"
    "\r\n"
    "      GetLastActivePopup  (Owner)";

namespace {

// The help text behind the title: the title line's own line break, then lines 4 to 72.
constexpr char kHelpBody[] =
    "\r\n"  // the end of the title line
    "\r\n"
    "  Usage :\r\n"
    "\r\n"
    "  Any  control  right  click :  enable / disable\r\n"
    "\r\n"
    "  Checkbox  <real  [child]> :  using  Real[ChildWindowFromPoint]\r\n"
    "\r\n"
    "  [Choose  'Window'  + set <Lock>]\r\n"
    "  a)  window  under  cursor  +  key  F8\r\n"
    "  b)  select  combobox list item  +  right click\r\n"
    "\r\n"
    "  [Choose  'new Parent|Owner']\r\n"
    "  a)  window  under  cursor  +  key F9  (=> preset 'Window' position)\r\n"
    "  b)  select  combobox list item  +  left click\r\n"
    "\r\n"
    "  [Combobox :  filtered  window  tree ,  via  Enum*Windows]\r\n"
    "  'Top-L' :  all  top-level  windows  (+ message-only)\r\n"
    "  'All' :  all  (+ message-only)  windows\r\n"
    "  'Desc.' :  all  descendants  of  'Window'\r\n"
    "  'Pid' :  all  windows  of  'Parent|Owner'  process\r\n"
    "  'Tid' :  all  windows  of  'Parent|Owner'  thread\r\n"
    "  'Point' :  all windows under cursor\r\n"
    "\r\n"
    "  'M /' :  FILTERED  WINDOW  TREE  MONITOR ,  on/off\r\n"
    "\r\n"
    "  'sWaP' +  <Lock> :  swap  'Window'  and  'Parent|Owner'\r\n"
    "  'P' / 'W' :  set  target  ('W' - 'Window' ,  'P' - 'Parent|Owner')\r\n"
    "\r\n"
    "  [For  target]\r\n"
    "  'Pop /' :  WS_POPUP  on/off\r\n"
    "  'Child /' :  WS_CHILD  on/off\r\n"
    "  'min /' :  minimize / restore\r\n"
    "  'Vis / Hid' :  Visible / Hidden\r\n"
    "  'En / Dis' :  Enable / Disable\r\n"
    "  'ClipChild +/-' :  WS_CLIPCHILDREN  on/off\r\n"
    "  'Tool/' :  WS_EX_TOOLWINDOW  on/off\r\n"
    "  'App/' :  WS_EX_APPWINDOW  on/off\r\n"
    "  'Text' :  WM_SETTEXT  from  combo\r\n"
    "  'Id' :  set Id  from  combo\r\n"
    "  'X' :  post  WM_CLOSE\r\n"
    "  'Up','Down','Topmost','Notopmost','Top','Bottom':  change Z-position\r\n"
    "  'First','Prev','Next','Last':  set target  from  Z-siblings\r\n"
    "\r\n"
    "  F8 + F9  +  <Close> :  exit  without  primary  parent  restoration\r\n"
    "\r\n"
    "  [Window  stile  symbols]\r\n"
    "  L - WS_EX_LAYERED\r\n"
    "  T - WS_EX_TOPMOST\r\n"
    "  C - WS_CHILD\r\n"
    "  P - WS_POPUP\r\n"
    "  O - Overlapped  (not WS_CHILD + not WS_POPUP)\r\n"
    "  X - WS_CHILD + WS_POPUP,  forbidden :-)\r\n"
    "  m - mINIMIZED\r\n"
    "  M - Maximized\r\n"
    "  V - Visible\r\n"
    "  H - Hidden\r\n"
    "  D - Disabled\r\n"
    "  E - Enabled\r\n"
    "\r\n"
    "  [Window  tree  symbols]\r\n"
    "  + - child\r\n"
    "  ? - Tid (child) != Tid (parent)\r\n"
    "  . - top-level\r\n"
    "  ! - Tid (top-level) == Tid (Desktop)\r\n"
    "  = - top  top-level  (notopmost)\r\n"
    "  o - message-only\r\n"
    "\r\n"
    "  -----------\r\n"
    "  Init: 2006-06-06\r\n";

// The help text in one block: header line, empty line, the title with its zero, the body.
struct HelpTextBlock {
  char chars[kHelpTitleOffset + sizeof kTitle + sizeof kHelpBody];
};

constexpr int Append(HelpTextBlock& block, int at, const char* text, int chars) {
  for (int i = 0; i < chars; ++i) block.chars[at + i] = text[i];
  return at + chars;
}

constexpr HelpTextBlock JoinHelpText() {
  HelpTextBlock block{};
  int at = Append(block, 0, kHelpHeader, kHelpHeaderChars);
  at = Append(block, at, kLineBreak, kLineBreakChars);
  at = Append(block, at, kLineBreak, kLineBreakChars);
  at = Append(block, at, kTitle, sizeof kTitle);  // the zero included: the title ends here until joined
  Append(block, at, kHelpBody, sizeof kHelpBody);
  return block;
}

constexpr bool HasLineBreak(const char* text, int chars) {
  for (int i = 0; i + 1 < chars; ++i) {
    if (text[i] == kLineBreak[0] && text[i + 1] == kLineBreak[1]) return true;
  }
  return false;
}

// Offsets are counted from these texts, so an edit moves them along; these are the shapes that
// counting relies on.
static_assert(!HasLineBreak(kHelpHeader, kHelpHeaderChars), "the header is one line");
static_assert(!HasLineBreak(kTitle, kTitleChars), "the title is one line");
static_assert(kHelpBody[0] == kLineBreak[0] && kHelpBody[1] == kLineBreak[1],
              "the body starts with the title line's line break");
static_assert(kHelpBody[sizeof kHelpBody - 3] == kLineBreak[0] &&
                  kHelpBody[sizeof kHelpBody - 2] == kLineBreak[1],
              "the last line ends in a line break too");
static_assert(JoinHelpText().chars[kHelpTitleOffset] == kTitle[0] &&
                  JoinHelpText().chars[kHelpTitleOffset + kTitleChars] == '\0',
              "the title lies at its offset and ends in its zero");

// Writable, as start-up joins the title to the body in place. Built by the compiler: the tool runs
// no static constructors, so anything left to run time would stay zero.
constinit HelpTextBlock helpTextBlock = JoinHelpText();

}  // namespace

char* const helpText = helpTextBlock.chars;
char* const titleText = helpText + kHelpTitleOffset;
