#include "render/portable/pixels.h"

#include <algorithm>
#include <cstddef>

namespace {

uint32_t ClampByte(int value) { return static_cast<uint32_t>(std::clamp(value, 0, 255)); }

// The low 8 bits of a truncated channel value; values beyond the int range (a corrupt
// setting) are pinned first so the conversion stays defined.
uint32_t LowByte(double value)
{
    value = std::clamp(value, -2147483648.0, 2147483647.0);
    return static_cast<uint32_t>(static_cast<int>(value)) & 0xFF;
}

uint32_t PackPixel(uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue)
{
    return alpha << 24 | red << 16 | green << 8 | blue;
}

void FillAll(PixelSurface s, uint32_t pixel)
{
    std::fill(s.bits, s.bits + static_cast<size_t>(s.width) * s.height, pixel);
}

void FillRow(PixelSurface s, int y, uint32_t pixel)
{
    std::fill(s.bits + static_cast<size_t>(y) * s.width, s.bits + static_cast<size_t>(y + 1) * s.width,
              pixel);
}

void FillColumn(PixelSurface s, int x, uint32_t pixel)
{
    for (int y = 0; y < s.height; ++y)
        s.bits[static_cast<size_t>(y) * s.width + x] = pixel;
}

void SetPixel(PixelSurface s, int x, int y, uint32_t pixel)
{
    if (x >= 0 && x < s.width && y >= 0 && y < s.height)
        s.bits[static_cast<size_t>(y) * s.width + x] = pixel;
}

bool IsEmpty(PixelSurface s) { return s.bits == nullptr || s.width <= 0 || s.height <= 0; }

// Per-channel step of a gradient spread over `span` pixels, as the look has always used it.
struct GradientSteps {
    float red, green, blue;
};

GradientSteps StepsOver(uint32_t from, uint32_t to, int span)
{
    float s = static_cast<float>(span);
    return {static_cast<float>(static_cast<int>(RedOf(to)) - static_cast<int>(RedOf(from))) / s,
            static_cast<float>(static_cast<int>(GreenOf(to)) - static_cast<int>(GreenOf(from))) / s,
            static_cast<float>(static_cast<int>(BlueOf(to)) - static_cast<int>(BlueOf(from))) / s};
}

// Straight gradient value at position t: truncate(t * step + start), low 8 bits.
uint32_t StraightGradientPixel(const GradientSteps &steps, uint32_t from, int t, uint32_t alpha)
{
    float ft = static_cast<float>(t);
    return PackPixel(alpha, LowByte(ft * steps.red + static_cast<float>(RedOf(from))),
                     LowByte(ft * steps.green + static_cast<float>(GreenOf(from))),
                     LowByte(ft * steps.blue + static_cast<float>(BlueOf(from))));
}

uint32_t ScaledChannel(float step, uint32_t start, int t, uint32_t alpha)
{
    float value = (static_cast<float>(t) * step + static_cast<float>(start)) * static_cast<float>(alpha);
    return LowByte(value * 0.00390625);
}

void VerticalPremultipliedGradient(PixelSurface s, const MenuFill &fill, const ItemPlacement &place)
{
    if (place.menuHeight <= 0)
        return;
    uint32_t a = ClampByte(fill.alpha);
    GradientSteps steps = StepsOver(fill.gradient1, fill.gradient2, place.menuHeight);
    for (int row = 0; row < s.height; ++row) {
        int t = place.item.top + row;
        FillRow(s, row,
                PackPixel(a, ScaledChannel(steps.red, RedOf(fill.gradient1), t, a),
                          ScaledChannel(steps.green, GreenOf(fill.gradient1), t, a),
                          ScaledChannel(steps.blue, BlueOf(fill.gradient1), t, a)));
    }
}

void HorizontalStraightGradient(PixelSurface s, const MenuFill &fill, const ItemPlacement &place)
{
    int span = place.menuWidth - place.bandWidth;
    if (span <= 0)
        return;
    GradientSteps steps = StepsOver(fill.gradient1, fill.gradient2, span);
    uint32_t a = ClampByte(fill.alpha);
    for (int col = 0; col < s.width; ++col) {
        int t = place.item.left + col - place.bandWidth;
        uint32_t pixel = StraightGradientPixel(steps, fill.gradient1, t, a);
        for (int row = 0; row < s.height; ++row)
            s.bits[static_cast<size_t>(row) * s.width + col] = pixel;
    }
}

uint32_t Darken(uint32_t pixel)
{
    uint32_t out = pixel & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ClampByte(static_cast<int>((pixel >> shift) & 0xFF) - 80) << shift;
    return out;
}

uint32_t Lighten(uint32_t pixel)
{
    uint32_t out = pixel & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ClampByte(static_cast<int>((pixel >> shift) & 0xFF) + 80) << shift;
    return out;
}

}  // namespace

