#include "ui/bitmap_resource.h"

#include "ui/pure/corner_cut.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <vector>

namespace taliveer {
namespace {

constexpr BYTE kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// A 24-bit bottom-up DIB section of that size, as a .bmp file's own pixels are laid out.
UniqueHBitmap NewDib(LONG width, LONG height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    UniqueHBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
    if (!*bits) return {};
    return bitmap;
}

size_t Stride(LONG width) { return ((static_cast<size_t>(width) * 24 + 31) / 32) * 4; }

// A PNG through the system's imaging component (Windows 7 and later, and Wine), which COM
// finds in the system folder by its registration. The first factory is named: the name
// without a number means the second one, which Windows 7 lacks, where an SDK targets Windows 8.
UniqueHBitmap DecodePng(const BYTE* bytes, DWORD size, SIZE wanted) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const ScopeExit uninitialise([com] {
        if (SUCCEEDED(com)) ::CoUninitialize();
    });
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapScaler> scaler;
    ComPtr<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.put_void())) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height))) {
        return {};
    }
    IWICBitmapSource* source = frame.get();
    const bool resize = wanted.cx > 0 && wanted.cy > 0 &&
                        (static_cast<UINT>(wanted.cx) != width || static_cast<UINT>(wanted.cy) != height);
    // A picture with a key-coloured corner cut (its pixels (0, 0) and (1, 1) alike) keeps it
    // exactly when resized: its first row says how wide the drawn cut is.
    int cut = 0;
    BYTE key[3] = {};
    if (resize && width >= 2 && height >= 2) {
        ComPtr<IWICFormatConverter> drawn;
        const size_t drawnStride = Stride(static_cast<LONG>(width));
        std::vector<BYTE> rows(drawnStride * 2);
        const WICRect top{0, 0, static_cast<INT>(width), 2};
        if (SUCCEEDED(factory->CreateFormatConverter(drawn.put())) &&
            SUCCEEDED(drawn->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr,
                                        0.0, WICBitmapPaletteTypeCustom)) &&
            SUCCEEDED(drawn->CopyPixels(&top, static_cast<UINT>(drawnStride), static_cast<UINT>(rows.size()),
                                        rows.data()))) {
            std::memcpy(key, rows.data() + drawnStride + 3, 3);
            if (std::memcmp(rows.data(), key, 3) == 0) {
                cut = ScaledCut(LeadingKeyRun(rows.data(), static_cast<int>(width), key), static_cast<int>(width),
                                static_cast<int>(wanted.cx));
            }
        }
    }
    if (resize) {
        // Fant averages every source pixel that falls into a target pixel: a sharp reduction.
        if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
            FAILED(scaler->Initialize(frame.get(), static_cast<UINT>(wanted.cx), static_cast<UINT>(wanted.cy),
                                      WICBitmapInterpolationModeFant))) {
            return {};
        }
        source = scaler.get();
    }
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(source, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 16384 || height > 16384) {
        return {};
    }
    const size_t stride = Stride(static_cast<LONG>(width));
    std::vector<BYTE> pixels(stride * height);
    if (FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(pixels.size()), pixels.data()))) {
        return {};
    }
    if (cut > 0) StampCornerCut(pixels.data(), stride, static_cast<int>(width), static_cast<int>(height), cut, key);
    void* bits = nullptr;
    UniqueHBitmap bitmap = NewDib(static_cast<LONG>(width), static_cast<LONG>(height), &bits);
    if (!bitmap) return {};
    // The decoder gives the top row first; the section keeps it last.
    for (UINT row = 0; row < height; ++row) {
        std::memcpy(static_cast<BYTE*>(bits) + stride * (height - 1 - row), pixels.data() + stride * row, stride);
    }
    ::GdiFlush();
    return bitmap;
}

UniqueHBitmap DecodeBmp(const BYTE* bytes, DWORD size) {
    if (size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return {};
    BITMAPFILEHEADER file;
    std::memcpy(&file, bytes, sizeof file);
    if (file.bfType != 0x4D42 || file.bfOffBits >= size) return {};
    const auto* header = reinterpret_cast<const BITMAPINFO*>(bytes + sizeof file);
    if (header->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) || header->bmiHeader.biBitCount != 24) return {};

    const LONG width = header->bmiHeader.biWidth;
    const LONG height = header->bmiHeader.biHeight < 0 ? -header->bmiHeader.biHeight : header->bmiHeader.biHeight;
    const size_t stride = Stride(width);
    if (width <= 0 || height <= 0 || file.bfOffBits + stride * static_cast<size_t>(height) > size) return {};

    void* bits = nullptr;
    UniqueHBitmap bitmap(::CreateDIBSection(nullptr, header, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    std::memcpy(bits, bytes + file.bfOffBits, stride * static_cast<size_t>(height));
    ::GdiFlush();
    return bitmap;
}

}  // namespace

UniqueHBitmap LoadRcDataBitmap(HMODULE module, const wchar_t* name, SIZE wanted) {
    HRSRC info = ::FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!info) return {};
    HGLOBAL loaded = ::LoadResource(module, info);
    const DWORD size = ::SizeofResource(module, info);
    const auto* bytes = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    return bytes ? DecodePicture(bytes, size, wanted) : UniqueHBitmap();
}

UniqueHBitmap DecodePicture(const BYTE* bytes, DWORD size, SIZE wanted) {
    if (size > sizeof kPngSignature && std::memcmp(bytes, kPngSignature, sizeof kPngSignature) == 0) {
        return DecodePng(bytes, size, wanted);
    }
    return DecodeBmp(bytes, size);
}

UniqueHBitmap LoadArtwork(HMODULE module, const wchar_t* name, int baseWidth, int baseHeight, const DpiScale& scale,
                          Skin skin) {
    const std::wstring drawn = ArtworkName(name, ArtworkPercentFor(scale.dpi), DarkSuffix(skin));
    return LoadRcDataBitmap(module, drawn.c_str(), SIZE{scale(baseWidth), scale(baseHeight)});
}

}  // namespace taliveer
