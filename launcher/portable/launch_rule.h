// Whether the desktop launcher puts up its window for a given command line.
#pragma once
#include <string_view>

// Only the exact command line "auto" (the service's logon start) consults ShowDesktop;
// started any other way the launcher always runs.  The flag is read only when needed.
bool LauncherShowsWindow(std::u16string_view commandLine, bool (*readShowDesktop)());
