#include "settings/portable/dialog_text.h"

#include <string>

static constexpr std::u16string_view kDialogKeyPrefix = u"LocalDlg_";

// Controls that share the text of another control under a second number.
struct SharedText {
    int Dialog;
    int Control;
    int AlsoControl;
};
static constexpr SharedText kSharedTexts[] = {
    {105, 145, 2160},  // the colour labels
    {105, 188, 2188},  // the picture labels
    {102, 105, 108},   // the two browse buttons
};

static bool ReadNumber(std::u16string_view text, int &number)
{
    if (text.empty() || text.size() > 6)
        return false;
    number = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9')
            return false;
        number = number * 10 + (c - u'0');
    }
    return true;
}

bool FindDialogTextTarget(std::u16string_view key, int dialog, DialogTextTarget &target)
{
    target = DialogTextTarget{};
    if (key.substr(0, kDialogKeyPrefix.size()) != kDialogKeyPrefix)
        return false;
    std::u16string_view rest = key.substr(kDialogKeyPrefix.size());
    if (rest == u"Ok" || rest == u"Cancel") {
        target.Controls.push_back(rest == u"Ok" ? kDialogOkControl : kDialogCancelControl);
        return true;
    }
    size_t cut = rest.find(u'_');
    int number = 0;
    if (!ReadNumber(rest.substr(0, cut), number) || number != dialog)
        return false;
    if (cut == std::u16string_view::npos) {
        target.Caption = true;
        return true;
    }
    std::vector<int> controls;
    for (rest = rest.substr(cut + 1);; rest = rest.substr(cut + 1)) {
        cut = rest.find(u'_');
        if (!ReadNumber(rest.substr(0, cut), number))
            return false;  // page titles and button states ("105_A", "105_1001S")
        controls.push_back(number);
        if (cut == std::u16string_view::npos)
            break;
    }
    for (const SharedText &shared : kSharedTexts)
        if (shared.Dialog == dialog && controls.front() == shared.Control)
            controls.push_back(shared.AlsoControl);
    target.Controls = controls;
    return true;
}
