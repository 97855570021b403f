// The small dialogs of the menu's commands: the properties of a special item (its icon, and
// for the items that run a command, that command), the create-folder and the save-theme
// dialogs.  They only show, edit and return; the callers hide the start button around them.
#pragma once
#include <windows.h>
#include <commdlg.h>

// Values a special item's properties dialog shows and edits: the icon location and, for the
// dialog with a command, the launch command.  The caller fills them before and reads them after.
struct TItemProperties {
    wchar_t IconFile[MAX_PATH];
    int IconIndex;
    wchar_t Command[MAX_PATH];
};

// Each returns IDOK or IDCANCEL, the value that ended the dialog.
INT_PTR RunIconDialog(HWND owner, TItemProperties &values);            // template 102
INT_PTR RunIconCommandDialog(HWND owner, TItemProperties &values);     // template 103
INT_PTR RunCreateFolderDialog(HWND owner, wchar_t (&name)[MAX_PATH]);  // template 101: prefilled, returned
INT_PTR RunSaveThemeDialog(HWND owner, wchar_t (&name)[MAX_PATH]);     // template 108, same procedure, own texts

// The system's icon picker and open-file dialog; tests may answer them in their place.
struct TItemDialogSeam {
    int(WINAPI *PickIcon)(HWND owner, PWSTR file, UINT fileSize, int *index);
    BOOL(WINAPI *OpenFile)(OPENFILENAMEW *open);
};
extern TItemDialogSeam ItemDialogSeam;
