// The main dialog as a user meets it: the real template, the real dialog procedure.
#include <windows.h>

#include <string>

#include "app/app_state.h"
#include "app/texts.h"
#include "res/resource.h"
#include "support/test_support.h"

namespace {

struct ExpectedControl {
  int id;
  const char* cls;
  const char* caption;
  DWORD style;  // as the template gives it, WS_DISABLED included
  bool enabled;
  int x, y, w, h;  // dialog units
};

// The 47 controls in creation order, which is also their Z-order from the top.
const ExpectedControl kControls[] = {
    {2000, "Button", "lock", 0x54010003, true, 5, 4, 34, 10},
    {200, "Button", "real", 0x54010003, true, 130, 4, 26, 10},
    {2002, "Static", "", 0x5480010C, true, 0, 2, 160, 174},
    {2001, "Static", "", 0x5480010C, true, 158, 2, 400, 174},
    {2003, "Button", "SetParent  (Parent)", 0x54018000, true, 4, 180, 98, 12},
    {2004, "Button", "Undo", 0x54018000, true, 4, 194, 32, 12},
    {2005, "Button", "Redo", 0x54018000, true, 38, 194, 32, 12},
    {2006, "Button", "0", 0x54018000, true, 72, 194, 30, 12},
    {2020, "Button", "SetWindowLong  (gwl_hwndparent, Owner)", 0x5C018000, false, 4, 208, 150, 12},
    {2026, "Static", "0", 0x54000002, true, 104, 180, 50, 10},
    {2016, "ComboBox", "", 0x54A10242, true, 158, 178, 174, 90},
    {2030, "Button", "M/", 0x54018000, true, 334, 178, 16, 12},
    {2015, "Button", "sWaP", 0x54018000, true, 106, 192, 30, 12},
    {2038, "Button", "P", 0x5C019003, false, 138, 192, 16, 12},
    {2017, "Button", "Text", 0x5C018000, false, 158, 194, 30, 12},
    {2060, "Button", "Id", 0x5C018000, false, 190, 194, 18, 12},
    {2007, "Button", "Top-L", 0x54019009, true, 212, 194, 26, 12},
    {2019, "Button", "All", 0x54019009, true, 240, 194, 18, 12},
    {2035, "Button", "Desc", 0x54019009, true, 260, 194, 24, 12},
    {2023, "Button", "Pid", 0x54019009, true, 286, 194, 18, 12},
    {2024, "Button", "Tid", 0x54019009, true, 306, 194, 18, 12},
    {2046, "Button", "Point", 0x54019009, true, 326, 194, 24, 12},
    {2051, "Button", "Tool/", 0x54018000, true, 158, 208, 22, 12},
    {2052, "Button", "App/", 0x54018000, true, 182, 208, 22, 12},
    {2014, "Button", "Pop/", 0x5C018000, false, 206, 208, 24, 12},
    {2025, "Button", "Child/", 0x5C018000, false, 232, 208, 26, 12},
    {2010, "Button", "min/", 0x54018000, true, 260, 208, 22, 12},
    {2011, "Button", "Vis / Hid", 0x54018000, true, 284, 208, 32, 12},
    {2009, "Button", "En / Dis", 0x54018000, true, 318, 208, 32, 12},
    {2012, "Button", "ClipChild  +/-", 0x54018000, true, 282, 222, 50, 12},
    {2018, "Button", "X", 0x5C018000, false, 334, 222, 16, 12},
    {2013, "Button", "CreateWnd  (Owner)", 0x54018000, true, 4, 224, 76, 12},
    {2021, "Button", "CreateDlg (Owner)", 0x5C018000, false, 82, 224, 68, 12},
    {2022, "Button", "DlgBox (Owner)", 0x5C018000, false, 152, 224, 60, 12},
    {2050, "Button", "MsgBox (Owner)", 0x5C018000, false, 214, 224, 64, 12},
    {2008, "Button", "Topmost", 0x54018000, true, 354, 180, 40, 12},
    {2041, "Button", "Notopmost", 0x54018000, true, 354, 194, 40, 12},
    {2042, "Button", "Top", 0x54018000, true, 354, 208, 40, 12},
    {2043, "Button", "Bottom", 0x54018000, true, 354, 222, 40, 12},
    {2044, "Button", "Up", 0x54018000, true, 396, 194, 24, 12},
    {2045, "Button", "Down", 0x54018000, true, 396, 208, 24, 12},
    {2049, "Button", "Parent", 0x5C018000, false, 396, 180, 28, 12},
    {2048, "Button", "Child", 0x5C018000, false, 396, 222, 28, 12},
    {2031, "Button", "First", 0x5C018000, false, 426, 180, 24, 12},
    {2032, "Button", "Prev", 0x5C018000, false, 426, 194, 24, 12},
    {2033, "Button", "Next", 0x5C018000, false, 426, 208, 24, 12},
    {2034, "Button", "Last", 0x5C018000, false, 426, 222, 24, 12},};

const char kTitle[] = "  WIN  API   -   Vorlan :    Parent ,  Owner ,  Z-order          (2010-07-06)";

const char kLegend[] =
    "\r\n\r\n  Window    < F8 >    W\r\n\r\n      new  Parent | Owner    < F9 >    P\r\n\r\n"
    "  GetWindow  (gw_owner)\r\n\r\n  GetWindowLong  (gwl_hwndparent)\r\n\r\n  GetParent\r\n\r\n"
    "  GetAncestor  (ga_parent)\r\n\r\n  GetAncestor  (ga_root)\r\n\r\n  GetAncestor  (ga_rootowner)\r\n\r\n"
    "      GetWindow  (Owner , gw_enabledpopup)\r\n\r\n      GetLastActivePopup  (Owner)";

using MainDialog = MainDialogTest;

TEST_F(MainDialog, HasAllControlsInCreationOrderWithTheirClassesCaptionsStylesAndStates) {
  StopTimer();
  HWND child = GetWindow(dlg_, GW_CHILD);
  int index = 0;
  for (const ExpectedControl& c : kControls) {
    SCOPED_TRACE("control " + std::to_string(c.id));
    ASSERT_NE(child, nullptr) << "only " << index << " controls";
    EXPECT_EQ(GetDlgCtrlID(child), c.id);
    EXPECT_EQ(ClassOf(child), c.cls);
    if (c.id != IDC_REPORT && c.id != IDC_LEGEND && c.id != IDC_TREECOUNT && c.id != IDC_TREECOMBO) {
      EXPECT_EQ(WindowText(child), c.caption);
    }
    EXPECT_EQ(IsWindowEnabled(child) != FALSE, c.enabled);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
    DWORD ex = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_EXSTYLE));
    // The dialog manager draws a bordered control in 3D: WS_BORDER becomes WS_EX_CLIENTEDGE.
    if (ex & WS_EX_CLIENTEDGE) style |= WS_BORDER;
    // Checking an automatic radio button moves WS_TABSTOP to it from the rest of its group.
    if ((c.style & 0xF) == BS_AUTORADIOBUTTON && IsDlgButtonChecked(dlg_, c.id) != BST_CHECKED)
      style |= WS_TABSTOP;
    if (c.id != IDC_TREECOMBO) {
      EXPECT_EQ(style, c.style) << std::hex << style;
    }
    EXPECT_EQ(ex & ~(WS_EX_NOPARENTNOTIFY | WS_EX_CLIENTEDGE), 0u);

