// Identifiers of every resource and control of the tool, in one place.
#pragma once

// Main dialog "Dlg", in the template's creation order.
#define IDC_LOCK           2000
#define IDC_REAL           200
#define IDC_LEGEND         2002
#define IDC_REPORT         2001
#define IDC_SETPARENT      2003
#define IDC_UNDO           2004
#define IDC_REDO           2005
#define IDC_COUNTER        2006
#define IDC_SETOWNER       2020
#define IDC_TREECOUNT      2026
#define IDC_TREECOMBO      2016
#define IDC_MONITOR        2030
#define IDC_SWAP           2015
#define IDC_TARGET         2038
#define IDC_TEXT           2017
#define IDC_ID             2060
#define IDC_FILTER_TOPL    2007
#define IDC_FILTER_ALL     2019
#define IDC_FILTER_DESC    2035
#define IDC_FILTER_PID     2023
#define IDC_FILTER_TID     2024
#define IDC_FILTER_POINT   2046
#define IDC_TOOLWIN        2051
#define IDC_APPWIN         2052
#define IDC_POPUP          2014
#define IDC_CHILD          2025
#define IDC_MINIMIZE       2010
#define IDC_VISIBLE        2011
#define IDC_ENABLE         2009
#define IDC_CLIPCHILD      2012
#define IDC_CLOSE          2018
#define IDC_CREATEWND      2013
#define IDC_CREATEDLG      2021
#define IDC_DLGBOX         2022
#define IDC_MSGBOX         2050
#define IDC_TOPMOST        2008
#define IDC_NOTOPMOST      2041
#define IDC_ZTOP           2042
#define IDC_ZBOTTOM        2043
#define IDC_ZUP            2044
#define IDC_ZDOWN          2045
#define IDC_NAV_PARENT     2049
#define IDC_NAV_CHILD      2048
#define IDC_NAV_FIRST      2031
#define IDC_NAV_PREV       2032
#define IDC_NAV_NEXT       2033
#define IDC_NAV_LAST       2034

// Test window templates "Dlg2" and "Dlg3" and their menu.
#define IDC_OWNER_LABEL    201
#define IDC_POPUP_TOGGLE   202
#define IDM_TEST_MENU      300
#define IDM_TEST_ITEM1     301
#define IDM_TEST_ITEM2     302
#define IDM_TEST_ITEM3     303

// System menu entry that opens the help window.
#define IDM_ABOUT_HELP     61152

#define IDI_APP            2
#define IDI_APP_IMAGE      1

// The inspection timer.
#define IDT_INSPECT        1234
