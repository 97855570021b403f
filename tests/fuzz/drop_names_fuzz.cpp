// Dropped data from another program: the block is read within its size, an anchor's target
// and name come from inside the fragment, no name holds a character a file name may not, and
// a shortcut path always fits MAX_PATH inside its folder.
#include "render/options/portable/drop_names.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool HasForbidden(std::u16string_view name)
{
    for (char16_t c : name)
        if (IsForbiddenInName(c))
            return true;
    return false;
}

// A path, when there is one, is the folder, the name or as much of it as fits, and the
// extension with the number.
void CheckPath(std::u16string_view folder, std::u16string_view name, int number)
{
    const std::u16string path = ShortcutPathFor(folder, name, number);
    if (path.empty())
        return;
    std::u16string withSlash(folder);
    if (withSlash.back() != u'\\')
        withSlash += u'\\';
    std::u16string suffix = u".lnk";
    if (number >= 2) {
        const std::string digits = std::to_string(number);
        suffix = u" (" + std::u16string(digits.begin(), digits.end()) + u")" + suffix;
    }
    FUZZ_CHECK(path.size() <= kMaxShortcutPath);
    FUZZ_CHECK(path.size() - withSlash.size() <= kMaxShortcutFileName);
    FUZZ_CHECK(path.starts_with(withSlash) && path.ends_with(suffix));
    const std::u16string_view used = name.empty() ? kFallbackShortcutName : name;
    const std::u16string_view kept =
        std::u16string_view(path).substr(withSlash.size(), path.size() - withSlash.size() - suffix.size());
    FUZZ_CHECK(!kept.empty() && used.starts_with(kept));
    // Cut only when full (one unit less when the cut would have split a pair).
    if (kept.size() < used.size())
        FUZZ_CHECK(path.size() + 1 >= kMaxShortcutPath ||
                   path.size() - withSlash.size() + 1 >= kMaxShortcutFileName);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const uint8_t mode = in.ConsumeIntegral<uint8_t>();

    if (mode % 2 == 0) {
        // An HTML fragment, read as the drop handler's block is read.
        const std::vector<uint8_t> block = in.ConsumeRemainingBytes<uint8_t>();
        const std::string_view fragment = DroppedBytes(block.data(), block.size());
        FUZZ_CHECK(fragment.size() <= block.size());
        FUZZ_CHECK(fragment.find('\0') == std::string_view::npos);
        TDroppedAnchor anchor;
        if (!ParseDroppedAnchor(fragment, anchor)) {
            FUZZ_CHECK(anchor.Target.empty() && anchor.Name.empty());
            return 0;
        }
        FUZZ_CHECK(fragment.find("<A HREF=\"") != std::string_view::npos ||
                   fragment.find("<a href=\"") != std::string_view::npos);
        FUZZ_CHECK(anchor.Target.find(u'"') == std::u16string::npos);
        FUZZ_CHECK(anchor.Target.size() + anchor.Name.size() + 12 <= fragment.size());
        FUZZ_CHECK(!HasForbidden(anchor.Name));
        for (char16_t c : anchor.Target + anchor.Name)
            FUZZ_CHECK(c <= 0xFF);
        CheckPath(u"C:\\users\\root\\Start Menu\\", anchor.Name, 1);
        return 0;
    }

    const std::u16string folder = in.Text(300);
    const std::u16string display = in.Text(300);
    const int number = in.ConsumeIntegralInRange<int>(1, 1000);
    const std::vector<uint8_t> block = in.ConsumeRemainingBytes<uint8_t>();
    const std::u16string text = DroppedText(block.data(), block.size());
    FUZZ_CHECK(2 * text.size() <= block.size());
    FUZZ_CHECK(text.find(u'\0') == std::u16string::npos);

    const std::u16string address = AddressShortcutName(text);
    FUZZ_CHECK(address.size() <= kMaxAddressName && address.size() <= text.size());
    FUZZ_CHECK(!HasForbidden(address));
    const std::u16string file = FileShortcutName(display, text);
    FUZZ_CHECK(!HasForbidden(file) && file.find(u'.') == std::u16string::npos);
    FUZZ_CHECK(file.size() <= (display.empty() ? text.size() : display.size()));

    CheckPath(folder, address, number);
    CheckPath(folder, file, number);
    CheckPath(folder, text, number);
    return 0;
}
