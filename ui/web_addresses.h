// The maker's web addresses, in one place: the home and support pages and the download
// pages of the two promoted products.
#pragma once

namespace taliveer {

inline constexpr wchar_t kHomePage[] = L"https://www.example.com/taliveer/";
inline constexpr wchar_t kSupportPage[] = L"https://www.example.com/taliveer/support/";
inline constexpr wchar_t kBrimleyDownload[] = L"https://www.example.com/brimley/download/";
inline constexpr wchar_t kOstrelleDownload[] = L"https://www.example.com/ostrelle/download/";

}  // namespace taliveer
