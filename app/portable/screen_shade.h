// The screen copies behind the power dialogs: turned grey, or black.
#pragma once
#include <cstddef>
#include <cstdint>

// 32-bit pixels, blue in the low byte: blue, green and red each become their mean (sum / 3,
// truncated); alpha is kept.
void GreyPixels(uint32_t *pixels, size_t count);
// Blue, green and red become 0; alpha is kept.
void BlackenPixels(uint32_t *pixels, size_t count);
