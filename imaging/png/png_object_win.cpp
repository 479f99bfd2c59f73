// The PNG picture on Windows: its image buffers in GDI, drawing, copying to
// and from bitmaps, the clipboard and the stored "Data".
#include "imaging/png/png_object_win.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "classlib/core/scopes.h"
#include "imaging/png/png_effects.h"
#include "imaging/png/png_gdi_win.h"

static_assert(sizeof(TPngBitmapInfoHeader) == sizeof(BITMAPINFOHEADER));
static_assert(sizeof(TPngRGBQuad) == sizeof(RGBQUAD));

// ---- The image buffers in GDI ------------------------------------------------

TPngDIBMemory::TPngDIBMemory(TPNGObject* owner, const TPngBitmapInfo& info, std::size_t size) : FOwner(owner) {
    FDC = CreateCompatibleDC(nullptr);
    if (!FDC) return;
    int bpp = info.bmiHeader.biBitCount;
    if (bpp <= 8) {
        FPalette = CreatePngPalette(info.bmiColors, 1 << bpp);
        if (FPalette) {
            FOldPalette = SelectPalette(FDC, FPalette, FALSE);
            RealizePalette(FDC);
        }
    }
    void* bits = nullptr;
    FBitmap = CreateDIBSection(FDC, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FBitmap || !bits) return;
    FOldBitmap = SelectObject(FDC, FBitmap);
    std::memset(bits, 0, size);
    FBits = static_cast<Byte*>(bits);
}

