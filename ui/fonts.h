// The fonts of the program's forms, created per form at its display scale and owned here.
#pragma once

#include "services/unique_handle.h"
#include "ui/layout.h"
#include "ui/pure/dpi_scale.h"

#include <array>

namespace taliveer {

class FontSet {
public:
    explicit FontSet(int dpi = kBaseDpi);
    HFONT Get(FontId id) const { return fonts_[static_cast<size_t>(id)].get(); }
    // The scale the fonts are made for; the form's controls are placed at the same scale.
    DpiScale Scale() const { return scale_; }
    // Makes every font again for `dpi`; the handles given out before are deleted.
    void Rebuild(int dpi);

private:
    DpiScale scale_;
    std::array<UniqueHFont, static_cast<size_t>(FontId::Count)> fonts_;
};

}  // namespace taliveer
