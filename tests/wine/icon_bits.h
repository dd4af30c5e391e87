// The pixels of an icon, to tell one icon from another in the page tests.
#pragma once

#include "services/unique_handle.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <vector>

namespace taliveer::test {

inline std::vector<BYTE> IconBits(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return {};
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, 16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<BYTE> bits(16 * 16 * 4 * 2);
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::GetDIBits(dc, info.hbmColor ? info.hbmColor : info.hbmMask, 0, 16, bits.data(), &bi, DIB_RGB_COLORS);
    ::GetDIBits(dc, info.hbmMask, 0, 16, bits.data() + 16 * 16 * 4, &bi, DIB_RGB_COLORS);
    ::DeleteDC(dc);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return bits;
}

inline std::vector<BYTE> ImageBits(HIMAGELIST list, int index) {
    UniqueHIcon icon(ImageList_GetIcon(list, index, ILD_NORMAL));
    return IconBits(icon.get());
}

// The 16 x 16 image of a file's icon, straight from the shell.
inline UniqueHIcon SmallIcon(const wchar_t* file, int index) {
    HICON small = nullptr;
    ::ExtractIconExW(file, index, nullptr, &small, 1);
    return UniqueHIcon(small);
}

// What a 16 x 16 image list's own conversion makes of an icon.
inline std::vector<BYTE> ListImageBits(HICON icon) {
    UniqueHImageList list(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
    return ImageList_AddIcon(list.get(), icon) < 0 ? std::vector<BYTE>{} : ImageBits(list.get(), 0);
}

}  // namespace taliveer::test