TPngDIBMemory::~TPngDIBMemory() {
    if (FOwner) FOwner->PixelMemoryFreed(FDC);
    if (FDC) {
        if (FOldBitmap) SelectObject(FDC, FOldBitmap);
        if (FOldPalette) SelectPalette(FDC, FOldPalette, FALSE);
        DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
    if (FPalette) DeleteObject(FPalette);
}

void TPngDIBMemory::ColorTableChanged(const TPngBitmapInfo& info, int count) {
    int bpp = info.bmiHeader.biBitCount;
    if (!FDC || !FBitmap || bpp > 8) return;
    int entries = 1 << bpp;
    // The section's own table (drawing from the DC) is whole; the palette
    // has only the image's own colours (a PLTE may hold fewer entries than
    // the bitmap's depth allows).
    SetDIBColorTable(FDC, 0, UINT(entries), reinterpret_cast<const RGBQUAD*>(info.bmiColors));
    int colours = count > 0 ? std::min(count, entries) : entries;
    if (HPALETTE palette = CreatePngPalette(info.bmiColors, colours)) TakePalette(palette);
}

void TPngDIBMemory::TakePalette(HPALETTE palette) {
    if (!FDC || !palette || palette == FPalette) return;
    HPALETTE old = SelectPalette(FDC, palette, FALSE);
    if (!FOldPalette) FOldPalette = old;
    RealizePalette(FDC);
    if (FPalette) DeleteObject(FPalette);
    FPalette = palette;
}

std::unique_ptr<TPngPixelMemory> TPngDIBAllocator::CreatePixels(const TPngBitmapInfo& info, std::size_t size) {
    return std::make_unique<TPngDIBMemory>(FOwner, info, size);
}

void TPngDIBAllocator::FillIndexedColorTable(TPngRGBQuad* table, int count) {
    HPALETTE halftone = CreateHalftonePalette(TScreenDC().Handle());
    if (!halftone) return;
    PALETTEENTRY entries[256]{};
    UINT got = GetPaletteEntries(halftone, 0, UINT(std::clamp(count, 0, 256)), entries);
    for (UINT i = 0; i < got; ++i) table[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    DeleteObject(halftone);
}

// ---- TPNGObject ----------------------------------------------------------------

TClass TPNGObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPNGObject>("TPNGObject").Build();
    return &info;
}

TPNGObject::TPNGObject() : FCanvas(std::make_unique<TCanvas>()) {}

TPNGObject::~TPNGObject() {
    // The chunks free their GDI objects while the canvas still exists.
    ClearChunkList();
    FCanvas->SetHandle(nullptr);
}

TPngDIBMemory* TPNGObject::DIBMemory() const {
    TChunkIHDR* header = HeaderChunk();
    return header ? dynamic_cast<TPngDIBMemory*>(header->PixelMemory()) : nullptr;
}

HDC TPNGObject::MemoryDC() const {
    TPngDIBMemory* memory = DIBMemory();
    return memory ? memory->DC() : nullptr;
}

void TPNGObject::ImageBuffersChanged() {
    HDC dc = MemoryDC();
    FCanvas->SetHandle(dc);
    FBoundDC = dc;
}

void TPNGObject::PixelMemoryFreed(HDC dc) {
    if (!FCanvas || !dc || dc != FBoundDC) return;
    FCanvas->SetHandle(nullptr);
    FBoundDC = nullptr;
}

HPALETTE TPNGObject::GetPalette() {
    TPngDIBMemory* memory = DIBMemory();
    return memory ? memory->Palette() : nullptr;
}

void TPNGObject::SetWidth(int value) {
    Header();  // an empty image has no other dimension to keep
    ChangeSize(value, Height());
    Changed(this);
}

void TPNGObject::SetHeight(int value) {
    Header();
    ChangeSize(Width(), value);
    Changed(this);
}

void TPNGObject::SetPalette(HPALETTE value) {
    TChunkIHDR* header = HeaderChunk();
    if (!value || !header || !header->HasPalette()) return;
    PALETTEENTRY entries[256]{};
    UINT got = GetPaletteEntries(value, 0, UINT(header->PaletteSize()), entries);
    TPngRGBQuad table[256];
    for (UINT i = 0; i < got; ++i) table[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    header->SetPaletteEntries(table, int(got));
    if (TPngDIBMemory* memory = DIBMemory()) memory->TakePalette(value);
    Changed(this);
}

TPngColor TPNGObject::PixelAt(int x, int y) const {
    GdiFlush();  // drawing on the canvas may still be queued
    return TPNGObjectCore::PixelAt(x, y);
}

void TPNGObject::SetPixelAt(int x, int y, TPngColor color) {
    GdiFlush();
    TPNGObjectCore::SetPixelAt(x, y, color);
    Changed(this);
}

// ---- Loading and saving ---------------------------------------------------------

void TPNGObject::LoadFromStream(TStream& stream) {
    // Also on a failure: what was read before it is the picture now.
    TScopeExit changed([this] { Changed(this); });
    TPNGObjectCore::LoadFromStream(stream);
}

void TPNGObject::SaveToStream(TStream& stream) {
    GdiFlush();
    TPNGObjectCore::SaveToStream(stream);
}

void TPNGObject::ReadData(TStream* stream) {
    Byte size[4];
    if (stream->Read(size, 4) != 4) FailWith<EPngUnexpectedEnd>(SPngUnexpectedEnd);
    Int64 length = Int64(size[0]) | Int64(size[1]) << 8 | Int64(size[2]) << 16 | Int64(size[3]) << 24;
    Int64 left = stream->Size() - stream->Position();
    TMemoryStream png;
    if (std::min(length, left) > 0) png.CopyFrom(*stream, std::min(length, left));
    png.SetPosition(0);
    LoadFromStream(png);
}

void TPNGObject::WriteData(TStream* stream) {
    TMemoryStream png;
    SaveToStream(png);
    LongWord length = LongWord(png.Size());
    Byte size[4] = {Byte(length), Byte(length >> 8), Byte(length >> 16), Byte(length >> 24)};
    stream->WriteBuffer(size, 4);
    if (length) stream->WriteBuffer(png.Memory(), png.Size());
}

// ---- Drawing ----------------------------------------------------------------------

void TPNGObject::Draw(TCanvas* canvas, const TRect& rect) {
    TChunkIHDR* header = HeaderChunk();
    if (!canvas || !header || !header->PixelBits()) return;
    switch (TransparencyKind()) {
    case tkNone: DrawOpaque(canvas, rect); break;
    case tkColorKey: DrawKeyed(canvas, rect, KeyColor() & 0xFFFFFF); break;
    case tkPartial: DrawBlended(canvas, rect); break;
    }
}

void TPNGObject::DrawOpaque(TCanvas* canvas, const TRect& rect) {
    TChunkIHDR& h = Header();
    GdiFlush();
    HDC dc = canvas->Handle();
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), 0, 0, int(h.Width), int(h.Height),
                  h.PixelBits(), reinterpret_cast<const BITMAPINFO*>(&h.BitmapInfo), DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

void TPNGObject::DrawKeyed(TCanvas* canvas, const TRect& rect, LongWord keyColor) {
    TChunkIHDR& h = Header();
    TRect r = NormalizedRect(rect);
    int W = r.Width(), H = r.Height(), w = int(h.Width), hh = int(h.Height);
    if (W <= 0 || H <= 0) return;
    GdiFlush();
    HDC dest = canvas->Handle();

    // The image as a bitmap of the screen's format, then the masks and the
    // work bitmap of the rectangle's size.
    TScreenDC screen;
    TMemoryBitmap image(
        CreateDIBitmap(screen.Handle(), reinterpret_cast<const BITMAPINFOHEADER*>(&h.BitmapInfo.bmiHeader), CBM_INIT,
                       h.PixelBits(), reinterpret_cast<const BITMAPINFO*>(&h.BitmapInfo), DIB_RGB_COLORS));
    TMemoryBitmap mask(CreateBitmap(W, H, 1, 1, nullptr));
    TMemoryBitmap inverse(CreateBitmap(W, H, 1, 1, nullptr));
    TMemoryBitmap work(CreateCompatibleBitmap(screen.Handle(), W, H));
    if (!image.Valid() || !mask.Valid() || !inverse.Valid() || !work.Valid()) FailWith<EPNGOutMemory>(SPngOutMemory);
    for (HDC dc : {image.DC(), mask.DC(), inverse.DC(), work.DC()}) SetStretchBltMode(dc, COLORONCOLOR);

    // The key pixels become white in the mask. Which pixels they are is
    // decided on the samples (IsKeyPixel), not by comparing the drawn
    // colours: through gamma a pixel that is not the key may show the key's
    // colour. A key colour other than the image's own goes by colour.
    bool ownKey = TransparencyKind() == tkColorKey && keyColor == (KeyColor() & 0xFFFFFF);
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[2];
    } keyInfo{{sizeof(BITMAPINFOHEADER), w, -hh, 1, 1, BI_RGB, 0, 0, 0, 2, 2}, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    void* keyBits = nullptr;
    TMemoryBitmap keys(
        CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&keyInfo), DIB_RGB_COLORS, &keyBits, nullptr, 0));
    if (!keys.Valid() || !keyBits) FailWith<EPNGOutMemory>(SPngOutMemory);
    const std::size_t keyStride = std::size_t((w + 31) / 32) * 4;
    auto* keyRows = static_cast<Byte*>(keyBits);
    std::memset(keyRows, 0, keyStride * std::size_t(hh));
    for (int y = 0; y < hh; ++y)
        for (int x = 0; x < w; ++x) {
            bool key = ownKey ? IsKeyPixel(x, y) : (TPNGObjectCore::PixelAt(x, y) & 0xFFFFFF) == keyColor;
            if (key) keyRows[keyStride * std::size_t(y) + std::size_t(x / 8)] |= Byte(0x80 >> (x % 8));
        }
    StretchBlt(mask.DC(), 0, 0, W, H, keys.DC(), 0, 0, w, hh, SRCCOPY);

    BitBlt(inverse.DC(), 0, 0, W, H, mask.DC(), 0, 0, NOTSRCCOPY);
    BitBlt(work.DC(), 0, 0, W, H, dest, r.Left, r.Top, SRCCOPY);
    BitBlt(work.DC(), 0, 0, W, H, mask.DC(), 0, 0, SRCAND);
    StretchBlt(image.DC(), 0, 0, w, hh, inverse.DC(), 0, 0, W, H, SRCAND);
    StretchBlt(work.DC(), 0, 0, W, H, image.DC(), 0, 0, w, hh, SRCPAINT);
    BitBlt(dest, r.Left, r.Top, W, H, work.DC(), 0, 0, SRCCOPY);
}

