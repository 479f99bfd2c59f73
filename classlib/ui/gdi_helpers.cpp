#include "classlib/ui/gdi_helpers.h"

#include <cstring>

BITMAPINFO TopDown32BitInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HBITMAP CreateTopDown32BitSection(int width, int height, Byte** bits) {
    BITMAPINFO info = TopDown32BitInfo(width, height);
    void* p = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    *bits = section ? static_cast<Byte*>(p) : nullptr;
    if (*bits) std::memset(*bits, 0, std::size_t(width) * std::size_t(height) * 4);
    return section;
}
