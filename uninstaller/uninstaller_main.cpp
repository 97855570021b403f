#include <windows.h>

#include "uninstaller/uninstall_wizard.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return RunUninstaller(instance);
}
