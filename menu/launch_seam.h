// Every launch of a menu item leaves the program through this table: the shell's execute
// call, the shell's automation object and the dialogs an item opens.  The program fills it
// with the real calls; tests replace entries to see exactly what an item would start.
#pragma once
#include <windows.h>

#include "menu/portable/launch_plan.h"

struct TLaunchSeam {
    // verb and parameters may be null (the default verb, no parameters).
    void (*ShellExecute)(HWND owner, const wchar_t *verb, const wchar_t *file,
                         const wchar_t *parameters, int show);
    void (*CallShell)(TShellCall call);
    // Entries left null by parts that are not in the program do nothing.
    void (*LogOffDialog)();
    void (*ShutDownDialog)();
    void (*ClearRecentItems)();
    void (*ClearJumpLists)();
};

extern TLaunchSeam LaunchSeam;

// The real entries, for tests that put them back.
void ShellExecuteLaunch(HWND owner, const wchar_t *verb, const wchar_t *file,
                        const wchar_t *parameters, int show);
void CallShellAutomation(TShellCall call);
