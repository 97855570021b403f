// The eight window classes of the main program, registered once at start.
#pragma once
#include <windows.h>

void RegisterWindowClasses(HINSTANCE instance);