uint32_t StraightPixel(uint32_t colorRef, uint32_t alpha)
{
    return PackPixel(std::min(alpha, 255u), RedOf(colorRef), GreenOf(colorRef), BlueOf(colorRef));
}

uint32_t PremultipliedPixel(uint32_t colorRef, uint32_t alpha)
{
    alpha = std::min(alpha, 255u);
    return PackPixel(alpha, RedOf(colorRef) * alpha / 256, GreenOf(colorRef) * alpha / 256,
                     BlueOf(colorRef) * alpha / 256);
}

bool FillMenuSurface(PixelSurface surface, const MenuFill &fill, const ItemPlacement &place)
{
    if (IsEmpty(surface))
        return false;
    switch (fill.mode) {
    case kColorModePlain:
        if (fill.plain == 0)
            return false;
        FillAll(surface, PremultipliedPixel(fill.plain, ClampByte(fill.alpha)));
        return true;
    case kColorModeVerticalGradient:
        VerticalPremultipliedGradient(surface, fill, place);
        return true;
    case kColorModeHorizontalGradient:
        HorizontalStraightGradient(surface, fill, place);
        return true;
    case kColorModePicture:
        return true;
    default:
        return false;
    }
}

void FillBandSurface(PixelSurface surface, const BandFill &fill, PixelRect band)
{
    if (IsEmpty(surface))
        return;
    uint32_t a = ClampByte(fill.alpha);
    if (fill.mode == kColorModePlain) {
        if (fill.plain != 0)
            FillAll(surface, StraightPixel(fill.plain, a));
    } else if (fill.mode == kColorModeVerticalGradient && band.bottom > 0) {
        GradientSteps steps = StepsOver(fill.gradient1, fill.gradient2, band.bottom);
        for (int row = 0; row < surface.height; ++row)
            FillRow(surface, row, StraightGradientPixel(steps, fill.gradient1, band.top + row, a));
    } else if (fill.mode == kColorModeHorizontalGradient && band.right > 0) {
        GradientSteps steps = StepsOver(fill.gradient1, fill.gradient2, band.right);
        for (int col = 0; col < surface.width; ++col) {
            uint32_t pixel = StraightGradientPixel(steps, fill.gradient1, band.left + col, a);
            for (int row = 0; row < surface.height; ++row)
                surface.bits[static_cast<size_t>(row) * surface.width + col] = pixel;
        }
    }
}

void PremultiplySurface(PixelSurface surface, int alpha)
{
    if (IsEmpty(surface))
        return;
    uint32_t a = ClampByte(alpha);
    size_t count = static_cast<size_t>(surface.width) * surface.height;
    for (size_t i = 0; i < count; ++i) {
        uint32_t p = surface.bits[i];
        surface.bits[i] = PackPixel(a, ((p >> 16) & 0xFF) * a / 256, ((p >> 8) & 0xFF) * a / 256,
                                    (p & 0xFF) * a / 256);
    }
}

void ForceOpaque(PixelSurface surface)
{
    if (IsEmpty(surface))
        return;
    size_t count = static_cast<size_t>(surface.width) * surface.height;
    for (size_t i = 0; i < count; ++i)
        surface.bits[i] |= 0xFF000000u;
}

void SealTextAlpha(PixelSurface surface)
{
    if (IsEmpty(surface))
        return;
    size_t count = static_cast<size_t>(surface.width) * surface.height;
    for (size_t i = 0; i < count; ++i)
        if (surface.bits[i] != 0 && (surface.bits[i] >> 24) == 0)
            surface.bits[i] |= 0xFF000000u;
}

void BlackBorder(PixelSurface surface, PixelRect rect, int menuWidth, int menuHeight)
{
    if (IsEmpty(surface))
        return;
    if (rect.left == 0)
        FillColumn(surface, 0, kOpaqueBlack);
    if (rect.right == menuWidth)
        FillColumn(surface, surface.width - 1, kOpaqueBlack);
    if (rect.top == 0)
        FillRow(surface, 0, kOpaqueBlack);
    if (rect.bottom == menuHeight)
        FillRow(surface, surface.height - 1, kOpaqueBlack);
}

