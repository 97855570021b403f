// Resource identifiers of brisel.exe.
#pragma once
#include "resource_ids.h"

#define IDD_LAUNCHER 1          // the off-screen window shown at logon
#define IDC_LAUNCHER_TEXT 101   // its one line of text
