// A level paint draws all its items through one item surface and one glow layer.  Nothing
// of one item may show in the next: the level must come out exactly as its items painted
// one at a time, each on surfaces of its own.  Theme backgrounds that draw nothing are
// left out, so the trial that finds them must never be wrong.
#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "common/win_guards.h"
#include "render/drawing.h"
#include "render/paint.h"
#include "settings/settings.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 260;  // below the last item lies the filler
constexpr uint32_t kBackdrop = 0x80402010;

// A premultiplied picture of w x h in one colour and alpha.
HBITMAP MakePicture(int w, int h, COLORREF color, uint32_t alpha)
{
    uint32_t *bits = nullptr;
    HBITMAP picture = CreateTopDownDib(nullptr, w, h, &bits);
    std::fill(bits, bits + w * h, PremultipliedPixel(color, alpha));
    return picture;
}

void SetLevelSettings(bool glow)
{
    Settings.ClassicAppearance = false;
    Settings.MenuStyle = kMenuStylePlain;  // no frame, no outline
    Settings.RibbonStyle = kRibbonNone;
    Settings.IconSize1 = 32;
    Settings.Flags = kSettingsFlagNoDecoration;
    Settings.DrawCursorStyle = kCursorDark;
    Settings.DrawFontDefault = false;
    lstrcpyW(Settings.DrawFontFace, L"Tahoma");
    Settings.DrawFontSize = 9;
    Settings.DrawFontColor = RGB(16, 16, 48);
    Settings.DrawColorMode = kColorModeVerticalGradient;
    Settings.DrawColorAlpha = 200;
    Settings.DrawColorGradient1 = RGB(250, 250, 255);
    Settings.DrawColorGradient2 = RGB(170, 190, 230);
    Settings.DrawGlow = glow;
    Settings.DrawGlowSize = 6;
    Settings.DrawGlowDouble = false;
    Settings.GlowColor = RGB(255, 255, 255);
    Settings.ShadowInsteadOfGlow = false;
    BuildSettingsFonts();
}

// Items chosen so that whatever one leaves behind shows in the next: a long glowing caption
// above a short one, the stretched selection and new-item pictures above plain items, a
// separator (another size) between items of one size, arrows and drop markers.
struct Level {
    TItemView items[6] = {};

    Level()
    {
        const wchar_t *captions[6] = {L"A rather long caption of a program", L"Ok", L"", L"Hot item",
                                      L"New item", L"Last"};
        int y = 0;
        for (int i = 0; i < 6; ++i) {
            TItemView &item = items[i];
            item.caption = captions[i];
            item.captionLength = lstrlenW(captions[i]);
            item.isSeparator = i == 2;
            int height = item.isSeparator ? 3 : 40;
            item.rect = {0, y, kWidth, y + height};
            y += height;
        }
        items[0].hasSubLevel = true;
        items[3].hot = true;
        items[4].isNew = true;
        items[4].dropBefore = true;
        items[5].hasSubLevel = true;
    }
};

std::vector<uint32_t> Pixels(const TSurface &surface)
{
    GdiFlush();
    PixelSurface p = surface.Pixels();
    return std::vector<uint32_t>(p.bits, p.bits + size_t(p.width) * p.height);
}

void FillBackdrop(const TSurface &surface)
{
    GdiFlush();
    PixelSurface p = surface.Pixels();
    std::fill(p.bits, p.bits + size_t(p.width) * p.height, kBackdrop);
}

// The level painted item by item, each with PaintItem's own surfaces, then the filler.
std::vector<uint32_t> PaintOneByOne(HTHEME theme, Level &level, HDC screen)
{
    TSurface canvas(screen, kWidth, kHeight);
    FillBackdrop(canvas);
    ItemPaintInput input = {.theme = theme, .dc = canvas.Dc(), .font = Settings.MenuFont,
                            .iconSize = Settings.IconSize1, .menuWidth = kWidth, .menuHeight = kHeight};
    for (const TItemView &item : level.items) {
        input.item = item;
        PaintItem(input);
    }
    const RECT &last = level.items[std::size(level.items) - 1].rect;
    input.item = {.rect = {last.left, last.bottom, kWidth, kHeight}, .caption = L""};
    PaintItem(input);
    return Pixels(canvas);
}

std::vector<uint32_t> PaintAsLevel(Level &level, HDC screen)
{
    TSurface canvas(screen, kWidth, kHeight);
    FillBackdrop(canvas);
    RECT whole = {0, 0, kWidth, kHeight};
    PaintLevel({nullptr, kWidth, kHeight, true, false, nullptr, level.items}, canvas.Dc(), whole);
    return Pixels(canvas);
}

}  // namespace

