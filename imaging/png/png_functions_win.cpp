#include "imaging/png/png_functions_win.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "classlib/os/dll_functions.h"
#include "imaging/png/png_effects.h"
#include "imaging/png/png_gdi_win.h"
#include "imaging/png/png_imagelist_win.h"

QL_DEFINE_ENUM(TPngOption, "pngBlendOnDisabled", "pngGrayscaleOnDisabled")

namespace {

// The palette index of an indexed image's pixel.
int PaletteIndexAt(TPNGObject& png, int x, int y) {
    return PackedCell(png.PixelRow(y), std::size_t(x), png.Header().BitsPerPixel());
}

// How opaque pixel x, y of png is: its alpha for images with alpha (grey +
// alpha, colour + alpha, indexed with an alpha table), 0 or 255 for an image
// with one key colour, and 255 for opaque images.
Byte OpacityAt(TPNGObject& png, TPngTransparencyKind kind, int x, int y) {
    TChunkIHDR& h = png.Header();
    if (const Byte* alpha = png.AlphaRow(y)) return alpha[x];
    if (kind == tkColorKey) return png.IsKeyPixel(x, y) ? 0 : 255;
    if (kind == tkPartial && h.ColorType == COLOR_PALETTE)
        if (auto* trns = png.ChunkList().FindChunk<TChunktRNS>()) return trns->AlphaTable[PaletteIndexAt(png, x, y)];
    return 255;
}

Byte ScaledAlpha(Byte alpha, Byte amount) { return Byte(std::nearbyint(alpha / 256.0 * (amount + 1))); }

// The 32-bit pixels of a bitmap handle, top-down, blue, green, red, fourth
// byte; empty when GDI refuses.
std::vector<LongWord> ReadPixels32(HBITMAP bitmap, int width, int height) {
    std::vector<LongWord> pixels(std::size_t(width) * std::size_t(height));
    BITMAPINFO info = TopDown32BitInfo(width, height);
    TScreenDC screen;
    if (!bitmap || GetDIBits(screen.Handle(), bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS) == 0)
        pixels.clear();
    return pixels;
}

// The colour bitmap of an icon as 32-bit pixels with its own alpha (a
// 108-byte header with bit fields).
std::vector<LongWord> ReadIconAlpha(HBITMAP color, int width, int height) {
    std::vector<LongWord> pixels(std::size_t(width) * std::size_t(height));
    BITMAPV4HEADER header = TopDownAlphaHeader(width, height);
    TScreenDC screen;
    if (!color || GetDIBits(screen.Handle(), color, 0, UINT(height), pixels.data(),
                            reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == 0)
        pixels.clear();
    return pixels;
}

int ScreenBitsPerPixel() {
    TScreenDC screen;
    return GetDeviceCaps(screen.Handle(), BITSPIXEL) * GetDeviceCaps(screen.Handle(), PLANES);
}

// A PNG of a bitmap's pixels as an 8-bit colour image (no transparency).
std::unique_ptr<TPNGObject> ColorPngOf(TBitmap* image) {
    auto png = std::make_unique<TPNGObject>();
    if (!image || image->Empty()) return png;
    if (image->PixelFormat() == pf24bit || image->PixelFormat() == pf32bit) {
        png->AssignBitmapHandle(image->Handle(), false, 0);
    } else {
        TBitmap copy;
        copy.Assign(image);
        copy.SetTransparent(false);
        copy.SetPixelFormat(pf24bit);
        png->AssignBitmapHandle(copy.Handle(), false, 0);
    }
    return png;
}

// Fills the alpha of a colour + alpha image from one byte per pixel.
void SetAlpha(TPNGObject& png, const std::vector<Byte>& alpha) {
    int w = png.Width();
    for (int y = 0; y < png.Height(); ++y)
        std::memcpy(png.AlphaRow(y), alpha.data() + std::size_t(y) * w, std::size_t(w));
}

// A 1-bit mask: bit set (white) where visible[i] is false.
HBITMAP CreateMask(int width, int height, const std::vector<bool>& visible) {
    int stride = (width + 15) / 16 * 2;
    std::vector<Byte> bits(std::size_t(stride) * std::size_t(height), 0);
    if (!visible.empty())
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (!visible[std::size_t(y) * width + x])
                    bits[std::size_t(y) * stride + x / 8] |= Byte(0x80 >> (x & 7));
    return CreateBitmap(width, height, 1, 1, bits.data());
}

}  // namespace

// ---- Drawing with effects ----------------------------------------------------------

void DrawPngWithOptions(TPNGObject* png, TCanvas* canvas, const TRect& rect, TPngOptions options) {
    if (!png || !canvas || png->Empty()) return;
    if (options.Empty()) {
        canvas->StretchDraw(rect, png);
        return;
    }
    TPNGObject copy;
    copy.Assign(png);
    if (options.Contains(pngBlendOnDisabled)) BlendPng(&copy, 127);
    if (options.Contains(pngGrayscaleOnDisabled)) GrayscalePng(&copy, 255);
    canvas->StretchDraw(rect, &copy);
}

void BlendPng(TPNGObject* png, Byte amount) {
    if (!png || !png->HeaderChunk()) return;
    TChunkIHDR& h = png->Header();
    if (h.ColorType != COLOR_GRAYSCALE && h.ColorType != COLOR_PALETTE) {
        bool hadKey = h.ColorType == COLOR_RGB;
        ::BlendPng(*png, amount);
        // The key colour now lives in the alpha: a colour image with alpha
        // has no tRNS chunk.
        if (hadKey)
            if (auto* trns = png->ChunkList().FindChunk<TChunktRNS>())
                delete static_cast<TChunk*>(png->ChunkList().Remove(trns));
        png->SetModified(true);
        return;
    }
    // Grey and indexed images have no alpha buffer: a colour copy with alpha
    // takes every pixel.
    TPngTransparencyKind kind = png->TransparencyKind();
    int w = png->Width(), hh = png->Height();
    TBitmap blank;
    blank.SetPixelFormat(pf24bit);
    blank.SetSize(w, hh);
    TPNGObject copy;
    copy.AssignBitmapHandle(blank.Handle(), false, 0);
    copy.AddAlphaChannel();
    for (int y = 0; y < hh; ++y) {
        Byte* alpha = copy.AlphaRow(y);
        for (int x = 0; x < w; ++x) {
            TPngColor c = png->PixelAt(x, y);
            copy.TPNGObjectCore::SetPixelAt(x, y, c);
            if (kind == tkColorKey)
                alpha[x] = png->IsKeyPixel(x, y) ? 0 : amount;
            else if (kind == tkPartial)
                alpha[x] = ScaledAlpha(OpacityAt(*png, kind, x, y), amount);
            else
                alpha[x] = amount;
        }
    }
    png->Assign(&copy);
}

void GrayscalePng(TPNGObject* png, Byte amount) {
    if (!png || !png->HeaderChunk()) return;
    GdiFlush();
    ::GrayscalePng(*png, amount);
    png->SetModified(true);
}

// ---- Conversions ----------------------------------------------------------------------

std::unique_ptr<TPNGObject> GraphicToPng(TGraphic* graphic) {
    if (auto* png = dynamic_cast<TPNGObject*>(graphic)) {
        auto copy = std::make_unique<TPNGObject>();
        copy->Assign(png);
        return copy;
    }
    if (!graphic || graphic->Empty() || graphic->Width() <= 0 || graphic->Height() <= 0)
        return std::make_unique<TPNGObject>();
    int w = graphic->Width(), h = graphic->Height();
    std::vector<Byte> alpha(std::size_t(w) * std::size_t(h), 255);
    bool transparency = false;
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(w, h);

    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
        if (bitmap->Transparent()) {
            // The fixed transparent colour, or the bottom-left pixel.
            LongWord key = ColorToRGB(bitmap->TransparentColor()) & 0xFFFFFF;
            BitBlt(target.Canvas()->Handle(), 0, 0, w, h, bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
            for (int y = 0; y < h; ++y) {
                const Byte* p = static_cast<const Byte*>(target.ScanLine(y));
                for (int x = 0; x < w; ++x, p += 3)
                    if ((LongWord(p[2]) | LongWord(p[1]) << 8 | LongWord(p[0]) << 16) == key) {
                        alpha[std::size_t(y) * w + x] = 0;
                        transparency = true;
                    }
            }
        } else {
            target.Canvas()->Draw(0, 0, bitmap);
        }
    } else if (auto* icon = dynamic_cast<TIcon*>(graphic)) {
        ICONINFO info{};
        if (GetIconInfo(icon->Handle(), &info)) {
            // A monochrome icon keeps its image below its mask.
            HBITMAP colorSource = info.hbmColor ? info.hbmColor : info.hbmMask;
            int colorTop = info.hbmColor ? 0 : h;
            HDC source = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(source, colorSource);
            BitBlt(target.Canvas()->Handle(), 0, 0, w, h, source, 0, colorTop, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
            std::vector<LongWord> mask = ReadPixels32(info.hbmMask, w, info.hbmColor ? h : 2 * h);
            for (std::size_t i = 0; i < alpha.size() && i < mask.size(); ++i)
                if (mask[i] & 0xFFFFFF) {
                    alpha[i] = 0;
                    transparency = true;
                }
            if (info.hbmColor && ScreenBitsPerPixel() == 32 && IsXpOrLater()) {
                std::vector<LongWord> own = ReadIconAlpha(info.hbmColor, w, h);
                bool any = false;
                for (LongWord p : own) any = any || (p >> 24) != 0;
                if (any) {
                    for (std::size_t i = 0; i < alpha.size(); ++i) alpha[i] = Byte(own[i] >> 24);
                    transparency = true;
                }
            }
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
        }
    }

    auto png = std::make_unique<TPNGObject>();
    png->AssignBitmapHandle(target.Handle(), false, 0);
    if (transparency) {
        png->AddAlphaChannel();
        SetAlpha(*png, alpha);
    }
    return png;
}

std::unique_ptr<TPNGObject> PngFromImageAndMask(TBitmap* image, TBitmap* mask, bool invertMask) {
    std::unique_ptr<TPNGObject> png = ColorPngOf(image);
    if (png->Empty()) return png;
    png->AddAlphaChannel();
    if (!mask || mask->Empty()) return png;
    int w = png->Width(), h = png->Height();
    TBitmap copy;
    copy.Assign(mask);
    copy.SetPixelFormat(pf32bit);
    for (int y = 0; y < h; ++y) {
        Byte* alpha = png->AlphaRow(y);
        const Byte* row = y < copy.Height() ? static_cast<const Byte*>(copy.ScanLine(y)) : nullptr;
        for (int x = 0; x < w; ++x) {
            // Outside the mask: white, as GDI reads a pixel there.
            Byte red = row && x < copy.Width() ? row[4 * x + 2] : 255;
            alpha[x] = invertMask ? Byte(~red) : red;
        }
    }
    return png;
}

std::unique_ptr<TPNGObject> PngFromMaskColor(TBitmap* image, TColor maskColor) {
    std::unique_ptr<TPNGObject> png = ColorPngOf(image);
    if (png->Empty()) return png;
    png->AddAlphaChannel();
    if (maskColor == clDefault) maskColor = image->TransparentColor();
    if (maskColor == clNone) return png;
    TPngColor key = ColorToRGB(maskColor) & 0xFFFFFF;
    for (int y = 0; y < png->Height(); ++y) {
        Byte* alpha = png->AlphaRow(y);
        for (int x = 0; x < png->Width(); ++x) alpha[x] = png->PixelAt(x, y) == key ? 0 : 255;
    }
    return png;
}

void PngFromImageListItem(TPNGObject* png, TCustomImageList* list, int index) {
    if (!png || !list) return;
    if (auto* pngList = dynamic_cast<TPngImageList*>(list)) {
        // The index counts the list's images, as its users count them: an
        // item with an empty picture has none.
        if (TPngImageCollectionItem* item = pngList->ItemOfNativeIndex(index)) png->Assign(item->PngObject());
        return;
    }
    if (!list->HandleAllocated() || index < 0 || index >= list->Count()) return;
    HICON icon = ImageList_GetIcon(list->Handle(), index, ILD_NORMAL);
    if (!icon) return;
    ICONINFO info{};
    if (GetIconInfo(icon, &info) && info.hbmColor) {
        TBitmap color;
        color.SetHandle(info.hbmColor);  // takes the pixels and frees the handle
        color.SetPixelFormat(pf24bit);
        int w = color.Width(), h = color.Height();
        std::vector<LongWord> mask = ReadPixels32(info.hbmMask, w, h);
        png->AssignBitmapHandle(color.Handle(), false, 0);
        png->AddAlphaChannel();
        for (int y = 0; y < h; ++y) {
            Byte* alpha = png->AlphaRow(y);
            for (int x = 0; x < w; ++x) {
                std::size_t i = std::size_t(y) * w + x;
                alpha[x] = i < mask.size() && (mask[i] & 0xFFFFFF) == 0 ? 255 : 0;
            }
        }
        png->SetModified(true);
    } else if (info.hbmColor) {
        DeleteObject(info.hbmColor);
    }
    if (info.hbmMask) DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

// ---- The system ---------------------------------------------------------------------------

bool IsXpOrLater() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version)) return false;
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           (version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1));
}

