// Decisions of the program start that need no Windows call.
#pragma once
#include <string_view>

// Only the exact argument text "auto" is a start by the session service: the comparison
// covers the terminating zero, so "AUTO", "auto " and "/auto" are ordinary starts.
bool IsAutoStartArgument(std::u16string_view arguments);
