// Loading arbitrary bytes as a PNG picture. Any failure must be one of the
// codec's exceptions; a picture that loads is also written back, read again
// and probed through the pixel operations.
#include <cstddef>
#include <cstdint>

#include "classlib/core/streams.h"
#include "imaging/png/png_effects.h"
#include "imaging/png/png_image.h"

namespace {

// Heap memory with a ceiling, so that a header claiming a huge image is
// refused with the out-of-memory error instead of exhausting the fuzzer.
class TLimitedAllocator : public TPngImageAllocator {
public:
    std::unique_ptr<TPngPixelMemory> CreatePixels(const TPngBitmapInfo& info, std::size_t size) override {
        if (size > Limit) return nullptr;
        return TPngImageAllocator::CreatePixels(info, size);
    }
    Byte* AllocateBytes(std::size_t size) override {
        return size > Limit ? nullptr : TPngImageAllocator::AllocateBytes(size);
    }
    static constexpr std::size_t Limit = 4u << 20;
};

class TFuzzPng : public TPNGObjectCore {
public:
    ~TFuzzPng() override { ClearChunkList(); }
    TPngImageAllocator& ImageAllocator() override { return FAllocator; }

private:
    TLimitedAllocator FAllocator;
};

void Probe(TFuzzPng& png) {
    TChunkIHDR* h = png.HeaderChunk();
    if (!h || !h->PixelBits()) return;
    png.TransparencyKind();
    png.KeyColor();
    int w = png.Width(), hh = png.Height();
    for (int i = 0; i < 8; ++i) {
        int x = (w - 1) * i / 7, y = (hh - 1) * i / 7;
        try {
            png.SetPixelAt(x, y, png.PixelAt(x, y));
        } catch (const Exception&) {}
    }
    if (std::uint64_t(w) * hh > 256 * 256) return;  // writing big images only costs time
    Byte canvas[16 * 16 * 4] = {};
    try {
        BlendPngOver(png, canvas, 16, 16, 64);
    } catch (const Exception&) {}
    try {
        TMemoryStream out;
        png.SaveToStream(out);
        out.SetPosition(0);
        TFuzzPng again;
        again.LoadFromStream(out);
    } catch (const Exception&) {}
    TFuzzPng copy;
    copy.AssignPng(png);
    try {
        copy.ChangeSize(w / 2 + 1, hh + 3);
        copy.AddAlphaChannel();
        GrayscalePng(copy, 200);
        BlendPng(copy, 127);
    } catch (const Exception&) {}
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzPng png;
    TMemoryStream stream;
    if (size) stream.Write(data, Int64(size));
    stream.SetPosition(0);
    try {
        png.LoadFromStream(stream);
    } catch (const Exception&) {}
    Probe(png);
    return 0;
}
