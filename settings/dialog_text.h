// Dialog captions and control texts from the language strings.
#pragma once
#include <windows.h>

// Sets every LocalDlg_ text of dialog `dialogNumber` on the open dialog; a control missing
// from the template and an empty text leave the template as it is.
void ApplyDialogTexts(HWND dialog, int dialogNumber);
