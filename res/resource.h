// Resource identifiers, shared by Wimmelpult.rc and the C++ code.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX            100
#define IDD_WIMMELPULT_DIALOG   102
#define IDD_ICON_CHOOSER        132

// Strings
#define IDS_ABOUTBOX            101

// Icons outside the catalogue (the catalogue's own ids are numbers in icons.rc)
#define IDR_MAINFRAME           128
#define IDI_SPARE               129
#define IDI_ABOUT               148

// Tray menu and its item bitmaps
#define IDR_TRAYMENU            637
#define IDB_RESTORE             638
#define IDB_CLOSE               639
#define ID_TRAY_RESTORE         32772
#define ID_TRAY_CLOSE           32773

// Main dialog controls
#define IDC_CHANGE_ICON         3
#define IDC_OLD_TITLE           1000
#define IDC_NEW_TITLE           1001
#define IDC_NEW_ICON            1007
#define IDC_UPDATE              1008
#define IDC_MINIMIZE            1017

// Icon chooser controls
#define IDC_CATEGORY_TAB        1010
#define IDC_ICON_LIST           1015
#define IDC_INFO                1018

// About dialog controls
#define IDC_HOLIDAYS            1016

// System menu command of the About entry
#define IDM_ABOUTBOX            0x0010

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif
