// The fonts of the program's forms, created once per form and owned here.
#pragma once

#include "services/unique_handle.h"
#include "ui/layout.h"

#include <array>

namespace taliveer {

class FontSet {
public:
    FontSet();
    HFONT Get(FontId id) const { return fonts_[static_cast<size_t>(id)].get(); }

private:
    std::array<UniqueHFont, static_cast<size_t>(FontId::Count)> fonts_;
};

}  // namespace taliveer
