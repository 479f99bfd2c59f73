#include "classlib/ui/jpeg.h"

#include <cstdio>

#include "classlib/core/scopes.h"
#include "classlib/core/sysutils.h"

extern "C" {
#include <jpeglib.h>
}

namespace {

// libjpeg reports errors through a callback that must not return. It jumps
// back with the compiler's own setjmp, which needs no unwind information in
// the C library's frames; the C++ exception is raised after the jump.
struct TErrorManager {
    jpeg_error_mgr Base;
    void* JumpBuffer[5];
    int Code;
};

void ErrorExit(j_common_ptr info) {
    auto* err = reinterpret_cast<TErrorManager*>(info->err);
    err->Code = err->Base.msg_code;
    __builtin_longjmp(err->JumpBuffer, 1);
}

void OutputMessage(j_common_ptr) {}

[[noreturn]] void RaiseJpegError(int code) { throw EJPEG(Format("JPEG error #%d", {code})); }

struct TDecoder {
    jpeg_decompress_struct Info{};
    TErrorManager Err{};
};

// Reads the header of data, and when bitmap is given, decodes the pixels
// into it. Raises EJPEG.
void Decode(const std::vector<Byte>& data, int& width, int& height, bool& grayscale, TBitmap* bitmap) {
    TDecoder d;
    // Everything with a destructor lives outside the jump's reach.
    std::vector<Byte> line;
    d.Info.err = jpeg_std_error(&d.Err.Base);
    d.Err.Base.error_exit = ErrorExit;
    d.Err.Base.output_message = OutputMessage;
    if (__builtin_setjmp(d.Err.JumpBuffer)) {
        int code = d.Err.Code;
        jpeg_destroy_decompress(&d.Info);
        RaiseJpegError(code);
    }
    jpeg_create_decompress(&d.Info);
    jpeg_mem_src(&d.Info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.Info, TRUE);
    width = int(d.Info.image_width);
    height = int(d.Info.image_height);
    grayscale = d.Info.jpeg_color_space == JCS_GRAYSCALE;
    bool cmyk = d.Info.jpeg_color_space == JCS_CMYK || d.Info.jpeg_color_space == JCS_YCCK;
    if (bitmap) {
        d.Info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
        jpeg_start_decompress(&d.Info);
        {
            // Ends before the decoding that may jump.
            TOnFailure destroy([&] { jpeg_destroy_decompress(&d.Info); });
            bitmap->SetPixelFormat(pf24bit);
            bitmap->SetSize(int(d.Info.output_width), int(d.Info.output_height));
            line.resize(size_t(d.Info.output_width) * 4);
        }
        // Adobe writes CMYK inverted.
        bool inverted = d.Info.saw_Adobe_marker;
        while (d.Info.output_scanline < d.Info.output_height) {
            int y = int(d.Info.output_scanline);
            auto* row = static_cast<Byte*>(bitmap->ScanLine(y));
            JSAMPROW rows[1] = {cmyk ? line.data() : row};
            jpeg_read_scanlines(&d.Info, rows, 1);
            if (cmyk) {
                for (JDIMENSION x = 0; x < d.Info.output_width; ++x) {
                    int c = line[x * 4], m = line[x * 4 + 1], ye = line[x * 4 + 2], k = line[x * 4 + 3];
                    if (!inverted) {
                        c = 255 - c;
                        m = 255 - m;
                        ye = 255 - ye;
                        k = 255 - k;
                    }
                    row[x * 3] = Byte(ye * k / 255);
                    row[x * 3 + 1] = Byte(m * k / 255);
                    row[x * 3 + 2] = Byte(c * k / 255);
                }
            }
        }
        jpeg_finish_decompress(&d.Info);
    }
    jpeg_destroy_decompress(&d.Info);
}

}  // namespace

TClass TJPEGImage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TJPEGImage>("TJPEGImage").Build();
    return &info;
}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(TPersistent* source) {
    if (!source) {
        FData.clear();
        FWidth = FHeight = 0;
        FGrayscale = false;
        FBitmap.reset();
        Changed(this);
        return;
    }
    if (auto* j = dynamic_cast<TJPEGImage*>(source)) {
        if (j == this) return;
        FData = j->FData;
        FWidth = j->FWidth;
        FHeight = j->FHeight;
        FGrayscale = j->FGrayscale;
        FBitmap.reset();
        Changed(this);
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(TPersistent* dest) {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        if (Empty()) {
            bitmap->Assign(nullptr);
            return;
        }
        DIBNeeded();
        bitmap->Assign(FBitmap.get());
        return;
    }
    TGraphic::AssignTo(dest);
}

void TJPEGImage::LoadFromStream(TStream& stream) {
    Int64 size = stream.Size() - stream.Position();
    std::vector<Byte> data(size_t(std::max<Int64>(size, 0)));
    if (!data.empty()) stream.ReadBuffer(data.data(), Int64(data.size()));
    int width = 0, height = 0;
    bool gray = false;
    Decode(data, width, height, gray, nullptr);
    FData = std::move(data);
    FWidth = width;
    FHeight = height;
    FGrayscale = gray;
    FBitmap.reset();
    Changed(this);
}

void TJPEGImage::SaveToStream(TStream& stream) {
    if (!FData.empty()) stream.WriteBuffer(FData.data(), Int64(FData.size()));
}

void TJPEGImage::DIBNeeded() {
    if (FBitmap || FData.empty()) return;
    auto bitmap = std::make_unique<TBitmap>();
    int width = 0, height = 0;
    bool gray = false;
    Decode(FData, width, height, gray, bitmap.get());
    FBitmap = std::move(bitmap);
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect) {
    if (Empty()) return;
    DIBNeeded();
    FBitmap->Draw(canvas, rect);
}