void TPNGObject::DrawBlended(TCanvas* canvas, const TRect& rect) {
    Header();
    TRect r = NormalizedRect(rect);
    int W = r.Width(), H = r.Height();
    if (W <= 0 || H <= 0) return;
    GdiFlush();
    HDC dest = canvas->Handle();

    // A top-down 32-bit copy of what the canvas shows under the rectangle.
    Byte* bits = nullptr;
    TMemoryBitmap buffer(CreateTopDown32BitSection(W, H, &bits));
    if (!buffer.Valid() || !bits) FailWith<EPNGOutMemory>(SPngOutMemory);
    BitBlt(buffer.DC(), 0, 0, W, H, dest, r.Left, r.Top, SRCCOPY);
    GdiFlush();
    BlendPngOver(*this, bits, W, H, std::ptrdiff_t(W) * 4);
    BitBlt(dest, r.Left, r.Top, W, H, buffer.DC(), 0, 0, SRCCOPY);
}

// ---- Copying ------------------------------------------------------------------------

void TPNGObject::Assign(TPersistent* source) {
    if (!source) {
        ClearChunkList();
        Changed(this);
        return;
    }
    if (auto* png = dynamic_cast<TPNGObject*>(source)) {
        if (png == this) return;
        GdiFlush();
        AssignPng(*png);
        Changed(this);
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        if (bitmap->Empty()) {
            ClearChunkList();
            Changed(this);
            return;
        }
        bool transparent = bitmap->Transparent();
        LongWord key = transparent ? ColorToRGB(bitmap->TransparentColor()) & 0xFFFFFF : 0;
        AssignBitmapHandle(bitmap->Handle(), transparent, key);
        return;
    }
    TGraphic::Assign(source);
}

