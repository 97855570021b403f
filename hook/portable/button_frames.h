// The start button's twelve pictures: the normal, hover and pushed images brought to the
// button size, and the nine steps of the hover fade between the first two.  Pixels are
// premultiplied BGRA, blue in the low byte, rows top-down.
#pragma once
#include <cstdint>

inline constexpr int kHoverFrame = 10;   // frames 0..10: normal, nine blends, hover
inline constexpr int kPushedFrame = 11;
inline constexpr int kFrameCount = 12;

// Scales a srcWidth x srcHeight picture to size x size by area averaging: every source
// pixel that overlaps a target pixel's footprint contributes in proportion to the overlap;
// each channel is truncated.  A picture already of the target size is copied unchanged.
void ScaleAreaAverage(const uint32_t *src, int srcWidth, int srcHeight, uint32_t *dst,
                      int size);

// Fade step `step` (0..10) between two pictures of `count` pixels: every channel is
// (normal * (10 - step) + hover * step) / 10, truncated.
void BlendFrames(const uint32_t *normal, const uint32_t *hover, int step, uint32_t *dst,
                 int count);

// What the button shows when its normal image is missing or unusable: a plain disc.
void DrawFallbackButton(uint32_t *dst, int size);
