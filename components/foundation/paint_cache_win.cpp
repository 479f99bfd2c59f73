#include "components/foundation/paint_cache_win.h"

#include <algorithm>

TPaintCache::~TPaintCache() { Clear(); }

HDC TPaintCache::Surface(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (FDC && width == FWidth && height == FHeight) return FDC;
    Clear();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    FDC = CreateCompatibleDC(nullptr);
    if (!FBitmap || !FDC) {
        if (FBitmap) DeleteObject(FBitmap);
        if (FDC) DeleteDC(FDC);
        FBitmap = nullptr;
        FDC = nullptr;
        return nullptr;
    }
    FOldBitmap = SelectObject(FDC, FBitmap);
    FWidth = width;
    FHeight = height;
    return FDC;
}

HDC TPaintCache::Repaint(int width, int height, const TKey& key) {
    if (FDC && FKeyValid && width == FWidth && height == FHeight && key == FKey) return nullptr;
    HDC dc = Surface(width, height);
    if (!dc) return nullptr;
    FKey = key;
    FKeyValid = true;
    ++FPaints;
    return dc;
}

void TPaintCache::CopyTo(HDC dc, int x, int y) const {
    if (FDC) BitBlt(dc, x, y, FWidth, FHeight, FDC, 0, 0, SRCCOPY);
}

void TPaintCache::Clear() {
    if (FDC) {
        SelectObject(FDC, FOldBitmap);
        DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
    FDC = nullptr;
    FBitmap = nullptr;
    FOldBitmap = nullptr;
    FWidth = FHeight = 0;
    FKey.clear();
    FKeyValid = false;
}
