// A level repaints only what was invalidated: the hot item after SetHot, an item with a drop
// marker, the part of the window that another window uncovered.  Such a paint, clipped to
// its rectangle as BeginPaint clips it, must leave exactly the pixels the whole paint left:
// every fill, the frame and the band are placed by the level's own coordinates, never by
// the paint rectangle's.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "common/win_guards.h"
#include "render/drawing.h"
#include "render/paint.h"
#include "settings/settings.h"

namespace {

constexpr int kBand = 24;
constexpr int kColumnWidth = 150;
constexpr int kRowHeight = 40;
constexpr int kRows = 7;
constexpr uint32_t kBackdrop = 0x80402010;

// A background picture whose every pixel tells its position.
HBITMAP MakePositionPicture(int w, int h)
{
    uint32_t *bits = nullptr;
    HBITMAP picture = CreateTopDownDib(nullptr, w, h, &bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bits[y * w + x] = 0xFF000000u | uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | 0x40;
    return picture;
}

// A top level of two columns inside the frame (when there is one) and right of the band.
// Its rows run far enough down that a gradient offset by the item's own top would wrap.
struct TwoColumnLevel {
    std::vector<TItemView> items;
    int width = 0, height = 0;

    explicit TwoColumnLevel(int frame)
    {
        static const wchar_t *const kCaptions[] = {L"Documents", L"Pictures", L"Music", L"Videos",
                                                   L"Games", L"Tools", L"Settings"};
        for (int column = 0; column < 2; ++column)
            for (int row = 0; row < kRows; ++row) {
                int left = frame + kBand + column * kColumnWidth, top = frame + row * kRowHeight;
                const wchar_t *caption = kCaptions[row];
                items.push_back({.rect = {left, top, left + kColumnWidth, top + kRowHeight},
                                 .caption = caption,
                                 .captionLength = lstrlenW(caption)});
            }
        items[3].hasSubLevel = true;
        items.back().hot = true;
        items.back().dropAfter = true;
        width = frame + kBand + 2 * kColumnWidth + frame;
        height = frame + kRows * kRowHeight + frame;
    }
    TLevelView View() const { return {nullptr, width, height, true, false, nullptr, items}; }
};

std::vector<uint32_t> Pixels(const TSurface &surface)
{
    GdiFlush();
    PixelSurface p = surface.Pixels();
    return std::vector<uint32_t>(p.bits, p.bits + size_t(p.width) * p.height);
}

// Every pixel alike; otherwise how many differ and the first of them.
void ExpectSamePixels(const std::vector<uint32_t> &actual, const std::vector<uint32_t> &expected,
                      int width)
{
    ASSERT_EQ(actual.size(), expected.size());
    int differing = 0, first = -1;
    for (size_t i = 0; i < actual.size(); ++i)
        if (actual[i] != expected[i]) {
            if (first < 0)
                first = int(i);
            ++differing;
        }
    EXPECT_EQ(differing, 0) << "first at (" << first % width << ", " << first / width
                            << "): " << std::hex << (first < 0 ? 0 : actual[first])
                            << " instead of " << (first < 0 ? 0 : expected[first]);
}

void SetLevelSettings(int fillMode, int menuStyle, int ribbonStyle)
{
    Settings.ClassicAppearance = false;
    Settings.MenuStyle = menuStyle;
    Settings.IconSize1 = 32;
    Settings.Flags = kSettingsFlagNoDecoration;
    Settings.DrawCursorStyle = kCursorDark;
    Settings.DrawFontDefault = false;
    lstrcpyW(Settings.DrawFontFace, L"Tahoma");
    Settings.DrawFontSize = 9;
    Settings.DrawFontColor = RGB(16, 16, 48);
    Settings.DrawGlow = false;
    Settings.DrawColorMode = fillMode;
    Settings.DrawColorAlpha = 200;
    Settings.DrawColorPlain = RGB(240, 240, 250);
    // Far apart, so that an offset gradient shows in every channel.
    Settings.DrawColorGradient1 = RGB(250, 20, 255);
    Settings.DrawColorGradient2 = RGB(10, 230, 60);
    Settings.BackMenuImageMode = false;
    Settings.RibbonStyle = ribbonStyle;
    Settings.RibbonWidth = kBand;
    lstrcpyW(Settings.RibbonText, L"Orvella");
    lstrcpyW(Settings.RibbonFontFace, L"Tahoma");
    Settings.RibbonFontSize = 12;
    Settings.RibbonFontColor = RGB(255, 255, 255);
    Settings.RibbonGlow = false;
    Settings.RibbonColorMode = kColorModeVerticalGradient;
    Settings.RibbonColorAlpha = 230;
    Settings.RibbonColorGradient1 = RGB(20, 40, 110);
    Settings.RibbonColorGradient2 = RGB(90, 140, 220);
    Settings.RibbonBitmapExpand = false;
    Settings.RibbonBitmapBackground = RGB(30, 90, 60);
    BuildSettingsFonts();
}

// The background and band pictures whose pixels tell their positions, and a screen DC for
// the canvases.
class LevelPaint : public testing::Test {
protected:
    void SetUp() override
    {
        TThemeData menuTheme(OpenThemeData(nullptr, L"MENU"));
        ASSERT_NE(menuTheme.Get(), nullptr) << "the test prefix has a visual style";
        Settings.BackMenuBitmap = MakePositionPicture(600, 400);
        Settings.RibbonBitmap = MakePositionPicture(kBand, 60);
        screen = GetDC(nullptr);
    }
    void TearDown() override
    {
        if (screen)
            ReleaseDC(nullptr, screen);
        DeleteObject(Settings.RibbonBitmap);
        DeleteObject(Settings.BackMenuBitmap);
        Settings.RibbonBitmap = Settings.BackMenuBitmap = nullptr;
    }
    HDC screen = nullptr;
};

}  // namespace

TEST_F(LevelPaint, RepaintedPartsMatchTheWholePaint)
{
    struct Case {
        const char *what;
        int fillMode, menuStyle, ribbonStyle;
    } cases[] = {
        {"plain, framed", kColorModePlain, kMenuStyleFramed, kRibbonColorBand},
        {"vertical gradient, framed", kColorModeVerticalGradient, kMenuStyleFramed, kRibbonColorBand},
        {"vertical gradient, outlined", kColorModeVerticalGradient, kMenuStyleOutlined, kRibbonPictureBand},
        {"horizontal gradient, framed", kColorModeHorizontalGradient, kMenuStyleFramed, kRibbonColorBand},
        {"horizontal gradient, outlined", kColorModeHorizontalGradient, kMenuStyleOutlined, kRibbonColorBand},
        {"picture, framed", kColorModePicture, kMenuStyleFramed, kRibbonPictureBand},
        {"picture, outlined", kColorModePicture, kMenuStyleOutlined, kRibbonColorBand},
    };
    for (const Case &c : cases) {
        SetLevelSettings(c.fillMode, c.menuStyle, c.ribbonStyle);
        TwoColumnLevel level(c.menuStyle == kMenuStyleFramed ? GetSystemMetrics(SM_CXFRAME) : 0);
        const RECT whole = {0, 0, level.width, level.height};
        struct Part {
            const char *what;
            RECT rect;
        } parts[] = {
            {"hot item at the bottom of the second column", level.items.back().rect},
            {"item in the middle of the first column", level.items[3].rect},
            {"uncovered corner across frame, band and items", {0, 0, level.width / 2, level.height / 2}},
        };
        for (const Part &part : parts) {
            SCOPED_TRACE(testing::Message() << c.what << ": " << part.what);
            TSurface canvas(screen, level.width, level.height);
            ASSERT_TRUE(canvas.Ok());
            PixelSurface p = canvas.Pixels();
            std::fill(p.bits, p.bits + size_t(p.width) * p.height, kBackdrop);
            PaintLevel(level.View(), canvas.Dc(), whole);
            std::vector<uint32_t> expected = Pixels(canvas);
            ASSERT_NE(expected[size_t(level.height / 2) * level.width + level.width / 2], kBackdrop)
                << "the whole paint drew the items";

            IntersectClipRect(canvas.Dc(), part.rect.left, part.rect.top, part.rect.right, part.rect.bottom);
            PaintLevel(level.View(), canvas.Dc(), part.rect);
            SelectClipRgn(canvas.Dc(), nullptr);
            std::vector<uint32_t> actual = Pixels(canvas);

            ExpectSamePixels(actual, expected, level.width);
        }
    }
}

// A level painted through its kept picture leaves exactly the pixels a paint from scratch
// leaves, through a run of changes that each must either reach the picture or be drawn over
// it: the hot item and the markers moving, a drag, an item turning new, a caption, a setting
// and the number of items changing.
TEST_F(LevelPaint, PicturePaintsWhatAPaintFromScratchPaints)
{
    struct Case {
        const char *what;
        int fillMode, menuStyle, ribbonStyle;
        bool glow, classic;
    } cases[] = {
        {"glowing captions, framed", kColorModeVerticalGradient, kMenuStyleFramed, kRibbonColorBand, true, false},
        {"picture, outlined", kColorModePicture, kMenuStyleOutlined, kRibbonPictureBand, false, false},
        {"classic", kColorModePlain, kMenuStyleFramed, kRibbonColorBand, false, true},
    };
    for (const Case &c : cases) {
        SetLevelSettings(c.fillMode, c.menuStyle, c.ribbonStyle);
        Settings.DrawGlow = c.glow;
        Settings.GlowColor = RGB(255, 255, 255);
        Settings.DrawGlowSize = 6;
        Settings.ClassicAppearance = c.classic;
        TwoColumnLevel level(c.menuStyle == kMenuStyleFramed ? GetSystemMetrics(SM_CXFRAME) : 0);
        TLevelPicture *picture = NewLevelPicture();
        TSurface kept(screen, level.width, level.height), scratch(screen, level.width, level.height);
        ASSERT_TRUE(kept.Ok() && scratch.Ok());
        for (const TSurface *canvas : {&kept, &scratch}) {
            PixelSurface p = canvas->Pixels();
            std::fill(p.bits, p.bits + size_t(p.width) * p.height, kBackdrop);
        }
        bool dragOver = false;
        // Paints both canvases over `area` (the whole level when empty), clipped as
        // BeginPaint clips, and compares them.
        auto paintBoth = [&](const char *step, RECT area) {
            SCOPED_TRACE(testing::Message() << c.what << ": " << step);
            if (IsRectEmpty(&area))
                area = {0, 0, level.width, level.height};
            TLevelView view = level.View();
            view.dragOver = dragOver;
            for (const TSurface *canvas : {&kept, &scratch}) {
                view.picture = canvas == &kept ? picture : nullptr;
                IntersectClipRect(canvas->Dc(), area.left, area.top, area.right, area.bottom);
                PaintLevel(view, canvas->Dc(), area);
                SelectClipRgn(canvas->Dc(), nullptr);
            }
            std::vector<uint32_t> actual = Pixels(kept), expected = Pixels(scratch);
            ExpectSamePixels(actual, expected, level.width);
        };
        paintBoth("first paint, last item hot with a marker", {});
        paintBoth("the same again, from the picture", {});

        TItemView &last = level.items.back(), &first = level.items.front();
        last.hot = last.dropAfter = false;
        first.hot = true;
        paintBoth("the item that was hot", last.rect);
        paintBoth("the item now hot", first.rect);

        dragOver = true;
        level.items[4].dropBefore = level.items[3].dropAfter = true;
        paintBoth("a drag over the level, markers between two items", {});
        dragOver = false;
        level.items[4].dropBefore = level.items[3].dropAfter = false;

        level.items[5].isNew = true;
        paintBoth("an item turned new", level.items[5].rect);
        paintBoth("the whole level after it", {});

        static const wchar_t kRenamed[] = L"Renamed";
        level.items[2].caption = kRenamed;
        level.items[2].captionLength = lstrlenW(kRenamed);
        paintBoth("a caption changed", {});

        Settings.DrawFontColor = RGB(200, 30, 30);
        Settings.ShadowInsteadOfGlow = !Settings.ShadowInsteadOfGlow;
        paintBoth("the font colour and the glow changed", {});

        level.items[5].isNew = false;
        paintBoth("the item no longer new", level.items[5].rect);

        level.items.pop_back();
        level.items.erase(level.items.begin() + kRows - 1);
        level.height -= kRowHeight;
        paintBoth("one row fewer, the level lower", {});
        DeleteLevelPicture(picture);
    }
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
