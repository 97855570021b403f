// Pixel operations on 32-bit surfaces: blue in bits 0-7, green 8-15, red 16-23, alpha
// 24-31; rows run top-down and pixel (x, y) is word y * width + x.  Colours come in as GDI
// colour references (red in the low byte).  Every operation clips to the surface and does
// nothing for an empty one.
#pragma once
#include <cstdint>

#include "settings/portable/setting_values.h"

struct PixelSurface {
    uint32_t *bits;
    int width;
    int height;
};

// A rectangle in menu client coordinates, right and bottom excluded.
struct PixelRect {
    int left, top, right, bottom;
};

inline constexpr uint32_t kOpaqueBlack = 0xFF000000u;
inline constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

inline uint32_t RedOf(uint32_t colorRef) { return colorRef & 0xFF; }
inline uint32_t GreenOf(uint32_t colorRef) { return (colorRef >> 8) & 0xFF; }
inline uint32_t BlueOf(uint32_t colorRef) { return (colorRef >> 16) & 0xFF; }

// The colour of a GDI colour reference as a pixel with the given alpha, channels unscaled.
uint32_t StraightPixel(uint32_t colorRef, uint32_t alpha);
// The same with each channel scaled by alpha / 256 (truncated).
uint32_t PremultipliedPixel(uint32_t colorRef, uint32_t alpha);

// How an item surface is filled (the DrawColor* settings).
struct MenuFill {
    int mode;  // TColorMode
    uint32_t plain;
    uint32_t gradient1;
    uint32_t gradient2;
    int alpha;
};

// Where an item surface lies: its rectangle in the menu, the menu's client size and the band
// width (0 without a band).  The fills follow the menu's rows and columns, so an item
// repainted alone comes out as in a paint of the whole level.
struct ItemPlacement {
    PixelRect item;
    int menuWidth;
    int menuHeight;
    int bandWidth;
};

// Fills an item surface in the plain and gradient modes; the picture is copied by the
// caller and then premultiplied with PremultiplySurface.  Returns whether the fill allows
// the black outline: false for a plain colour of 0 and for unknown modes.
bool FillMenuSurface(PixelSurface surface, const MenuFill &fill, const ItemPlacement &place);

// How the band surface is filled (the RibbonColor* settings); always straight alpha.
struct BandFill {
    int mode;  // TColorMode but the picture
    uint32_t plain;
    uint32_t gradient1;
    uint32_t gradient2;
    int alpha;
};
void FillBandSurface(PixelSurface surface, const BandFill &fill, PixelRect band);

// Scales every channel by alpha / 256 and sets every alpha byte to `alpha`.
void PremultiplySurface(PixelSurface surface, int alpha);
// Sets every alpha byte to 0xFF, colours unchanged.
void ForceOpaque(PixelSurface surface);

// Makes opaque every pixel that has colour but alpha 0.  Composited text is premultiplied
// and never leaves such pixels; a text call that does (Wine's) would otherwise have its
// colour added to what lies below when the surface is blended.
void SealTextAlpha(PixelSurface surface);

// Opaque black on the surface's edges that lie on the menu's edges (item surfaces).
void BlackBorder(PixelSurface surface, PixelRect rect, int menuWidth, int menuHeight);
// The band's variant: left, top and bottom edges only, never the right one.
void BandBlackBorder(PixelSurface surface, PixelRect band, int menuHeight);

// Column x darkened by 80 per channel, column x + 1 lightened by 80; alpha unchanged.
void EtchVertical(PixelSurface surface, int x);
// Row y darkened, row y + 1 lightened, columns from..to inclusive.
void EtchHorizontal(PixelSurface surface, int y, int from, int to);

// The sub-level arrow for a letter "o" of width `oWidth`, tip at x = width - 5.
// The dark cursor style: black fill, white outline; the light one: white fill, black outline.
void DrawSubLevelArrow(PixelSurface surface, int oWidth, int cursorStyle);
// The drop marker along the bottom edge (below) or the top edge (above).
void DrawDropMarker(PixelSurface surface, bool below, int cursorStyle);

// One strip of the frame: `fill` everywhere, `edge` on the outer and inner boundary lines.
// Side 0 left, 1 right, 2 top, 3 bottom; `frame` is the frame width.
void FillFrameStrip(PixelSurface surface, int side, uint32_t fill, uint32_t edge, int frame);

// The frame colours from the window manager's colorization colour: fill opaque, edge the
// fill with every channel halved.  A level without the focus shows `unfocusedFill`.
struct FrameColors {
    uint32_t fill;
    uint32_t edge;
};
FrameColors FrameColorsFrom(uint32_t colorization, bool focused, uint32_t unfocusedFill);
