#include <windows.h>

#include "launcher/launcher.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    return RunLauncher(instance, commandLine);
}
