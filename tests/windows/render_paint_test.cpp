// Menu painting under Wine: golden images of the options preview's sample level in the
// classic and the themed form, and pixel checks of what GDI draws for us (classic lines,
// blitters, the seasonal decoration, the glow over real text).
#include <windows.h>
#include <uxtheme.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/win_guards.h"
#include "render/drawing.h"
#include "render/paint.h"
#include "settings/settings.h"
#include "golden_pictures.h"

namespace fs = std::filesystem;
using golden::ExpectMatchesGolden;
using golden::Image;

namespace {

// ---- Fixtures ----

// A small opaque icon: a coloured square with a dark rim.
HICON MakeIcon(int size, COLORREF color)
{
    uint32_t *pixels = nullptr;
    HBITMAP colorBitmap = CreateTopDownDib(nullptr, size, size, &pixels);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            bool rim = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            pixels[y * size + x] = rim ? 0xFF202020 : StraightPixel(color, 0xFF);
        }
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO icon = {TRUE, 0, 0, mask, colorBitmap};
    HICON made = CreateIconIndirect(&icon);
    DeleteObject(mask);
    DeleteObject(colorBitmap);
    return made;
}


TItemView MakeItem(const wchar_t *caption, HICON icon, RECT rect)
{
    return {.rect = rect, .icon = icon, .caption = caption, .captionLength = lstrlenW(caption)};
}

// The sample levels of the options preview: ten rows on the top level, three below.
struct SampleLevels {
    TItemView top[10] = {};
    TItemView sub[3] = {};
    HICON bigIcon = nullptr, smallIcon = nullptr;
    int topWidth = 0, topHeight = 0, subWidth = 0, subHeight = 0;

    SampleLevels()
    {
        bigIcon = MakeIcon(32, RGB(230, 160, 40));
        smallIcon = MakeIcon(16, RGB(60, 140, 220));
        const wchar_t *captions[10] = {L"Item 8", L"Item 7", L"Item 6", L"Item 6", L"Item 6",
                                       L"Item 5", L"Item 4", L"Item 3", L"Log off Sample...", L"Item 1"};
        int band = Settings.RibbonWidth, width = 190, y = 0;
        for (int i = 0; i < 10; ++i) {
            bool separator = i == 7;
            int height = separator ? 3 : 40;
            top[i] = MakeItem(captions[i], separator ? nullptr : bigIcon, {band, y, band + width, y + height});
            top[i].isSeparator = separator;
            y += height;
        }
        top[0].hasSubLevel = true;
        top[1].isNew = true;
        top[5].dropAfter = true;
        top[6].hasSubLevel = true;
        top[6].dropBefore = true;
        top[8].hot = true;
        topWidth = band + width;
        topHeight = y;

        const wchar_t *subCaptions[3] = {L"Subitem 1", L"Subitem 2", L"Subitem 3"};
        for (int i = 0; i < 3; ++i)
            sub[i] = MakeItem(subCaptions[i], smallIcon, {0, i * 24, 120, (i + 1) * 24});
        subWidth = 120;
        subHeight = 72;
    }
    // Moves the last three rows into a second column, so the first column reaches the
    // bottom and the filler runs under the second.
    void SplitIntoTwoColumns()
    {
        int left = top[6].rect.right, width = top[6].rect.right - top[6].rect.left, y = 0;
        for (int i = 7; i < 10; ++i) {
            int height = top[i].rect.bottom - top[i].rect.top;
            top[i].rect = {left, y, left + width, y + height};
            y += height;
        }
        topWidth = left + width;
        topHeight = top[6].rect.bottom;
    }

    ~SampleLevels()
    {
        DestroyIcon(smallIcon);
        DestroyIcon(bigIcon);
    }