void BandBlackBorder(PixelSurface surface, PixelRect band, int menuHeight)
{
    if (IsEmpty(surface))
        return;
    if (band.left == 0)
        FillColumn(surface, 0, kOpaqueBlack);
    if (band.top == 0)
        FillRow(surface, 0, kOpaqueBlack);
    if (band.bottom == menuHeight)
        FillRow(surface, surface.height - 1, kOpaqueBlack);
}

void EtchVertical(PixelSurface surface, int x)
{
    if (IsEmpty(surface))
        return;
    for (int y = 0; y < surface.height; ++y) {
        uint32_t *row = surface.bits + static_cast<size_t>(y) * surface.width;
        if (x >= 0 && x < surface.width)
            row[x] = Darken(row[x]);
        if (x + 1 >= 0 && x + 1 < surface.width)
            row[x + 1] = Lighten(row[x + 1]);
    }
}

void EtchHorizontal(PixelSurface surface, int y, int from, int to)
{
    if (IsEmpty(surface))
        return;
    from = std::max(from, 0);
    to = std::min(to, surface.width - 1);
    for (int x = from; x <= to; ++x) {
        if (y >= 0 && y < surface.height)
            surface.bits[static_cast<size_t>(y) * surface.width + x] =
                Darken(surface.bits[static_cast<size_t>(y) * surface.width + x]);
        if (y + 1 >= 0 && y + 1 < surface.height)
            surface.bits[static_cast<size_t>(y + 1) * surface.width + x] =
                Lighten(surface.bits[static_cast<size_t>(y + 1) * surface.width + x]);
    }
}

void DrawSubLevelArrow(PixelSurface surface, int oWidth, int cursorStyle)
{
    if (IsEmpty(surface))
        return;
    int k = 3 * oWidth / 5;
    if (k < 0)
        return;
    uint32_t fill = cursorStyle == kCursorLight ? kOpaqueWhite : kOpaqueBlack;
    uint32_t outline = cursorStyle == kCursorLight ? kOpaqueBlack : kOpaqueWhite;
    int x0 = surface.width - 6 - k;
    int y0 = (surface.height - (2 * k + 1)) / 2;
    for (int j = 0; j <= k + 1; ++j) {
        int first = j < 2 ? y0 : y0 + j - 1;
        int last = j < 2 ? y0 + 2 * k : y0 + 2 * k + 1 - j;
        for (int y = first; y <= last; ++y) {
            bool edge = j == 0 || y == first || y == last;
            SetPixel(surface, x0 + j, y, edge ? outline : fill);
        }
    }
}

void DrawDropMarker(PixelSurface surface, bool below, int cursorStyle)
{
    if (IsEmpty(surface))
        return;
    uint32_t color = cursorStyle == kCursorLight ? kOpaqueWhite : kOpaqueBlack;
    int w = surface.width;
    // Row 0 of the marker is the line; rows 1 to 3 carry the barbs, narrowing inwards.
    for (int step = 0; step < 4; ++step) {
        int y = below ? surface.height - 1 - step : step;
        if (step == 0) {
            if (y >= 0 && y < surface.height)
                FillRow(surface, y, color);
            continue;
        }
        int barb = 4 - step;  // 3, 2, 1 pixels at each end
        for (int i = 0; i < barb; ++i) {
            SetPixel(surface, i, y, color);
            SetPixel(surface, w - 1 - i, y, color);
        }
    }
}

void FillFrameStrip(PixelSurface surface, int side, uint32_t fill, uint32_t edge, int frame)
{
    if (IsEmpty(surface))
        return;
    FillAll(surface, fill);
    FillRow(surface, 0, edge);
    FillRow(surface, surface.height - 1, edge);
    if (side != 0 && side != 1)
        return;
    int outer = side == 0 ? 0 : surface.width - 1;
    int inner = side == 0 ? surface.width - 1 : 0;
    FillColumn(surface, outer, edge);
    for (int y = frame - 1; y <= surface.height - frame; ++y)
        SetPixel(surface, inner, y, edge);
}

FrameColors FrameColorsFrom(uint32_t colorization, bool focused, uint32_t unfocusedFill)
{
    uint32_t fill = colorization | 0xFF000000u;
    uint32_t edge = ((fill >> 1) & 0x7F7F7Fu) | 0xFF000000u;
    return {focused ? fill : unfocusedFill, edge};
}
