// The start button's frames: any picture size, button size and fade step scale and blend
// within their buffers, and every result channel lies between the inputs' channels.
#include <algorithm>
#include <vector>

#include "hook/portable/button_frames.h"
#include "hook/portable/button_geometry.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

uint32_t Channel(uint32_t pixel, int c)
{
    return (pixel >> (c * 8)) & 0xFF;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    // Pictures up to twice the largest button; larger ones only cost time per run.
    const int width = in.ConsumeIntegralInRange<int>(-2, 2 * kLargestButtonSize);
    const int height = in.ConsumeIntegralInRange<int>(-2, 2 * kLargestButtonSize);
    // The button size as the DPI gives it, or any size a caller might pass.
    const long long dpi = in.ConsumeIntegralInRange<long long>(-1, 200000);
    int buttonSize = ButtonSizeForDpi(dpi);
    if (in.ConsumeBool())
        buttonSize = in.ConsumeIntegralInRange<int>(-1, kLargestButtonSize + 8);
    const int step = in.ConsumeIntegralInRange<int>(-20, 30);
    const bool uniform = in.ConsumeBool();

    const size_t pixels = size_t(std::max(width, 0)) * size_t(std::max(height, 0));
    std::vector<uint32_t> src(pixels);
    uint32_t low[4] = {255, 255, 255, 255}, high[4] = {0, 0, 0, 0};
    const uint32_t fill = in.ConsumeIntegral<uint32_t>();
    for (uint32_t &p : src) {
        p = uniform ? fill : in.ConsumeIntegral<uint32_t>();
        for (int c = 0; c < 4; ++c) {
            low[c] = std::min(low[c], Channel(p, c));
            high[c] = std::max(high[c], Channel(p, c));
        }
    }
    if (buttonSize <= 0) {
        ScaleAreaAverage(src.data(), width, height, nullptr, buttonSize);
        DrawFallbackButton(nullptr, buttonSize);
        return 0;
    }
    const size_t count = size_t(buttonSize) * size_t(buttonSize);
    std::vector<uint32_t> scaled(count), hover(count), blended(count), disc(count);
    ScaleAreaAverage(src.data(), width, height, scaled.data(), buttonSize);
    for (uint32_t p : scaled)
        for (int c = 0; c < 4; ++c) {
            if (pixels == 0)
                FUZZ_CHECK(p == 0);
            else
                FUZZ_CHECK(Channel(p, c) >= low[c] && Channel(p, c) <= high[c]);
        }
    if (pixels && uniform)
        FUZZ_CHECK(std::all_of(scaled.begin(), scaled.end(), [&](uint32_t p) { return p == fill; }));
    if (width == buttonSize && height == buttonSize)
        FUZZ_CHECK(scaled == src);

    for (uint32_t &p : hover)
        p = in.ConsumeIntegral<uint32_t>();
    BlendFrames(scaled.data(), hover.data(), step, blended.data(), int(count));
    for (size_t i = 0; i < count; ++i)
        for (int c = 0; c < 4; ++c) {
            const uint32_t a = Channel(scaled[i], c), b = Channel(hover[i], c);
            const uint32_t m = Channel(blended[i], c);
            FUZZ_CHECK(m >= std::min(a, b) && m <= std::max(a, b));
        }
    if (step <= 0)
        FUZZ_CHECK(blended == scaled);
    if (step >= kHoverFrame)
        FUZZ_CHECK(blended == hover);

    DrawFallbackButton(disc.data(), buttonSize);
    for (size_t i = 0; i < count; ++i)  // point symmetric: the same read from both ends
        FUZZ_CHECK(disc[i] == disc[count - 1 - i]);
    return 0;
}
