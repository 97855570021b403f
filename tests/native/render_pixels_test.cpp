#include <gtest/gtest.h>

#include "render/portable/paint_rules.h"
#include "render/portable/pixels.h"
#include "tests/native/render_surface.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

ItemPlacement WholeMenu(int w, int h, int band = 0)
{
    return {{band, 0, w, h}, w, h, band};
}

}  // namespace

TEST(RenderPlainFill, PremultipliesByAlphaOver256)
{
    struct Case {
        uint32_t color;
        int alpha;
        uint32_t expected;
    } cases[] = {
        {kWhite, 255, 0xFFFEFEFE},     // divided by 256, not 255
        {0x0000FF, 255, 0xFFFE0000},   // red of a colour reference lands in bits 16-23
        {0xFF0000, 128, 0x8000007F},   // blue in bits 0-7
        {0x204080, 128, 0x80402010},
        {kWhite, 0, 0x00000000},
        {kWhite, 300, 0xFFFEFEFE},     // a corrupt alpha setting is pinned, not spread
    };
    for (const Case &c : cases) {
        TestSurface s(3, 2);
        EXPECT_TRUE(FillMenuSurface(s.View(), {kColorModePlain, c.color, 0, 0, c.alpha}, WholeMenu(3, 2)));
        for (uint32_t p : s.pixels)
            EXPECT_EQ(p, c.expected) << std::hex << c.color << " alpha " << std::dec << c.alpha;
    }
}

TEST(RenderPlainFill, ColourZeroLeavesTransparentAndForbidsOutline)
{
    TestSurface s(4, 4);
    EXPECT_FALSE(FillMenuSurface(s.View(), {kColorModePlain, 0, kWhite, kWhite, 255}, WholeMenu(4, 4)));
    EXPECT_EQ(s.pixels, std::vector<uint32_t>(16, 0));
}

// The gradient position is the pixel's row or column in the menu, wherever the item lies:
// an item repainted alone (the hot item, a drop marker) gets the colours of a whole paint.
TEST(RenderGradientFill, PositionIsTheMenuRowOrColumn)
{
    // Vertical: red from 0 to 200 over a 100-row menu, step 2 per row, scaled by 255 / 256.
    const MenuFill vertical{kColorModeVerticalGradient, 0, 0, 0x0000C8, 255};
    // Horizontal: green from 100 to 0 across the 100 columns right of a 20-pixel band,
    // unscaled beside alpha 128.
    const MenuFill horizontal{kColorModeHorizontalGradient, 0, 0x006400, 0x000000, 128};
    struct Case {
        const char *what;
        const MenuFill &fill;
        ItemPlacement place;
        int x, y;  // on the item's surface
        uint32_t expected;
    } cases[] = {
        {"vertical, first row of an item at row 10", vertical, {{0, 10, 2, 13}, 2, 100, 0}, 0, 0, 0xFF130000},
        {"vertical, its third row", vertical, {{0, 10, 2, 13}, 2, 100, 0}, 1, 2, 0xFF170000},
        {"vertical, last row of the menu", vertical, {{0, 90, 2, 100}, 2, 100, 0}, 0, 9, 0xFFC50000},
        {"vertical, second column", vertical, {{2, 40, 4, 43}, 4, 100, 0}, 1, 0, 0xFF4F0000},
        {"horizontal, first column after the band", horizontal, {{20, 0, 23, 2}, 120, 40, 20}, 0, 0, 0x80006400},
        {"horizontal, its third column", horizontal, {{20, 0, 23, 2}, 120, 40, 20}, 2, 1, 0x80006200},
        {"horizontal, second column of items", horizontal, {{70, 10, 120, 12}, 120, 40, 20}, 0, 0, 0x80003200},
        {"horizontal, last column of the menu", horizontal, {{70, 10, 120, 12}, 120, 40, 20}, 49, 1, 0x80000100},
    };
    for (const Case &c : cases) {
        const PixelRect &r = c.place.item;
        TestSurface s(r.right - r.left, r.bottom - r.top);
        ASSERT_TRUE(FillMenuSurface(s.View(), c.fill, c.place));
        EXPECT_EQ(s.At(c.x, c.y), c.expected) << c.what << std::hex << ": " << s.At(c.x, c.y);
    }
}