LongWord ComCtlVersion() {
    static const LongWord version = [] {
        struct TDllVersionInfo {
            DWORD cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID;
        };
        using TDllGetVersion = HRESULT(CALLBACK*)(TDllVersionInfo*);
        HMODULE module = GetModuleHandleA("comctl32.dll");
        if (!module) module = LoadLibraryA("comctl32.dll");
        if (!module) return LongWord(0);
        auto get = GetDllFunction<TDllGetVersion>(module, "DllGetVersion");
        TDllVersionInfo info{};
        info.cbSize = sizeof info;
        if (!get || FAILED(get(&info))) return LongWord(0);
        return LongWord(info.dwMajorVersion << 16 | (info.dwMinorVersion & 0xFFFF));
    }();
    return version;
}

// ---- Icons -----------------------------------------------------------------------------------

HICON MakeAlphaIcon(TPNGObject* png) {
    if (!png || png->Empty()) return nullptr;
    int w = png->Width(), h = png->Height();
    TPngTransparencyKind kind = png->TransparencyKind();
    // Opaque images keep alpha 0 throughout: the system then goes by the
    // (all visible) mask.
    bool hasAlpha = kind != tkNone;
    Byte* bits = nullptr;
    HBITMAP color = CreateAlphaSection(w, h, &bits);
    if (!color) FailWith<EPNGOutMemory>(SPngOutMemory);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            TPngColor c = png->PixelAt(x, y);
            Byte* p = bits + (std::size_t(y) * w + x) * 4;
            p[0] = PngBlue(c);
            p[1] = PngGreen(c);
            p[2] = PngRed(c);
            p[3] = hasAlpha ? OpacityAt(*png, kind, x, y) : 0;
        }
    HBITMAP mask = CreateMask(w, h, {});
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

