#include "classlib/ui/bitmaps.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"
#include "classlib/os/resources.h"
#include "classlib/ui/gdi_helpers.h"

namespace {

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic("Bitmap image is not valid"); }
[[noreturn]] void InvalidIcon() { throw EInvalidGraphic("Icon image is not valid"); }

std::uint32_t Read32(const Byte* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t Read16(const Byte* p) { return std::uint16_t(p[0] | p[1] << 8); }

void Put32(std::vector<Byte>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(Byte(v >> (8 * i)));
}
void Put16(std::vector<Byte>& out, std::uint16_t v) {
    out.push_back(Byte(v));
    out.push_back(Byte(v >> 8));
}

TPixelFormat DeviceFormat() {
    static const TPixelFormat format = [] {
        TScreenDC screen;
        HDC dc = screen.Handle();
        int bpp = dc ? GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) : 32;
        switch (bpp) {
        case 1: return pf1bit;
        case 4: return pf4bit;
        case 8: return pf8bit;
        case 15: return pf15bit;
        case 16: return pf16bit;
        case 24: return pf24bit;
        default: return pf32bit;
        }
    }();
    return format;
}

int BitsPerPixel(TPixelFormat format) {
    switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return BitsPerPixel(DeviceFormat());
    }
}

// The pixel format a device-format bitmap really has.
TPixelFormat RealFormat(TPixelFormat format) {
    return format == pfDevice || format == pfCustom ? DeviceFormat() : format;
}

RGBQUAD Quad(Byte r, Byte g, Byte b) { return RGBQUAD{b, g, r, 0}; }

// The colour tables of new indexed bitmaps: black and white; the sixteen
// standard colours; those sixteen, a 6 x 6 x 6 colour cube and 24 greys.
std::vector<RGBQUAD> DefaultColors(int bpp) {
    static const RGBQUAD vga[16] = {Quad(0, 0, 0),       Quad(128, 0, 0),   Quad(0, 128, 0),   Quad(128, 128, 0),
                                    Quad(0, 0, 128),     Quad(128, 0, 128), Quad(0, 128, 128), Quad(192, 192, 192),
                                    Quad(128, 128, 128), Quad(255, 0, 0),   Quad(0, 255, 0),   Quad(255, 255, 0),
                                    Quad(0, 0, 255),     Quad(255, 0, 255), Quad(0, 255, 255), Quad(255, 255, 255)};
    std::vector<RGBQUAD> colors;
    if (bpp == 1) return {Quad(0, 0, 0), Quad(255, 255, 255)};
    colors.assign(vga, vga + 16);
    if (bpp == 4) return colors;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) colors.push_back(Quad(Byte(r * 51), Byte(g * 51), Byte(b * 51)));
    for (int i = 1; i <= 24; ++i) {
        Byte v = Byte(i * 255 / 25);
        colors.push_back(Quad(v, v, v));
    }
    return colors;
}

struct TDIBHeader {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
};

// A DIB section, bottom-up.
HBITMAP CreateSection(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& colors, Byte** bits) {
    TDIBHeader info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = WORD(BitsPerPixel(format));
    info.Header.biCompression = BI_RGB;
    if (RealFormat(format) == pf16bit) {
        info.Header.biCompression = BI_BITFIELDS;
        const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(info.Colors, masks, sizeof masks);
    } else if (info.Header.biBitCount <= 8) {
        size_t n = std::min<size_t>(colors.size(), size_t(1) << info.Header.biBitCount);
        std::copy_n(colors.begin(), n, info.Colors);
        info.Header.biClrUsed = DWORD(n);
    }
    void* p = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &p, nullptr, 0);
    *bits = static_cast<Byte*>(p);
    return bitmap;
}

// A memory DC with a bitmap selected for the length of a block.
class TSelectedBitmap {
public:
    explicit TSelectedBitmap(HBITMAP bitmap) : FDC(CreateCompatibleDC(nullptr)) { FOld = SelectObject(FDC, bitmap); }
    ~TSelectedBitmap() {
        SelectObject(FDC, FOld);
        DeleteDC(FDC);
    }
    TSelectedBitmap(const TSelectedBitmap&) = delete;
    TSelectedBitmap& operator=(const TSelectedBitmap&) = delete;
    HDC DC() const { return FDC; }

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// The bitmap canvases that hold a memory DC.
std::mutex& CanvasListLock() {
    static std::mutex lock;
    return lock;
}
std::vector<TBitmapCanvas*>& CanvasList() {
    static std::vector<TBitmapCanvas*> list;
    return list;
}

}  // namespace

