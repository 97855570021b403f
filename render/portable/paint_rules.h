// Small decisions of menu painting that need no drawing.
#pragma once
#include <cstdint>

#include "render/portable/pixels.h"

// The band of the top level: a column of `ribbonWidth` inside the frame.
PixelRect BandRect(int frame, int ribbonWidth, int menuHeight);

// Horizontal shift that centres upward text of height `textHeight` across the band.
int BandTextOffset(int ribbonWidth, int textHeight);

// The area under the last item that the filler paints, or an empty rectangle.
PixelRect FillerRect(PixelRect lastItem, int menuWidth, int menuHeight, int frameX, int frameY);

inline bool IsEmptyRect(PixelRect r) { return r.right <= r.left || r.bottom <= r.top; }
inline bool RectsIntersect(PixelRect a, PixelRect b)
{
    return !IsEmptyRect(a) && !IsEmptyRect(b) && a.left < b.right && b.left < a.right &&
           a.top < b.bottom && b.top < a.bottom;
}

// FILETIME units of 2^32 x 100 ns in one day.
inline constexpr double kFileTimeHighUnitsPerDay = 201.1656761;

// An item is new while the upper FILETIME halves of now and of its creation differ (as an
// unsigned 32-bit difference) by less than `days` days.
bool IsCreatedRecently(bool hilight, uint32_t nowHigh, uint32_t createdHigh, int days);
