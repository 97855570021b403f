#include "render/paint.h"

#include <vssym32.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/win_guards.h"
#include "render/drawing.h"
#include "render/portable/item_geometry.h"
#include "render/portable/paint_rules.h"
#include "settings/settings.h"

namespace {

constexpr DWORD kThemedCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
constexpr DWORD kClassicCaptionFormat = DT_SINGLELINE | DT_VCENTER;
constexpr DWORD kBandTextFormat = DT_NOPREFIX | DT_SINGLELINE | DT_BOTTOM;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// How far the separator's etched line stays from the item's ends.
constexpr int kSeparatorInset = 8;
constexpr int kClassicSeparatorInset = 4;

PixelRect ToPixelRect(const RECT &r) { return {r.left, r.top, r.right, r.bottom}; }

// A GDI colour reference as an opaque pixel (the classic window colours as frame colours).
uint32_t ColorRefPixel(COLORREF color) { return StraightPixel(color, 0xFF); }

void DrawLine(HDC dc, COLORREF color, int x1, int y1, int x2, int y2)
{
    TGdiObject pen(CreatePen(PS_SOLID, 1, color));
    TSelection selected(dc, pen.Get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void DrawSystemLine(HDC dc, int colorIndex, int x1, int y1, int x2, int y2)
{
    DrawLine(dc, GetSysColor(colorIndex), x1, y1, x2, y2);
}

void FillPolygon(HDC dc, COLORREF color, const POINT *points, int count)
{
    TGdiObject pen(CreatePen(PS_SOLID, 1, color));
    TGdiObject brush(CreateSolidBrush(color));
    TSelection selectedPen(dc, pen.Get());
    TSelection selectedBrush(dc, brush.Get());
    Polygon(dc, points, count);
}

// A rectangle call with a null pen: fills all but the last column and row.
void FillWithoutPen(HDC dc, COLORREF color, int left, int top, int right, int bottom)
{
    TGdiObject brush(CreateSolidBrush(color));
    TSelection selectedPen(dc, GetStockObject(NULL_PEN));
    TSelection selectedBrush(dc, brush.Get());
    Rectangle(dc, left, top, right, bottom);
}

int MeasureLetterO(HDC dc)
{
    RECT r = {0, 0, 0, 0};
    DrawTextW(dc, L"o", 1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return r.right - r.left;
}

POINT WindowOrigin(HWND window)
{
    POINT origin = {0, 0};
    if (window)
        ClientToScreen(window, &origin);
    return origin;
}

// A surface with the item font selected.
struct TTextSurface {
    TTextSurface(HDC target, int width, int height, HFONT font)
        : surface(target, width, height), font(surface.Dc(), font)
    {
    }
    TSurface surface;
    TSelection font;
};

// What the themed items of one paint share.  Making a surface and realising the font in a
// fresh DC cost more than the rest of an item, so the item surface and the glow layer are
// cleared between items and made again only when the item size changes (separators, the
// filler); the values below cannot change within one paint.
struct TItemScratch {
    TItemScratch(HDC target, HFONT font, HWND window)
        : target(target), font(font), windowOrigin(WindowOrigin(window))
    {
    }
    HDC target;
    HFONT font;
    POINT windowOrigin;
    int letterOWidth = -1;  // measured when the first arrow needs it
    std::optional<TTextSurface> item;
    std::optional<TTextSurface> glow;
    // Item sizes whose normal theme background was found to draw nothing, or something.
    struct TBackgroundTrial {
        int width, height;
        bool drawsNothing;
    };
    std::vector<TBackgroundTrial> backgrounds;
};

// `layer` as a transparent w x h surface: made anew only when the size changes.
const TSurface &ScratchLayer(std::optional<TTextSurface> &layer, const TItemScratch &scratch,
                             int w, int h)
{
    // Everything drawn on the layers leaves the DC's modes as it found them.
    if (layer && layer->surface.Width() == w && layer->surface.Height() == h) {
        layer->surface.Clear();
    } else {
        layer.reset();
        layer.emplace(scratch.target, w, h, scratch.font);
    }
    return layer->surface;
}

// Menu themes usually leave the normal item empty, and drawing it costs as much as the
// rest of an item; whether it draws anything is tried once per item size and paint.
bool NormalBackgroundDrawsNothing(HTHEME theme, TItemScratch &scratch, const TSurface &surface)
{
    for (const TItemScratch::TBackgroundTrial &trial : scratch.backgrounds)
        if (trial.width == surface.Width() && trial.height == surface.Height())
            return trial.drawsNothing;
    bool drawsNothing = ThemePartDrawsNothing(theme, MENU_POPUPITEM, MPI_NORMAL, surface);
    scratch.backgrounds.push_back({surface.Width(), surface.Height(), drawsNothing});
    return drawsNothing;
}

void PaintThemedItem(const ItemPaintInput &in, TItemScratch &scratch)
{
    const TItemView &item = in.item;
    int w = item.rect.right - item.rect.left, h = item.rect.bottom - item.rect.top;
    const TSurface &surface = ScratchLayer(scratch.item, scratch, w, h);
    if (!surface.Ok())
        return;
    // While something is dragged over the menu only the drop marker shows the place.
    bool hotLook = item.hot && !in.dragOver;
    bool drawBackground = !hotLook && !NormalBackgroundDrawsNothing(in.theme, scratch, surface);
    PixelSurface pixels = surface.Pixels();
    ItemPlacement place = {ToPixelRect(item.rect), in.menuWidth, in.menuHeight, in.bandWidth};
    if (FillSurface(surface, place, scratch.windowOrigin) && Settings.MenuStyle == kMenuStyleOutlined)
        BlackBorder(pixels, place.item, in.menuWidth, in.menuHeight);

    if (item.isNew)
        BlendPicture(surface.Dc(), 0, 0, w, h, Settings.HilightBitmap);
    RECT whole = {0, 0, w, h};
    if (hotLook)
        BlendPicture(surface.Dc(), 0, 0, w, h, Settings.SelectionBitmap);
    else if (drawBackground)
        DrawThemeBackground(in.theme, surface.Dc(), MENU_POPUPITEM, MPI_NORMAL, &whole, nullptr);
    GdiFlush();

    if (item.rect.left != 0 && in.bandWidth == 0)
        EtchVertical(pixels, 0);
    if (item.isSeparator && item.rect.left + kSeparatorInset < item.rect.right - kSeparatorInset) {
        int middle = (item.rect.top + item.rect.bottom) / 2;
        EtchHorizontal(pixels, middle - item.rect.top, kSeparatorInset, w - kSeparatorInset - 1);
    }
    if (item.hasSubLevel) {
        if (scratch.letterOWidth < 0)
            scratch.letterOWidth = MeasureLetterO(surface.Dc());
        DrawSubLevelArrow(pixels, scratch.letterOWidth, Settings.DrawCursorStyle);
    }
    if (item.dropAfter)
        DrawDropMarker(pixels, true, Settings.DrawCursorStyle);
    if (item.dropBefore)
        DrawDropMarker(pixels, false, Settings.DrawCursorStyle);
    if (item.icon)
        DrawIconEx(surface.Dc(), kItemIconMargin, kItemIconMargin, item.icon, in.iconSize, in.iconSize,
                   0, nullptr, DI_NORMAL);

    RECT text = {ItemTextLeft(in.iconSize), 0, w - kItemTextRightMargin, h};
    if (!Settings.DrawGlow) {
        DrawThemedText(in.theme, surface.Dc(), item.caption, item.captionLength, text,
                       kThemedCaptionFormat, Settings.DrawFontColor);
    } else if (item.captionLength != 0) {
        // Without text the layer would stay transparent and change nothing when blended;
        // the filler, as large as a column, would pay for it.
        GlowParams glow = {Settings.DrawGlowSize, Settings.DrawGlowDouble, Settings.GlowColor,
                           Settings.ShadowInsteadOfGlow};
        ApplyGlowThrough(surface, ScratchLayer(scratch.glow, scratch, w, h), in.theme, item.caption,
                         item.captionLength, text, kThemedCaptionFormat, glow, Settings.DrawFontColor);
    }
    BitBlt(in.dc, item.rect.left, item.rect.top, w, h, surface.Dc(), 0, 0, SRCCOPY);
}

COLORREF NewItemTint()
{
    COLORREF base = GetSysColor(COLOR_SCROLLBAR), highlight = GetSysColor(COLOR_HIGHLIGHT);
    return RGB((3 * GetRValue(base) + GetRValue(highlight)) / 4,
               (3 * GetGValue(base) + GetGValue(highlight)) / 4,
               (3 * GetBValue(base) + GetBValue(highlight)) / 4);
}

void PaintClassicItem(const ItemPaintInput &in)
{
    HDC dc = in.dc;
    const TItemView &item = in.item;
    int L = item.rect.left, T = item.rect.top, R = item.rect.right, B = item.rect.bottom;
    TSelection font(dc, in.font);
    bool hotLook = item.hot && !in.dragOver;
    SetBkMode(dc, TRANSPARENT);
    if (hotLook) {
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        FillRect(dc, &item.rect, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
        if (item.isNew)
            FillWithoutPen(dc, NewItemTint(), L, T, R, B);
        else
            FillRect(dc, &item.rect, GetSysColorBrush(COLOR_SCROLLBAR));
    }

    if (L == 0 || T == 0) {
        if (L == 0)
            DrawSystemLine(dc, COLOR_SCROLLBAR, 0, T, 0, B);
        if (T == 0)
            DrawSystemLine(dc, COLOR_SCROLLBAR, L, 0, R, 0);
        if (L == 0)
            DrawSystemLine(dc, COLOR_3DHILIGHT, 1, T, 1, B);
        if (T == 0)
            DrawSystemLine(dc, COLOR_3DHILIGHT, L + 1, 1, R, 1);
    }
    if (R == in.menuWidth || B == in.menuHeight) {
        if (R == in.menuWidth)
            DrawSystemLine(dc, COLOR_3DDKSHADOW, R - 1, T, R - 1, B);
        if (B == in.menuHeight)
            DrawSystemLine(dc, COLOR_3DDKSHADOW, R - 1, B - 1, L, B - 1);
        if (R == in.menuWidth)
            DrawSystemLine(dc, COLOR_3DSHADOW, R - 2, T, R - 2, B);
        if (B == in.menuHeight)
            DrawSystemLine(dc, COLOR_3DSHADOW, R - 2, B - 2, L, B - 2);
    }
    if (L != 0 && in.bandWidth == 0) {
        DrawSystemLine(dc, COLOR_3DSHADOW, L, T, L, B);
        DrawSystemLine(dc, COLOR_3DHILIGHT, L + 1, T, L + 1, B);
    }
    int middle = (T + B) / 2;
    if (item.isSeparator) {
        int left = L + kClassicSeparatorInset, right = R - kClassicSeparatorInset;
        DrawSystemLine(dc, COLOR_3DSHADOW, left, middle, right, middle);
        DrawSystemLine(dc, COLOR_3DHILIGHT, left, middle + 1, right, middle + 1);
    }
    if (item.hasSubLevel) {
        // Always white on the highlight colour.
        COLORREF color = !hotLook && Settings.DrawCursorStyle != kCursorLight ? kBlack : kWhite;
        POINT arrow[] = {{R - 4, middle}, {R - 8, middle + 4}, {R - 8, middle - 4}};
        FillPolygon(dc, color, arrow, 3);
    }
    COLORREF marker = Settings.DrawCursorStyle == kCursorLight ? kWhite : kBlack;
    if (item.dropAfter) {
        POINT below[] = {{L, B - 1}, {L, B - 5}, {L + 4, B - 1}, {R - 5, B - 1}, {R - 1, B - 5}, {R - 1, B - 1}};
        FillPolygon(dc, marker, below, 6);
    }
    if (item.dropBefore) {
        POINT above[] = {{L, T}, {L, T + 4}, {L + 4, T}, {R - 5, T}, {R - 1, T + 4}, {R - 1, T}};
        FillPolygon(dc, marker, above, 6);
    }
    if (item.icon)
        DrawIconEx(dc, L + kItemIconMargin, T + kItemIconMargin, item.icon, in.iconSize, in.iconSize, 0,
                   nullptr, DI_NORMAL);
    RECT text = {L + ItemTextLeft(in.iconSize), T, R - kItemTextRightMargin, B};
    DrawTextW(dc, item.caption, item.captionLength, &text, kClassicCaptionFormat);
}

// ---- The side band ----

struct BandText {
    const wchar_t *text;
    int length;
    int offset;  // shift that centres the upward text across the band
};

BandText MeasureBandText(HDC dc)
{
    const wchar_t *text = Settings.RibbonText[0] ? Settings.RibbonText : Settings.SystemDescription;
    int length = lstrlenW(text);
    SIZE extent = {0, 0};
    {
        TSelection font(dc, Settings.RibbonFont);
        GetTextExtentPoint32W(dc, text, length, &extent);
    }
    return {text, length, BandTextOffset(Settings.RibbonWidth, extent.cy)};
}

// The band's text on a transparent layer blended over the band.
void DrawThemedBandText(HDC dc, HTHEME theme, const RECT &band, const BandText &text)
{
    int bw = band.right - band.left, bh = band.bottom - band.top;
    TSurface layer(dc, bw, bh);
    if (!layer.Ok())
        return;
    TSelection font(layer.Dc(), Settings.RibbonFont);
    RECT rect = {text.offset, 0, bw + text.offset, bh};
    if (Settings.RibbonGlow) {
        GlowParams glow = {Settings.RibbonGlowSize, Settings.RibbonGlowDouble,
                           Settings.RibbonGlowBlack ? kBlack : kWhite, false};
        ApplyGlow(layer, theme, Settings.RibbonFont, text.text, text.length, rect, kBandTextFormat,
                  glow, Settings.RibbonFontColor);
    } else {
        DrawThemedText(theme, layer.Dc(), text.text, text.length, rect, kBandTextFormat,
                       Settings.RibbonFontColor);
        // Text drawn without a glow layer can come out with alpha 0 too (Wine); blended as
        // it is, its colour would be added to the band below.
        GdiFlush();
        SealTextAlpha(layer.Pixels());
    }
    BlendSurface(dc, band.left, band.top, layer);
}

void DrawClassicBandText(HDC dc, const RECT &band, const BandText &text, COLORREF color)
{
    TSelection font(dc, Settings.RibbonFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    RECT rect = {band.left + text.offset, band.top, band.right + text.offset, band.bottom};
    DrawTextW(dc, text.text, text.length, &rect, kBandTextFormat);
}

// The band picture at (x, y) over bw x bh: stretched to the band, or at its own height
// above the band's last row with the band background colour over the rows above it.
void DrawBandPicture(HDC dc, int x, int y, int bw, int bh)
{
    HBITMAP picture = Settings.RibbonBitmap;
    if (!picture)
        return;
    int ph = PictureSize(picture).cy;
    if (Settings.RibbonBitmapExpand || ph > bh) {
        StretchPicture(dc, x, y, bw, bh, picture);
        return;
    }
    FillWithoutPen(dc, Settings.RibbonBitmapBackground, x - 1, y - 1, x + bw + 1, y + bh - ph);
    StretchPicture(dc, x, y + bh - ph - 1, bw, ph, picture);
}

void PaintThemedColorBand(HDC dc, HTHEME theme, const RECT &band, const BandText &text)
{
    TSurface surface(dc, band.right - band.left, band.bottom - band.top);
    if (surface.Ok()) {
        BandFill fill = {Settings.RibbonColorMode, Settings.RibbonColorPlain,
                         Settings.RibbonColorGradient1, Settings.RibbonColorGradient2,
                         Settings.RibbonColorAlpha};
        FillBandSurface(surface.Pixels(), fill, ToPixelRect(band));
        // The band reaches the menu's bottom whenever the outline is drawn (no frame).
        if (Settings.MenuStyle == kMenuStyleOutlined)
            BandBlackBorder(surface.Pixels(), ToPixelRect(band), band.bottom);
        BitBlt(dc, band.left, band.top, surface.Width(), surface.Height(), surface.Dc(), 0, 0, SRCCOPY);
    }
    DrawThemedBandText(dc, theme, band, text);
}

TRIVERTEX Vertex(int x, int y, COLORREF color)
{
    return {x, y, static_cast<COLOR16>(GetRValue(color) << 8), static_cast<COLOR16>(GetGValue(color) << 8),
            static_cast<COLOR16>(GetBValue(color) << 8), 0};
}

void PaintClassicColorBand(HDC dc, const RECT &band, const BandText &text)
{
    int BL = band.left, BT = band.top, BR = band.right, BB = band.bottom;
    FillRect(dc, &band, GetSysColorBrush(COLOR_SCROLLBAR));
    DrawSystemLine(dc, COLOR_3DHILIGHT, BL + 1, BT, BL + 1, BB);
    DrawSystemLine(dc, COLOR_3DHILIGHT, BL + 1, BT, BR, BT);
    DrawSystemLine(dc, COLOR_3DSHADOW, BR - 1, BB - 1, BL, BB - 1);
    DrawSystemLine(dc, COLOR_3DDKSHADOW, BR - 2, BB - 2, BL, BB - 2);

    RECT inner = {BL + 3, BT + 3, BR - 3, BB - 4};
    int mode = Settings.RibbonColorMode;
    bool filled = mode == kColorModePlain || mode == kColorModeVerticalGradient ||
                  mode == kColorModeHorizontalGradient;
    if (filled && inner.right > inner.left && inner.bottom > inner.top) {
        // The plain colour too is a gradient fill, with the same colour at both vertices.
        bool plain = mode == kColorModePlain;
        COLORREF first = plain ? Settings.RibbonColorPlain : Settings.RibbonColorGradient1;
        COLORREF second = plain ? Settings.RibbonColorPlain : Settings.RibbonColorGradient2;
        TRIVERTEX vertices[2] = {Vertex(inner.left, inner.top, first), Vertex(inner.right, inner.bottom, second)};
        GRADIENT_RECT corners = {0, 1};
        ULONG direction = mode == kColorModeHorizontalGradient ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V;
        GradientFill(dc, vertices, 2, &corners, 1, direction);
    }
    DrawClassicBandText(dc, band, text, Settings.RibbonFontColor);
}

void PaintThemedPictureBand(HDC dc, HTHEME theme, const RECT &band, const BandText &text)
{
    TSurface surface(dc, band.right - band.left, band.bottom - band.top);
    if (surface.Ok()) {
        DrawBandPicture(surface.Dc(), 0, 0, surface.Width(), surface.Height());
        GdiFlush();
        ForceOpaque(surface.Pixels());
        if (Settings.MenuStyle == kMenuStyleOutlined)
            BandBlackBorder(surface.Pixels(), ToPixelRect(band), band.bottom);
        BitBlt(dc, band.left, band.top, surface.Width(), surface.Height(), surface.Dc(), 0, 0, SRCCOPY);
    }
    DrawThemedBandText(dc, theme, band, text);
}

void PaintClassicPictureBand(HDC dc, const RECT &band, const BandText &text)
{
    int BL = band.left, BT = band.top, BR = band.right, BB = band.bottom;
    int bh = BB - BT;
    DrawBandPicture(dc, BL, BT, BR - BL, bh);
    if (BL == 0)
        DrawSystemLine(dc, COLOR_SCROLLBAR, 0, BT, 0, BB);
    if (BT == 0)
        DrawSystemLine(dc, COLOR_SCROLLBAR, BL, 0, BR, 0);
    if (BL == 0)
        DrawSystemLine(dc, COLOR_3DHILIGHT, BL + 1, BT, BL + 1, BB);
    if (BT == 0)
        DrawSystemLine(dc, COLOR_3DHILIGHT, BL + 1, 1, BR, 1);
    if (BB == bh) {
        DrawSystemLine(dc, COLOR_3DDKSHADOW, BR - 1, BB - 1, BL, BB - 1);
        DrawSystemLine(dc, COLOR_3DSHADOW, BR - 2, BB - 2, BL, BB - 2);
    }
    DrawClassicBandText(dc, band, text, GetSysColor(COLOR_MENUTEXT));
}

// The band and its text; the seasonal decoration, which moves at every paint, is not part of it.
void PaintBandWithoutDecoration(HDC dc, HTHEME theme, const RECT &rect)
{
    BandText text = MeasureBandText(dc);
    if (Settings.RibbonStyle == kRibbonColorBand) {
        if (theme)
            PaintThemedColorBand(dc, theme, rect, text);
        else
            PaintClassicColorBand(dc, rect, text);
    } else {
        if (theme)
            PaintThemedPictureBand(dc, theme, rect, text);
        else
            PaintClassicPictureBand(dc, rect, text);
    }
}

// ---- The level ----

// The window manager's colorization colour (0xAARRGGBB); the active border colour when the
// value cannot be read.
uint32_t ColorizationColor()
{
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\DWM", L"ColorizationColor",
                     RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS)
        return value;
    return ColorRefPixel(GetSysColor(COLOR_ACTIVEBORDER));
}

bool LevelHasFocus(const TLevelView &level)
{
    HWND focus = GetFocus();
    return focus != nullptr && (focus == level.window || focus == level.focusPartner);
}

// The frame's colours now.  Without the focus the fill is the menu colour taken as a pixel:
// alpha 0, see-through.
FrameColors FrameColorsNow(bool focused)
{
    return FrameColorsFrom(ColorizationColor(), focused, GetSysColor(COLOR_MENU));
}

// The frame lies along the client area's edges whatever part of it is being painted; the
// DC's clipping keeps a partial paint to its own rectangle.
void PaintFrame(const TLevelView &level, HDC dc)
{
    const FrameColors colors = FrameColorsNow(LevelHasFocus(level));
    RECT strips[kFrameSides];
    FrameStripRects(level.width, level.height, strips);
    for (int side = 0; side < kFrameSides; ++side)
        PaintFrameStrip(dc, strips[side], side, colors.fill, colors.edge);
}

bool Intersects(const RECT &a, const RECT &b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

void PaintItemWith(const ItemPaintInput &input, TItemScratch &scratch)
{
    const RECT &rect = input.item.rect;
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    if (input.theme)
        PaintThemedItem(input, scratch);
    else
        PaintClassicItem(input);
}

}  // namespace

void PaintItem(const ItemPaintInput &input)
{
    TItemScratch scratch(input.dc, input.font, input.window);
    PaintItemWith(input, scratch);
}

void PaintBand(HDC dc, HTHEME theme, const RECT &rect)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    PaintBandWithoutDecoration(dc, theme, rect);
    DrawSeasonDecoration(dc, rect);
}

void FrameStripRects(int width, int height, RECT strips[kFrameSides])
{
    const int f = GetSystemMetrics(SM_CXFRAME);
    strips[0] = {0, 0, f, height};
    strips[1] = {width - f, 0, width, height};
    strips[2] = {f, 0, width - f, f};
    strips[3] = {f, height - f, width - f, height};
}

void PaintFrameStrip(HDC dc, const RECT &strip, int side, uint32_t fill, uint32_t edge)
{
    TSurface surface(dc, strip.right - strip.left, strip.bottom - strip.top);
    if (!surface.Ok())
        return;
    FillFrameStrip(surface.Pixels(), side, fill, edge, GetSystemMetrics(SM_CXFRAME));
    BitBlt(dc, strip.left, strip.top, surface.Width(), surface.Height(), surface.Dc(), 0, 0, SRCCOPY);
}

void DrawSeasonDecorationOn(HDC dc, const RECT &rect, const SYSTEMTIME &date, SeasonRandom &random)
{
    if (!SeasonDecorationShown(date.wMonth, date.wDay, static_cast<uint32_t>(Settings.Flags)))
        return;
    TSurface surface(dc, rect.right - rect.left, rect.bottom - rect.top);
    if (!surface.Ok())
        return;
    FlakePlacement flakes[kFlakeCount];
    PlaceFlakes(surface.Width(), surface.Height(), random, flakes);
    DrawSeasonArt(surface.Pixels(), flakes);
    BlendSurface(dc, 0, 0, surface);
}

void DrawSeasonDecoration(HDC dc, const RECT &rect)
{
    // The user-interface thread's own sequence: the flakes move at every paint and repeat
    // the same dance after every start.
    static thread_local SeasonRandom random;
    SYSTEMTIME now;
    GetLocalTime(&now);
    DrawSeasonDecorationOn(dc, rect, now, random);
}

namespace {

// What every part of one level's paint shares.
struct TLevelParts {
    TLevelParts(const TLevelView &level, HDC dc)
        : framed(Settings.MenuStyle == kMenuStyleFramed),
          hasBand(level.topLevel && Settings.RibbonStyle != kRibbonNone),
          menuTheme(Settings.ClassicAppearance ? nullptr : OpenThemeData(level.window, L"MENU")),
          common{.theme = menuTheme.Get(), .window = level.window, .dc = dc,
                 .font = Settings.DrawFontDefault ? Settings.SystemMenuFont : Settings.MenuFont,
                 .iconSize = level.topLevel ? Settings.IconSize1 : Settings.IconSize2,
                 .menuWidth = level.width, .menuHeight = level.height,
                 .dragOver = level.dragOver, .bandWidth = hasBand ? Settings.RibbonWidth : 0,
                 .item = {.caption = L""}},
          scratch(dc, common.font, level.window)
    {
    }
    RECT Band() const
    {
        int f = framed ? GetSystemMetrics(SM_CXFRAME) : 0;
        PixelRect band = BandRect(f, Settings.RibbonWidth, common.menuHeight);
        return {band.left, band.top, band.right, band.bottom};
    }
    void Item(const TItemView &item)
    {
        ItemPaintInput input = common;
        input.item = item;
        PaintItemWith(input, scratch);
    }
    bool framed;
    bool hasBand;
    TThemeData menuTheme;
    ItemPaintInput common;
    TItemScratch scratch;
};

// The items over `paint` as the view gives them (or all at rest), the band without its
// decoration and the filler below the last column.
void PaintItemsBandAndFiller(const TLevelView &level, TLevelParts &parts, const RECT &paint,
                             bool atRest)
{
    for (TItemView item : level.items) {
        if (!Intersects(item.rect, paint))
            continue;
        if (atRest)
            item.hot = item.dropBefore = item.dropAfter = false;
        parts.Item(item);
    }
    if (parts.hasBand) {
        const RECT band = parts.Band();
        if (band.right > band.left && band.bottom > band.top)
            PaintBandWithoutDecoration(parts.common.dc, parts.common.theme, band);
    }
    if (!level.items.empty()) {
        int fx = parts.framed ? GetSystemMetrics(SM_CXFRAME) : 0;
        int fy = parts.framed ? GetSystemMetrics(SM_CYFRAME) : 0;
        PixelRect filler = FillerRect(ToPixelRect(level.items.back().rect), level.width,
                                      level.height, fx, fy);
        // The filler continues the last column's background and lines to the bottom.
        TItemView below = {.rect = {filler.left, filler.top, filler.right, filler.bottom},
                           .caption = L""};
        parts.Item(below);
    }
}

// Items whose look now differs from their look at rest.
bool DiffersFromRest(const TItemView &item, bool dragOver)
{
    return (item.hot && !dragOver) || item.dropBefore || item.dropAfter;
}

// Raised by ForgetLevelPictures: the theme or the system colours changed under every picture.
unsigned PictureEpoch = 0;

// The settings bytes a picture depends on: the whole record but the file text in progress.
constexpr size_t kPaintedSettingsSize = offsetof(TSettings, FileTextMemory);

}  // namespace

// One item as it was at rest in the picture.
struct TItemAtRest {
    RECT rect;
    HICON icon;
    std::wstring caption;
    bool isSeparator;
    bool hasSubLevel;
    bool isNew;
};

// The frame's strips for one focus state, filled in the colours they show.
struct TKeptFrame {
    std::optional<TSurface> strips[kFrameSides];
    FrameColors colors = {};
};

struct TLevelPicture {
    std::optional<TSurface> surface;
    TKeptFrame frames[2];  // without and with the focus
    // What the picture was painted from.
    int width = 0;
    int height = 0;
    bool topLevel = false;
    POINT origin = {};
    unsigned epoch = 0;
    std::vector<TItemAtRest> items;
    unsigned char settings[kPaintedSettingsSize] = {};
};

namespace {

// The screen position matters only to a background picture that stays still on the screen.
POINT PictureOrigin(const TLevelView &level)
{
    return Settings.BackMenuImageMode ? WindowOrigin(level.window) : POINT{0, 0};
}

bool SameItemAtRest(const TItemAtRest &kept, const TItemView &item)
{
    return EqualRect(&kept.rect, &item.rect) && kept.icon == item.icon &&
           kept.isSeparator == item.isSeparator && kept.hasSubLevel == item.hasSubLevel &&
           kept.caption.size() == size_t(item.captionLength) &&
           std::wmemcmp(kept.caption.data(), item.caption, item.captionLength) == 0;
}

// Whether the picture shows the level at rest as it is now, new-item tints apart.
bool PictureIsCurrent(const TLevelPicture &picture, const TLevelView &level)
{
    if (!picture.surface || !picture.surface->Ok() || picture.width != level.width ||
        picture.height != level.height || picture.topLevel != level.topLevel ||
        picture.epoch != PictureEpoch || picture.items.size() != level.items.size())
        return false;
    const POINT origin = PictureOrigin(level);
    if (origin.x != picture.origin.x || origin.y != picture.origin.y)
        return false;
    if (std::memcmp(picture.settings, &Settings, kPaintedSettingsSize) != 0)
        return false;
    for (size_t i = 0; i < level.items.size(); ++i)
        if (!SameItemAtRest(picture.items[i], level.items[i]))
            return false;
    return true;
}

void PaintPicture(TLevelPicture &picture, const TLevelView &level)
{
    for (TKeptFrame &frame : picture.frames)
        for (std::optional<TSurface> &strip : frame.strips)
            strip.reset();
    // A picture of the same size is painted over, as a window is: the new-item tint of the
    // classic look leaves its last row and column as they were.
    if (!picture.surface || picture.surface->Width() != level.width ||
        picture.surface->Height() != level.height) {
        picture.surface.reset();
        picture.surface.emplace(nullptr, level.width, level.height);
    }
    if (!picture.surface->Ok())
        return;
    TLevelParts parts(level, picture.surface->Dc());
    PaintItemsBandAndFiller(level, parts, {0, 0, level.width, level.height}, true);
    GdiFlush();
    picture.width = level.width;
    picture.height = level.height;
    picture.topLevel = level.topLevel;
    picture.origin = PictureOrigin(level);
    picture.epoch = PictureEpoch;
    std::memcpy(picture.settings, &Settings, kPaintedSettingsSize);
    picture.items.clear();
    for (const TItemView &item : level.items)
        picture.items.push_back({item.rect, item.icon,
                                 std::wstring(item.caption, size_t(item.captionLength)),
                                 item.isSeparator, item.hasSubLevel, item.isNew});
}

// Brings the picture up to date: painted anew when anything but the new-item tints changed,
// otherwise only the items whose tint changed are painted again.
void UpdatePicture(TLevelPicture &picture, const TLevelView &level)
{
    if (!PictureIsCurrent(picture, level)) {
        PaintPicture(picture, level);
        return;
    }
    std::optional<TLevelParts> parts;
    for (size_t i = 0; i < level.items.size(); ++i) {
        if (picture.items[i].isNew == level.items[i].isNew)
            continue;
        if (!parts)
            parts.emplace(level, picture.surface->Dc());
        TItemView item = level.items[i];
        item.hot = item.dropBefore = item.dropAfter = false;
        parts->Item(item);
        picture.items[i].isNew = item.isNew;
    }
    if (parts)
        GdiFlush();
}

void PaintWithoutPicture(const TLevelView &level, HDC dc, const RECT &paint)
{
    TLevelParts parts(level, dc);
    if (parts.framed)
        PaintFrame(level, dc);
    PaintItemsBandAndFiller(level, parts, paint, false);
    if (parts.hasBand)
        DrawSeasonDecoration(dc, parts.Band());
}

// The frame from strips kept for each focus state: filled again only when its colours change.
void PaintKeptFrame(TLevelPicture &picture, const TLevelView &level, HDC dc)
{
    const bool focused = LevelHasFocus(level);
    const FrameColors colors = FrameColorsNow(focused);
    TKeptFrame &frame = picture.frames[focused ? 1 : 0];
    const bool recolored = colors.fill != frame.colors.fill || colors.edge != frame.colors.edge;
    frame.colors = colors;
    RECT rects[kFrameSides];
    FrameStripRects(level.width, level.height, rects);
    for (int side = 0; side < kFrameSides; ++side) {
        const RECT &r = rects[side];
        std::optional<TSurface> &strip = frame.strips[side];
        const bool made = !strip;
        if (made)
            strip.emplace(nullptr, r.right - r.left, r.bottom - r.top);
        if (!strip->Ok())
            continue;
        if (made || recolored) {
            strip->Clear();
            FillFrameStrip(strip->Pixels(), side, colors.fill, colors.edge,
                           GetSystemMetrics(SM_CXFRAME));
        }
        BitBlt(dc, r.left, r.top, strip->Width(), strip->Height(), strip->Dc(), 0, 0, SRCCOPY);
    }
}

void PaintFromPicture(TLevelPicture &picture, const TLevelView &level, HDC dc, const RECT &paint)
{
    UpdatePicture(picture, level);
    if (!picture.surface || !picture.surface->Ok()) {
        PaintWithoutPicture(level, dc, paint);
        return;
    }
    TLevelParts parts(level, dc);
    BitBlt(dc, paint.left, paint.top, paint.right - paint.left, paint.bottom - paint.top,
           picture.surface->Dc(), paint.left, paint.top, SRCCOPY);
    if (parts.framed)
        PaintKeptFrame(picture, level, dc);
    for (const TItemView &item : level.items)
        if (DiffersFromRest(item, level.dragOver) && Intersects(item.rect, paint))
            parts.Item(item);
    if (parts.hasBand)
        DrawSeasonDecoration(dc, parts.Band());
}

}  // namespace

TLevelPicture *NewLevelPicture() { return new TLevelPicture; }

void DeleteLevelPicture(TLevelPicture *picture) { delete picture; }

void PrepareLevelPicture(const TLevelView &level)
{
    if (level.picture && level.width > 0 && level.height > 0)
        UpdatePicture(*level.picture, level);
}

void ForgetLevelPictures() { ++PictureEpoch; }

void PaintLevel(const TLevelView &level, HDC dc, const RECT &paint)
{
    if (level.width <= 0 || level.height <= 0)
        return;
    if (level.picture)
        PaintFromPicture(*level.picture, level, dc, paint);
    else
        PaintWithoutPicture(level, dc, paint);
}
