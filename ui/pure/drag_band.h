// Where a borderless window can be dragged: a band along its top, from its left edge to
// `right` and down to `height` (window coordinates). Pure arithmetic so that the edges can
// be tested exactly.
#pragma once

#include "ui/pure/dpi_scale.h"

namespace taliveer {

struct DragBand {
    int right;
    int height;
};

// Point and window edges in screen coordinates; both comparisons strict and signed.
constexpr bool InDragBand(const DragBand& band, int pointX, int pointY, int windowLeft, int windowTop) {
    return pointY < windowTop + band.height && pointX < windowLeft + band.right;
}

// The band of a layout table (96-DPI pixels) at a window's scale.
constexpr DragBand ScaledBand(const DragBand& band, const DpiScale& scale) {
    return DragBand{scale(band.right), scale(band.height)};
}

}  // namespace taliveer