void FreeMemoryContexts() {
    std::vector<TBitmapCanvas*> canvases;
    {
        std::lock_guard lock(CanvasListLock());
        canvases = CanvasList();
    }
    for (TBitmapCanvas* c : canvases)
        if (c->TryLock()) {
            // Only a canvas nobody holds, this thread included.
            if (c->LockCount() == 1) c->FreeContext();
            c->Unlock();
        }
}

// ---- TBitmapCanvas -------------------------------------------------------------------

TClass TBitmapCanvas::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBitmapCanvas>("TBitmapCanvas").Build();
    return &info;
}

TBitmapCanvas::~TBitmapCanvas() { FreeContext(); }

void TBitmapCanvas::CreateHandle() {
    if (FDC) return;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    FOldBitmap = FBitmap->FHandle ? SelectObject(dc, FBitmap->FHandle) : nullptr;
    FDC = dc;
    {
        std::lock_guard lock(CanvasListLock());
        CanvasList().push_back(this);
    }
    SetHandle(dc);
}

void TBitmapCanvas::FreeContext() {
    if (!FDC) return;
    HDC dc = FDC;
    SetHandle(nullptr);
    if (FOldBitmap) SelectObject(dc, FOldBitmap);
    DeleteDC(dc);
    FDC = nullptr;
    FOldBitmap = nullptr;
    std::lock_guard lock(CanvasListLock());
    std::erase(CanvasList(), this);
}

void TBitmapCanvas::Changed() {
    TCanvas::Changed();
    FBitmap->Changed(this);
}

// ---- TBitmap -------------------------------------------------------------------------

TClass TBitmap::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBitmap>("TBitmap").Build();
    return &info;
}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : FPixelFormat(format) { SetSize(width, height); }

TBitmap::~TBitmap() {
    delete FCanvas;
    FCanvas = nullptr;
    FreeImage();
}

void TBitmap::FreeContext() {
    if (FCanvas) FCanvas->FreeContext();
}

void TBitmap::FreeImage() {
    FreeContext();
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
    FBits = nullptr;
    if (FPalette) DeleteObject(FPalette);
    FPalette = nullptr;
}

void TBitmap::NewImage(int width, int height, TPixelFormat format, std::vector<RGBQUAD> colors, bool keepPixels) {
    FreeContext();
    width = std::max(width, 0);
    height = std::max(height, 0);
    int bpp = BitsPerPixel(format);
    if (bpp <= 8) {
        if (colors.empty()) colors = DefaultColors(bpp);
        colors.resize(size_t(1) << bpp, Quad(0, 0, 0));
    } else {
        colors.clear();
    }
    HBITMAP handle = nullptr;
    Byte* bits = nullptr;
    if (width > 0 && height > 0) {
        handle = CreateSection(width, height, format, colors, &bits);
        if (!handle) throw EOutOfResources("Out of system resources");
        TSelectedBitmap target(handle);
        // New pixels take the canvas's brush colour: white unless changed.
        TColor fill = FCanvas && FCanvas->Brush()->Color() != clNone ? FCanvas->Brush()->Color() : clWhite;
        HBRUSH brush = CreateSolidBrush(ColorToRGB(fill));
        RECT all{0, 0, width, height};
        ::FillRect(target.DC(), &all, brush);
        DeleteObject(brush);
        if (keepPixels && FHandle) {
            TSelectedBitmap source(FHandle);
            BitBlt(target.DC(), 0, 0, std::min(width, FWidth), std::min(height, FHeight), source.DC(), 0, 0, SRCCOPY);
        }
        GdiFlush();
    }
    FreeImage();
    FHandle = handle;
    FBits = bits;
    FWidth = width;
    FHeight = height;
    FBitsPerPixel = bpp;
    FPixelFormat = format;
    FColors = std::move(colors);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight && (FHandle || width == 0 || height == 0)) return;
    NewImage(width, height, FPixelFormat, FColors, true);
    Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    if (value == pfCustom) throw EInvalidGraphic("Invalid pixel format");
    if (value == FPixelFormat) return;
    NewImage(FWidth, FHeight, value, {}, true);
    Changed(this);
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) FCanvas = new TBitmapCanvas(this);
    return FCanvas;
}

