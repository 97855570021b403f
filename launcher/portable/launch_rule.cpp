#include "launcher/portable/launch_rule.h"

bool LauncherShowsWindow(std::u16string_view commandLine, bool (*readShowDesktop)())
{
    if (commandLine != u"auto")
        return true;
    return readShowDesktop();
}