    // Both levels side by side as the preview paints them.
    Image Paint()
    {
        HDC screen = GetDC(nullptr);
        Image image;
        {
            TSurface surface(screen, topWidth + subWidth, topHeight);
            RECT all = {0, 0, surface.Width(), surface.Height()};
            if (Settings.ClassicAppearance)
                FillRect(surface.Dc(), &all, GetSysColorBrush(COLOR_WINDOW));
            RECT whole = {0, 0, topWidth, topHeight};
            PaintLevel({nullptr, topWidth, topHeight, true, false, nullptr, top}, surface.Dc(), whole);
            POINT old;
            SetViewportOrgEx(surface.Dc(), topWidth, 0, &old);
            RECT subWhole = {0, 0, subWidth, subHeight};
            PaintLevel({nullptr, subWidth, subHeight, false, false, nullptr, sub}, surface.Dc(), subWhole);
            SetViewportOrgEx(surface.Dc(), old.x, old.y, nullptr);
            GdiFlush();
            image.width = surface.Width();
            image.height = surface.Height();
            image.pixels.assign(surface.Pixels().bits, surface.Pixels().bits + size_t(image.width) * image.height);
        }
        ReleaseDC(nullptr, screen);
        return image;
    }
};

void SetFixedSettings(bool classic)
{
    golden::SetGoldenLook(classic, !classic, L"Orvella Sample");
}

class RenderPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings.SelectionBitmap = golden::MakePicture(8, 8, RGB(60, 120, 230), 90, 160);
        Settings.HilightBitmap = golden::MakePicture(8, 8, RGB(250, 200, 60), 120, 120);
    }
    void TearDown() override
    {
        DeleteObject(Settings.SelectionBitmap);
        DeleteObject(Settings.HilightBitmap);
        Settings.SelectionBitmap = Settings.HilightBitmap = nullptr;
    }
};

}  // namespace

TEST_F(RenderPaint, ClassicSampleLevelMatchesReference)
{
    SetFixedSettings(true);
    SampleLevels levels;
    ExpectMatchesGolden(levels.Paint(), L"render", L"sample_classic");
}

TEST_F(RenderPaint, OutlinedTwoColumnLevelWithPictureBandMatchesReference)
{
    TThemeData theme(OpenThemeData(nullptr, L"MENU"));
    ASSERT_NE(theme.Get(), nullptr) << "the test prefix has a visual style";
    SetFixedSettings(false);
    Settings.MenuStyle = kMenuStyleOutlined;
    Settings.DrawColorMode = kColorModeHorizontalGradient;
    Settings.ShadowInsteadOfGlow = true;
    Settings.DrawGlowSize = 3;
    Settings.DrawGlowDouble = true;
    Settings.GlowColor = RGB(0, 0, 0);
    Settings.DrawFontColor = RGB(20, 20, 80);
    Settings.DrawCursorStyle = kCursorLight;
    Settings.RibbonStyle = kRibbonPictureBand;
    Settings.RibbonBitmapExpand = false;
    Settings.RibbonBitmapBackground = RGB(30, 90, 60);
    Settings.RibbonBitmap = golden::MakePicture(30, 60, RGB(120, 220, 160), 255, 255);
    SampleLevels levels;
    levels.SplitIntoTwoColumns();
    ExpectMatchesGolden(levels.Paint(), L"render", L"sample_outlined");
    DeleteObject(Settings.RibbonBitmap);
    Settings.RibbonBitmap = nullptr;
}

TEST_F(RenderPaint, ThemedSampleLevelMatchesReference)
{
    TThemeData theme(OpenThemeData(nullptr, L"MENU"));
    ASSERT_NE(theme.Get(), nullptr) << "the test prefix has a visual style";
    SetFixedSettings(false);
    SampleLevels levels;
    ExpectMatchesGolden(levels.Paint(), L"render", L"sample_themed");
}

// ---- Pixel checks of single elements ----

