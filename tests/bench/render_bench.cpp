// Glow and menu painting speed: the literal splat against the counting glow on one item
// surface, a whole 30-item level painted with glowing captions, and where an item's time
// goes.
#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "render/drawing.h"
#include "render/paint.h"
#include "settings/settings.h"
#include "tests/bench/bench_timing.h"

namespace {

HFONT CaptionFont()
{
    HDC screen = GetDC(nullptr);
    int height = -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                       CLEARTYPE_QUALITY, 0, L"Tahoma");
}

void BenchGlowKernels(HTHEME theme, HFONT font)
{
    HDC screen = GetDC(nullptr);
    {
        TSurface surface(screen, 300, 40);
        TSelection selected(surface.Dc(), font);
        RECT text = {40, 0, 288, 40};
        DrawThemedText(theme, surface.Dc(), L"Windows Live Movie Maker 2012", -1, text,
                       DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, RGB(255, 255, 255));
        GdiFlush();
        std::vector<uint32_t> caption(surface.Pixels().bits, surface.Pixels().bits + 300 * 40);
        int textPixels = 0;
        for (uint32_t p : caption)
            textPixels += p != 0;
        std::printf("item surface 300 x 40, 12 pt caption: %d text pixels\n", textPixels);
        std::printf("%8s %14s %14s %8s\n", "radius", "literal ms", "fast ms", "ratio");
        std::vector<uint32_t> work(caption.size());
        for (int radius : {5, 15, 25}) {
            GlowParams params = {radius, false, RGB(255, 255, 255), false};
            double literal = MillisecondsPerCall([&] {
                work = caption;
                GlowHaloReference({work.data(), 300, 40}, params);
            });
            double fast = MillisecondsPerCall([&] {
                work = caption;
                GlowHalo({work.data(), 300, 40}, params);
            });
            std::printf("%8d %14.3f %14.3f %8.1f\n", radius, literal, fast, literal / fast);
        }
    }
    ReleaseDC(nullptr, screen);
}

void BenchLevel(HTHEME theme)
{
    Settings.ClassicAppearance = false;
    Settings.MenuStyle = kMenuStyleOutlined;
    Settings.IconSize1 = 32;
    Settings.DrawColorMode = kColorModeVerticalGradient;
    Settings.DrawColorAlpha = 200;
    Settings.DrawColorGradient1 = RGB(250, 250, 255);
    Settings.DrawColorGradient2 = RGB(170, 190, 230);
    Settings.DrawGlow = true;
    Settings.GlowColor = RGB(255, 255, 255);
    Settings.DrawFontColor = RGB(0, 0, 0);
    Settings.DrawFontDefault = false;
    lstrcpyW(Settings.DrawFontFace, L"Tahoma");
    Settings.DrawFontSize = 12;
    Settings.RibbonStyle = kRibbonNone;
    Settings.Flags = kSettingsFlagNoDecoration;
    BuildSettingsFonts();

    std::vector<std::wstring> captions(30);
    std::vector<TItemView> items(30);
    for (int i = 0; i < 30; ++i) {
        captions[i] = L"Program number " + std::to_wstring(i + 1) + L" of the menu";
        items[i] = {.rect = {0, i * 40, 300, (i + 1) * 40}, .caption = captions[i].c_str(),
                    .captionLength = int(captions[i].size())};
    }
    HDC screen = GetDC(nullptr);
    {
        TSurface target(screen, 300, 1200);
        RECT whole = {0, 0, 300, 1200};
        std::printf("\n30-item level of 300 x 1200, glowing 12 pt captions:\n");
        for (int radius : {0, 8, 25}) {
            Settings.DrawGlowSize = radius;
            double ms = MillisecondsPerCall([&] {
                PaintLevel({nullptr, 300, 1200, true, false, nullptr, items}, target.Dc(), whole);
                GdiFlush();
            });
            std::printf("  glow radius %2d: %8.2f ms per paint\n", radius, ms);
        }
    }
    ReleaseDC(nullptr, screen);

    // Where a themed item's time goes, per item surface of 300 x 40.
    screen = GetDC(nullptr);
    {
        RECT whole = {0, 0, 300, 40};
        double surface = MillisecondsPerCall([&] { TSurface s(screen, 300, 40); });
        TSurface s(screen, 300, 40);
        TSelection font(s.Dc(), Settings.MenuFont);
        double background = MillisecondsPerCall(
            [&] { DrawThemeBackground(theme, s.Dc(), MENU_POPUPITEM, MPI_NORMAL, &whole, nullptr); });
        double text = MillisecondsPerCall([&] {
            DrawThemedText(theme, s.Dc(), L"Program number 1 of the menu", -1, whole,
                           DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, RGB(0, 0, 0));
        });
        GlowParams params = {8, false, RGB(255, 255, 255), false};
        double glow = MillisecondsPerCall([&] {
            ApplyGlow(s, theme, Settings.MenuFont, L"Program number 1 of the menu", -1, whole,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, params, RGB(0, 0, 0));
        });
        // A level paint draws its captions through one cleared layer with the font in it.
        TSurface layer(screen, 300, 40);
        TSelection layerFont(layer.Dc(), Settings.MenuFont);
        double glowReused = MillisecondsPerCall([&] {
            layer.Clear();
            ApplyGlowThrough(s, layer, theme, L"Program number 1 of the menu", -1, whole,
                             DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, params, RGB(0, 0, 0));
        });
        ItemPlacement place = {{0, 0, 300, 40}, 300, 1200, 0};
        double fill = MillisecondsPerCall([&] { FillSurface(s, place, POINT{0, 0}); });
        double selection = MillisecondsPerCall([&] { BlendPicture(s.Dc(), 0, 0, 300, 40, Settings.SelectionBitmap); });
        TSurface target(screen, 300, 1200);
        double copy = MillisecondsPerCall([&] { BitBlt(target.Dc(), 0, 80, 300, 40, s.Dc(), 0, 0, SRCCOPY); GdiFlush(); });
        std::printf("\nper item: surface %.3f ms, theme background %.3f ms, themed text %.3f ms\n"
                    "          fill %.3f ms, glowing caption %.3f ms (through a reused layer %.3f ms),\n"
                    "          selection picture %.3f ms, copy to the level %.3f ms\n",
                    surface, background, text, fill, glow, glowReused, selection, copy);
    }
    ReleaseDC(nullptr, screen);
}

}  // namespace

int wmain()
{
    HTHEME theme = OpenThemeData(nullptr, L"MENU");
    if (!theme) {
        std::printf("no visual style: the glow is drawn only in the themed form\n");
        return 0;
    }
    HFONT font = CaptionFont();
    BenchGlowKernels(theme, font);
    BenchLevel(theme);
    DeleteObject(font);
    CloseThemeData(theme);
    return 0;
}
