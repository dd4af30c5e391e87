// The run-cutting rule of the window-region scan, kept apart from GDI so that it can be
// tested on plain pixel arrays.
#pragma once

#include <cstdint>
#include <vector>

namespace taliveer {

// One pixel high rectangle [x0, x1) on row y.
struct PixelRun {
    int x0;
    int x1;
    int y;
    bool operator==(const PixelRun&) const = default;
};

// Cuts each row y0..yEnd-1 of the strip x0..xEnd-1 into maximal runs of one colour and
// returns the runs whose colour equals `key`, row by row, left to right. `pixelAt(x, y)`
// gives a 24-bit RGB colour.
template <typename PixelAt>
std::vector<PixelRun> KeyColourRuns(PixelAt&& pixelAt, int x0, int y0, int xEnd, int yEnd,
                                    std::uint32_t key) {
    std::vector<PixelRun> runs;
    for (int y = y0; y < yEnd; ++y) {
        int runStart = x0;
        std::uint32_t runColour = 0;
        for (int x = x0; x < xEnd; ++x) {
            const std::uint32_t colour = pixelAt(x, y);
            if (x == x0) {
                runColour = colour;
            } else if (colour != runColour) {
                if (runColour == key) runs.push_back({runStart, x, y});
                runStart = x;
                runColour = colour;
            }
        }
        if (xEnd > x0 && runColour == key) runs.push_back({runStart, xEnd, y});
    }
    return runs;
}

// The four border strips of a W x H picture, `border` pixels wide (three at 96 DPI, scaled
// with the picture), in the order the region routine combines them: top, left, right, bottom.
struct Strip {
    int x0, y0, xEnd, yEnd;
    bool operator==(const Strip&) const = default;
};
struct BorderStrips {
    Strip top, left, right, bottom;
};
inline constexpr int kRegionBorder = 3;
constexpr BorderStrips BorderStripsOf(int w, int h, int border = kRegionBorder) {
    const int b = border;
    return {{0, 0, w, b}, {0, b, b, h - b}, {w - b, b, w, h - b}, {0, h - b, w, h}};
}

}  // namespace taliveer
