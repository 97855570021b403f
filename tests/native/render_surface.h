// A pixel buffer for the render tests, and a picture of it as text for small fixtures.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "render/portable/pixels.h"

struct TestSurface {
    int width, height;
    std::vector<uint32_t> pixels;
    TestSurface(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    PixelSurface View() { return {pixels.data(), width, height}; }
    uint32_t &At(int x, int y) { return pixels[size_t(y) * width + x]; }
};

// '.' transparent, 'B' opaque black, 'W' opaque white, 'E'/'F' the two colours given,
// '?' anything else.
inline std::vector<std::string> Picture(TestSurface &s, uint32_t e = 1, uint32_t f = 1)
{
    std::vector<std::string> rows;
    for (int y = 0; y < s.height; ++y) {
        std::string row;
        for (int x = 0; x < s.width; ++x) {
            uint32_t p = s.At(x, y);
            row += p == 0 ? '.' : p == kOpaqueBlack ? 'B' : p == kOpaqueWhite ? 'W'
                 : p == e ? 'E' : p == f ? 'F' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}
