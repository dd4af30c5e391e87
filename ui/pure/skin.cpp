#include "ui/pure/skin.h"

#include <algorithm>
#include <cmath>

namespace taliveer {
namespace {

struct Pair {
    Colour light;
    Colour dark;
};

// Texts: the tables' colours and what the dark skin draws them in.
constexpr Pair kTexts[] = {
    {Rgb(0, 0, 0), Rgb(230, 230, 230)},        // plain text
    {Rgb(0, 70, 190), Rgb(160, 205, 255)},     // selected tab, lit button
    {Rgb(216, 233, 31), Rgb(216, 233, 31)},    // copyright, on the header in both skins
    {Rgb(0, 0, 255), Rgb(130, 180, 255)},      // links
    {Rgb(0, 112, 0), Rgb(120, 215, 120)},      // the promotion's green line
    {Rgb(0, 90, 140), Rgb(150, 215, 255)},     // the OK button's caption
    {Rgb(0, 0, 128), Rgb(200, 225, 255)},      // the OK button's caption, lit
    {Rgb(102, 102, 102), Rgb(175, 175, 175)},  // the About window's version
};

// Surfaces: pages, boxes, lists and the promotion windows' body.
constexpr Pair kSurfaces[] = {
    {Rgb(255, 255, 255), Rgb(32, 32, 32)},    // pages, lists, dialogs
    {Rgb(240, 240, 240), Rgb(43, 43, 43)},    // the system's dialog colour (Windows)
    {Rgb(212, 208, 200), Rgb(43, 43, 43)},    // the system's dialog colour (Wine, classic)
    {Rgb(195, 244, 255), Rgb(22, 52, 60)},    // the promotion windows' body
    {Rgb(251, 240, 227), Rgb(60, 50, 40)},    // the promotion windows' check box
};

Colour Darker(Colour c) { return Rgb(RedOf(c) * 3 / 16, GreenOf(c) * 3 / 16, BlueOf(c) * 3 / 16); }
Colour Lighter(Colour c) { return Rgb(255 - (255 - RedOf(c)) / 4, 255 - (255 - GreenOf(c)) / 4, 255 - (255 - BlueOf(c)) / 4); }

double Channel(int value) {
    const double v = value / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

}  // namespace

Colour ShownTextColour(Colour colour, Skin skin) {
    if (skin == Skin::Light) return colour;
    for (const Pair& pair : kTexts) {
        if (pair.light == colour) return pair.dark;
    }
    return Lighter(colour);
}

Colour ShownSurfaceColour(Colour colour, Skin skin) {
    if (skin == Skin::Light) return colour;
    for (const Pair& pair : kSurfaces) {
        if (pair.light == colour) return pair.dark;
    }
    return Darker(colour);
}

ListColours ListColoursOf(Skin skin) {
    return skin == Skin::Dark ? ListColours{Rgb(32, 32, 32), Rgb(230, 230, 230)}
                              : ListColours{Rgb(255, 255, 255), Rgb(0, 0, 0)};
}

double RelativeLuminance(Colour colour) {
    return 0.2126 * Channel(RedOf(colour)) + 0.7152 * Channel(GreenOf(colour)) + 0.0722 * Channel(BlueOf(colour));
}

double ContrastRatio(Colour a, Colour b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::wstring_view DarkSuffix(Skin skin) { return skin == Skin::Dark ? L"_DARK" : L""; }

}  // namespace taliveer
