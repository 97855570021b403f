// The seasonal decoration of the side band: a star in the top-left corner and fifteen snow
// flakes scattered from a pseudo-random sequence, shown from 15 December to 6 January.
#pragma once
#include <cstdint>

#include "render/portable/pixels.h"

inline constexpr int kStarWidth = 28;
inline constexpr int kStarHeight = 24;
inline constexpr int kFlakeWidth = 11;
inline constexpr int kFlakeHeight = 10;
inline constexpr int kFlakeCount = 15;
inline constexpr int kFlakeKinds = 4;

// `Flags` bit 0 switches the decoration off.
bool SeasonDecorationShown(int month, int day, uint32_t flags);

// The linear congruential sequence of the C runtime: state starts at 1, each draw gives
// 0 .. 32767.
struct SeasonRandom {
    uint32_t state = 1;
    int Next();
};

struct FlakePlacement {
    int x, y;
    int kind;  // 0 .. 3
};

// Draws x, y and kind for each of the fifteen flakes, in that order, from `random`.
void PlaceFlakes(int width, int height, SeasonRandom &random, FlakePlacement out[kFlakeCount]);

// Composes the star and the flakes onto a transparent surface of the band's size
// (premultiplied pixels, only non-zero art pixels written, clipped to the surface).
void DrawSeasonArt(PixelSurface surface, const FlakePlacement flakes[kFlakeCount]);

// The art itself, premultiplied: kStarWidth x kStarHeight and kFlakeWidth x kFlakeHeight.
const uint32_t *StarPixels();
const uint32_t *FlakePixels(int kind);