HBITMAP TBitmap::Handle() {
    FreeContext();
    return FHandle;
}

void TBitmap::SetHandle(HBITMAP value) {
    if (value == FHandle) return;
    DIBSECTION ds{};
    int got = value ? GetObjectA(value, sizeof ds, &ds) : 0;
    if (value && got < int(sizeof(BITMAP))) InvalidBitmap();
    FreeImage();
    FWidth = FHeight = 0;
    if (!value) {
        Changed(this);
        return;
    }
    // The pixels are copied into a bottom-up section of the same format
    // (the system does not say reliably whether a section is top-down),
    // and the handle given is freed.
    BITMAP bm = ds.dsBm;
    bool section = got == int(sizeof(DIBSECTION)) && bm.bmBits;
    TPixelFormat format = pfDevice;
    switch (section ? ds.dsBmih.biBitCount : bm.bmBitsPixel) {
    case 1: format = pf1bit; break;
    case 4: format = section ? pf4bit : pfDevice; break;
    case 8: format = section ? pf8bit : pfDevice; break;
    case 16:
        format = section && ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x07E0 ? pf16bit
                 : section                                                                         ? pf15bit
                                                                                                   : pfDevice;
        break;
    case 24: format = section ? pf24bit : pfDevice; break;
    case 32: format = section ? pf32bit : pfDevice; break;
    default: break;
    }
    std::vector<RGBQUAD> colors;
    int bpp = BitsPerPixel(format);
    if (section && bpp <= 8) {
        colors.resize(size_t(1) << bpp);
        TSelectedBitmap sel(value);
        GetDIBColorTable(sel.DC(), 0, UINT(colors.size()), colors.data());
    }
    {
        TOnFailure release([&] { DeleteObject(value); });
        NewImage(bm.bmWidth, std::abs(bm.bmHeight), format, colors, false);
    }
    if (FHandle) {
        TDIBHeader info{};
        info.Header.biSize = sizeof(BITMAPINFOHEADER);
        info.Header.biWidth = FWidth;
        info.Header.biHeight = FHeight;
        info.Header.biPlanes = 1;
        info.Header.biBitCount = WORD(FBitsPerPixel);
        info.Header.biCompression = BI_RGB;
        if (RealFormat(FPixelFormat) == pf16bit) {
            info.Header.biCompression = BI_BITFIELDS;
            const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
            std::memcpy(info.Colors, masks, sizeof masks);
        } else {
            std::copy(FColors.begin(), FColors.end(), info.Colors);
            info.Header.biClrUsed = DWORD(FColors.size());
        }
        HDC dc = CreateCompatibleDC(nullptr);
        GetDIBits(dc, value, 0, UINT(FHeight), FBits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        DeleteDC(dc);
    }
    DeleteObject(value);
    Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
    FreeContext();
    GdiFlush();
    HBITMAP h = FHandle;
    FHandle = nullptr;
    FreeImage();
    FWidth = FHeight = 0;
    Changed(this);
    return h;
}

void* TBitmap::ScanLine(int row) {
    if (!FHandle || row < 0 || row >= FHeight) throw EInvalidGraphic("Scan line index out of range");
    GdiFlush();
    return FBits + size_t(FHeight - 1 - row) * size_t(RowStride());
}

void TBitmap::Assign(TPersistent* source) {
    if (!source) {
        FreeImage();
        FWidth = FHeight = 0;
        Changed(this);
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(source)) {
        if (b == this) return;
        if (!b->FHandle) {
            FreeImage();
            FWidth = b->FWidth;
            FHeight = b->FHeight;
            FPixelFormat = b->FPixelFormat;
            FColors = b->FColors;
        } else {
            NewImage(b->FWidth, b->FHeight, b->FPixelFormat, b->FColors, false);
            size_t stride = size_t(std::min(RowStride(), b->RowStride()));
            for (int y = 0; y < FHeight; ++y) std::memcpy(ScanLine(y), b->ScanLine(y), stride);
        }
        FTransparent = b->FTransparent;
        FTransparentColor = b->FTransparentColor;
        FTransparentMode = b->FTransparentMode;
        Changed(this);
        return;
    }
    TGraphic::Assign(source);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
    if (!FHandle || !canvas) return;
    TColor key = Transparent() ? TransparentColor() : clNone;
    HDC source = Canvas()->Handle();
    HDC dest = canvas->Handle();
    int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
    if (key != clNone)
        TransparentBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, FWidth, FHeight,
                       ColorToRGB(key));
    else
        StretchBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, FWidth, FHeight,
                   canvas->CopyMode());
    SetStretchBltMode(dest, oldMode);
}

