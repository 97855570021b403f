// A dropped file list is untrusted: its first name is read within the block whatever the
// offset, the flags and the bytes say, and a path rewritten for a moved entry keeps within
// its buffer.
#include <vector>

#include "menu/portable/drop_rules.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const size_t maxUnits = in.ConsumeIntegralInRange<size_t>(0, 300);
    std::u16string path = in.Text(300);
    const std::u16string from = in.Text(300);
    const std::u16string to = in.Text(300);
    // The rest is the block, copied so that a read past its end is seen by the sanitizer.
    const std::vector<uint8_t> block = in.ConsumeRemainingBytes<uint8_t>();

    const std::u16string first = FirstDroppedPath(block.data(), block.size(), maxUnits);
    FUZZ_CHECK(first.size() <= maxUnits);
    FUZZ_CHECK(first.find(u'\0') == std::u16string::npos);

    const std::u16string before = path;
    if (RewriteFolder(path, from, to, 260)) {
        FUZZ_CHECK(path.size() < 260);
        FUZZ_CHECK(path.size() == before.size() - from.size() + to.size());
    } else {
        FUZZ_CHECK(path == before);
    }
    FUZZ_CHECK(!IsSameOrInside(path, u""));
    if (path.find_first_not_of(u'\\') != std::u16string::npos)
        FUZZ_CHECK(IsSameOrInside(path, path) && IsSameOrInside(path + u"\\x", path));
    return 0;
}
