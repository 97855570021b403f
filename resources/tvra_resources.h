// Resource identifiers of tvra.exe (dialogs, controls, menus).
#pragma once
#include "resource_ids.h"

// Save theme (its texts come from LocalDlg_108 and LocalDlg_108_100).
#define IDD_SAVE_THEME 108
#define IDC_THEME_NAME_LABEL 100
#define IDC_THEME_NAME 101
