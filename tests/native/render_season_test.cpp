#include <gtest/gtest.h>

#include "render/portable/season.h"
#include "tests/native/render_surface.h"

TEST(RenderSeason, ShownFromFifteenthDecemberToSixthJanuary)
{
    struct Case {
        int month, day;
        uint32_t flags;
        bool shown;
    } cases[] = {
        {12, 14, 0, false}, {12, 15, 0, true}, {12, 20, 0, true}, {12, 31, 0, true},
        {1, 1, 0, true},    {1, 6, 0, true},   {1, 7, 0, false},  {11, 20, 0, false},
        {2, 3, 0, false},   {12, 20, 1, false}, {1, 2, 3, false}, {12, 20, 2, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SeasonDecorationShown(c.month, c.day, c.flags), c.shown)
            << c.day << "." << c.month << " flags " << c.flags;
}

TEST(RenderSeason, SequenceOfTheCRuntimeStartingAtOne)
{
    SeasonRandom random;
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected)
        EXPECT_EQ(random.Next(), value);
}

namespace {

// The state whose next draw is the one after `state`.
uint32_t StepBack(uint32_t state)
{
    uint32_t inverse = 214013u;  // Newton's iteration for the inverse modulo 2^32
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 214013u * inverse;
    return (state - 2531011u) * inverse;
}

}  // namespace

TEST(RenderSeason, FlakesFallInTheirBandsAndUseOnlyFourPictures)
{
    SeasonRandom random;
    FlakePlacement flakes[kFlakeCount];
    const int width = 40, height = 600;
    PlaceFlakes(width, height, random, flakes);
    const float rows[10] = {0.06f, 0.10f, 0.12f, 0.15f, 0.19f, 0.20f, 0.25f, 0.35f, 0.49f, 0.62f};
    for (int i = 0; i < kFlakeCount; ++i) {
        EXPECT_GE(flakes[i].x, 0);
        EXPECT_LE(flakes[i].x, width - 5);
        EXPECT_GE(flakes[i].y, int(height * rows[i % 10]) - 21) << "flake " << i;
        EXPECT_LE(flakes[i].y, int(height * rows[i % 10]) + 21) << "flake " << i;
        EXPECT_GE(flakes[i].kind, 0);
        EXPECT_LT(flakes[i].kind, kFlakeKinds);
    }
    // The first flake from the fresh sequence: 41, 18467, 6334.
    EXPECT_EQ(flakes[0].x, 41 * 35 / 32767);
    EXPECT_EQ(flakes[0].y, int(float(18467 * 40 / 32767 - 20) + 600 * 0.06f));
    EXPECT_EQ(flakes[0].kind, 0);

    // The largest draw, 32767, would name a fifth picture; it takes the last one.
    SeasonRandom top;
    top.state = StepBack(StepBack(StepBack(0x7FFF0000u)));
    PlaceFlakes(width, height, top, flakes);
    EXPECT_EQ(flakes[0].kind, kFlakeKinds - 1);
}

TEST(RenderSeason, ArtIsPremultipliedAndStampedClipped)
{
    auto premultiplied = [](const uint32_t *pixels, int count) {
        int visible = 0;
        for (int i = 0; i < count; ++i) {
            uint32_t p = pixels[i], a = p >> 24;
            EXPECT_LE((p >> 16) & 0xFF, a);
            EXPECT_LE((p >> 8) & 0xFF, a);
            EXPECT_LE(p & 0xFF, a);
            visible += p != 0;
        }
        return visible;
    };
    EXPECT_GT(premultiplied(StarPixels(), kStarWidth * kStarHeight), 100);
    for (int kind = 0; kind < kFlakeKinds; ++kind)
        EXPECT_GT(premultiplied(FlakePixels(kind), kFlakeWidth * kFlakeHeight), 5);

    // Only the art's non-zero pixels are written; everything is clipped to the band.
    constexpr uint32_t kMarker = 0x01020304;
    FlakePlacement away[kFlakeCount];
    for (FlakePlacement &f : away)
        f = {100, 100, 0};
    TestSurface band(12, 10, kMarker);
    DrawSeasonArt(band.View(), away);
    EXPECT_EQ(band.At(0, 0), kMarker) << "the star's transparent corner";
    EXPECT_EQ(band.At(10, 7), StarPixels()[7 * kStarWidth + 10]);

    FlakePlacement edges[kFlakeCount];
    for (int i = 0; i < kFlakeCount; ++i)
        edges[i] = {i % 3 ? -6 : 9, i % 2 ? -7 : 6, i % kFlakeKinds};
    TestSurface narrow(12, 10, kMarker);
    DrawSeasonArt(narrow.View(), edges);
    TestSurface empty(0, 0);
    DrawSeasonArt(empty.View(), edges);
}
