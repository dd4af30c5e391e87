// One window's display scale: the layout tables are written in 96-DPI pixels, and this is
// the one place that turns them into device pixels (rectangles, font heights, column widths,
// drag bands, click points). Pure arithmetic, so that every rounding can be tested exactly.
#pragma once

#include <string>
#include <string_view>

namespace taliveer {

inline constexpr int kBaseDpi = 96;
// The scales the skin's pictures are drawn at, in per cent, smallest first.
inline constexpr int kArtworkPercents[] = {100, 125, 150, 175, 200};

struct PixelRect {
    int x, y, width, height;
    constexpr bool operator==(const PixelRect&) const = default;
};

struct DpiScale {
    int dpi = kBaseDpi;

    // `value` 96-DPI pixels in device pixels, rounded half away from zero as MulDiv does.
    constexpr int operator()(int value) const {
        const long long product = static_cast<long long>(value) * dpi;
        const long long half = kBaseDpi / 2;
        return static_cast<int>(product >= 0 ? (product + half) / kBaseDpi : -((-product + half) / kBaseDpi));
    }
    // A rectangle: its corner and its size scaled each, so that a picture drawn at the scale
    // (its size rounded the same way) fills its control exactly.
    constexpr PixelRect Rect(int x, int y, int width, int height) const {
        return PixelRect{(*this)(x), (*this)(y), (*this)(width), (*this)(height)};
    }
    // The scale in per cent, rounded.
    constexpr int Percent() const { return (dpi * 100 + kBaseDpi / 2) / kBaseDpi; }
    constexpr bool operator==(const DpiScale&) const = default;
};

// The drawn scale a picture is taken from at `dpi`: the exact one when there is one, else
// the nearest larger one (a picture is only ever scaled down), the largest beyond them.
constexpr int ArtworkPercentFor(int dpi) {
    for (int percent : kArtworkPercents) {
        if (percent * kBaseDpi >= dpi * 100) return percent;
    }
    return kArtworkPercents[sizeof kArtworkPercents / sizeof kArtworkPercents[0] - 1];
}

// The resource name of a picture drawn at `percent`: the plain name at 100 %, else the name
// and the percentage ("FORM1IMAGE_150"); `variant` comes between ("_DARK": "FORM1IMAGE_DARK_150").
inline std::wstring ArtworkName(std::wstring_view name, int percent, std::wstring_view variant = {}) {
    std::wstring drawn(name);
    drawn += variant;
    if (percent != 100) drawn += L"_" + std::to_wstring(percent);
    return drawn;
}

// The side of the rows' small icons: 16 at 96 DPI, 20, 24, 32 at 120, 144, 192.
constexpr int SmallIconSide(int dpi) { return DpiScale{dpi}(16); }

}  // namespace taliveer
