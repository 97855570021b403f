// Resource identifiers of TVRAUninstaller.exe.
#pragma once
#include "resource_ids.h"

#define IDD_UNINSTALLER 1          // the wizard
#define IDC_UNINSTALL 101          // the Uninstall button (Cancel, later Finish, is IDCANCEL)
#define IDB_UNINSTALL_SIDE 201     // the side picture
#define IDC_SIDE_PICTURE 201       // the owner-drawn frame it is drawn into
#define IDC_TITLE_TEXT 202         // "Orvella uninstallation wizard", in the title font
#define IDC_FIRST_PAGE_TEXT 1001
#define IDC_LAST_PAGE_TEXT 2001
