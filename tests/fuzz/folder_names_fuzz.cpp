// A typed folder name and the folder of a level: an accepted name is one folder inside the
// target folder, whatever was typed, and the target folder of a level lies in the user's
// tree whenever the level's folder lies in the all-users tree.
#include "common/portable/sort_rules.h"
#include "common/portable/text.h"
#include "menu/portable/folder_names.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr std::u16string_view kUser = u"C:\\users\\root\\Start Menu\\";
constexpr std::u16string_view kCommon = u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\";

bool StartsWithFolded(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && CompareCaptions(text.substr(0, prefix.size()), prefix) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const std::u16string parent = in.Text(300);
    const std::u16string name = in.Text(300);

    const TTargetFolder target = TargetFolderOf(parent, kUser, kCommon);
    FUZZ_CHECK(!target.Folder.empty() && target.Folder.back() == u'\\');
    FUZZ_CHECK(!StartsWithFolded(target.Folder, kCommon));
    for (const std::u16string &folder : target.Chain) {
        FUZZ_CHECK(folder.starts_with(kUser) && folder.size() > kUser.size());
        FUZZ_CHECK(target.Folder.starts_with(folder + u"\\"));
    }

    if (CheckNewFolderName(target.Folder, name) != TFolderNameVerdict::Fine)
        return 0;
    const std::u16string path = target.Folder + name;
    FUZZ_CHECK(path.size() <= kMaxNewFolderPath);
    FUZZ_CHECK(name != u"." && name != u"..");
    for (char16_t c : name)
        FUZZ_CHECK(c >= 32 && c != u'\\' && c != u'/' && c != u':');
    FUZZ_CHECK(FolderOfPath(path) == std::u16string_view(target.Folder).substr(0, target.Folder.size() - 1));
    return 0;
}
