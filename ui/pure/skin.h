// The two skins, light and dark, and what each makes of the colours the layout tables name.
// Windows' app mode chooses (AppsUseLightTheme, 0 = dark); the tables keep their light
// colours and the dark skin maps them. Colours are COLORREF values (0x00BBGGRR). Pure, so
// that every colour and its contrast can be tested.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace taliveer {

enum class Skin { Light, Dark };

using Colour = std::uint32_t;  // 0x00BBGGRR, as COLORREF
constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r & 0xFF) | (static_cast<Colour>(g & 0xFF) << 8) | (static_cast<Colour>(b & 0xFF) << 16);
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

// The value "AppsUseLightTheme" (DWORD) when it exists: 0 means dark; a missing value (as on
// Windows 7 and 8.1) or any other value means light.
constexpr Skin SkinOfAppMode(std::optional<std::uint32_t> appsUseLightTheme) {
    return appsUseLightTheme && *appsUseLightTheme == 0 ? Skin::Dark : Skin::Light;
}
// The text of the WM_SETTINGCHANGE that says the app mode may have changed.
inline constexpr std::wstring_view kAppModeChange = L"ImmersiveColorSet";

// The colour a text of the table colour `colour` is drawn in.
Colour ShownTextColour(Colour colour, Skin skin);
// The colour a surface of the table colour `colour` (a page, a box, a list) is filled with.
Colour ShownSurfaceColour(Colour colour, Skin skin);

// The lists' colours.
struct ListColours {
    Colour background;
    Colour text;
};
ListColours ListColoursOf(Skin skin);

// WCAG's relative luminance (0..1) and contrast ratio (1..21).
double RelativeLuminance(Colour colour);
double ContrastRatio(Colour a, Colour b);

// The resource name of a picture of the skin: the dark skin's pictures are named with
// "_DARK" ("FORM1IMAGE_DARK", "FORM1IMAGE_DARK_150").
std::wstring_view DarkSuffix(Skin skin);

}  // namespace taliveer
