// Resource identifiers of tvra.exe (dialogs, controls, menus).
#pragma once
#include "resource_ids.h"

// Save theme (its texts come from LocalDlg_108 and LocalDlg_108_100).
#define IDD_SAVE_THEME 108
#define IDC_THEME_NAME_LABEL 100
#define IDC_THEME_NAME 101

// Log-off and shut-down dialogs (resources/power_dialogs.rc).  The choices' command ids are
// also the ids of their picture buttons, whose pictures are images\<id>.jpg (hot),
// <id + 100>.jpg (pressed) and <id + 200>.jpg (normal); a label's id is its command's + 100.
#define IDD_POWER_BACKGROUND 106  // the grey screen behind the dialog, and the effect dialogs
#define IDD_POWER_CHOICES 107     // the log-off or shut-down dialog
#define IDC_POWER_TITLE 99
#define IDC_POWER_HIBERNATE 101
#define IDC_POWER_SLEEP 102
#define IDC_POWER_SHUT_DOWN 103
#define IDC_POWER_RESTART 104
#define IDC_POWER_SWITCH_USER 105
#define IDC_POWER_LOG_OFF 106
#define IDC_POWER_LABEL_OFFSET 100
