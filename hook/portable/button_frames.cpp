#include "hook/portable/button_frames.h"

#include <algorithm>

static uint32_t Channel(uint32_t pixel, int shift)
{
    return (pixel >> shift) & 0xFF;
}

// Each source pixel i covers [i * size, (i + 1) * size) and each target pixel x covers
// [x * srcWidth, (x + 1) * srcWidth) in units of 1/size source pixels, so every overlap is
// a whole number and the average is exact.
void ScaleAreaAverage(const uint32_t *src, int srcWidth, int srcHeight, uint32_t *dst,
                      int size)
{
    if (size <= 0)
        return;
    if (srcWidth <= 0 || srcHeight <= 0) {
        std::fill(dst, dst + size * size, 0u);
        return;
    }
    const uint64_t area = static_cast<uint64_t>(srcWidth) * static_cast<uint64_t>(srcHeight);
    for (int y = 0; y < size; ++y) {
        const long long y0 = static_cast<long long>(y) * srcHeight;
        const long long y1 = y0 + srcHeight;
        for (int x = 0; x < size; ++x) {
            const long long x0 = static_cast<long long>(x) * srcWidth;
            const long long x1 = x0 + srcWidth;
            uint64_t sum[4] = {0, 0, 0, 0};
            for (long long sy = y0 / size; sy < srcHeight && sy * size < y1; ++sy) {
                const long long oy = std::min(y1, (sy + 1) * size) - std::max(y0, sy * size);
                for (long long sx = x0 / size; sx < srcWidth && sx * size < x1; ++sx) {
                    const long long ox =
                        std::min(x1, (sx + 1) * size) - std::max(x0, sx * size);
                    const uint64_t weight = static_cast<uint64_t>(ox * oy);
                    const uint32_t pixel = src[sy * srcWidth + sx];
                    for (int c = 0; c < 4; ++c)
                        sum[c] += weight * Channel(pixel, c * 8);
                }
            }
            uint32_t out = 0;
            for (int c = 0; c < 4; ++c)
                out |= static_cast<uint32_t>(std::min<uint64_t>(sum[c] / area, 255)) << (c * 8);
            dst[y * size + x] = out;
        }
    }
}

void BlendFrames(const uint32_t *normal, const uint32_t *hover, int step, uint32_t *dst,
                 int count)
{
    step = std::clamp(step, 0, kHoverFrame);
    for (int i = 0; i < count; ++i) {
        uint32_t out = 0;
        for (int c = 0; c < 4; ++c) {
            const uint32_t mixed = (Channel(normal[i], c * 8) * (kHoverFrame - step) +
                                    Channel(hover[i], c * 8) * step) / kHoverFrame;
            out |= mixed << (c * 8);
        }
        dst[i] = out;
    }
}

void DrawFallbackButton(uint32_t *dst, int size)
{
    // An opaque blue disc in premultiplied BGRA.
    constexpr uint32_t kDisc = 0xFF2A5CA8;
    const long long radius2 = static_cast<long long>(size) * size;  // in half-pixel units
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const long long dx = 2LL * x + 1 - size;
            const long long dy = 2LL * y + 1 - size;
            dst[y * size + x] = dx * dx + dy * dy <= radius2 ? kDisc : 0u;
        }
    }
}
