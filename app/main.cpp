#include <windows.h>

#include "app/app_start.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    return RunMainProgram(instance, commandLine);
}
