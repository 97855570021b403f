#include <windows.h>

#include "settings/dialog_text.h"
#include "settings/portable/dialog_text.h"
#include "settings/settings.h"

void ApplyDialogTexts(HWND dialog, int dialogNumber)
{
    for (int slot = 0; slot < kLanguageCount; ++slot) {
        const wchar_t *text = Settings.Local[slot];
        DialogTextTarget target;
        if (text[0] == 0 || !FindDialogTextTarget(kLanguageKeyNames[slot], dialogNumber, target))
            continue;
        if (target.Caption)
            SetWindowTextW(dialog, text);
        for (int control : target.Controls)
            if (HWND item = GetDlgItem(dialog, control))
                SetWindowTextW(item, text);
    }
}
