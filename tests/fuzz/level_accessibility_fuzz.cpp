// What a screen reader asks of a level: child ids and directions come from another process
// and captions from file names.  Every answer names the level, an item of the level or none,
// and a unique key belongs to no other caption.
#include <vector>

#include "menu/portable/level_accessibility.h"
#include "menu/portable/type_ahead.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const int count = in.ConsumeIntegral<uint8_t>() % 50;
    const int32_t childId = in.ConsumeIntegral<int32_t>();
    const int32_t direction = in.ConsumeIntegral<int32_t>();
    const int32_t start = in.ConsumeIntegral<int32_t>();
    const size_t asked = in.ConsumeIntegral<uint8_t>();

    const int index = ChildIndex(childId, count);
    FUZZ_CHECK(index >= -1 && index < count);
    FUZZ_CHECK(IsValidChild(childId, count) == (childId == kAccSelf || index >= 0));
    const int32_t reached = NavigateChild(direction, start, count);
    FUZZ_CHECK(reached == -1 || (reached >= 1 && reached <= count));

    std::vector<std::u16string> owned;
    while (in.remaining_bytes() > 0 && owned.size() < 64)
        owned.push_back(in.Text(8));
    std::vector<std::u16string_view> captions(owned.begin(), owned.end());
    const char16_t key = UniqueTypeAheadKey(captions.data(), captions.size(), asked);
    if (key != 0) {
        FUZZ_CHECK(asked < captions.size() && TypeAheadKey(captions[asked][0]) == key);
        for (size_t i = 0; i < captions.size(); ++i)
            FUZZ_CHECK(i == asked || captions[i].empty() || TypeAheadKey(captions[i][0]) != key);
    }
    return 0;
}
