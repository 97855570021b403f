// The two rewrites of a dropped link text: neither ever makes the text longer, the UTF-8
// rewrite keeps every ASCII byte in its order, and a text without a reference keeps its bytes.
#include "render/options/portable/drop_names.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

std::string AsciiOf(std::string_view text)
{
    std::string ascii;
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x80)
            ascii += c;
    return ascii;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);

    std::string latin1 = input;
    Utf8SpanishToLatin1(latin1);
    FUZZ_CHECK(latin1.size() <= input.size());
    FUZZ_CHECK(AsciiOf(latin1) == AsciiOf(input));

    std::string decoded = input;
    DecodeHtmlEntities(decoded);
    FUZZ_CHECK(decoded.size() <= input.size());
    if (input.find('&') == std::string::npos || input.find(';') == std::string::npos)
        FUZZ_CHECK(decoded == input);
    // Every reference is at least four bytes ("&lt;") and becomes one.
    FUZZ_CHECK(decoded.size() == input.size() || decoded.size() + 3 <= input.size());
    return 0;
}
