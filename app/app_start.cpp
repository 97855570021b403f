#include "app/app_start.h"

int RunMainProgram(HINSTANCE instance, const wchar_t *commandLine)
{
    (void)instance;
    (void)commandLine;
    return 0;
}
