// Registry values of the recent-documents record and of control panel registrations: an
// order list yields only numbers that stood whole in the value, a name only units that lie
// inside it, and a resource location only parts of the text it was given.
#include <cstring>

#include "settings/portable/recent_values.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const uint8_t choice = in.ConsumeIntegral<uint8_t>();
    if (choice % 3 == 0) {
        // Exact-size copies, so that the sanitizer sees any read past the value.
        const std::vector<uint8_t> bytes = in.ConsumeRemainingBytes<uint8_t>();
        std::vector<uint8_t> value(bytes);
        const std::vector<uint32_t> order = MruOrder(value.data(), value.size());
        FUZZ_CHECK(order.size() <= value.size() / 4);
        for (size_t i = 0; i < order.size(); ++i) {
            uint32_t stored;
            std::memcpy(&stored, value.data() + 4 * i, 4);
            FUZZ_CHECK(order[i] == stored && stored != 0xFFFFFFFFu);
        }
        return 0;
    }
    if (choice % 3 == 1) {
        std::vector<uint8_t> value = in.ConsumeRemainingBytes<uint8_t>();
        const std::u16string name = MruShortcutName(value.data(), value.size());
        FUZZ_CHECK(value.size() > 6 || name.empty());
        FUZZ_CHECK(2 * name.size() + 4 <= value.size() || name.empty());
        for (char16_t c : name)
            FUZZ_CHECK(c != 0);
        return 0;
    }
    const std::u16string text = in.Text(600);
    const TResourceLocation location = SplitResourceLocation(text);
    FUZZ_CHECK(location.Module.size() <= text.size());
    FUZZ_CHECK(location.Module.empty() ||
               (location.Module.data() >= text.data() &&
                location.Module.data() + location.Module.size() <= text.data() + text.size()));
    FUZZ_CHECK(location.HasId == (text.find(u',') != std::u16string::npos));
    FUZZ_CHECK(location.HasId || location.Id == 0);
    return 0;
}
