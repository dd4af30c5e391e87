#include "ui/fonts.h"

#include "ui/window_dpi.h"

namespace taliveer {
namespace {

UniqueHFont CreateNamedFont(int height, bool bold, bool underline, const wchar_t* face, DWORD precision) {
    return UniqueHFont(::CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                                     DEFAULT_CHARSET, precision, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
}

}  // namespace

FontSet::FontSet(int dpi) { Rebuild(dpi); }

void FontSet::Rebuild(int dpi) {
    scale_ = DpiScale{dpi};
    // A bitmap font ("MS Sans Serif") has its sizes drawn for the system's scale; on a screen
    // of another scale its nearest size can be far wider than the scaled text. There the
    // fonts are TrueType only (the system's outline stand-in for a bitmap face).
    const DWORD precision = dpi == SystemDpi() ? OUT_DEFAULT_PRECIS : OUT_TT_ONLY_PRECIS;
    const auto MakeFont = [this, precision](int height, bool bold, bool underline, const wchar_t* face) {
        return CreateNamedFont(scale_(height), bold, underline, face, precision);
    };
    fonts_[static_cast<size_t>(FontId::Default)] = MakeFont(-11, false, false, L"Arial");
    fonts_[static_cast<size_t>(FontId::Arial12)] = MakeFont(-12, false, false, L"Arial");
    fonts_[static_cast<size_t>(FontId::Arial13)] = MakeFont(-13, false, false, L"Arial");
    fonts_[static_cast<size_t>(FontId::Arial13Bold)] = MakeFont(-13, true, false, L"Arial");
    fonts_[static_cast<size_t>(FontId::Arial11Underline)] = MakeFont(-11, false, true, L"Arial");
    fonts_[static_cast<size_t>(FontId::Verdana11Bold)] = MakeFont(-11, true, false, L"Verdana");
    fonts_[static_cast<size_t>(FontId::Arial11)] = MakeFont(-11, false, false, L"Arial");
    fonts_[static_cast<size_t>(FontId::Arial11Bold)] = MakeFont(-11, true, false, L"Arial");
    fonts_[static_cast<size_t>(FontId::Arial13BoldUnderline)] = MakeFont(-13, true, true, L"Arial");
    fonts_[static_cast<size_t>(FontId::SansSerif11)] = MakeFont(-11, false, false, L"MS Sans Serif");
    fonts_[static_cast<size_t>(FontId::SansSerif11Underline)] = MakeFont(-11, false, true, L"MS Sans Serif");
    fonts_[static_cast<size_t>(FontId::Verdana12Bold)] = MakeFont(-12, true, false, L"Verdana");
    fonts_[static_cast<size_t>(FontId::Verdana13Bold)] = MakeFont(-13, true, false, L"Verdana");
    fonts_[static_cast<size_t>(FontId::Verdana19)] = MakeFont(-19, false, false, L"Verdana");
}

}  // namespace taliveer