TColor TBitmap::TransparentColor() {
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return TColor(int(ColorToRGB(FTransparentColor)));
    if (!FHandle) return clDefault;
    if (Monochrome()) return clWhite;
    return TColor(int(GetPixel(Canvas()->Handle(), 0, FHeight - 1) & 0xFFFFFF));
}

void TBitmap::SetTransparentColor(TColor value) {
    if (value == FTransparentColor && FTransparentMode == (value == clDefault ? tmAuto : tmFixed)) return;
    FTransparentColor = value;
    FTransparentMode = value == clDefault ? tmAuto : tmFixed;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (value == FTransparentMode) return;
    if (value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}

void TBitmap::SetTransparent(bool value) { TGraphic::SetTransparent(value); }

HPALETTE TBitmap::GetPalette() {
    if (!FPalette && FHandle && FBitsPerPixel <= 8 && !FColors.empty()) {
        std::vector<Byte> buffer(sizeof(LOGPALETTE) + FColors.size() * sizeof(PALETTEENTRY));
        auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
        lp->palVersion = 0x300;
        lp->palNumEntries = WORD(FColors.size());
        for (size_t i = 0; i < FColors.size(); ++i)
            lp->palPalEntry[i] = PALETTEENTRY{FColors[i].rgbRed, FColors[i].rgbGreen, FColors[i].rgbBlue, 0};
        FPalette = CreatePalette(lp);
    }
    return FPalette;
}

void TBitmap::SetPalette(HPALETTE value) {
    if (value == FPalette) return;
    if (value && FHandle && FBitsPerPixel <= 8) {
        std::vector<PALETTEENTRY> entries(size_t(1) << FBitsPerPixel);
        UINT n = GetPaletteEntries(value, 0, UINT(entries.size()), entries.data());
        for (UINT i = 0; i < n && i < FColors.size(); ++i)
            FColors[i] = Quad(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
        FreeContext();
        TSelectedBitmap sel(FHandle);
        SetDIBColorTable(sel.DC(), 0, UINT(FColors.size()), FColors.data());
    }
    if (FPalette) DeleteObject(FPalette);
    FPalette = value;
    Changed(this);
}

void TBitmap::Changed(TObject* sender) { TGraphic::Changed(sender); }

// Reads a DIB (a BMP file when fileHeader is set, else the info header,
// colour table and bits of a bitmap resource) into a new section.
void TBitmap::ReadDIB(const Byte* p, size_t n, size_t* consumed, bool fileHeader) {
    size_t pos = 0;
    size_t offBits = 0;
    if (fileHeader) {
        if (n < 14 || p[0] != 'B' || p[1] != 'M') InvalidBitmap();
        offBits = Read32(p + 10);
        pos = 14;
    }
    if (n - pos < 4) InvalidBitmap();
    std::uint32_t headerSize = Read32(p + pos);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        InvalidBitmap();
    if (n - pos < headerSize) InvalidBitmap();
    const Byte* h = p + pos;
    std::int64_t width, height;
    int bpp;
    std::uint32_t compression = BI_RGB, sizeImage = 0, colorsUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    bool hasMasks = false;
    if (headerSize == 12) {
        width = Read16(h + 4);
        height = Read16(h + 6);
        bpp = Read16(h + 10);
    } else {
        width = std::int32_t(Read32(h + 4));
        height = std::int32_t(Read32(h + 8));
        bpp = Read16(h + 14);
        compression = Read32(h + 16);
        sizeImage = Read32(h + 20);
        colorsUsed = Read32(h + 32);
        if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i) masks[i] = Read32(h + 40 + 4 * i);
            hasMasks = true;
        }
    }
    pos += headerSize;
    bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    if (width <= 0 || height == 0 || height == INT32_MIN) InvalidBitmap();
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) InvalidBitmap();
    if (compression == BI_RLE8 && (bpp != 8 || height < 0)) InvalidBitmap();
    if (compression == BI_RLE4 && (bpp != 4 || height < 0)) InvalidBitmap();
    if (compression == BI_BITFIELDS && bpp != 16 && bpp != 32) InvalidBitmap();
    if (compression > BI_BITFIELDS) InvalidBitmap();
    if (compression == BI_BITFIELDS && !hasMasks) {
        if (n - pos < 12) InvalidBitmap();
        for (int i = 0; i < 3; ++i) masks[i] = Read32(p + pos + 4 * i);
        pos += 12;
    }
    std::int64_t rows = height < 0 ? -height : height;
    std::uint64_t stride = ((std::uint64_t(width) * std::uint64_t(bpp) + 31) / 32) * 4;
    std::uint64_t imageBytes = stride * std::uint64_t(rows);
    if (width > 0x7FFFFFFF / 32 || rows > 0x7FFFFFFF || imageBytes > 0x7FFFFFFFu) InvalidBitmap();

    // The colour table.
    size_t entrySize = headerSize == 12 ? 3 : 4;
    std::uint64_t tableEntries = bpp <= 8 ? (colorsUsed ? colorsUsed : 1u << bpp) : colorsUsed;
    if (tableEntries > 65536) InvalidBitmap();
    size_t tableBytes = size_t(tableEntries) * entrySize;
    std::vector<RGBQUAD> colors;
    if (bpp <= 8) {
        if (n - pos < tableBytes) InvalidBitmap();
        colors.assign(size_t(1) << bpp, Quad(0, 0, 0));
        for (size_t i = 0; i < tableEntries && i < colors.size(); ++i) {
            const Byte* e = p + pos + i * entrySize;
            colors[i] = RGBQUAD{e[0], e[1], e[2], 0};
        }
    }
    size_t bitsPos = fileHeader && offBits != 0 ? offBits : pos + tableBytes;
    if (bitsPos > n) InvalidBitmap();
    size_t bitsSize;
    if (rle) {
        bitsSize = sizeImage && sizeImage <= n - bitsPos ? sizeImage : n - bitsPos;
        if (bitsSize == 0) InvalidBitmap();
        // Compressed data can claim any size; keep a small file small.
        if (imageBytes > std::max<std::uint64_t>(std::uint64_t(64) << 20, std::uint64_t(bitsSize) * 256))
            InvalidBitmap();
    } else {
        if (imageBytes > n - bitsPos) InvalidBitmap();
        bitsSize = size_t(imageBytes);
    }

    // The format the pixels are kept in, and whether they can be copied as
    // they are.
    TPixelFormat format;
    bool direct = !rle;
    switch (bpp) {
    case 1: format = pf1bit; break;
    case 4: format = pf4bit; break;
    case 8: format = pf8bit; break;
    case 16:
        if (compression == BI_RGB || (masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F)) {
            format = pf15bit;
        } else if (masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F) {
            format = pf16bit;
        } else {
            format = pf32bit;
            direct = false;
        }
        break;
    case 24: format = pf24bit; break;
    default:
        format = pf32bit;
        if (compression == BI_BITFIELDS && !(masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF))
            direct = false;
        break;
    }

    NewImage(int(width), int(rows), format, colors, false);
    const Byte* bits = p + bitsPos;
    if (direct) {
        for (std::int64_t y = 0; y < rows; ++y) {
            // File rows are bottom-up unless the height is negative.
            int row = height < 0 ? int(y) : int(rows - 1 - y);
            std::memcpy(ScanLine(row), bits + size_t(y) * stride, size_t(stride));
        }
    } else {
        TDIBHeader info{};
        info.Header.biSize = sizeof(BITMAPINFOHEADER);
        info.Header.biWidth = LONG(width);
        info.Header.biHeight = LONG(height);
        info.Header.biPlanes = 1;
        info.Header.biBitCount = WORD(bpp);
        info.Header.biCompression = compression;
        info.Header.biSizeImage = DWORD(bitsSize);
        if (compression == BI_BITFIELDS) std::memcpy(info.Colors, masks, sizeof masks);
        for (size_t i = 0; i < colors.size(); ++i) info.Colors[i] = colors[i];
        info.Header.biClrUsed = DWORD(colors.size());
        HDC dc = CreateCompatibleDC(nullptr);
        int done = SetDIBits(dc, FHandle, 0, UINT(rows), bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        DeleteDC(dc);
        GdiFlush();
        if (done == 0) {
            FreeImage();
            FWidth = FHeight = 0;
            InvalidBitmap();
        }
    }
    *consumed = bitsPos + bitsSize;
}

