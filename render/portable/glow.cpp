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

// One row of the disc: vertical offset dy and half-width span (cells |dx| <= span are set).
struct DiscRow {
    int dy;
    int span;
};

// The set rows of GlowDiscMask, worked out per row: the widest dx with dx^2 + dy^2 < r^2.
std::vector<DiscRow> DiscRows(int radius)
{
    std::vector<DiscRow> rows;
    float limit = static_cast<float>(radius) * static_cast<float>(radius);
    for (int dy = -radius - 1; dy <= radius - 1; ++dy) {
        float fy = static_cast<float>(dy);
        int span = -1;
        for (int dx = 0; dx <= radius - 1; ++dx) {
            float fx = static_cast<float>(dx);
            if (fx * fx + fy * fy < limit)
                span = dx;
        }
        if (span >= 0)
            rows.push_back({dy, span});
    }
    return rows;
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
    std::vector<DiscRow> disc = DiscRows(r);

    // Every hit adds the same weight, so a pixel's accumulator depends only on its number of
    // hits.  Each text pixel marks where the disc's span starts and ends on every disc row;
    // a running sum along the row then gives the count.  The rows are padded by r on both
    // sides so that spans need no clipping.  Target rows are done one at a time from a list
    // of each source row's text columns, so the marks stay in one short row.
    const int sourceRows = std::max(h - s, 0);
    std::vector<int> columns;
    std::vector<size_t> rowStart(static_cast<size_t>(sourceRows) + 1, 0);
    for (int y = 0; y < sourceRows; ++y) {
        rowStart[y] = columns.size();
        const uint32_t *source = text.bits + static_cast<size_t>(y) * w;
        for (int x = 0; x < w - s; ++x)
            if (source[x] != 0)
                columns.push_back(x);
    }
    rowStart[sourceRows] = columns.size();
    const int textPixels = static_cast<int>(columns.size());
    if (textPixels == 0)
        return;

    // The halo pixel after n hits: the weight added n times and clamped in single precision,
    // exactly as the splat accumulates it.  A pixel is hit at most once per text pixel and
    // once per disc cell, so the table stops at the smaller of the two.
    int cells = 0;
    for (const DiscRow &row : disc)
        cells += 2 * row.span + 1;
    cells = std::min(cells, textPixels);
    std::vector<uint32_t> halo(static_cast<size_t>(cells) + 1, 0);
    float weight = GlowWeight(r, params.doubled), v = 0.0f;
    for (int n = 1; n <= cells; ++n) {
        v += weight;
        if (v > 1.0f)
            v = 1.0f;
        halo[n] = HaloPixel(v, params.glowColor);
    }

    const int stride = w + 2 * r + 1;
    std::vector<int32_t> marks(static_cast<size_t>(stride));
    for (int ty = 0; ty < h; ++ty) {
        std::fill(marks.begin(), marks.end(), 0);
        bool hit = false;
        for (const DiscRow &row : disc) {
            const int y = ty - s - row.dy;
            if (y < 0 || y >= sourceRows)
                continue;
            for (size_t k = rowStart[y]; k < rowStart[y + 1]; ++k) {
                int32_t *centre = marks.data() + r + columns[k] + s;
                centre[-row.span] += 1;
                centre[row.span + 1] -= 1;
                hit = true;
            }
        }
        if (!hit)
            continue;
        uint32_t *target = text.bits + static_cast<size_t>(ty) * w;
        int count = 0;
        for (int i = 0; i < r; ++i)
            count += marks[i];
        for (int x = 0; x < w; ++x) {
            count += marks[r + x];
            if (count > 0)
                target[x] = halo[count];
        }
    }
}