TEST(RenderGradientFill, ItemSurfaceMatchesTheWholeLevelUnderIt)
{
    const int w = 120, h = 300, band = 20;
    const PixelRect items[] = {{band, 0, 70, 40}, {band, 260, 70, 300}, {70, 100, 120, 140}};
    for (int mode : {kColorModeVerticalGradient, kColorModeHorizontalGradient}) {
        const MenuFill fill{mode, 0, 0x10F0E0, 0xE02010, 200};
        TestSurface whole(w, h);
        FillMenuSurface(whole.View(), fill, {{0, 0, w, h}, w, h, band});
        for (const PixelRect &r : items) {
            TestSurface item(r.right - r.left, r.bottom - r.top);
            FillMenuSurface(item.View(), fill, {r, w, h, band});
            for (int y = 0; y < item.height; ++y)
                for (int x = 0; x < item.width; ++x)
                    ASSERT_EQ(item.At(x, y), whole.At(r.left + x, r.top + y))
                        << "mode " << mode << ", item at " << r.left << "," << r.top << ", pixel " << x << "," << y;
        }
    }
}

TEST(RenderGradientFill, VerticalAtHalfAlphaIsDarkerThanHorizontal)
{
    MenuFill vertical{kColorModeVerticalGradient, 0, 0x808080, kWhite, 128};
    MenuFill horizontal = vertical;
    horizontal.mode = kColorModeHorizontalGradient;
    TestSurface v(10, 10), h(10, 10);
    FillMenuSurface(v.View(), vertical, WholeMenu(10, 10));
    FillMenuSurface(h.View(), horizontal, WholeMenu(10, 10));
    for (int i = 0; i < 10; ++i) {
        uint32_t vp = v.At(i, i), hp = h.At(i, i);
        EXPECT_EQ(vp >> 24, 128u);
        EXPECT_EQ(hp >> 24, 128u);
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_LT((vp >> shift) & 0xFF, (hp >> shift) & 0xFF) << "pixel " << i;
    }
}

TEST(RenderGradientFill, ZeroSpansDrawNothing)
{
    struct Case {
        const char *what;
        MenuFill fill;
        ItemPlacement place;
    } cases[] = {
        {"vertical, zero height", {kColorModeVerticalGradient, 0, 0, kWhite, 255}, {{0, 0, 4, 4}, 4, 0, 0}},
        {"vertical, negative height", {kColorModeVerticalGradient, 0, 0, kWhite, 255}, {{0, 0, 4, 4}, 4, -3, 0}},
        {"horizontal, band fills the menu", {kColorModeHorizontalGradient, 0, 0, kWhite, 255}, {{0, 0, 4, 4}, 20, 4, 20}},
        {"horizontal, zero width", {kColorModeHorizontalGradient, 0, 0, kWhite, 255}, {{0, 0, 4, 4}, 0, 4, 0}},
    };
    for (const Case &c : cases) {
        TestSurface s(4, 4);
        FillMenuSurface(s.View(), c.fill, c.place);
        EXPECT_EQ(s.pixels, std::vector<uint32_t>(16, 0)) << c.what;
    }
}

TEST(RenderFill, PictureModePremultipliesWhatWasCopiedAndUnknownModesDrawNothing)
{
    TestSurface s(2, 1, 0x00FFFFFF);
    s.At(1, 0) = 0x00804020;
    EXPECT_TRUE(FillMenuSurface(s.View(), {kColorModePicture, 0, 0, 0, 128}, WholeMenu(2, 1)));
    PremultiplySurface(s.View(), 128);
    EXPECT_EQ(s.At(0, 0), 0x807F7F7Fu);
    EXPECT_EQ(s.At(1, 0), 0x80402010u);

    TestSurface other(2, 2);
    EXPECT_FALSE(FillMenuSurface(other.View(), {7, kWhite, kWhite, kWhite, 255}, WholeMenu(2, 2)));
    EXPECT_EQ(other.pixels, std::vector<uint32_t>(4, 0));
}

TEST(RenderSealTextAlpha, OnlyColourWithoutAlphaBecomesOpaque)
{
    TestSurface s(4, 1);
    s.pixels = {0x00000000, 0x00102030, 0x40102030, 0x80000000};
    SealTextAlpha(s.View());
    EXPECT_EQ(s.pixels, (std::vector<uint32_t>{0x00000000, 0xFF102030, 0x40102030, 0x80000000}));
}