void TBitmap::LoadFromStream(TStream& stream) {
    Int64 start = stream.Position();
    Int64 size = stream.Size() - start;
    if (size <= 0) {
        Assign(nullptr);
        return;
    }
    std::vector<Byte> data(static_cast<size_t>(size));
    stream.ReadBuffer(data.data(), size);
    size_t consumed = 0;
    ReadDIB(data.data(), data.size(), &consumed, true);
    stream.SetPosition(start + Int64(consumed));
    Changed(this);
}

void TBitmap::SaveToStream(TStream& stream) {
    if (!FHandle) return;
    GdiFlush();
    bool bitfields = RealFormat(FPixelFormat) == pf16bit;
    std::uint32_t colorCount = FBitsPerPixel <= 8 ? 1u << FBitsPerPixel : 0;
    std::uint32_t stride = std::uint32_t(RowStride());
    std::uint32_t imageBytes = stride * std::uint32_t(FHeight);
    std::uint32_t offBits = 14 + 40 + (bitfields ? 12 : 0) + colorCount * 4;
    std::vector<Byte> out;
    out.reserve(offBits + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offBits + imageBytes);
    Put32(out, 0);
    Put32(out, offBits);
    Put32(out, 40);
    Put32(out, std::uint32_t(FWidth));
    Put32(out, std::uint32_t(FHeight));
    Put16(out, 1);
    Put16(out, std::uint16_t(FBitsPerPixel));
    Put32(out, bitfields ? BI_BITFIELDS : BI_RGB);
    Put32(out, imageBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, colorCount);
    Put32(out, 0);
    if (bitfields) {
        Put32(out, 0xF800);
        Put32(out, 0x07E0);
        Put32(out, 0x001F);
    }
    for (std::uint32_t i = 0; i < colorCount; ++i) {
        RGBQUAD c = i < FColors.size() ? FColors[i] : Quad(0, 0, 0);
        out.insert(out.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed, 0});
    }
    for (int y = FHeight - 1; y >= 0; --y) {
        const Byte* row = static_cast<const Byte*>(ScanLine(y));
        out.insert(out.end(), row, row + stride);
    }
    stream.WriteBuffer(out.data(), Int64(out.size()));
}

