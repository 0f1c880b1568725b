// The help text written out independently of the tool's own copy, line by line.
#pragma once
#include <string>

inline const char kExpectedTitle[] =
    "  WIN  API   -   Vorlan :    Parent ,  Owner ,  Z-order          (2010-07-06)";

// The help text line by line, without the line breaks. Line 3 is the title followed by one space.
inline const char* const kExpectedHelpLines[72] = {
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

inline std::string ExpectedHelpLine(size_t index) {
  return index == 2 ? std::string(kExpectedTitle) + " " : std::string(kExpectedHelpLines[index]);
}

inline std::string ExpectedHelpText() {
  std::string text;
  for (size_t i = 0; i < 72; ++i) text += ExpectedHelpLine(i) + "\r\n";
  return text;
}
