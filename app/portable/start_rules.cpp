#include "app/portable/start_rules.h"

bool IsAutoStartArgument(std::u16string_view arguments)
{
    return arguments == u"auto";
}
