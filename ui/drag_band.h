// Where the borderless main window can be dragged: a band along its top, left of the
// "i" label. Pure arithmetic so that the edges can be tested exactly.
#pragma once

namespace taliveer {

inline constexpr int kDragBandHeight = 60;
inline constexpr int kDragBandRight = 635;  // left edge of TopLabel1

// Point and window edges in screen coordinates; both comparisons strict and signed.
constexpr bool InDragBand(int pointX, int pointY, int windowLeft, int windowTop) {
    return pointY < windowTop + kDragBandHeight && pointX < windowLeft + kDragBandRight;
}

}  // namespace taliveer