TEST(RenderLevelReuse, LevelEqualsItemsPaintedOneByOne)
{
    TThemeData menuTheme(OpenThemeData(nullptr, L"MENU"));
    HTHEME theme = menuTheme.Get();
    ASSERT_NE(theme, nullptr) << "the test prefix has a visual style";
    Settings.SelectionBitmap = MakePicture(8, 8, RGB(60, 120, 230), 200);
    Settings.HilightBitmap = MakePicture(5, 7, RGB(230, 200, 40), 120);
    HDC screen = GetDC(nullptr);
    for (bool glow : {true, false}) {
        SCOPED_TRACE(glow ? "glowing captions" : "plain captions");
        SetLevelSettings(glow);
        Level level;
        std::vector<uint32_t> expected = PaintOneByOne(theme, level, screen);
        std::vector<uint32_t> actual = PaintAsLevel(level, screen);
        ASSERT_EQ(actual.size(), expected.size());
        int differing = 0, first = -1;
        for (size_t i = 0; i < actual.size(); ++i)
            if (actual[i] != expected[i]) {
                ++differing;
                if (first < 0)
                    first = int(i);
            }
        EXPECT_EQ(differing, 0) << "first at (" << first % kWidth << ", " << first / kWidth << ")";
        // A paint that drew nothing would match too.
        EXPECT_NE(actual[size_t(20) * kWidth + 100], kBackdrop);
    }
    ReleaseDC(nullptr, screen);
    DeleteObject(Settings.HilightBitmap);
    DeleteObject(Settings.SelectionBitmap);
    Settings.HilightBitmap = Settings.SelectionBitmap = nullptr;
}

// The filler's caption is empty and its glow is left out: a glow of no text must change
// nothing, or leaving it out would change the filler.
TEST(RenderLevelReuse, GlowOfNoTextChangesNothing)
{
    TThemeData menuTheme(OpenThemeData(nullptr, L"MENU"));
    HTHEME theme = menuTheme.Get();
    ASSERT_NE(theme, nullptr) << "the test prefix has a visual style";
    SetLevelSettings(true);
    HDC screen = GetDC(nullptr);
    {
        TSurface canvas(screen, 60, 40);
        FillBackdrop(canvas);
        for (bool shadow : {false, true})
            ApplyGlow(canvas, theme, Settings.MenuFont, L"", 0, {0, 0, 60, 40},
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, {6, true, RGB(255, 255, 255), shadow},
                      RGB(0, 0, 0));
        for (uint32_t pixel : Pixels(canvas))
            ASSERT_EQ(pixel, kBackdrop);
    }
    ReleaseDC(nullptr, screen);
}

// A part the trial calls empty must leave any picture as it was; one that draws must be
// found out.
TEST(RenderLevelReuse, ThemePartTrialIsRightOverAnyPicture)
{
    TThemeData menuTheme(OpenThemeData(nullptr, L"MENU"));
    HTHEME theme = menuTheme.Get();
    ASSERT_NE(theme, nullptr) << "the test prefix has a visual style";
    struct Case {
        int part, state;
    } cases[] = {{MENU_POPUPITEM, MPI_NORMAL}, {MENU_POPUPITEM, MPI_HOT},
                 {MENU_POPUPITEM, MPI_DISABLEDHOT}, {MENU_POPUPBACKGROUND, 0},
                 {MENU_POPUPGUTTER, 0}, {MENU_POPUPSEPARATOR, 0}, {MENU_POPUPSUBMENU, MSM_NORMAL}};
    HDC screen = GetDC(nullptr);
    int drawing = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "part " << c.part << " state " << c.state);
        TSurface trial(screen, 60, 24);
        bool drawsNothing = ThemePartDrawsNothing(theme, c.part, c.state, trial);
        for (uint32_t pixel : Pixels(trial))
            ASSERT_EQ(pixel, 0u) << "the trial surface is left transparent";

        // Every channel and alpha level somewhere in the picture.
        TSurface picture(screen, 60, 24);
        PixelSurface p = picture.Pixels();
        for (int i = 0; i < 60 * 24; ++i)
            p.bits[i] = PremultipliedPixel(RGB(i * 7, i * 13, i * 29), uint32_t(i * 11) & 0xFF);
        std::vector<uint32_t> before = Pixels(picture);
        RECT whole = {0, 0, 60, 24};
        DrawThemeBackground(theme, picture.Dc(), c.part, c.state, &whole, nullptr);
        bool changed = Pixels(picture) != before;
        EXPECT_EQ(drawsNothing, !changed);
        drawing += changed;
    }
    EXPECT_GT(drawing, 0) << "no part of the table draws: the trial is not tried for a no";
    ReleaseDC(nullptr, screen);
}

int wmain(int argc, wchar_t **argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
