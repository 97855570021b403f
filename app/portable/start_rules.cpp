#include "app/portable/start_rules.h"

bool IsAutoStartArgument(std::u16string_view arguments)
{
    return arguments == u"auto";
}

int ChooseArrowWidth(bool themed, int themedWidth, int systemWidth)
{
    if (!themed || themedWidth < 0 || themedWidth > 32)
        return systemWidth;
    return themedWidth;
}
