// Which texts of a dialog a language key sets: "LocalDlg_108" is the caption of dialog 108,
// "LocalDlg_105_141_166" the text of controls 141 and 166 of dialog 105, and "LocalDlg_Ok"
// and "LocalDlg_Cancel" the OK and Cancel buttons of every dialog.
#pragma once
#include <string_view>
#include <vector>

inline constexpr int kDialogOkControl = 1;       // IDOK
inline constexpr int kDialogCancelControl = 2;   // IDCANCEL

struct DialogTextTarget {
    bool Caption = false;
    std::vector<int> Controls;
};

// False when the key sets nothing in that dialog.
bool FindDialogTextTarget(std::u16string_view key, int dialog, DialogTextTarget &target);
