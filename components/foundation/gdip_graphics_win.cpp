#include "components/foundation/gdip_graphics_win.h"

#include "classlib/core/typinfo.h"
#include "components/foundation/gdip_brushes_win.h"
#include "components/foundation/gdip_fonts_win.h"
#include "components/foundation/gdip_images_win.h"
#include "components/foundation/gdip_path_win.h"
#include "components/foundation/gdip_pen_win.h"

namespace {

template <class T>
auto NativeOf(T* wrapper) {
    return wrapper ? wrapper->Native() : nullptr;
}

}  // namespace

TClass TGPGraphics::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPGraphics>("TGPGraphics").Build();
    return &info;
}

TGPGraphics::TGPGraphics(HDC dc) { SetCreateStatus(Api().GdipCreateFromHDC(dc, &FNative)); }

TGPGraphics::~TGPGraphics() {
    if (FNative) Api().GdipDeleteGraphics(FNative);
}

TStatus TGPGraphics::SetSmoothingMode(TSmoothingMode mode) {
    return SetStatus(Api().GdipSetSmoothingMode(FNative, mode));
}

TStatus TGPGraphics::SetTextRenderingHint(TTextRenderingHint hint) {
    return SetStatus(Api().GdipSetTextRenderingHint(FNative, hint));
}

TStatus TGPGraphics::DrawPath(TGPPen* pen, TGPGraphicsPath* path) {
    return SetStatus(Api().GdipDrawPath(FNative, NativeOf(pen), NativeOf(path)));
}

TStatus TGPGraphics::FillRectangle(TGPBrush* brush, float x, float y, float width, float height) {
    return SetStatus(Api().GdipFillRectangle(FNative, NativeOf(brush), x, y, width, height));
}

TStatus TGPGraphics::FillRectangle(TGPBrush* brush, const TGPRectF& rect) {
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

TStatus TGPGraphics::DrawRectangle(TGPPen* pen, float x, float y, float width, float height) {
    return SetStatus(Api().GdipDrawRectangle(FNative, NativeOf(pen), x, y, width, height));
}

TStatus TGPGraphics::DrawString(const String& text, int length, TGPFont* font, const TGPRectF& layout,
                                TGPStringFormat* format, TGPBrush* brush) {
    std::wstring wide = GdipWideString(text);
    int converted = int(wide.size());
    int count = length < 0 || length > converted ? converted : length;
    return DrawString(wide.c_str(), count, font, layout, format, brush);
}

TStatus TGPGraphics::DrawString(const WCHAR* text, int length, TGPFont* font, const TGPRectF& layout,
                                TGPStringFormat* format, TGPBrush* brush) {
    return SetStatus(
        Api().GdipDrawString(FNative, text, length, NativeOf(font), &layout, NativeOf(format), NativeOf(brush)));
}

TStatus TGPGraphics::MeasureString(const WCHAR* text, int length, TGPFont* font, const TGPRectF& layout,
                                   TGPStringFormat* format, TGPRectF& boundingBox, int* codepointsFitted,
                                   int* linesFilled) {
    INT fitted = 0, lines = 0;
    TStatus status = SetStatus(Api().GdipMeasureString(FNative, text, length, NativeOf(font), &layout, NativeOf(format),
                                                       &boundingBox, &fitted, &lines));
    if (codepointsFitted) *codepointsFitted = fitted;
    if (linesFilled) *linesFilled = lines;
    return status;
}

TStatus TGPGraphics::DrawImage(TGPImage* image, int x, int y, int width, int height) {
    return SetStatus(
        Api().GdipDrawImageRect(FNative, NativeOf(image), float(x), float(y), float(width), float(height)));
}

TStatus TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& dest, float srcX, float srcY, float srcWidth,
                               float srcHeight, TGPUnit srcUnit, TGPImageAttributes* attributes) {
    return SetStatus(Api().GdipDrawImageRectRect(FNative, NativeOf(image), dest.X, dest.Y, dest.Width, dest.Height,
                                                 srcX, srcY, srcWidth, srcHeight, srcUnit, NativeOf(attributes),
                                                 nullptr, nullptr));
}

TStatus TGPGraphics::SetClip(TGPRegion* region, TCombineMode mode) {
    return SetStatus(Api().GdipSetClipRegion(FNative, NativeOf(region), mode));
}

TStatus TGPGraphics::ResetClip() { return SetStatus(Api().GdipResetClip(FNative)); }