void TPNGObject::AssignBitmapHandle(HBITMAP handle, bool transparent, LongWord keyColor) {
    BITMAP bm{};
    if (!handle || GetObjectA(handle, sizeof bm, &bm) < int(sizeof bm) || bm.bmWidth <= 0 || bm.bmHeight == 0)
        throw EInvalidGraphic("Bitmap image is not valid");
    int bpp = bm.bmBitsPixel * bm.bmPlanes;
    ClearChunkList();

    auto* header = new TChunkIHDR(this);
    ChunkList().Add(header);
    header->Width = LongWord(bm.bmWidth);
    header->Height = LongWord(std::abs(bm.bmHeight));
    header->BitDepth = Byte(bpp < 16 ? bpp : 8);
    header->ColorType = bpp < 16 ? COLOR_PALETTE : COLOR_RGB;
    header->CompressionMethod = 0;
    header->FilterMethod = 0;
    header->InterlaceMethod = 0;
    {
        TOnFailure clear([this] {
            ClearChunkList();
            Changed(this);
        });
        header->PrepareImageBuffers();
    }

    // The pixels in the header's format; indexed formats fill ColorTable.
    TPngBitmapInfoHeader saved = header->BitmapInfo.bmiHeader;
    {
        TScreenDC screen;
        GetDIBits(screen.Handle(), handle, 0, UINT(header->Height), header->PixelBits(),
                  reinterpret_cast<BITMAPINFO*>(&header->BitmapInfo), DIB_RGB_COLORS);
    }
    header->BitmapInfo.bmiHeader = saved;

    TChunktRNS* trns = nullptr;
    if (header->HasPalette()) {
        auto* plte = new TChunkPLTE(this);
        plte->EntryCount = header->PaletteSize();
        ChunkList().Add(plte);
        // The colours just read become the image's palette.
        header->SetPaletteEntries(header->ColorTable(), header->PaletteSize());
    }
    if (transparent) {
        trns = new TChunktRNS(this);
        ChunkList().Add(trns);
    }
    ChunkList().Add(new TChunkIDAT(this));
    ChunkList().Add(new TChunkIEND(this));
    // An indexed image whose palette lacks the colour gets no transparency.
    if (trns) trns->SetKeyColor(keyColor);
    Changed(this);
}

TPixelFormat BitmapFormatFor(TPNGObject& png) {
    TChunkIHDR& h = png.Header();
    if (png.TransparencyKind() == tkPartial) return pf24bit;
    switch (h.BitDepth) {
    case 1: return pf1bit;
    case 2:
    case 4: return pf4bit;
    case 8:
    case 16:
        if (h.ColorType == COLOR_GRAYSCALE || h.ColorType == COLOR_RGB) return pf24bit;
        if (h.ColorType == COLOR_PALETTE) return pf8bit;
        break;
    default: break;
    }
    throw Exception("Invalid pixel format");
}

void TPNGObject::AssignTo(TPersistent* dest) {
    if (auto* png = dynamic_cast<TPNGObject*>(dest)) {
        png->Assign(this);
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(dest);
    TChunkIHDR* header = HeaderChunk();
    if (!bitmap || !header || !header->PixelBits()) {
        TGraphic::AssignTo(dest);
        return;
    }
    TPixelFormat format = BitmapFormatFor(*this);
    TPngTransparencyKind kind = TransparencyKind();
    bitmap->Assign(nullptr);
    bitmap->SetTransparent(false);
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(Width(), Height());
    // An indexed bitmap takes the image's own colours, so that every pixel
    // keeps its colour.
    if (format == pf1bit || format == pf4bit || format == pf8bit)
        bitmap->SetPalette(CreatePngPalette(header->ColorTable(), header->PaletteSize()));
    TRect all = Rect(0, 0, Width(), Height());
    if (kind == tkColorKey) {
        // The key-coloured pixels keep the key colour: the bitmap's own
        // transparency leaves them out when it is drawn.
        DrawOpaque(bitmap->Canvas(), all);
        bitmap->SetTransparentColor(TColor(int(KeyColor() & 0xFFFFFF)));
        bitmap->SetTransparent(true);
    } else {
        bitmap->Canvas()->StretchDraw(all, this);
    }
}

// ---- The clipboard ----------------------------------------------------------------------

void TPNGObject::SaveToClipboardFormat(Word& format, HANDLE& data, HPALETTE& palette) {
    if (!HeaderChunk()) return;
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    bitmap.Canvas()->Draw(0, 0, this);
    bitmap.SaveToClipboardFormat(format, data, palette);
}

void TPNGObject::LoadFromClipboardFormat(Word format, HANDLE data, HPALETTE palette) {
    TBitmap bitmap;
    bitmap.LoadFromClipboardFormat(format, data, palette);
    if (bitmap.Empty()) {
        ClearChunkList();
        Changed(this);
        return;
    }
    AssignBitmapHandle(bitmap.Handle(), false, 0);
}
