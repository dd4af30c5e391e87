#include "services/icon_image.h"

namespace taliveer {

IconBitmaps BitmapsOfSmallIcon(HICON icon, int side) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return {};
    IconBitmaps bitmaps{UniqueHBitmap(info.hbmColor), UniqueHBitmap(info.hbmMask)};
    BITMAP color{};
    BITMAP mask{};
    // A monochrome icon keeps image and mask one above the other in its mask bitmap, and a
    // bitmap wider than the list's images would become several images: both need converting.
    if (!bitmaps.color || !bitmaps.mask || !::GetObjectW(bitmaps.color.get(), sizeof color, &color) ||
        !::GetObjectW(bitmaps.mask.get(), sizeof mask, &mask) || color.bmWidth != side || color.bmHeight != side ||
        mask.bmWidth != side || mask.bmHeight != side) {
        return {};
    }
    return bitmaps;
}

int PutIconImage(HIMAGELIST list, HICON icon, const IconBitmaps& bitmaps, int replacing) {
    if (bitmaps.color) {
        if (replacing < 0) {
            const int index = ImageList_Add(list, bitmaps.color.get(), bitmaps.mask.get());
            if (index >= 0) return index;
        } else if (ImageList_Replace(list, replacing, bitmaps.color.get(), bitmaps.mask.get())) {
            return replacing;
        }
    }
    return replacing >= 0 ? ImageList_ReplaceIcon(list, replacing, icon) : ImageList_AddIcon(list, icon);
}

}  // namespace taliveer
