// The theme-name rules: a name's file part stays inside the data folder and lists again as
// the name cut at its first '.'; any file name lists without fault.
#include "settings/portable/theme_names.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const std::u16string name = in.Text(300);
    const std::u16string fileName = in.RestAsText();

    std::u16string listed = u"unchanged";
    if (ThemeNameOfFile(fileName, listed)) {
        FUZZ_CHECK(fileName.starts_with(listed));
        FUZZ_CHECK(fileName[listed.size()] == u'.');
        FUZZ_CHECK(listed.find(u'.') == std::u16string::npos);
    } else {
        FUZZ_CHECK(fileName.find(u'.') == std::u16string::npos && listed == u"unchanged");
    }

    const std::u16string part = ThemeFileNamePart(name);
    FUZZ_CHECK(part.size() == name.size());
    for (size_t i = 0; i < part.size(); ++i) {
        const char16_t c = part[i];
        FUZZ_CHECK(c >= 32 && std::u16string_view(u"\\/:*?\"<>|").find(c) == std::u16string::npos);
        FUZZ_CHECK(c == name[i] || c == u'_');
    }
    // What the folder holds for the name is listed under the name up to its first '.'.
    std::u16string back;
    FUZZ_CHECK(ThemeNameOfFile(part + std::u16string(kThemeExtension), back));
    FUZZ_CHECK(back == part.substr(0, part.find(u'.')));
    return 0;
}
