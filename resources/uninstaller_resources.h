// Resource identifiers of TVRAUninstaller.exe.
#pragma once
#include "resource_ids.h"

#define IDD_UNINSTALLER 1       // the wizard
#define IDB_UNINSTALL_SIDE 201  // the side picture