HICON MakeMaskedIcon(TPNGObject* png, TColor background) {
    if (!png || png->Empty()) return nullptr;
    int w = png->Width(), h = png->Height();
    TPngTransparencyKind kind = png->TransparencyKind();
    TBitmap color;
    color.SetPixelFormat(pf32bit);
    color.SetSize(w, h);
    // No background colour: the face of the buttons that show list images.
    color.Canvas()->Brush()->SetColor(background == clNone || background == clDefault ? clBtnFace : background);
    color.Canvas()->FillRect(Rect(0, 0, w, h));
    color.Canvas()->Draw(0, 0, png);
    std::vector<bool> visible(std::size_t(w) * std::size_t(h), true);
    for (int y = 0; y < h; ++y) {
        Byte* row = static_cast<Byte*>(color.ScanLine(y));
        for (int x = 0; x < w; ++x)
            if (OpacityAt(*png, kind, x, y) == 0) {
                visible[std::size_t(y) * w + x] = false;
                // Black under a white mask leaves the screen as it is.
                std::memset(row + 4 * x, 0, 4);
            }
    }
    HBITMAP mask = CreateMask(w, h, visible);
    ICONINFO info{TRUE, 0, 0, mask, color.Handle()};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    return icon;
}

HICON MakeListIcon(TPNGObject* png, TColor background) {
    return ComCtlVersion() < 0x00060000 ? MakeMaskedIcon(png, background) : MakeAlphaIcon(png);
}
