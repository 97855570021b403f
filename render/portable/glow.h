// The halo behind text: every text pixel splats a disc of radius r around itself (moved 3
// pixels right and down for a drop shadow) into an accumulator, and the accumulator becomes
// the glow colour's opacity.  The text surface comes in with the text drawn on it (any
// non-zero pixel is text) and is turned into the halo in place, ready for the text to be
// drawn over it again.
#pragma once
#include <cstdint>
#include <vector>

#include "render/portable/pixels.h"

struct GlowParams {
    int radius;
    bool doubled;        // 1.5 times the weight per hit
    uint32_t glowColor;  // GDI colour reference
    bool shadow;
};

// Cells of the (2r + 1) x (2r + 1) disc mask, offsets -r - 1 .. r - 1 on both axes; a cell
// is set when dx * dx + dy * dy < r * r.
std::vector<uint8_t> GlowDiscMask(int radius);
float GlowWeight(int radius, bool doubled);

// The splat as the look defines it: O(text pixels x r^2).  Kept as the reference that the
// fast version is held to.
void GlowHaloReference(PixelSurface text, const GlowParams &params);
// Identical output: counts the hits each pixel receives with per-row difference spans and
// maps the count through the accumulated, clamped weight.
void GlowHalo(PixelSurface text, const GlowParams &params);
