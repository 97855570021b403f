#include <gtest/gtest.h>

#include <vector>

#include "hook/portable/button_frames.h"

namespace {

uint32_t Bgra(uint32_t b, uint32_t g, uint32_t r, uint32_t a)
{
    return b | g << 8 | r << 16 | a << 24;
}

std::vector<uint32_t> Scaled(const std::vector<uint32_t> &src, int w, int h, int size)
{
    // One guard pixel past the end shows a write beyond the target.
    std::vector<uint32_t> dst(size * size + 1, 0xDEADBEEF);
    ScaleAreaAverage(src.data(), w, h, dst.data(), size);
    EXPECT_EQ(dst.back(), 0xDEADBEEFu) << "wrote past the frame";
    dst.pop_back();
    return dst;
}

}  // namespace

TEST(ScaleAreaAverage, HalvingAveragesEachChannelOfFourPixels)
{
    const std::vector<uint32_t> src = {
        Bgra(1, 10, 200, 255), Bgra(2, 20, 100, 255),
        Bgra(2, 30, 0, 0),     Bgra(2, 40, 50, 0),
    };
    // Blue 7/4 truncates to 1; alpha 510/4 to 127.
    EXPECT_EQ(Scaled(src, 2, 2, 1), std::vector<uint32_t>{Bgra(1, 25, 87, 127)});
}

TEST(ScaleAreaAverage, FractionalFactorWeighsPartlyCoveredPixels)
{
    // Three columns 0, 90, 180 to two: e = 1.5, so each target pixel takes one whole
    // column and half of the middle one: (0 + 45) / 1.5 and (45 + 180) / 1.5.
    std::vector<uint32_t> src;
    for (int y = 0; y < 3; ++y)
        for (uint32_t v : {0u, 90u, 180u})
            src.push_back(Bgra(v, v, v, v));
    const std::vector<uint32_t> expected = {
        Bgra(30, 30, 30, 30), Bgra(150, 150, 150, 150),
        Bgra(30, 30, 30, 30), Bgra(150, 150, 150, 150),
    };
    EXPECT_EQ(Scaled(src, 3, 3, 2), expected);
}

TEST(ScaleAreaAverage, KeepsFullChannelsWithoutCarryingIntoTheNext)
{
    const std::vector<uint32_t> white(96 * 96, 0xFFFFFFFF);
    for (int size : {48, 72, 88, 1, 200})
        for (uint32_t px : Scaled(white, 96, 96, size))
            ASSERT_EQ(px, 0xFFFFFFFFu) << "size " << size;
}

TEST(ScaleAreaAverage, SameSizeCopiesAndUpscalingRepeats)
{
    const std::vector<uint32_t> src = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(Scaled(src, 3, 3, 3), src);
    EXPECT_EQ(Scaled({Bgra(9, 8, 7, 6)}, 1, 1, 2), std::vector<uint32_t>(4, Bgra(9, 8, 7, 6)));
    // Doubling a 2x2 picture repeats each pixel in a 2x2 block.
    const std::vector<uint32_t> doubled = Scaled({1, 2, 3, 4}, 2, 2, 4);
    EXPECT_EQ(doubled, (std::vector<uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
}

TEST(ScaleAreaAverage, NonSquarePictureFillsTheSquareWithoutOverrun)
{
    // 4 x 2 to 2 x 2: each target pixel averages a horizontal pair of one row.
    const std::vector<uint32_t> src = {10, 20, 30, 50, 100, 100, 0, 2};
    EXPECT_EQ(Scaled(src, 4, 2, 2), (std::vector<uint32_t>{15, 40, 100, 1}));
    // A picture taller than wide is read within its own rows.
    const std::vector<uint32_t> tall(1 * 5, Bgra(5, 5, 5, 5));
    EXPECT_EQ(Scaled(tall, 1, 5, 3), std::vector<uint32_t>(9, Bgra(5, 5, 5, 5)));
    // No picture at all: a transparent frame.
    EXPECT_EQ(Scaled({}, 0, 0, 2), std::vector<uint32_t>(4, 0));
}

TEST(BlendFrames, StepsFromNormalToHoverPerChannelTruncated)
{
    const uint32_t normal[] = {Bgra(255, 0, 255, 0), Bgra(255, 255, 255, 255)};
    const uint32_t hover[] = {Bgra(0, 255, 0, 255), Bgra(0, 0, 0, 0)};
    struct Case {
        int step;
        uint32_t first, second;
    } cases[] = {
        {0, normal[0], normal[1]},
        {10, hover[0], hover[1]},
        {5, Bgra(127, 127, 127, 127), Bgra(127, 127, 127, 127)},
        {3, Bgra(178, 76, 178, 76), Bgra(178, 178, 178, 178)},
        {9, Bgra(25, 229, 25, 229), Bgra(25, 25, 25, 25)},
    };
    for (const Case &c : cases) {
        uint32_t out[2];
        BlendFrames(normal, hover, c.step, out, 2);
        EXPECT_EQ(out[0], c.first) << "step " << c.step;
        EXPECT_EQ(out[1], c.second) << "step " << c.step;
    }
}

TEST(DrawFallbackButton, OpaqueDiscOnTransparentCorners)
{
    for (int size : {1, 48, 88}) {
        std::vector<uint32_t> px(size * size);
        DrawFallbackButton(px.data(), size);
        EXPECT_EQ(px[(size / 2) * size + size / 2] >> 24, 255u) << size;
        if (size > 2) {
            EXPECT_EQ(px[0], 0u);
            EXPECT_EQ(px[size * size - 1], 0u);
        }
        // Premultiplied: no channel above alpha.
        for (uint32_t p : px)
            for (int c = 0; c < 3; ++c)
                ASSERT_LE((p >> (c * 8)) & 0xFF, p >> 24);
    }
}
