#include "render/drawing.h"

#include <algorithm>

#include "settings/settings.h"

namespace {

constexpr DWORD kThemedTextFlags = DTT_COMPOSITED | DTT_TEXTCOLOR;

// The picture selected into a memory DC compatible with `dc` for one blit.
struct TPictureDc {
    TPictureDc(HDC dc, HBITMAP picture)
        : memory(picture ? CreateCompatibleDC(dc) : nullptr), selected(memory.Get(), picture)
    {
    }
    HDC Get() const { return memory.Get(); }
    TMemoryDC memory;
    TSelection selected;
};

}  // namespace

TSurface::TSurface(HDC target, int width, int height)
    : bitmap_(CreateTopDownDib(target, width, height, &bits_)),
      dc_(bitmap_.Get() ? CreateCompatibleDC(target) : nullptr), selected_(dc_.Get(), bitmap_.Get())
{
    if (!dc_.Get())
        bits_ = nullptr;
    if (bits_) {
        width_ = width;
        height_ = height;
    }
}

void TSurface::Clear() const
{
    if (!bits_)
        return;
    GdiFlush();  // text or blits still queued for the surface would land after the clearing
    std::fill(bits_, bits_ + static_cast<size_t>(width_) * height_, 0u);
}

SIZE PictureSize(HBITMAP picture)
{
    BITMAP info = {};
    if (!picture || !GetObjectW(picture, sizeof(info), &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void DrawPicture(HDC dc, HBITMAP picture)
{
    SIZE size = PictureSize(picture);
    TPictureDc source(dc, picture);
    if (source.Get())
        BitBlt(dc, 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
}

void StretchPicture(HDC dc, int x, int y, int w, int h, HBITMAP picture)
{
    SIZE size = PictureSize(picture);
    TPictureDc source(dc, picture);
    if (!source.Get() || w <= 0 || h <= 0)
        return;
    int oldMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE wants the brush origin reset
    StretchBlt(dc, x, y, w, h, source.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

void CopyPictureAt(HDC dc, int w, int h, int srcX, int srcY, HBITMAP picture)
{
    TPictureDc source(dc, picture);
    if (source.Get() && w > 0 && h > 0)
        BitBlt(dc, 0, 0, w, h, source.Get(), srcX, srcY, SRCCOPY);
}

void BlendPicture(HDC dc, int x, int y, int w, int h, HBITMAP picture)
{
    SIZE size = PictureSize(picture);
    TPictureDc source(dc, picture);
    if (!source.Get() || w <= 0 || h <= 0 || size.cx <= 0 || size.cy <= 0)
        return;
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, w, h, source.Get(), 0, 0, size.cx, size.cy, blend);
    SetStretchBltMode(dc, oldMode);
}

void BlendSurface(HDC dc, int x, int y, const TSurface &surface)
{
    if (!surface.Ok())
        return;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, surface.Width(), surface.Height(), surface.Dc(), 0, 0, surface.Width(),
               surface.Height(), blend);
}

bool FillSurface(const TSurface &surface, const ItemPlacement &place, POINT windowOrigin)
{
    if (!surface.Ok())
        return false;
    MenuFill fill = {Settings.DrawColorMode, Settings.DrawColorPlain, Settings.DrawColorGradient1,
                     Settings.DrawColorGradient2, Settings.DrawColorAlpha};
    if (fill.mode == kColorModePicture && Settings.BackMenuBitmap) {
        // With BackMenuImageMode the picture stays still on the screen under the menus.
        POINT source = {place.item.left, place.item.top};
        if (Settings.BackMenuImageMode) {
            source.x += windowOrigin.x;
            source.y += windowOrigin.y;
        }
        CopyPictureAt(surface.Dc(), surface.Width(), surface.Height(), source.x, source.y,
                      Settings.BackMenuBitmap);
        GdiFlush();
        PremultiplySurface(surface.Pixels(), fill.alpha);
    }
    return FillMenuSurface(surface.Pixels(), fill, place);
}

bool ThemePartDrawsNothing(HTHEME theme, int part, int state, const TSurface &trial)
{
    if (!trial.Ok())
        return false;
    PixelSurface pixels = trial.Pixels();
    uint32_t *end = pixels.bits + static_cast<size_t>(pixels.width) * pixels.height;
    RECT whole = {0, 0, pixels.width, pixels.height};
    bool unchanged = true;
    for (uint32_t base : {0u, kOpaqueWhite}) {
        GdiFlush();
        std::fill(pixels.bits, end, base);
        DrawThemeBackground(theme, trial.Dc(), part, state, &whole, nullptr);
        GdiFlush();
        unchanged = unchanged && std::all_of(pixels.bits, end, [base](uint32_t p) { return p == base; });
    }
    trial.Clear();
    return unchanged;
}

void DrawThemedText(HTHEME theme, HDC dc, const wchar_t *text, int length, RECT rect,
                    DWORD format, COLORREF color)
{
    DTTOPTS options = {};
    options.dwSize = sizeof(options);
    options.dwFlags = kThemedTextFlags;
    options.crText = color;
    DrawThemeTextEx(theme, dc, 0, 0, text, length, format, &rect, &options);
}

void ApplyGlow(const TSurface &surface, HTHEME theme, HFONT font, const wchar_t *text, int length,
               RECT rect, DWORD format, const GlowParams &params, COLORREF textColor)
{
    if (!surface.Ok())
        return;
    TSurface layer(surface.Dc(), surface.Width(), surface.Height());
    TSelection selectedFont(layer.Dc(), font);
    ApplyGlowThrough(surface, layer, theme, text, length, rect, format, params, textColor);
}

void ApplyGlowThrough(const TSurface &surface, const TSurface &layer, HTHEME theme,
                      const wchar_t *text, int length, RECT rect, DWORD format,
                      const GlowParams &params, COLORREF textColor)
{
    if (!surface.Ok() || !layer.Ok())
        return;
    // The colour of this first pass is irrelevant: its pixels only mark where text is.
    DrawThemedText(theme, layer.Dc(), text, length, rect, format, Settings.GlowColor);
    GdiFlush();
    GlowHalo(layer.Pixels(), params);
    DrawThemedText(theme, layer.Dc(), text, length, rect, format, textColor);
    GdiFlush();
    SealTextAlpha(layer.Pixels());
    BlendSurface(surface.Dc(), 0, 0, layer);
}

void PaintUpdate(HWND window, TWindowPainter paint)
{
    PAINTSTRUCT update;
    HDC dc = BeginPaint(window, &update);
    paint(window, dc, update.rcPaint);
    EndPaint(window, &update);
}

void PaintClient(HWND window, HDC dc, TWindowPainter paint)
{
    RECT client;
    GetClientRect(window, &client);
    paint(window, dc, client);
}
