#include "render/portable/glow.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace {

constexpr int kShadowOffset = 3;

bool Usable(PixelSurface s, const GlowParams &p)
{
    return s.bits != nullptr && s.width > 0 && s.height > 0 && p.radius > 0;
}

uint32_t HaloPixel(float v, uint32_t glowColor)
{
    uint32_t alpha = static_cast<uint32_t>(v * 255);
    uint32_t red = static_cast<uint32_t>(static_cast<float>(RedOf(glowColor)) * v);
    uint32_t green = static_cast<uint32_t>(static_cast<float>(GreenOf(glowColor)) * v);
    uint32_t blue = static_cast<uint32_t>(static_cast<float>(BlueOf(glowColor)) * v);
    return alpha << 24 | red << 16 | green << 8 | blue;
}

// Half-width of the disc's row at vertical offset dy: cells |dx| <= span are set.
std::vector<int> DiscRowSpans(int radius)
{
    std::vector<uint8_t> mask = GlowDiscMask(radius);
    int size = 2 * radius + 1;
    std::vector<int> spans(size, -1);
    for (int row = 0; row < size; ++row)
        for (int col = 0; col < size; ++col)
            if (mask[static_cast<size_t>(row) * size + col])
                spans[row] = std::max(spans[row], std::abs(col - radius - 1));
    return spans;
}

}  // namespace

std::vector<uint8_t> GlowDiscMask(int radius)
{
    if (radius <= 0)
        return {};
    int size = 2 * radius + 1;
    std::vector<uint8_t> mask(static_cast<size_t>(size) * size, 0);
    float limit = static_cast<float>(radius) * static_cast<float>(radius);
    for (int row = 0; row < size; ++row) {
        float dy = static_cast<float>(row - radius - 1);
        for (int col = 0; col < size; ++col) {
            float dx = static_cast<float>(col - radius - 1);
            mask[static_cast<size_t>(row) * size + col] = dx * dx + dy * dy < limit;
        }
    }
    return mask;
}

float GlowWeight(int radius, bool doubled)
{
    if (radius <= 0)
        return 0.0f;
    double k = doubled ? 1.5 : 1.0;
    return static_cast<float>(k / (static_cast<double>(radius) * radius * 3.16));
}

void GlowHaloReference(PixelSurface text, const GlowParams &params)
{
    if (!Usable(text, params))
        return;
    int w = text.width, h = text.height, r = params.radius, size = 2 * r + 1;
    int s = params.shadow ? kShadowOffset : 0;
    std::vector<uint8_t> mask = GlowDiscMask(r);
    float weight = GlowWeight(r, params.doubled);
    std::vector<float> accumulator(static_cast<size_t>(w) * h, 0.0f);
    for (int y = 0; y < h - s; ++y)
        for (int x = 0; x < w - s; ++x) {
            if (text.bits[static_cast<size_t>(y) * w + x] == 0)
                continue;
            for (int row = 0; row < size; ++row)
                for (int col = 0; col < size; ++col) {
                    if (!mask[static_cast<size_t>(row) * size + col])
                        continue;
                    int tx = x + s + col - r - 1, ty = y + s + row - r - 1;
                    if (tx < 0 || tx >= w || ty < 0 || ty >= h)
                        continue;
                    float &v = accumulator[static_cast<size_t>(ty) * w + tx];
                    v += weight;
                    if (v > 1.0f)
                        v = 1.0f;
                }
        }
    for (size_t i = 0; i < accumulator.size(); ++i)
        if (accumulator[i] > 0.0f)
            text.bits[i] = HaloPixel(accumulator[i], params.glowColor);
}

void GlowHalo(PixelSurface text, const GlowParams &params)
{
    if (!Usable(text, params))
        return;
    int w = text.width, h = text.height, r = params.radius;
    int s = params.shadow ? kShadowOffset : 0;
    std::vector<int> spans = DiscRowSpans(r);

    // Every hit adds the same weight, so a pixel's accumulator depends only on its number of
    // hits: each text pixel marks the start and end of the disc's span on every disc row, and
    // a running sum along each row gives the count.
    int stride = w + 1;
    std::vector<int32_t> marks(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h - s; ++y)
        for (int x = 0; x < w - s; ++x) {
            if (text.bits[static_cast<size_t>(y) * w + x] == 0)
                continue;
            for (size_t row = 0; row < spans.size(); ++row) {
                int span = spans[row];
                int ty = y + s + static_cast<int>(row) - r - 1;
                if (span < 0 || ty < 0 || ty >= h)
                    continue;
                int from = std::max(x + s - span, 0), to = std::min(x + s + span, w - 1);
                if (from > to)
                    continue;
                marks[static_cast<size_t>(ty) * stride + from] += 1;
                marks[static_cast<size_t>(ty) * stride + to + 1] -= 1;
            }
        }

    // The accumulator after n hits, added and clamped in single precision as the splat does.
    int cells = 0;
    for (int span : spans)
        cells += span < 0 ? 0 : 2 * span + 1;
    std::vector<float> table(static_cast<size_t>(cells) + 1, 0.0f);
    float weight = GlowWeight(r, params.doubled);
    for (int n = 1; n <= cells; ++n) {
        float v = table[n - 1] + weight;
        table[n] = v > 1.0f ? 1.0f : v;
    }

    for (int y = 0; y < h; ++y) {
        int count = 0;
        for (int x = 0; x < w; ++x) {
            count += marks[static_cast<size_t>(y) * stride + x];
            if (count > 0 && table[count] > 0.0f)
                text.bits[static_cast<size_t>(y) * w + x] = HaloPixel(table[count], params.glowColor);
        }
    }
}
