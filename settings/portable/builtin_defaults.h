// The shipped default settings text, built into the program for a start without a
// readable settings_default.ini.  Generated from resources/settings_default.txt.
#pragma once
#include <string_view>

extern const std::u16string_view kBuiltInDefaults;
