#include <gtest/gtest.h>

#include "render/options/portable/preview_rules.h"

namespace {

bool SameRect(const TLayoutRect &a, const TLayoutRect &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST(PreviewBlurRegion, BothLevelsSideBySideOrOnePixel)
{
    struct Case {
        const char *what;
        bool drawBlur;
        TLevelSize top, sub;
        int count;
        TLayoutRect first, second;
    } cases[] = {
        {"taller top level", true, {190, 403}, {120, 72}, 2, {0, 0, 190, 403}, {190, 0, 310, 72}},
        {"taller sub-level", true, {100, 50}, {80, 200}, 2, {0, 0, 100, 50}, {100, 0, 180, 200}},
        {"blur off: a single pixel whatever the sizes", false, {190, 403}, {120, 72}, 1,
         {0, 0, 1, 1}, {}},
        {"empty sub-level adds no area", true, {190, 403}, {0, 0}, 2, {0, 0, 190, 403},
         {190, 0, 190, 0}},
    };
    for (const Case &c : cases) {
        const TBlurRegion region = PreviewBlurRegion(c.drawBlur, c.top, c.sub);
        ASSERT_EQ(region.count, c.count) << c.what;
        EXPECT_TRUE(SameRect(region.rects[0], c.first)) << c.what;
        if (c.count == 2) {
            EXPECT_TRUE(SameRect(region.rects[1], c.second)) << c.what;
        }
    }
}

TEST(PreviewPlacement, RightOfTheSheetAtThreeFramesAndBordersAsTallAsIt)
{
    struct Case {
        TLayoutRect sheet;
        int dialogFrame, border;
        TLayoutRect expected;
    } cases[] = {
        {{100, 50, 500, 450}, 3, 1, {512, 50, 812, 450}},
        {{-400, -20, -10, 300}, 2, 1, {-1, -20, 299, 300}},  // a sheet on a monitor to the left
        {{0, 0, 0, 0}, 0, 0, {0, 0, 300, 0}},
    };
    for (const Case &c : cases)
        EXPECT_TRUE(SameRect(PlacePreview(c.sheet, c.dialogFrame, c.border), c.expected))
            << c.sheet.left << "," << c.sheet.top;
}
