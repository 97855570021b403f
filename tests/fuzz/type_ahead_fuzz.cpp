// The type-ahead match: for any captions, hot item and typed unit, the first match is the
// next caption after the hot item (wrapping) that starts with the key, and the count is exact.
#include <vector>

#include "menu/portable/type_ahead.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const int hot = in.ConsumeIntegral<int>() % 40;
    const char16_t typed = in.ConsumeIntegral<uint16_t>();
    std::vector<std::u16string> owned;
    while (in.remaining_bytes() > 0 && owned.size() < 64)
        owned.push_back(in.Text(8));
    std::vector<std::u16string_view> captions(owned.begin(), owned.end());

    const TTypeAheadMatch match = FindTypeAhead(captions.data(), captions.size(), hot, typed);
    const char16_t key = TypeAheadKey(typed);
    auto matches = [&](size_t i) {
        return typed > u' ' && !captions[i].empty() && TypeAheadKey(captions[i][0]) == key;
    };
    int count = 0;
    for (size_t i = 0; i < captions.size(); ++i)
        count += matches(i);
    FUZZ_CHECK(match.count == count);
    if (count == 0) {
        FUZZ_CHECK(match.first == -1);
        return 0;
    }
    FUZZ_CHECK(match.first >= 0 && size_t(match.first) < captions.size() && matches(match.first));
    const size_t n = captions.size();
    const size_t start = hot >= 0 && size_t(hot) < n ? size_t(hot) + 1 : 0;
    for (size_t i = start % n; i != size_t(match.first); i = (i + 1) % n)
        FUZZ_CHECK(!matches(i));
    return 0;
}