TEST(RenderBlackBorder, OutlinesOnlyTheEdgesOnTheMenuEdges)
{
    // Item rectangles in an 8 x 8 menu; each surface is the item's size.
    struct Case {
        PixelRect rect;
        std::vector<std::string> expected;
    } cases[] = {
        {{0, 0, 8, 3}, {"BBBBBBBB", "B......B", "B......B"}},  // first item, full width
        {{0, 5, 8, 8}, {"B......B", "B......B", "BBBBBBBB"}},  // last item, full width
        {{0, 2, 4, 5}, {"B...", "B...", "B..."}},              // middle of the first column
        {{4, 5, 8, 8}, {"...B", "...B", "BBBB"}},              // bottom of the second column
        {{2, 2, 6, 5}, {"....", "....", "...."}},              // inside
    };
    for (const Case &c : cases) {
        TestSurface s(c.rect.right - c.rect.left, c.rect.bottom - c.rect.top);
        BlackBorder(s.View(), c.rect, 8, 8);
        EXPECT_EQ(Picture(s), c.expected) << c.rect.left << "," << c.rect.top;
    }
}

TEST(RenderBandFill, StraightFormsInMenuCoordinates)
{
    TestSurface plain(2, 2);
    FillBandSurface(plain.View(), {kColorModePlain, 0x102030, 0, 0, 100}, {0, 0, 2, 2});
    EXPECT_EQ(plain.At(1, 1), 0x64302010u);  // unscaled beside alpha 100

    TestSurface none(2, 2);
    FillBandSurface(none.View(), {kColorModePlain, 0, kWhite, kWhite, 255}, {0, 0, 2, 2});
    EXPECT_EQ(none.pixels, std::vector<uint32_t>(4, 0));

    // Vertical: span is the band's bottom (104), t the menu row; with a 4-pixel frame the
    // first band row has t = 4.  Blue 0 -> 208: step 2.
    TestSurface vertical(1, 100);
    FillBandSurface(vertical.View(), {kColorModeVerticalGradient, 0, 0, 0xD00000, 255}, {4, 4, 5, 104});
    EXPECT_EQ(vertical.At(0, 0), 0xFF000008u);
    EXPECT_EQ(vertical.At(0, 99), 0xFF0000CEu);

    // Horizontal: span is the band's right, t the menu column.
    TestSurface horizontal(10, 1);
    FillBandSurface(horizontal.View(), {kColorModeHorizontalGradient, 0, 0, 0x000014, 50}, {10, 0, 20, 1});
    EXPECT_EQ(horizontal.At(0, 0), 0x320A0000u);  // t = 10 of 20: red 10
    EXPECT_EQ(horizontal.At(9, 0), 0x32130000u);

    TestSurface zero(2, 2);
    FillBandSurface(zero.View(), {kColorModeVerticalGradient, 0, 0, kWhite, 255}, {0, 0, 2, 0});
    FillBandSurface(zero.View(), {kColorModeHorizontalGradient, 0, 0, kWhite, 255}, {0, 0, 0, 2});
    FillBandSurface(zero.View(), {5, kWhite, kWhite, kWhite, 255}, {0, 0, 2, 2});
    EXPECT_EQ(zero.pixels, std::vector<uint32_t>(4, 0));
}

TEST(RenderBandFill, BlackBorderNeverOnTheRightColumn)
{
    TestSurface s(4, 3);
    BandBlackBorder(s.View(), {0, 0, 4, 3}, 3);
    EXPECT_EQ(Picture(s), (std::vector<std::string>{"BBBB", "B...", "BBBB"}));
    TestSurface framed(4, 3);
    BandBlackBorder(framed.View(), {4, 4, 8, 7}, 11);
    EXPECT_EQ(Picture(framed), (std::vector<std::string>{"....", "....", "...."}));
}

