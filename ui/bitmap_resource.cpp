#include "ui/bitmap_resource.h"

#include <cstring>

namespace taliveer {

UniqueHBitmap LoadRcDataBitmap(HMODULE module, const wchar_t* name) {
    HRSRC info = ::FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!info) return {};
    HGLOBAL loaded = ::LoadResource(module, info);
    const DWORD size = ::SizeofResource(module, info);
    const auto* bytes = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!bytes || size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return {};

    BITMAPFILEHEADER file;
    std::memcpy(&file, bytes, sizeof file);
    if (file.bfType != 0x4D42 || file.bfOffBits >= size) return {};
    const auto* header = reinterpret_cast<const BITMAPINFO*>(bytes + sizeof file);
    if (header->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) || header->bmiHeader.biBitCount != 24) return {};

    const LONG width = header->bmiHeader.biWidth;
    const LONG height = header->bmiHeader.biHeight < 0 ? -header->bmiHeader.biHeight : header->bmiHeader.biHeight;
    const size_t stride = ((static_cast<size_t>(width) * 24 + 31) / 32) * 4;
    if (width <= 0 || height <= 0 || file.bfOffBits + stride * static_cast<size_t>(height) > size) return {};

    void* bits = nullptr;
    UniqueHBitmap bitmap(::CreateDIBSection(nullptr, header, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    std::memcpy(bits, bytes + file.bfOffBits, stride * static_cast<size_t>(height));
    ::GdiFlush();
    return bitmap;
}

}  // namespace taliveer
