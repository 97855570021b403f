// Resource identifiers of tvra.exe (dialogs, controls, menus).
#pragma once
#include "resource_ids.h"

// Save theme (its texts come from LocalDlg_108 and LocalDlg_108_100).
#define IDD_SAVE_THEME 108
#define IDC_THEME_NAME_LABEL 100
#define IDC_THEME_NAME 101

// ---- Item dialogs and the about box (resources/item_dialogs.rc, resources/about_box.rc) ----
#define IDD_CREATE_FOLDER 101
#define IDD_ITEM_ICON 102
#define IDD_ITEM_ICON_COMMAND 103
#define IDD_ABOUT 104
// The name dialogs: create folder (101) and save theme (108).
#define IDC_NAME_LABEL 100
#define IDC_NAME_FIELD 101
// The properties of a special item (102, and 103 with a command).
#define IDC_ICON_GROUP 101
#define IDC_ICON_BOX 102
#define IDC_ICON_LABEL 103
#define IDC_ICON_LOCATION 104
#define IDC_ICON_BROWSE 105
#define IDC_COMMAND_GROUP 106
#define IDC_COMMAND_FIELD 107
#define IDC_COMMAND_BROWSE 108
#define IDC_COMMAND_CLEAR 109
// The about box.
#define IDC_ABOUT_TITLE 1001
#define IDC_ABOUT_TERMS 1002
#define IDC_ABOUT_TERMS_1 1003
#define IDC_ABOUT_TERMS_2 1004
#define IDC_ABOUT_LICENSE 101
#define IDC_ABOUT_UPDATES 102
#define IDC_ABOUT_CONTACT 103

// ---- Program icons of the options pages (resources/tvra.rc) ----
#define IDI_PICTURE_FIXED 101  // the background picture stays fixed on the screen
#define IDI_PICTURE_MOVES 102  // the background picture moves with the menu
#define IDI_SEPARATOR 103      // the separator row of the item lists
#define IDI_SEARCH_BOX 104     // the search box row of the item lists