    RECT expected = {c.x, c.y, c.x + c.w, c.y + c.h};
    MapDialogRect(dlg_, &expected);
    RECT actual;
    GetWindowRect(child, &actual);
    MapWindowPoints(nullptr, dlg_, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    if (c.id != IDC_REPORT && c.id != IDC_TREECOMBO) {
      EXPECT_EQ(actual.right - actual.left, expected.right - expected.left);
      EXPECT_EQ(actual.bottom - actual.top, expected.bottom - expected.top);
    }
    child = GetWindow(child, GW_HWNDNEXT);
    ++index;
  }
  EXPECT_EQ(child, nullptr) << "more than 47 controls";
}

TEST_F(MainDialog, ShowsTitleAsCaptionAndLegendText) {
  EXPECT_EQ(WindowText(dlg_), kTitle);
  EXPECT_EQ(WindowText(Item(IDC_LEGEND)), kLegend);
}

TEST_F(MainDialog, IsATopmostToolWindowWithTheTemplateStyle) {
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(dlg_, GWL_STYLE));
  // The system adds DS_3DLOOK and, once shown, WS_VISIBLE and WS_CLIPSIBLINGS.
  EXPECT_EQ(style & ~(WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK), 0x82CD0040u) << std::hex << style;
  DWORD ex = static_cast<DWORD>(GetWindowLongPtrA(dlg_, GWL_EXSTYLE));
  EXPECT_EQ(ex & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
  EXPECT_EQ(GetParent(dlg_), nullptr);
  EXPECT_EQ(GetAncestor(dlg_, GA_PARENT), GetDesktopWindow());
}

