// Painting of one menu level: frame, items, side band, filler and the seasonal decoration.
// Stateless: every paint reads the settings, the time and the colorization colour again.
#pragma once
#include <windows.h>
#include <uxtheme.h>

#include "render/portable/season.h"

class TMenu;
struct TMenuItem;

// What PaintItem needs of one item; rectangles are in menu client coordinates.
struct ItemPaintInput {
    HTHEME theme;  // null: the classic form
    HWND window;
    HDC dc;
    HFONT font;
    HICON icon;
    int iconSize;
    const wchar_t *caption;
    int captionLength;
    RECT rect;
    RECT paint;
    int menuWidth;
    int menuHeight;
    int state;  // 1 normal, 2 hot
    bool isSeparator;
    bool hasSubLevel;
    bool dragOver;
    bool dropBefore;
    bool dropAfter;
    int bandWidth;
    bool isNew;
};

inline constexpr int kItemStateNormal = 1;
inline constexpr int kItemStateHot = 2;

// What a paint needs of a level: PaintLevel gathers it from the TMenu.
struct LevelPaintInput {
    HWND window;  // may be null for a level painted off screen
    int width;    // client size
    int height;
    bool topLevel;
    TMenuItem *items;
    bool dragOver;
    HWND searchEdit;  // counts as the level's focus for the frame colour
};

void PaintLevel(TMenu *level, HDC dc, const RECT &paint);
void PaintLevelFrom(const LevelPaintInput &level, HDC dc, const RECT &paint);
void PaintItem(const ItemPaintInput &input);
// Fills the members of `input` that come from the item itself, leaving the level's alone.
void DescribeItem(ItemPaintInput &input, const TMenuItem *item);
void PaintBand(HDC dc, HTHEME theme, const RECT &rect);
void PaintFrameStrip(HDC dc, const RECT &strip, int side, uint32_t fill, uint32_t edge);
void DrawSeasonDecoration(HDC dc, const RECT &rect);
// The same for a given date and sequence, so that the window of dates can be shown.
void DrawSeasonDecorationOn(HDC dc, const RECT &rect, const SYSTEMTIME &date, SeasonRandom &random);
