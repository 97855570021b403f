// Drawing primitives over GDI and the visual styles: off-screen 32-bit surfaces, the
// picture blitters, the item fill and the glow behind text.  The pixel arithmetic itself is
// in render/portable.
#pragma once
#include <windows.h>
#include <uxtheme.h>

#include "common/win_guards.h"
#include "render/portable/glow.h"
#include "render/portable/pixels.h"

// A top-down 32-bit DIB section selected into its own memory DC, transparent when made.
// Ok() is false when the size is empty or the section could not be made; then every use
// draws nothing.
class TSurface {
public:
    TSurface(HDC target, int width, int height);
    TSurface(const TSurface &) = delete;
    TSurface &operator=(const TSurface &) = delete;

    bool Ok() const { return bits_ != nullptr; }
    HDC Dc() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    PixelSurface Pixels() const { return {bits_, width_, height_}; }
    // Transparent again, as when made, so one surface can serve several items.
    void Clear() const;

private:
    uint32_t *bits_ = nullptr;  // before the bitmap, which sets it
    TGdiObject bitmap_;
    TMemoryDC dc_;
    TSelection selected_;
    int width_ = 0;
    int height_ = 0;
};

// Picture blitters; a null picture draws nothing.
void DrawPicture(HDC dc, HBITMAP picture);
void StretchPicture(HDC dc, int x, int y, int w, int h, HBITMAP picture);
void CopyPictureAt(HDC dc, int w, int h, int srcX, int srcY, HBITMAP picture);
void BlendPicture(HDC dc, int x, int y, int w, int h, HBITMAP picture);
SIZE PictureSize(HBITMAP picture);

// A window's paint function over an area of its client; WM_PAINT hands it the update
// rectangle, WM_PRINTCLIENT the whole client area of the given DC.
using TWindowPainter = void (*)(HWND window, HDC dc, const RECT &area);
void PaintUpdate(HWND window, TWindowPainter paint);
void PaintClient(HWND window, HDC dc, TWindowPainter paint);

// Alpha-blends a whole surface (premultiplied, per-pixel alpha) onto dc at (x, y).
void BlendSurface(HDC dc, int x, int y, const TSurface &surface);

// Fills an item surface by DrawColorMode (the picture mode reads the menu background
// picture); `windowOrigin` is the level's screen position for BackMenuImageMode.  Returns
// whether the black outline may be drawn over the fill.
bool FillSurface(const TSurface &surface, const ItemPlacement &place, POINT windowOrigin);

// Whether drawing the theme part over the whole surface would leave every pixel as it was.
// The surface is used for the trial and left transparent.  A part that changes neither an
// empty nor an opaque white surface changes none: a blend that keeps both blends nothing,
// and any copied colour would show on one of them.
bool ThemePartDrawsNothing(HTHEME theme, int part, int state, const TSurface &trial);

// One composited theme text call in the given colour.
void DrawThemedText(HTHEME theme, HDC dc, const wchar_t *text, int length, RECT rect,
                    DWORD format, COLORREF color);

// Glowing (or shadowed) text: the halo of `params`, then the text in `textColor`, blended
// onto `surface`.  `font` is the font the text is drawn in.
void ApplyGlow(const TSurface &surface, HTHEME theme, HFONT font, const wchar_t *text, int length,
               RECT rect, DWORD format, const GlowParams &params, COLORREF textColor);
// The same through `layer`, a transparent surface of the same size with the font selected,
// so that a painter can draw many captions with one layer.
void ApplyGlowThrough(const TSurface &surface, const TSurface &layer, HTHEME theme,
                      const wchar_t *text, int length, RECT rect, DWORD format,
                      const GlowParams &params, COLORREF textColor);
