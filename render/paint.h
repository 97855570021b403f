// Painting of one menu level: frame, items, side band, filler and the seasonal decoration.
// Stateless: every paint reads the settings, the time and the colorization colour again.
#pragma once
#include <windows.h>
#include <uxtheme.h>

#include <span>

#include "render/portable/season.h"

// One item as the painter draws it; the rectangle is in the level's client coordinates and
// the caption is read only during the paint.
struct TItemView {
    RECT rect;
    HICON icon;  // may be null
    const wchar_t *caption;
    int captionLength;
    bool hot;
    bool isSeparator;
    bool hasSubLevel;
    bool dropBefore;
    bool dropAfter;
    bool isNew;  // recently installed
};

// One level as the painter draws it: a menu level's window, or a sample level painted off
// screen (window null).
struct TLevelView {
    HWND window;
    int width;  // client size
    int height;
    bool topLevel;      // the side band and the first icon size belong to the top level
    bool dragOver;      // something is dragged over the menu: the hot look gives way to markers
    HWND focusPartner;  // a window whose focus counts as the level's (the search box), or null
    std::span<const TItemView> items;
};

// What PaintItem needs: the item and what every item of its level's paint shares.
struct ItemPaintInput {
    HTHEME theme;  // null: the classic form
    HWND window;
    HDC dc;
    HFONT font;
    int iconSize;
    int menuWidth;
    int menuHeight;
    bool dragOver;
    int bandWidth;
    TItemView item;
};

// The whole paint of a level over the paint rectangle (the update rectangle of the paint).
void PaintLevel(const TLevelView &level, HDC dc, const RECT &paint);
void PaintItem(const ItemPaintInput &input);
void PaintBand(HDC dc, HTHEME theme, const RECT &rect);
void PaintFrameStrip(HDC dc, const RECT &strip, int side, uint32_t fill, uint32_t edge);
void DrawSeasonDecoration(HDC dc, const RECT &rect);
// The same for a given date and sequence, so that the window of dates can be shown.
void DrawSeasonDecorationOn(HDC dc, const RECT &rect, const SYSTEMTIME &date, SeasonRandom &random);
