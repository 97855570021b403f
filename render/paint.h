// Painting of one menu level: frame, items, side band, filler and the seasonal decoration.
// Every paint reads the settings, the time and the colorization colour again; a level with a
// kept picture copies what it showed at rest instead of painting it again.
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

// A level's picture at rest (no item hot, no drop marker, no frame, no seasonal decoration),
// kept between paints so that a paint copies it and draws only what differs from it.  It is
// painted again when anything it was painted from changes: the items, the size, the settings,
// the window's place when the background picture stays still on the screen, or everything at
// once through ForgetLevelPictures.
struct TLevelPicture;
TLevelPicture *NewLevelPicture();
void DeleteLevelPicture(TLevelPicture *picture);

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
    TLevelPicture *picture = nullptr;  // null: painted from scratch every time
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
// Brings the level's kept picture up to date now, so that its next paint only copies it.
void PrepareLevelPicture(const TLevelView &level);
// Every kept picture is out of date: the theme, the system colours or the display changed.
void ForgetLevelPictures();
void PaintItem(const ItemPaintInput &input);
void PaintBand(HDC dc, HTHEME theme, const RECT &rect);
// The framed style's strips along the client area's edges: left, right, top, bottom.
inline constexpr int kFrameSides = 4;
void FrameStripRects(int width, int height, RECT strips[kFrameSides]);
void PaintFrameStrip(HDC dc, const RECT &strip, int side, uint32_t fill, uint32_t edge);
void DrawSeasonDecoration(HDC dc, const RECT &rect);
// The same for a given date and sequence, so that the window of dates can be shown.
void DrawSeasonDecorationOn(HDC dc, const RECT &rect, const SYSTEMTIME &date, SeasonRandom &random);