TEST(RenderEtch, DarkensThenLightensWithClampingAndKeepsAlpha)
{
    constexpr uint32_t kBase = 0x8060C820;
    constexpr uint32_t kDark = 0x80107800;   // 0x20 - 80 clamps at 0
    constexpr uint32_t kLight = 0x80B0FF70;  // 0xC8 + 80 clamps at 255

    TestSurface v(4, 2, kBase);
    EtchVertical(v.View(), 1);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(v.At(0, y), kBase);
        EXPECT_EQ(v.At(1, y), kDark);
        EXPECT_EQ(v.At(2, y), kLight);
        EXPECT_EQ(v.At(3, y), kBase);
    }

    TestSurface h(6, 4, kBase);
    EtchHorizontal(h.View(), 1, 1, 4);
    EXPECT_EQ(Picture(h, kDark, kLight),
              (std::vector<std::string>{"??????", "?EEEE?", "?FFFF?", "??????"}));

    // Lines at or beyond the edges are clipped.
    TestSurface edge(3, 3, kBase);
    EtchVertical(edge.View(), 2);
    EtchHorizontal(edge.View(), -1, -5, 10);
    EXPECT_EQ(Picture(edge, kDark, kLight), (std::vector<std::string>{"FF?", "??E", "??E"}));
}

TEST(RenderArrow, ColumnsFollowTheWidthOfTheLetterO)
{
    // "o" 10 wide: k = 6, 13 rows high, 8 columns from x = 40 - 6 - 6 = 28 to the tip at 35.
    TestSurface s(40, 20);
    DrawSubLevelArrow(s.View(), 10, kCursorDark);
    std::vector<std::string> rows = Picture(s);
    std::vector<std::string> expected = {
        "........", "........", "........",
        "WW......", "WBW.....", "WBBW....", "WBBBW...", "WBBBBW..", "WBBBBBW.",
        "WBBBBBBW",
        "WBBBBBW.", "WBBBBW..", "WBBBW...", "WBBW....", "WBW.....", "WW......",
        "........", "........", "........", "........",
    };
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(rows[y].substr(28, 8), expected[y]) << "row " << y;
        EXPECT_EQ(rows[y].substr(0, 28), std::string(28, '.')) << "row " << y;
        EXPECT_EQ(rows[y].substr(36), std::string(4, '.')) << "row " << y;
    }

    // Cursor style 1 swaps fill and outline.
    TestSurface white(40, 20);
    DrawSubLevelArrow(white.View(), 10, kCursorLight);
    EXPECT_EQ(Picture(white)[9].substr(28, 8), "BWWWWWWB");
}

TEST(RenderArrow, SmallLettersAndTinySurfacesStayInside)
{
    struct Case {
        int oWidth, width, height;
        int tipRow;
    } cases[] = {
        {5, 20, 11, 5},  // k = 3
        {4, 20, 10, 4},  // k = 2: (10 - 5) / 2 = 2, tip at 2 + 2
        {1, 20, 10, 4},  // k = 0: two single pixels
    };
    for (const Case &c : cases) {
        TestSurface s(c.width, c.height);
        DrawSubLevelArrow(s.View(), c.oWidth, kCursorDark);
        EXPECT_NE(s.At(c.width - 5, c.tipRow), 0u) << "o " << c.oWidth;
        EXPECT_EQ(s.At(c.width - 4, c.tipRow), 0u) << "o " << c.oWidth;
    }
    TestSurface tiny(3, 2);  // the arrow is larger than the item: clipped, not overrun
    DrawSubLevelArrow(tiny.View(), 30, kCursorDark);
}

TEST(RenderDropMarker, LineWithBarbsAtBothEnds)
{
    TestSurface below(10, 6);
    DrawDropMarker(below.View(), true, kCursorDark);
    EXPECT_EQ(Picture(below), (std::vector<std::string>{
                                  "..........",
                                  "..........",
                                  "B........B",
                                  "BB......BB",
                                  "BBB....BBB",
                                  "BBBBBBBBBB",
                              }));
    TestSurface above(10, 6);
    DrawDropMarker(above.View(), false, kCursorLight);
    EXPECT_EQ(Picture(above), (std::vector<std::string>{
                                  "WWWWWWWWWW",
                                  "WWW....WWW",
                                  "WW......WW",
                                  "W........W",
                                  "..........",
                                  "..........",
                              }));
    TestSurface low(4, 2);
    DrawDropMarker(low.View(), true, kCursorDark);
    EXPECT_EQ(Picture(low), (std::vector<std::string>{"BBBB", "BBBB"}));
}

