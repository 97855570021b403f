// What every fuzz target shares: the fuzzer's bytes taken apart as numbers, flags and UTF-16
// texts, and a check that stops the run with a message when a property fails.
#pragma once
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

class FuzzInput : public FuzzedDataProvider {
public:
    FuzzInput(const uint8_t *data, size_t size) : FuzzedDataProvider(data, size) {}

    // Up to `maxUnits` UTF-16 little-endian units, ended early by the fuzzer's choice.
    std::u16string Text(size_t maxUnits)
    {
        std::u16string text;
        while (text.size() < maxUnits && remaining_bytes() >= 2) {
            const char16_t unit = ConsumeIntegral<uint16_t>();
            if (unit == 0xFFFF)  // the fuzzer's "end of this text"
                break;
            text += unit;
        }
        return text;
    }

    // The rest of the bytes, read the way a file is read: little-endian pairs.
    std::u16string RestAsText()
    {
        std::u16string text;
        while (remaining_bytes() >= 2) {
            const uint8_t low = ConsumeIntegral<uint8_t>();
            const uint8_t high = ConsumeIntegral<uint8_t>();
            text += char16_t(low | high << 8);
        }
        return text;
    }
};

inline std::string Printable(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        if (c >= 32 && c < 127) {
            out += char(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(c));
            out += escaped;
        }
    }
    return out;
}

// A failed property is a finding: libFuzzer saves the input that led to the abort.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__,   \
                         #condition);                                                  \
            std::abort();                                                              \
        }                                                                              \
    } while (0)
