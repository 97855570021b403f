#include "render/portable/season.h"

#include <array>
#include <cstddef>

namespace {

// Pixel art as rows of opacity levels, ' ' transparent and '1'..'9' in ninths.
constexpr const char *kStarArt[kStarHeight] = {
        "          1                 ",
        "          8                 ",
        "         393                ",
        "         696                ",
        "         898                ",
        "        39993               ",
        "        69996               ",
        "157777779999977777751       ",
        " 1699999999999999961        ",
        "   399999999999993          ",
        "    2899999999982           ",
        "     17999999971            ",
        "      699999996             ",
        "      899999998             ",
        "     29999799992            ",
        "     59983 38995            ",
        "     7961   169783          ",
        "    183       38373         ",
        "    21         12352        ",
        "                  242       ",
        "                   231      ",
        "                    121     ",
        "                     11     ",
        "                            ",
};

constexpr const char *kFlakeArt[kFlakeKinds][kFlakeHeight] = {
    {
        "     8     ",
        " 6   8   6 ",
        "  7  8  7  ",
        "   8 9 8   ",
        "    999    ",
        "    999    ",
        "   8 9 8   ",
        "  7  8  7  ",
        " 6   8   6 ",
        "     8     ",
    },
    {
        "   4 7 4   ",
        "     7     ",
        " 7   7   7 ",
        "  6  7  6  ",
        "    797    ",
        "    797    ",
        "  6  7  6  ",
        " 7   7   7 ",
        "     7     ",
        "   4 7 4   ",
    },
    {
        "           ",
        "           ",
        "     6     ",
        "   5 8 5   ",
        "    888    ",
        "    888    ",
        "   5 8 5   ",
        "     6     ",
        "           ",
        "           ",
    },
    {
        "           ",
        "           ",
        "           ",
        "    4 4    ",
        "     9     ",
        "    797    ",
        "     9     ",
        "    4 4    ",
        "           ",
        "           ",
    },
};

// Vertical bands (fractions of the band's height) that the flakes fall in, cycled.
constexpr float kFlakeRows[10] = {0.06f, 0.10f, 0.12f, 0.15f, 0.19f,
                                  0.20f, 0.25f, 0.35f, 0.49f, 0.62f};

constexpr uint32_t kStarColor = 0x33CCFF;  // colour reference: gold

uint32_t ArtPixel(char level, uint32_t colorRef)
{
    if (level < '1' || level > '9')
        return 0;
    uint32_t a = static_cast<uint32_t>(level - '0') * 255 / 9;
    return a << 24 | RedOf(colorRef) * a / 255 << 16 | GreenOf(colorRef) * a / 255 << 8 |
           BlueOf(colorRef) * a / 255;
}

template <int W, int H>
std::array<uint32_t, W * H> Decode(const char *const (&rows)[H], uint32_t colorRef)
{
    std::array<uint32_t, W * H> pixels{};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W && rows[y][x] != 0; ++x)
            pixels[y * W + x] = ArtPixel(rows[y][x], colorRef);
    return pixels;
}

const std::array<uint32_t, kStarWidth * kStarHeight> kStar =
    Decode<kStarWidth, kStarHeight>(kStarArt, kStarColor);
const std::array<std::array<uint32_t, kFlakeWidth * kFlakeHeight>, kFlakeKinds> kFlakes = {
    Decode<kFlakeWidth, kFlakeHeight>(kFlakeArt[0], 0xFFFFFF),
    Decode<kFlakeWidth, kFlakeHeight>(kFlakeArt[1], 0xFFFFFF),
    Decode<kFlakeWidth, kFlakeHeight>(kFlakeArt[2], 0xFFFFFF),
    Decode<kFlakeWidth, kFlakeHeight>(kFlakeArt[3], 0xFFFFFF),
};

void Stamp(PixelSurface s, const uint32_t *art, int artWidth, int artHeight, int left, int top)
{
    for (int y = 0; y < artHeight; ++y)
        for (int x = 0; x < artWidth; ++x) {
            uint32_t pixel = art[y * artWidth + x];
            int tx = left + x, ty = top + y;
            if (pixel != 0 && tx >= 0 && tx < s.width && ty >= 0 && ty < s.height)
                s.bits[static_cast<size_t>(ty) * s.width + tx] = pixel;
        }
}

}  // namespace

bool SeasonDecorationShown(int month, int day, uint32_t flags)
{
    if (flags & 1)
        return false;
    return (month == 12 && day >= 15) || (month == 1 && day <= 6);
}

int SeasonRandom::Next()
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

void PlaceFlakes(int width, int height, SeasonRandom &random, FlakePlacement out[kFlakeCount])
{
    for (int i = 0; i < kFlakeCount; ++i) {
        int x = random.Next() * (width - 5) / 32767;
        float jitter = static_cast<float>(random.Next() * 40 / 32767 - 20);
        int y = static_cast<int>(jitter + static_cast<float>(height) * kFlakeRows[i % 10]);
        // The draw reaches 4 for the largest value; there are only four flakes.
        int kind = random.Next() * kFlakeKinds / 32767;
        out[i] = {x, y, kind < kFlakeKinds ? kind : kFlakeKinds - 1};
    }
}

void DrawSeasonArt(PixelSurface surface, const FlakePlacement flakes[kFlakeCount])
{
    if (surface.bits == nullptr || surface.width <= 0 || surface.height <= 0)
        return;
    Stamp(surface, kStar.data(), kStarWidth, kStarHeight, 0, 0);
    for (int i = 0; i < kFlakeCount; ++i)
        Stamp(surface, kFlakes[flakes[i].kind].data(), kFlakeWidth, kFlakeHeight, flakes[i].x,
              flakes[i].y);
}

const uint32_t *StarPixels() { return kStar.data(); }
const uint32_t *FlakePixels(int kind) { return kFlakes[kind].data(); }