void TBitmap::ReadData(TStream* stream) {
    Int64 size = stream->Size() - stream->Position();
    std::vector<Byte> data(size_t(std::max<Int64>(size, 0)));
    if (!data.empty()) stream->ReadBuffer(data.data(), Int64(data.size()));
    // A length, then the BMP file; a bare BMP file is taken too.
    const Byte* bmp = data.data();
    size_t bmpSize = data.size();
    if (bmpSize >= 4 && Read32(bmp) == bmpSize - 4) {
        bmp += 4;
        bmpSize -= 4;
    } else if (bmpSize > 0 && !(bmpSize >= 2 && bmp[0] == 'B' && bmp[1] == 'M')) {
        InvalidBitmap();
    }
    if (bmpSize == 0) {
        Assign(nullptr);
        return;
    }
    size_t consumed = 0;
    ReadDIB(bmp, bmpSize, &consumed, true);
    Changed(this);
}

void TBitmap::WriteData(TStream* stream) {
    TMemoryStream bmp;
    SaveToStream(bmp);
    std::uint32_t size = std::uint32_t(bmp.Size());
    Byte prefix[4] = {Byte(size), Byte(size >> 8), Byte(size >> 16), Byte(size >> 24)};
    stream->WriteBuffer(prefix, 4);
    if (size) stream->WriteBuffer(bmp.Memory(), bmp.Size());
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const String& name) {
    TResourceStream res(instance, name, RT_BITMAP);
    size_t consumed = 0;
    ReadDIB(static_cast<const Byte*>(res.Memory()), size_t(res.Size()), &consumed, false);
    Changed(this);
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
    TResourceStream res(instance, id, RT_BITMAP);
    size_t consumed = 0;
    ReadDIB(static_cast<const Byte*>(res.Memory()), size_t(res.Size()), &consumed, false);
    Changed(this);
}