namespace {

constexpr COLORREF kMarker = RGB(1, 2, 3);

// A surface prefilled with a marker colour, read back as colour references.
struct Canvas {
    HDC screen = GetDC(nullptr);
    TSurface surface;
    Canvas(int w, int h, uint32_t fill = StraightPixel(kMarker, 0)) : surface(screen, w, h)
    {
        std::fill(surface.Pixels().bits, surface.Pixels().bits + size_t(w) * h, fill);
    }
    ~Canvas() { ReleaseDC(nullptr, screen); }
    uint32_t Pixel(int x, int y)
    {
        GdiFlush();
        return surface.Pixels().bits[size_t(y) * surface.Width() + x];
    }
    COLORREF Color(int x, int y)
    {
        uint32_t p = Pixel(x, y);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

// Distinct system colours for the classic checks, put back afterwards.
class ClassicColors {
public:
    static constexpr int kIndexes[] = {COLOR_SCROLLBAR, COLOR_3DHILIGHT, COLOR_3DSHADOW, COLOR_3DDKSHADOW,
                                       COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_MENUTEXT};
    static constexpr COLORREF kColors[] = {RGB(200, 0, 0),   RGB(0, 200, 0),   RGB(0, 0, 200), RGB(90, 90, 0),
                                           RGB(0, 100, 100), RGB(250, 250, 5), RGB(5, 5, 5)};
    ClassicColors()
    {
        for (int i = 0; i < 7; ++i)
            saved_[i] = GetSysColor(kIndexes[i]);
        SetSysColors(7, kIndexes, kColors);
    }
    ~ClassicColors() { SetSysColors(7, kIndexes, saved_); }

private:
    COLORREF saved_[7];
};

ItemPaintInput ClassicItem(HDC dc, RECT rect, int menuWidth, int menuHeight)
{
    return {.dc = dc, .font = Settings.MenuFont, .iconSize = 16, .menuWidth = menuWidth,
            .menuHeight = menuHeight, .item = {.rect = rect, .caption = L""}};
}

}  // namespace

TEST(RenderClassicItem, FrameLinesStopBeforeTheirEndPoints)
{
    SetFixedSettings(true);
    ClassicColors colors;
    const COLORREF face = RGB(200, 0, 0), light = RGB(0, 200, 0), shadow = RGB(0, 0, 200),
                   dark = RGB(90, 90, 0);

    // The first item of a 40 x 60 menu: lines along the top, left and right edges.
    Canvas top(40, 60);
    PaintItem(ClassicItem(top.surface.Dc(), {0, 0, 40, 20}, 40, 60));
    EXPECT_EQ(top.Color(0, 19), face);
    EXPECT_EQ(top.Color(0, 20), kMarker) << "the line (0, 0)-(0, 20) stops before row 20";
    EXPECT_EQ(top.Color(20, 0), face);
    EXPECT_EQ(top.Color(1, 10), light);
    EXPECT_EQ(top.Color(20, 1), light);
    EXPECT_EQ(top.Color(39, 10), dark);
    EXPECT_EQ(top.Color(38, 10), shadow);
    EXPECT_EQ(top.Color(20, 19), face) << "the body, no bottom lines above the menu's bottom";

    // The last item: the bottom lines run right to left and leave out column L.
    Canvas bottom(40, 60);
    PaintItem(ClassicItem(bottom.surface.Dc(), {0, 40, 40, 60}, 40, 60));
    EXPECT_EQ(bottom.Color(1, 59), dark);
    EXPECT_EQ(bottom.Color(0, 59), face);
    EXPECT_EQ(bottom.Color(20, 58), shadow);
    EXPECT_EQ(bottom.Color(38, 58), shadow);
    EXPECT_EQ(bottom.Color(39, 58), dark);
    EXPECT_EQ(bottom.Color(20, 39), kMarker);
}

TEST(RenderClassicItem, DividerSeparatorArrowMarkersAndNewTint)
{
    SetFixedSettings(true);
    ClassicColors colors;
    const COLORREF face = RGB(200, 0, 0), light = RGB(0, 200, 0), shadow = RGB(0, 0, 200);
    const COLORREF highlight = RGB(0, 100, 100);
    // An item of a second column, away from every menu edge.
    Canvas canvas(100, 100);
    ItemPaintInput item = ClassicItem(canvas.surface.Dc(), {50, 40, 90, 60}, 100, 100);
    item.item.isSeparator = true;
    item.item.isNew = true;
    PaintItem(item);
    EXPECT_EQ(canvas.Color(50, 45), shadow);
    EXPECT_EQ(canvas.Color(51, 45), light);
    EXPECT_EQ(canvas.Color(54, 50), shadow) << "separator from L + 4";
    EXPECT_EQ(canvas.Color(54, 51), light);
    EXPECT_EQ(canvas.Color(85, 50), shadow);
    EXPECT_NE(canvas.Color(86, 50), shadow) << "to R - 4, end excluded";
    COLORREF tint = RGB((3 * 200 + 0) / 4, (0 + 100) / 4, (0 + 100) / 4);
    EXPECT_EQ(canvas.Color(60, 42), tint);
    EXPECT_EQ(canvas.Color(89, 42), kMarker) << "the null-pen rectangle leaves the last column";
    EXPECT_EQ(canvas.Color(60, 59), kMarker) << "and the last row";

    Canvas arrow(100, 100);
    ItemPaintInput withArrow = ClassicItem(arrow.surface.Dc(), {50, 40, 90, 60}, 100, 100);
    withArrow.item.hasSubLevel = true;
    PaintItem(withArrow);
    EXPECT_EQ(arrow.Color(82, 47), RGB(0, 0, 0)) << "arrow near its base at R - 8";
    EXPECT_EQ(arrow.Color(85, 50), RGB(0, 0, 0));
    EXPECT_EQ(arrow.Color(87, 50), face) << "nothing right of the tip at R - 4";

    // The hot look: highlight fill, and the arrow white whatever the cursor style.
    Canvas hot(100, 100);
    ItemPaintInput hotItem = ClassicItem(hot.surface.Dc(), {50, 40, 90, 60}, 100, 100);
    hotItem.item.hot = true;
    hotItem.item.hasSubLevel = true;
    PaintItem(hotItem);
    EXPECT_EQ(hot.Color(60, 59), highlight);
    EXPECT_EQ(hot.Color(82, 50), RGB(255, 255, 255));
    // Dragged over: painted as a normal item, only the marker shows.
    Canvas dragged(100, 100);
    hotItem.dc = dragged.surface.Dc();
    hotItem.dragOver = true;
    hotItem.item.dropAfter = true;
    PaintItem(hotItem);
    EXPECT_EQ(dragged.Color(60, 45), face);
    EXPECT_EQ(dragged.Color(82, 50), RGB(0, 0, 0));
    EXPECT_EQ(dragged.Color(70, 59), RGB(0, 0, 0)) << "the drop marker along the bottom";
    EXPECT_EQ(dragged.Color(70, 57), face);
}

TEST(RenderSeasonDecoration, OnlyInsideTheDateWindowAndWithoutTheFlag)
{
    SetFixedSettings(true);
    struct Case {
        WORD month, day;
        int flags;
        bool drawn;
    } cases[] = {{12, 20, 0, true}, {12, 14, 0, false}, {1, 7, 0, false}, {1, 6, 0, true}, {12, 20, 1, false}};
    for (const Case &c : cases) {
        Settings.Flags = c.flags;
        Canvas band(30, 300, 0xFF000000);
        SYSTEMTIME date = {2026, c.month, 0, c.day, 12, 0, 0, 0};
        SeasonRandom random;
        DrawSeasonDecorationOn(band.surface.Dc(), {0, 0, 30, 300}, date, random);
        int lit = 0, lowerThird = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 30; ++x)
                if (band.Pixel(x, y) != 0xFF000000) {
                    ++lit;
                    lowerThird += y >= 200;
                }
        EXPECT_EQ(lit > 0, c.drawn) << c.day << "." << c.month << " flags " << c.flags;
        if (c.drawn) {
            EXPECT_NE(band.Pixel(10, 10), 0xFF000000u) << "the star in the top-left corner";
            EXPECT_EQ(lowerThird, 0) << "the flakes stay in the upper two thirds";
        }
    }
}

TEST(RenderPictures, BlittersCopyStretchAndBlend)
{
    HBITMAP picture = golden::MakePicture(4, 4, RGB(0, 0, 255), 255, 255);
    BITMAP info;
    GetObjectW(picture, sizeof(info), &info);
    static_cast<uint32_t *>(info.bmBits)[1 * 4 + 2] = 0xFF00FF00;  // one green pixel at (2, 1)

    Canvas whole(6, 6, 0);
    DrawPicture(whole.surface.Dc(), picture);
    EXPECT_EQ(whole.Pixel(2, 1) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(whole.Pixel(3, 3) & 0xFFFFFF, 0x0000FEu);
    EXPECT_EQ(whole.Pixel(4, 4), 0u);

    Canvas block(2, 2, 0);
    CopyPictureAt(block.surface.Dc(), 2, 2, 2, 1, picture);
    EXPECT_EQ(block.Pixel(0, 0) & 0xFFFFFF, 0x00FF00u);

    Canvas stretched(8, 8, 0);
    StretchPicture(stretched.surface.Dc(), 0, 0, 8, 8, picture);
    EXPECT_EQ(stretched.Pixel(4, 2) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(stretched.Pixel(7, 7) & 0xFFFFFF, 0x0000FEu);

    Canvas blended(4, 4, 0xFF800000);
    BlendPicture(blended.surface.Dc(), 0, 0, 4, 4, picture);
    EXPECT_EQ(blended.Pixel(0, 0) & 0xFFFFFF, 0x0000FEu) << "opaque source covers";

    Canvas untouched(4, 4, 0x12345678);
    DrawPicture(untouched.surface.Dc(), nullptr);
    StretchPicture(untouched.surface.Dc(), 0, 0, 4, 4, nullptr);
    CopyPictureAt(untouched.surface.Dc(), 4, 4, 0, 0, nullptr);
    BlendPicture(untouched.surface.Dc(), 0, 0, 4, 4, nullptr);
    EXPECT_EQ(untouched.Pixel(2, 2), 0x12345678u);
    DeleteObject(picture);
}

TEST(RenderLevel, EmptySizesDrawNothing)
{
    SetFixedSettings(false);
    Settings.RibbonWidth = 0;
    Settings.MenuStyle = kMenuStyleFramed;
    Canvas canvas(50, 50, 0x12345678);
    HDC dc = canvas.surface.Dc();
    TItemView item[1] = {{.rect = {0, 0, 50, 0}, .caption = L""}};
    PaintLevel({nullptr, 0, 50, true, false, nullptr, item}, dc, {0, 0, 50, 50});
    PaintLevel({nullptr, 50, 0, true, false, nullptr, item}, dc, {0, 0, 50, 50});
    ItemPaintInput empty = ClassicItem(dc, {10, 10, 10, 30}, 50, 50);
    PaintItem(empty);
    TThemeData menuTheme(OpenThemeData(nullptr, L"MENU"));
    HTHEME theme = menuTheme.Get();
    ASSERT_NE(theme, nullptr) << "the test prefix has a visual style";
    empty.theme = theme;
    empty.item.rect = {10, 30, 40, 20};
    PaintItem(empty);
    PaintBand(dc, theme, {0, 0, 0, 50});
    for (int y = 0; y < 50; y += 7)
        for (int x = 0; x < 50; x += 7)
            EXPECT_EQ(canvas.Pixel(x, y), 0x12345678u) << x << "," << y;
}

TEST(RenderLevel, FrameInColorizationColourSeeThroughWithoutFocus)
{
    SetFixedSettings(false);
    Settings.MenuStyle = kMenuStyleFramed;
    Settings.RibbonStyle = kRibbonNone;
    HKEY key = nullptr;
    DWORD colorization = 0x80336699;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\DWM", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"ColorizationColor", 0, REG_DWORD, reinterpret_cast<BYTE *>(&colorization),
                   sizeof(colorization));
    RegCloseKey(key);

    int f = GetSystemMetrics(SM_CXFRAME);
    ASSERT_GE(f, 3);
    Canvas canvas(100, 80, 0x12345678);
    PaintLevel({nullptr, 100, 80, true, false, nullptr, {}}, canvas.surface.Dc(), {0, 0, 100, 80});
    const uint32_t edge = 0xFF19334C;
    EXPECT_EQ(canvas.Pixel(0, 40), edge);
    EXPECT_EQ(canvas.Pixel(50, 0), edge);
    EXPECT_EQ(canvas.Pixel(99, 79), edge);
    EXPECT_EQ(canvas.Pixel(f - 1, 40), edge) << "inner line of the left strip";
    EXPECT_EQ(canvas.Pixel(1, 40), StraightPixel(GetSysColor(COLOR_MENU), 0)) << "no focus: see-through";
    EXPECT_EQ(canvas.Pixel(50, 40), 0x12345678u) << "no items, nothing inside";
}

TEST(RenderGlowText, HaloSurroundsRealThemedText)
{
    TThemeData menuTheme(OpenThemeData(nullptr, L"MENU"));
    HTHEME theme = menuTheme.Get();
    ASSERT_NE(theme, nullptr) << "the test prefix has a visual style";
    SetFixedSettings(false);
    for (int radius : {0, 5}) {
        Canvas canvas(120, 40, 0);
        ApplyGlow(canvas.surface, theme, Settings.MenuFont, L"Glow", 4, {10, 0, 110, 40},
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, {radius, false, RGB(255, 255, 255), false},
                  RGB(0, 0, 0));
        int haloPixels = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 120; ++x)
                haloPixels += (canvas.Pixel(x, y) >> 24) != 0;
        if (radius == 0)
            EXPECT_EQ(haloPixels, 0) << "no halo, and this text call leaves alpha 0";
        else
            EXPECT_GT(haloPixels, 100);
        EXPECT_EQ(canvas.Pixel(119, 0), 0u) << "far from the text";
    }
}

TEST(RenderThemedItem, HotItemUnderADragLooksNormal)
{
    TThemeData menuTheme(OpenThemeData(nullptr, L"MENU"));
    HTHEME theme = menuTheme.Get();
    ASSERT_NE(theme, nullptr) << "the test prefix has a visual style";
    SetFixedSettings(false);
    Settings.SelectionBitmap = golden::MakePicture(8, 8, RGB(60, 120, 230), 200, 200);
    auto paint = [&](bool hot, bool dragOver) {
        Canvas canvas(120, 30, 0);
        ItemPaintInput item = ClassicItem(canvas.surface.Dc(), {0, 0, 120, 30}, 120, 30);
        item.theme = theme;
        item.item.caption = L"Item";
        item.item.captionLength = 4;
        item.item.hot = hot;
        item.dragOver = dragOver;
        PaintItem(item);
        GdiFlush();
        return std::vector<uint32_t>(canvas.surface.Pixels().bits, canvas.surface.Pixels().bits + 120 * 30);
    };
    std::vector<uint32_t> normal = paint(false, false);
    EXPECT_EQ(paint(true, true), normal);
    EXPECT_NE(paint(true, false), normal) << "the selection picture marks the hot item";
    DeleteObject(Settings.SelectionBitmap);
    Settings.SelectionBitmap = nullptr;
}

TEST(RenderThemedItem, BackgroundPictureFromTheItemOrTheScreenPosition)
{
    TThemeData menuTheme(OpenThemeData(nullptr, L"MENU"));
    HTHEME theme = menuTheme.Get();
    ASSERT_NE(theme, nullptr) << "the test prefix has a visual style";
    SetFixedSettings(false);
    Settings.DrawColorMode = kColorModePicture;
    Settings.DrawColorAlpha = 128;
    Settings.MenuStyle = kMenuStylePlain;
    // A picture whose every pixel tells its position: red = x, green = y.
    uint32_t *bits = nullptr;
    Settings.BackMenuBitmap = CreateTopDownDib(nullptr, 200, 200, &bits);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            bits[y * 200 + x] = 0xFF000000u | uint32_t(x) << 16 | uint32_t(y) << 8;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 30, 40, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    ASSERT_EQ(origin.x, 30);

    for (bool followScreen : {false, true}) {
        Settings.BackMenuImageMode = followScreen;
        Canvas canvas(100, 100, 0);
        ItemPaintInput item = ClassicItem(canvas.surface.Dc(), {10, 20, 60, 50}, 100, 100);
        item.theme = theme;
        item.window = window;
        PaintItem(item);
        int x = 10 + (followScreen ? origin.x : 0), y = 20 + (followScreen ? origin.y : 0);
        // Premultiplied with DrawColorAlpha: channel * 128 / 256.
        EXPECT_EQ(canvas.Pixel(49, 21), 0x80000000u | uint32_t(x + 39) / 2 << 16 | uint32_t(y + 1) / 2 << 8)
            << (followScreen ? "screen position" : "menu position");
    }
    DestroyWindow(window);
    DeleteObject(Settings.BackMenuBitmap);
    Settings.BackMenuBitmap = nullptr;
}

int wmain(int argc, wchar_t **argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
