// The rounded corners of the skin's pictures are cut on the diagonal x + y < n at each corner,
// in the key colour that the region routine leaves out. A picture resized between its drawn
// scales blends those pixels with their neighbours, and the window would keep them as a grey
// fringe: the cut is measured on the drawn picture and put back at the new size. Pure, on
// 24-bit rows (top row first), so that it can be tested on plain arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace taliveer {

// How many pixels at the start of `row` have the colour `key` (3 bytes).
inline int LeadingKeyRun(const std::uint8_t* row, int width, const std::uint8_t* key) {
    int run = 0;
    while (run < width && std::memcmp(row + 3 * run, key, 3) == 0) ++run;
    return run;
}

// The cut of `drawnCut` pixels on a picture `drawnWidth` wide, at a width of `width`.
constexpr int ScaledCut(int drawnCut, int drawnWidth, int width) {
    return drawnWidth > 0 ? (drawnCut * width + drawnWidth / 2) / drawnWidth : 0;
}

// Puts the key colour on the diagonal cut x + y < cut of all four corners.
inline void StampCornerCut(std::uint8_t* pixels, std::size_t stride, int width, int height, int cut,
                           const std::uint8_t* key) {
    auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < height) std::memcpy(pixels + stride * y + 3 * x, key, 3);
    };
    for (int y = 0; y < cut; ++y) {
        for (int x = 0; x + y < cut; ++x) {
            put(x, y);
            put(width - 1 - x, y);
            put(x, height - 1 - y);
            put(width - 1 - x, height - 1 - y);
        }
    }
}

}  // namespace taliveer
