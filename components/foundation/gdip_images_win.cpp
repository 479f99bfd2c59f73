#include "components/foundation/gdip_images_win.h"

#include "classlib/core/typinfo.h"

TClass TGPImage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGPImage>("TGPImage").Build();
    return &info;
}

TGPImage::TGPImage(IStream* stream, bool useEmbeddedColorManagement) {
    SetCreateStatus(useEmbeddedColorManagement ? Api().GdipLoadImageFromStreamICM(stream, &FNative)
                                               : Api().GdipLoadImageFromStream(stream, &FNative));
}

TGPImage::~TGPImage() {
    if (FNative) Api().GdipDisposeImage(FNative);
}

int TGPImage::GetFormat() {
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