TEST(RenderFrameStrip, EdgesOnOuterAndInnerBoundaries)
{
    constexpr uint32_t kFill = 0xFF3366CC, kEdge = 0xFF1933E6;
    // A 4-pixel frame: the inner line of a side strip runs from row f - 1 to row h - f.
    struct Case {
        int side, width, height;
        std::vector<std::string> expected;
    } cases[] = {
        {0, 4, 10, {"EEEE", "EFFF", "EFFF", "EFFE", "EFFE", "EFFE", "EFFE", "EFFF", "EFFF",
                    "EEEE"}},
        {1, 4, 10, {"EEEE", "FFFE", "FFFE", "EFFE", "EFFE", "EFFE", "EFFE", "FFFE", "FFFE",
                    "EEEE"}},
        {2, 6, 4, {"EEEEEE", "FFFFFF", "FFFFFF", "EEEEEE"}},
        {3, 6, 4, {"EEEEEE", "FFFFFF", "FFFFFF", "EEEEEE"}},
    };
    for (const Case &c : cases) {
        TestSurface s(c.width, c.height);
        FillFrameStrip(s.View(), c.side, kFill, kEdge, 4);
        EXPECT_EQ(Picture(s, kEdge, kFill), c.expected) << "side " << c.side;
    }
}

TEST(RenderFrameStrip, ColoursFromColorization)
{
    FrameColors focused = FrameColorsFrom(0x806080C1, true, 0x00F0F0F0);
    EXPECT_EQ(focused.fill, 0xFF6080C1u);
    EXPECT_EQ(focused.edge, 0xFF304060u);
    // Without the focus the fill is the menu colour as it stands: alpha 0, see-through.
    FrameColors unfocused = FrameColorsFrom(0x806080C1, false, 0x00F0F0F0);
    EXPECT_EQ(unfocused.fill, 0x00F0F0F0u);
    EXPECT_EQ(unfocused.edge, 0xFF304060u);
}

TEST(RenderPixels, EmptySurfacesAreLeftAlone)
{
    PixelSurface none{nullptr, 0, 0};
    PixelSurface flat{nullptr, 5, 0};
    for (PixelSurface s : {none, flat}) {
        EXPECT_FALSE(FillMenuSurface(s, {kColorModePlain, kWhite, 0, 0, 255}, WholeMenu(5, 5)));
        FillBandSurface(s, {kColorModeVerticalGradient, 0, 0, kWhite, 255}, {0, 0, 5, 5});
        PremultiplySurface(s, 10);
        ForceOpaque(s);
        SealTextAlpha(s);
        BlackBorder(s, {0, 0, 5, 5}, 5, 5);
        BandBlackBorder(s, {0, 0, 5, 5}, 5);
        EtchVertical(s, 0);
        EtchHorizontal(s, 0, 0, 4);
        DrawSubLevelArrow(s, 8, kCursorDark);
        DrawDropMarker(s, true, kCursorDark);
        FillFrameStrip(s, 0, 1, 2, 4);
    }
}

TEST(RenderPaintRules, BandAndFiller)
{
    PixelRect band = BandRect(4, 30, 200);
    EXPECT_EQ(band.left, 4);
    EXPECT_EQ(band.right, 34);
    EXPECT_EQ(band.bottom, 196);
    EXPECT_EQ(BandTextOffset(30, 17), 6);
    EXPECT_EQ(BandTextOffset(10, 25), -7);  // truncates toward zero

    PixelRect filler = FillerRect({34, 10, 200, 170}, 204, 200, 4, 4);
    EXPECT_EQ(filler.left, 34);
    EXPECT_EQ(filler.top, 170);
    EXPECT_EQ(filler.right, 200);
    EXPECT_EQ(filler.bottom, 196);
    EXPECT_TRUE(IsEmptyRect(FillerRect({0, 0, 50, 80}, 50, 80, 0, 0)));
    // A second column that ends above the bottom.
    PixelRect second = FillerRect({25, 0, 50, 60}, 50, 80, 0, 0);
    EXPECT_EQ(second.left, 25);
    EXPECT_EQ(second.top, 60);
    EXPECT_EQ(second.right, 50);
    EXPECT_EQ(second.bottom, 80);
}