TEST_F(MainDialog, StartUpRecordsHandlesAndGeometry) {
  EXPECT_EQ(app.hMainDlg, dlg_);
  EXPECT_EQ(app.hReportPane, Item(IDC_REPORT));
  EXPECT_EQ(app.hLegendPane, Item(IDC_LEGEND));
  EXPECT_EQ(app.hTreeCombo, Item(IDC_TREECOMBO));
  EXPECT_EQ(app.hDesktop, GetDesktopWindow());
  EXPECT_NE(app.hHitRegion, nullptr);

  RECT r;
  GetWindowRect(dlg_, &r);
  EXPECT_EQ(app.minTrackWidth, r.right - r.left);
  EXPECT_EQ(app.minTrackHeight, r.bottom - r.top);

  // The report pane: at its template place, twice the screen width, its height from the template.
  RECT pane = {158, 2, 158 + 400, 2 + 174};
  MapDialogRect(dlg_, &pane);
  EXPECT_EQ(app.reportX, pane.left);
  EXPECT_EQ(app.reportY, pane.top);
  EXPECT_EQ(app.reportHeight, pane.bottom - pane.top);
  EXPECT_EQ(app.reportWidth, 2 * GetSystemMetrics(SM_CXSCREEN));
  GetWindowRect(app.hReportPane, &r);
  EXPECT_EQ(r.right - r.left, 2 * GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom - r.top, app.reportHeight);
}

TEST_F(MainDialog, FindsTheMessageRootAndStaysTopLevel) {
  HWND probe = CreateWindowExA(0, "Static", "probe", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(probe, nullptr);
  EXPECT_NE(app.hMessageRoot, nullptr);
  EXPECT_NE(app.hMessageRoot, app.hDesktop);
  EXPECT_EQ(GetAncestor(probe, GA_PARENT), app.hMessageRoot);
  DestroyWindow(probe);
}

TEST_F(MainDialog, FindsTheComboListMakesItTopmostAndOwnedByTheDialog) {
  ASSERT_NE(app.hTreeList, nullptr);
  EXPECT_EQ(ClassOf(app.hTreeList), "ComboLBox");
  COMBOBOXINFO info = {sizeof info};
  ASSERT_TRUE(GetComboBoxInfo(app.hTreeCombo, &info));
  EXPECT_EQ(app.hTreeList, info.hwndList);
  EXPECT_EQ(GetWindow(app.hTreeList, GW_OWNER), dlg_);
  EXPECT_TRUE(GetWindowLongPtrA(app.hTreeList, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainDialog, TopLFilterIsCheckedAtStart) {
  EXPECT_EQ(IsDlgButtonChecked(dlg_, IDC_FILTER_TOPL), BST_CHECKED);
  for (int id : {IDC_FILTER_ALL, IDC_FILTER_DESC, IDC_FILTER_PID, IDC_FILTER_TID, IDC_FILTER_POINT})
    EXPECT_EQ(IsDlgButtonChecked(dlg_, id), BST_UNCHECKED) << id;
}

TEST_F(MainDialog, SystemMenuEndsWithSeparatorAndAboutHelp) {
  HMENU menu = GetSystemMenu(dlg_, FALSE);
  int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 2);
  char text[64] = "";
  GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "About + Help");
  EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUT_HELP));
  EXPECT_EQ(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
}

TEST_F(MainDialog, EnterAndEscapeDoNothing) {
  SendMessageA(dlg_, WM_COMMAND, IDOK, 0);
  SendMessageA(dlg_, WM_COMMAND, IDCANCEL, 0);
  // The dialog manager turns Enter and Escape into these commands through IsDialogMessage.
  MSG enter = {dlg_, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  IsDialogMessageA(dlg_, &enter);
  MSG escape = {dlg_, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  IsDialogMessageA(dlg_, &escape);
  Pump();
  EXPECT_TRUE(IsWindow(dlg_));
  EXPECT_TRUE(IsWindowVisible(dlg_));
}

TEST_F(MainDialog, TitleIsJoinedToTheHelpTextAfterStartUp) {
  // The caption and the help text's third line are one storage: after start-up the title's end
  // is a space and the help text runs on through it.
  EXPECT_EQ(std::string(kHelpText + kHelpTitleOffset, kTitleChars), kTitle);
  EXPECT_EQ(kHelpText[kHelpTitleOffset + kTitleChars], ' ');
  EXPECT_EQ(kHelpText[kHelpTitleOffset + kTitleChars + 1], '\r');
}

TEST_F(MainDialog, CloseEndsTheDialogAndStopsTheTimer) {
  SendMessageA(dlg_, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindowVisible(dlg_));
  // The timer is gone: killing it again fails.
  EXPECT_FALSE(KillTimer(dlg_, IDT_INSPECT));
}

}  // namespace
