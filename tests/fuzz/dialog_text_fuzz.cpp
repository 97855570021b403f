// The dialog-text lookup: any key and dialog number give a target only for a key that names
// that dialog (or OK and Cancel), and never a caption together with controls.
#include "settings/portable/dialog_text.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const int dialog = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(100, 110)
                                        : in.ConsumeIntegral<int>();
    const std::u16string key = in.RestAsText();

    DialogTextTarget target;
    target.Controls = {7};  // a previous answer must not leak into this one
    const bool found = FindDialogTextTarget(key, dialog, target);
    if (!found) {
        FUZZ_CHECK(!target.Caption && target.Controls.empty());
        return 0;
    }
    FUZZ_CHECK(key.starts_with(u"LocalDlg_"));
    FUZZ_CHECK(target.Caption != !target.Controls.empty());
    const std::u16string_view rest = std::u16string_view(key).substr(9);
    if (rest == u"Ok" || rest == u"Cancel") {
        FUZZ_CHECK(target.Controls.size() == 1);
        return 0;
    }
    // A caption key is the prefix and the dialog's number, nothing after it.
    FUZZ_CHECK(dialog >= 0);
    FUZZ_CHECK(!target.Caption || rest.find(u'_') == std::u16string_view::npos);
    for (int control : target.Controls)
        FUZZ_CHECK(control >= 0);
    return 0;
}
