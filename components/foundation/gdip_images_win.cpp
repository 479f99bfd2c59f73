#include "components/foundation/gdip_images_win.h"

#include <climits>
#include <cstring>
#include <new>

#include "classlib/core/exceptions.h"
#include "classlib/core/streams.h"
#include "classlib/core/typinfo.h"
#include "imaging/png/png_image.h"

TClass TGPImage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPImage>("TGPImage").Build();
    return &info;
}

namespace {

constexpr INT kPixelFormat32bppARGB = 0x0026200A;
constexpr Byte kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The rest of the stream from its position; empty when it cannot be read.
std::vector<Byte> ReadRest(IStream* stream) {
    std::vector<Byte> bytes;
    Byte block[16384];
    for (;;) {
        ULONG read = 0;
        const HRESULT hr = stream->Read(block, sizeof block, &read);
        if (FAILED(hr)) return {};
        bytes.insert(bytes.end(), block, block + read);
        if (read < sizeof block) return bytes;
    }
}

// Whether GDI+ would give the decoded picture's pixels as they are: 8-bit
// colour and alpha, and no chunk that says how its colours are to be
// taken (those GDI+ reads on its own terms).
bool DecodedAsGdiplusWould(const TPNGObjectCore& png) {
    const TChunkIHDR* header = png.HeaderChunk();
    if (!header || header->ColorType != COLOR_RGBALPHA || header->BitDepth != 8) return false;
    if (png.Width() > INT_MAX / 4) return false;  // no row GDI+ could step over
    for (int i = 0; i < png.ChunkList().Count(); ++i) {
        const String type = png.ChunkList().Item(i)->ChunkType();
        if (type != "IHDR" && type != "IDAT" && type != "IEND" && type != "tEXt" && type != "zTXt" && type != "iTXt" &&
            type != "tIME")
            return false;
    }
    for (int v = 0; v < 256; ++v)
        if (png.GammaTable[v] != v) return false;
    return true;
}

}  // namespace

bool TGPImage::DecodePng(IStream* stream) {
    LARGE_INTEGER zero{};
    ULARGE_INTEGER start{};
    if (FAILED(stream->Seek(zero, STREAM_SEEK_CUR, &start))) return false;
    // The signature and the header's bit depth and colour type first: any
    // other image is left to GDI+ without reading the rest.
    Byte head[26] = {};
    ULONG headRead = 0;
    const bool candidate = SUCCEEDED(stream->Read(head, sizeof head, &headRead)) && headRead == sizeof head &&
                           std::memcmp(head, kPngSignature, sizeof kPngSignature) == 0 &&
                           std::memcmp(head + 12, "IHDR", 4) == 0 && head[24] == 8 && head[25] == COLOR_RGBALPHA;
    if (candidate) {
        std::vector<Byte> bytes(head, head + sizeof head);
        const std::vector<Byte> rest = ReadRest(stream);
        bytes.insert(bytes.end(), rest.begin(), rest.end());
        try {
            TMemoryStream memory;
            memory.Write(bytes.data(), Int64(bytes.size()));
            memory.Seek(0, soBeginning);
            TPNGObjectCore png;
            png.LoadFromStream(memory);
            if (DecodedAsGdiplusWould(png)) {
                const int width = png.Width(), height = png.Height();
                FPixels.resize(std::size_t(width) * std::size_t(height) * 4);
                for (int y = 0; y < height; ++y) {
                    const Byte* bgr = png.PixelRow(y);
                    const Byte* alpha = png.AlphaRow(y);
                    Byte* out = FPixels.data() + std::size_t(y) * std::size_t(width) * 4;
                    for (int x = 0; x < width; ++x, bgr += 3, out += 4) {
                        out[0] = bgr[0];
                        out[1] = bgr[1];
                        out[2] = bgr[2];
                        out[3] = alpha[x];
                    }
                }
                GpImage* made = nullptr;
                if (Api().GdipCreateBitmapFromScan0(width, height, width * 4, kPixelFormat32bppARGB, FPixels.data(),
                                                    &made) == TStatus::Ok) {
                    FNative = made;
                    FDecodedFormat = ifPNG;
                    SetCreateStatus(TStatus::Ok);
                    return true;
                }
                FPixels.clear();
            }
        } catch (const Exception&) {
            // A PNG the codec refuses is left to GDI+, which says why.
        } catch (const std::bad_alloc&) {
            // So is one too large for memory.
        }
    }
    LARGE_INTEGER back{};
    back.QuadPart = LONGLONG(start.QuadPart);
    stream->Seek(back, STREAM_SEEK_SET, nullptr);
    return false;
}

TGPImage::TGPImage(IStream* stream, bool useEmbeddedColorManagement) {
    if (!useEmbeddedColorManagement && stream && DecodePng(stream)) return;
    SetCreateStatus(useEmbeddedColorManagement ? Api().GdipLoadImageFromStreamICM(stream, &FNative)
                                               : Api().GdipLoadImageFromStream(stream, &FNative));
}

TGPImage::~TGPImage() {
    // GDI+ may draw from FPixels: the image goes before them.
    if (FNative) Api().GdipDisposeImage(FNative);
}

int TGPImage::GetFormat() {
    if (FDecodedFormat != 0) return FDecodedFormat;
    TGUID format{};
    if (SetStatus(Api().GdipGetImageRawFormat(FNative, &format)) != TStatus::Ok) return ifUndefined;
    return ImageFormatFromGUID(format);
}

UINT TGPImage::GetWidth() {
    UINT width = 0;
    SetStatus(Api().GdipGetImageWidth(FNative, &width));
    return width;
}

UINT TGPImage::GetHeight() {
    UINT height = 0;
    SetStatus(Api().GdipGetImageHeight(FNative, &height));
    return height;
}

TClass TGPBitmap::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPBitmap>("TGPBitmap").Build();
    return &info;
}

TGPBitmap::TGPBitmap(IStream* stream, bool useEmbeddedColorManagement) {
    if (!useEmbeddedColorManagement && stream && DecodePng(stream)) return;
    SetCreateStatus(useEmbeddedColorManagement ? Api().GdipCreateBitmapFromStreamICM(stream, &FNative)
                                               : Api().GdipCreateBitmapFromStream(stream, &FNative));
}

TStatus TGPBitmap::GetPixel(int x, int y, ARGB& color) {
    return SetStatus(Api().GdipBitmapGetPixel(FNative, x, y, &color));
}

TClass TGPImageAttributes::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPImageAttributes>("TGPImageAttributes").Build();
    return &info;
}

TGPImageAttributes::TGPImageAttributes() { SetCreateStatus(Api().GdipCreateImageAttributes(&FNative)); }

TGPImageAttributes::~TGPImageAttributes() {
    if (FNative) Api().GdipDisposeImageAttributes(FNative);
}

TStatus TGPImageAttributes::SetColorKey(ARGB low, ARGB high, TColorAdjustType type) {
    return SetStatus(Api().GdipSetImageAttributesColorKeys(FNative, type, TRUE, low, high));
}
