// Where a borderless window can be dragged: a band along its top, from its left edge to
// `right` and down to `height` (window coordinates). Pure arithmetic so that the edges can
// be tested exactly.
#pragma once

namespace taliveer {

struct DragBand {
    int right;
    int height;
};

// Point and window edges in screen coordinates; both comparisons strict and signed.
constexpr bool InDragBand(const DragBand& band, int pointX, int pointY, int windowLeft, int windowTop) {
    return pointY < windowTop + band.height && pointX < windowLeft + band.right;
}

}  // namespace taliveer
