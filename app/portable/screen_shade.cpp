#include "app/portable/screen_shade.h"

void GreyPixels(uint32_t *pixels, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = pixels[i];
        const uint32_t mean = ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3;
        pixels[i] = (p & 0xFF000000u) | mean << 16 | mean << 8 | mean;
    }
}

void BlackenPixels(uint32_t *pixels, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        pixels[i] &= 0xFF000000u;
}
