#include "components/foundation/draw_routines_win.h"

#include <shellapi.h>

#include <commctrl.h>

#include <vector>

#include "components/foundation/html_colors.h"

bool IsDirectory(const String& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void DrawShellIcon(TCanvas* canvas, int x, int y, TSize& size, double resolutionFactor, bool printMode, bool draw,
                   bool large, const String& path) {
    const UINT kind = SHGFI_SYSICONINDEX | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON);
    SHFILEINFOA info{};
    int index = 0;
    HIMAGELIST list = nullptr;
    if (TryStrToIntVal(path, index) || path.empty()) {
        // Only the system image list itself is asked for.
        list = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoA("file", FILE_ATTRIBUTE_NORMAL, &info, sizeof info, kind | SHGFI_USEFILEATTRIBUTES));
    } else if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, kind));
        index = info.iIcon;
    } else {
        list = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoA(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, kind | SHGFI_USEFILEATTRIBUTES));
        index = info.iIcon;
    }
    size = {};
    if (!list) return;
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    size = {cx, cy};
    if (!draw || index < 0 || index >= ImageList_GetImageCount(list)) return;
    if (!printMode) {
        ImageList_Draw(list, index, canvas->Handle(), x, y, ILD_TRANSPARENT);
        return;
    }
    TBitmap bitmap(cx, cy, pf32bit);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, cx, cy));
    ImageList_Draw(list, index, bitmap.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
    StretchDrawDIB(canvas, Bounds(x, y, RoundHalfEven(cx * resolutionFactor), RoundHalfEven(cy * resolutionFactor)),
                   &bitmap);
}

void DrawBandedGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect,
                        int bandCount, TColor borderColor) {
    const HDC dc = canvas->Handle();
    const auto bands = GradientBands(TColor(int(ColorToRGB(fromColor))), TColor(int(ColorToRGB(toColor))), horizontal,
                                     rect, bandCount);
    const COLORREF before = GetDCBrushColor(dc);
    const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    for (const TGradientBand& band : bands) {
        SetDCBrushColor(dc, COLORREF(unsigned(band.Color)));
        const RECT r{band.Rect.Left, band.Rect.Top, band.Rect.Right, band.Rect.Bottom};
        FillRect(dc, &r, brush);
    }
    SetDCBrushColor(dc, before);
    if (borderColor != clNone) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetColor(borderColor);
        canvas->Rectangle(rect);
    }
}

void StretchDrawDIB(TCanvas* canvas, const TRect& rect, TBitmap* bitmap) {
    if (!bitmap || bitmap->Width() <= 0 || bitmap->Height() <= 0) return;
    const int width = bitmap->Width(), height = bitmap->Height();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<Byte> bits(size_t(width) * size_t(height) * 4);
    const HDC dc = canvas->Handle();
    if (!GetDIBits(dc, bitmap->Handle(), 0, UINT(height), bits.data(), &info, DIB_RGB_COLORS)) return;
    StretchDIBits(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), 0, 0, width, height, bits.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

TRotatedFont SelectRotatedFont(TCanvas* canvas, int angle) {
    LOGFONTA font{};
    if (!GetObjectA(canvas->Font()->Handle(), sizeof font, &font)) return {};
    font.lfEscapement = font.lfOrientation = LONG(angle) * 10;
    TRotatedFont result;
    result.Font = CreateFontIndirectA(&font);
    if (!result.Font) return {};
    result.Previous = static_cast<HFONT>(SelectObject(canvas->Handle(), result.Font));
    return result;
}

void RestoreRotatedFont(TCanvas* canvas, TRotatedFont& font) {
    if (!font.Font) return;
    SelectObject(canvas->Handle(), font.Previous);
    DeleteObject(font.Font);
    font = {};
}
