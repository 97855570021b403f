#include <gtest/gtest.h>

#include <random>

#include "render/portable/glow.h"
#include "tests/native/render_surface.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kText = 0x00123456;  // what the text call leaves: colour, alpha 0

// Which pixels the halo changed, as 'x' over '.'.
std::vector<std::string> Touched(TestSurface &s, uint32_t untouched)
{
    std::vector<std::string> rows;
    for (int y = 0; y < s.height; ++y) {
        std::string row;
        for (int x = 0; x < s.width; ++x)
            row += s.At(x, y) == untouched ? '.' : 'x';
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(RenderGlowDisc, CellsCloserThanTheRadius)
{
    EXPECT_TRUE(GlowDiscMask(0).empty());
    struct Case {
        int radius;
        int setCells;
    } cases[] = {{1, 1}, {2, 9}, {3, 25}, {25, 1941}};
    for (const Case &c : cases) {
        std::vector<uint8_t> mask = GlowDiscMask(c.radius);
        int size = 2 * c.radius + 1;
        ASSERT_EQ(mask.size(), size_t(size) * size);
        int set = 0;
        for (uint8_t m : mask)
            set += m;
        EXPECT_EQ(set, c.setCells) << "radius " << c.radius;
        // Offsets run from -r - 1, so the centre is cell (r + 1, r + 1) and the first row and
        // column are never set.
        EXPECT_TRUE(mask[size_t(c.radius + 1) * size + c.radius + 1]);
        for (int i = 0; i < size; ++i) {
            EXPECT_FALSE(mask[i]);
            EXPECT_FALSE(mask[size_t(i) * size]);
        }
    }
}

TEST(RenderGlowWeight, OneOverRSquaredTimes316)
{
    EXPECT_FLOAT_EQ(GlowWeight(1, false), float(1.0 / 3.16));
    EXPECT_FLOAT_EQ(GlowWeight(5, true), float(1.5 / (25 * 3.16)));
    EXPECT_EQ(GlowWeight(0, false), 0.0f);
}

// Both versions must give the same pixels for the cases with known answers.
class RenderGlow : public ::testing::TestWithParam<bool> {
protected:
    void Halo(TestSurface &s, const GlowParams &p)
    {
        if (GetParam())
            GlowHalo(s.View(), p);
        else
            GlowHaloReference(s.View(), p);
    }
};

TEST_P(RenderGlow, RadiusOneTouchesOnlyTheTextPixel)
{
    TestSurface s(5, 5);
    s.At(2, 2) = kText;
    Halo(s, {1, false, kWhite, false});
    // One hit of 1 / 3.16: alpha 80, white premultiplied.
    EXPECT_EQ(s.At(2, 2), 0x50505050u);
    EXPECT_EQ(Touched(s, 0), (std::vector<std::string>{".....", ".....", "..x..", ".....", "....."}));
}

TEST_P(RenderGlow, RadiusTwoAddsTheEightNeighbours)
{
    TestSurface s(5, 5);
    s.At(2, 2) = kText;
    Halo(s, {2, false, 0x0000FF, false});
    EXPECT_EQ(Touched(s, 0), (std::vector<std::string>{".....", ".xxx.", ".xxx.", ".xxx.", "....."}));
    // 1 / 12.64 per hit: alpha 20, red 20, green and blue 0.
    EXPECT_EQ(s.At(1, 1), 0x14140000u);
}

TEST_P(RenderGlow, ShadowMovesTheDiscAndSkipsTheLastThreeColumnsAndRows)
{
    TestSurface s(9, 9);
    s.At(1, 1) = kText;
    Halo(s, {2, false, kWhite, true});
    EXPECT_EQ(Touched(s, 0), (std::vector<std::string>{
                                 ".........", ".x.......", ".........", "...xxx...", "...xxx...",
                                 "...xxx...", ".........", ".........", "........."}));
    EXPECT_EQ(s.At(1, 1), kText) << "the text pixel itself keeps what the text call drew";

    TestSurface edge(9, 9);
    edge.At(6, 2) = kText;  // in the last three columns
    edge.At(2, 8) = kText;  // in the last three rows
    edge.At(5, 5) = kText;  // the last pixel that casts a shadow: onto (8, 8) and beyond
    Halo(edge, {1, false, kWhite, true});
    EXPECT_EQ(edge.At(8, 8), 0x50505050u);
    int touched = 0;
    for (uint32_t p : edge.pixels)
        touched += p != 0 && p != kText;
    EXPECT_EQ(touched, 1);
}

TEST_P(RenderGlow, AccumulatorClampsAtOne)
{
    // A solid block: the centre receives 25 hits at radius 3, 0.88 in all, 1.32 doubled.
    TestSurface single(11, 11, kText);
    Halo(single, {3, false, kWhite, false});
    EXPECT_EQ(single.At(5, 5) >> 24, 224u);
    TestSurface white(11, 11, kText);
    Halo(white, {3, true, kWhite, false});
    EXPECT_EQ(white.At(5, 5), 0xFFFFFFFFu);
    TestSurface colored(11, 11, kText);
    Halo(colored, {3, true, 0x0080FF, false});
    EXPECT_EQ(colored.At(5, 5), 0xFFFF8000u);
}

TEST_P(RenderGlow, RadiusZeroAndEmptySurfacesChangeNothing)
{
    TestSurface s(4, 4, kText);
    Halo(s, {0, true, kWhite, false});
    EXPECT_EQ(s.pixels, std::vector<uint32_t>(16, kText));
    TestSurface empty(0, 0);
    Halo(empty, {5, false, kWhite, false});
    TestSurface small(2, 2, kText);  // the shadow leaves no text pixel that casts
    Halo(small, {4, false, kWhite, true});
    EXPECT_EQ(small.pixels, std::vector<uint32_t>(4, kText));
}

INSTANTIATE_TEST_SUITE_P(ReferenceAndFast, RenderGlow, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Fast" : "Reference"; });

TEST(RenderGlowFast, BitIdenticalToTheReferenceOnRandomTexts)
{
    std::mt19937 random(20261210);
    const uint32_t colors[] = {kWhite, 0x000000, 0x3366CC, 0xFF00FF};
    const double densities[] = {0.02, 0.2, 0.6};
    int cases = 0;
    for (int radius = 0; radius <= 25; ++radius)
        for (int variant = 0; variant < 4; ++variant) {
            bool doubled = variant & 1, shadow = variant & 2;
            int w = 1 + int(random() % 70), h = 1 + int(random() % 36);
            double density = densities[random() % 3];
            TestSurface text(w, h);
            for (uint32_t &p : text.pixels)
                if (std::uniform_real_distribution<double>(0, 1)(random) < density)
                    p = random() | 1;
            GlowParams params{radius, doubled, colors[random() % 4], shadow};
            TestSurface reference = text, fast = text;
            GlowHaloReference(reference.View(), params);
            GlowHalo(fast.View(), params);
            ASSERT_EQ(fast.pixels, reference.pixels)
                << "radius " << radius << (doubled ? " doubled" : "") << (shadow ? " shadow" : "")
                << " on " << w << " x " << h;
            ++cases;
        }
    // A caption-sized surface at the largest radius, where clamping is common.
    TestSurface caption(120, 40);
    for (int y = 12; y < 28; ++y)
        for (int x = 10; x < 110; ++x)
            if ((x * 7 + y * 3) % 5 < 2)
                caption.At(x, y) = 0x00FFFFFF;
    for (bool doubled : {false, true}) {
        TestSurface reference = caption, fast = caption;
        GlowHaloReference(reference.View(), {25, doubled, 0x00FF00, false});
        GlowHalo(fast.View(), {25, doubled, 0x00FF00, false});
        ASSERT_EQ(fast.pixels, reference.pixels);
    }
}
