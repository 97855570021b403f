// Decisions of the program start that need no Windows call.
#pragma once
#include <string_view>

// Only the exact argument text "auto" is a start by the session service: the comparison
// covers the terminating zero, so "AUTO", "auto " and "/auto" are ordinary starts.
bool IsAutoStartArgument(std::u16string_view arguments);

// Width of a sub-level arrow: the themed size when a theme answered and it lies within
// 0..32, the system check-mark width otherwise.
int ChooseArrowWidth(bool themed, int themedWidth, int systemWidth);
