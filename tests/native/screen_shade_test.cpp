#include <gtest/gtest.h>

#include <cstdint>

#include "app/portable/screen_shade.h"

TEST(ScreenShade, GreyIsTheTruncatedMeanAndKeepsAlpha)
{
    struct Case {
        uint32_t pixel, grey;
    } cases[] = {
        {0xFF000000, 0xFF000000},
        {0xFFFFFFFF, 0xFFFFFFFF},
        {0xFF0000FF, 0xFF555555},   // pure blue: 255 / 3 = 85
        {0xFF00FF00, 0xFF555555},   // pure green
        {0xFFFF0000, 0xFF555555},   // pure red
        {0xFF010100, 0xFF000000},   // 2 / 3 truncates to 0
        {0xFF020201, 0xFF010101},   // 5 / 3 = 1
        {0x80FEFEFD, 0x80FDFDFD},   // alpha kept: (254 + 254 + 253) / 3 = 253
        {0x00102030, 0x00202020},   // no alpha stays none
    };
    uint32_t pixels[std::size(cases)];
    for (size_t i = 0; i < std::size(cases); ++i)
        pixels[i] = cases[i].pixel;
    GreyPixels(pixels, std::size(pixels));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(pixels[i], cases[i].grey) << std::hex << cases[i].pixel;
}

TEST(ScreenShade, BlackKeepsOnlyAlpha)
{
    uint32_t pixels[] = {0xFFFFFFFF, 0x80123456, 0x00ABCDEF, 0xFF000000};
    BlackenPixels(pixels, std::size(pixels));
    EXPECT_EQ(pixels[0], 0xFF000000u);
    EXPECT_EQ(pixels[1], 0x80000000u);
    EXPECT_EQ(pixels[2], 0x00000000u);
    EXPECT_EQ(pixels[3], 0xFF000000u);
}