void TBitmap::LoadFromClipboardFormat(Word format, HANDLE data, HPALETTE) {
    if (format != CF_BITMAP || !data) throw EInvalidGraphic("Unsupported clipboard format");
    auto copy = static_cast<HBITMAP>(CopyImage(data, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!copy) InvalidBitmap();
    SetHandle(copy);
}

void TBitmap::SaveToClipboardFormat(Word& format, HANDLE& data, HPALETTE& palette) {
    format = CF_BITMAP;
    data = FHandle ? CopyImage(Handle(), IMAGE_BITMAP, 0, 0, 0) : nullptr;
    palette = nullptr;
}

// ---- TIcon ----------------------------------------------------------------------------

TClass TIcon::StaticClass() {
    static const TClassInfo info = TClassBuilder<TIcon>("TIcon").Build();
    return &info;
}

TIcon::~TIcon() {
    if (FHandle) DestroyIcon(FHandle);
}

void TIcon::TakeHandle(HICON value, std::vector<Byte> data) {
    if (FHandle && FHandle != value) DestroyIcon(FHandle);
    FHandle = value;
    FData = std::move(data);
    FWidth = FHeight = 0;
    ICONINFO ii{};
    if (value && GetIconInfo(value, &ii)) {
        BITMAP bm{};
        GetObjectA(ii.hbmMask, sizeof bm, &bm);
        FWidth = bm.bmWidth;
        FHeight = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
        if (ii.hbmMask) DeleteObject(ii.hbmMask);
    }
    Changed(this);
}

void TIcon::Assign(TPersistent* source) {
    if (!source) {
        TakeHandle(nullptr, {});
        return;
    }
    if (auto* i = dynamic_cast<TIcon*>(source)) {
        if (i == this) return;
        FRequestedWidth = i->FRequestedWidth;
        FRequestedHeight = i->FRequestedHeight;
        TakeHandle(i->FHandle ? CopyIcon(i->FHandle) : nullptr, i->FData);
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect) {
    if (!FHandle || !canvas) return;
    DrawIconEx(canvas->Handle(), rect.Left, rect.Top, FHandle, rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::SetWidth(int value) {
    if (FHandle) throw EInvalidGraphicOperation("Cannot change the size of an icon");
    FRequestedWidth = value;
}

void TIcon::SetHeight(int value) {
    if (FHandle) throw EInvalidGraphicOperation("Cannot change the size of an icon");
    FRequestedHeight = value;
}

void TIcon::SetHandle(HICON value) {
    if (value == FHandle) return;
    TakeHandle(value, {});
}

HICON TIcon::ReleaseHandle() {
    HICON h = FHandle;
    FHandle = nullptr;
    TakeHandle(nullptr, {});
    return h;
}

void TIcon::LoadFromStream(TStream& stream) {
    Int64 start = stream.Position();
    Int64 size = stream.Size() - start;
    if (size < 6) InvalidIcon();
    std::vector<Byte> data(static_cast<size_t>(size));
    stream.ReadBuffer(data.data(), size);
    const Byte* p = data.data();
    size_t n = data.size();
    if (Read16(p) != 0 || Read16(p + 2) != 1) InvalidIcon();
    size_t count = Read16(p + 4);
    if (count == 0 || n < 6 + 16 * count) InvalidIcon();
    int wantW = FRequestedWidth > 0 ? FRequestedWidth : GetSystemMetrics(SM_CXICON);
    int wantH = FRequestedHeight > 0 ? FRequestedHeight : GetSystemMetrics(SM_CYICON);
    // The image of the wanted size with the most colours, else the first.
    size_t best = 0;
    int bestBits = -1;
    size_t end = 6 + 16 * count;
    for (size_t i = 0; i < count; ++i) {
        const Byte* e = p + 6 + 16 * i;
        std::uint32_t bytes = Read32(e + 8), offset = Read32(e + 12);
        if (offset > n || bytes > n - offset || bytes < 8) InvalidIcon();
        end = std::max<size_t>(end, offset + bytes);
        int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
        int bits = Read16(e + 6);
        if (w == wantW && h == wantH && bits > bestBits) {
            best = i;
            bestBits = bits;
        }
    }
    const Byte* e = p + 6 + 16 * best;
    int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256;
    HICON icon = CreateIconFromResourceEx(const_cast<Byte*>(p + Read32(e + 12)), Read32(e + 8), TRUE, 0x00030000, w, h,
                                          LR_DEFAULTCOLOR);
    if (!icon) InvalidIcon();
    data.resize(end);
    stream.SetPosition(start + Int64(end));
    TakeHandle(icon, std::move(data));
}

namespace {

// An .ico file of one image made from an icon handle: 32 bits per pixel
// with its mask, or 1 bit for a monochrome icon.
std::vector<Byte> IconFile(HICON icon) {
    ICONINFO ii{};
    if (!GetIconInfo(icon, &ii)) InvalidIcon();
    BITMAP mask{};
    GetObjectA(ii.hbmMask, sizeof mask, &mask);
    int width = mask.bmWidth;
    int height = ii.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    int maskStride = ((width + 31) / 32) * 4;
    HDC dc = CreateCompatibleDC(nullptr);
    TDIBHeader info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biPlanes = 1;
    info.Header.biCompression = BI_RGB;
    std::vector<Byte> image;
    int bpp;
    if (ii.hbmColor) {
        bpp = 32;
        std::vector<Byte> color(size_t(width) * 4 * size_t(height));
        std::vector<Byte> andMask(size_t(maskStride) * size_t(height));
        info.Header.biHeight = height;
        info.Header.biBitCount = 32;
        GetDIBits(dc, ii.hbmColor, 0, UINT(height), color.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        info = TDIBHeader{};
        info.Header.biSize = sizeof(BITMAPINFOHEADER);
        info.Header.biWidth = width;
        info.Header.biHeight = height;
        info.Header.biPlanes = 1;
        info.Header.biBitCount = 1;
        GetDIBits(dc, ii.hbmMask, 0, UINT(height), andMask.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS);
        image = std::move(color);
        image.insert(image.end(), andMask.begin(), andMask.end());
    } else {
        bpp = 1;
        // The mask holds the AND rows above the XOR rows; bottom-up they come
        // out XOR first, as the file wants them.
        image.resize(size_t(maskStride) * size_t(height) * 2);
        info.Header.biHeight = height * 2;
        info.Header.biBitCount = 1;
        GetDIBits(dc, ii.hbmMask, 0, UINT(height * 2), image.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS);
    }
    DeleteDC(dc);
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
    if (ii.hbmMask) DeleteObject(ii.hbmMask);

    std::uint32_t tableBytes = bpp == 1 ? 8 : 0;
    std::uint32_t bytes = 40 + tableBytes + std::uint32_t(image.size());
    std::vector<Byte> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out.push_back(Byte(width >= 256 ? 0 : width));
    out.push_back(Byte(height >= 256 ? 0 : height));
    out.push_back(bpp == 1 ? 2 : 0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, std::uint16_t(bpp));
    Put32(out, bytes);
    Put32(out, 22);
    Put32(out, 40);
    Put32(out, std::uint32_t(width));
    Put32(out, std::uint32_t(height * 2));
    Put16(out, 1);
    Put16(out, std::uint16_t(bpp));
    Put32(out, BI_RGB);
    Put32(out, std::uint32_t(image.size()));
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    if (bpp == 1) {
        Put32(out, 0x000000);
        Put32(out, 0xFFFFFF);
    }
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

}  // namespace

void TIcon::SaveToStream(TStream& stream) {
    if (!FData.empty()) {
        stream.WriteBuffer(FData.data(), Int64(FData.size()));
    } else if (FHandle) {
        std::vector<Byte> file = IconFile(FHandle);
        stream.WriteBuffer(file.data(), Int64(file.size()));
    }
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const String& name) {
    UINT flags = FRequestedWidth > 0 ? 0 : LR_DEFAULTSIZE;
    auto icon =
        static_cast<HICON>(LoadImageA(instance, name.c_str(), IMAGE_ICON, FRequestedWidth, FRequestedHeight, flags));
    if (!icon) throw EResNotFound(Format("Resource %s not found", {name}));
    TakeHandle(icon, {});
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id) {
    UINT flags = FRequestedWidth > 0 ? 0 : LR_DEFAULTSIZE;
    auto icon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, FRequestedWidth, FRequestedHeight, flags));
    if (!icon) throw EResNotFound(Format("Resource %s not found", {IntToStr(id)}));
    TakeHandle(icon, {});
}
