// Resource identifiers of tvra.exe (dialogs, controls, menus).
#pragma once
#include "resource_ids.h"
