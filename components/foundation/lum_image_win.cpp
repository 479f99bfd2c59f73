#include "components/foundation/lum_image_win.h"

#include "classlib/ui/extctrls.h"

TClass TLumImage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TLumImage>("TLumImage").Build();
    return &info;
}

TLumImage::~TLumImage() { DropPicture(); }

void TLumImage::AssignGraphic(TGraphic* graphic) {
    if (!graphic || graphic->Empty()) {
        AssignNothing();
        return;
    }
    AssignSaved([graphic](TStream& s) { graphic->SaveToStream(s); });
}

void TLumImage::Assign(TPersistent* source) {
    if (!source) {
        AssignNothing();
    } else if (auto* image = dynamic_cast<TLumImage*>(source)) {
        if (image->IsEmpty())
            AssignNothing();
        else
            AssignPicture(*image);
    } else if (auto* control = dynamic_cast<TImage*>(source)) {
        AssignGraphic(control->Picture()->Graphic());
    } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
        AssignGraphic(graphic);
    } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
        AssignGraphic(picture->Graphic());
    } else {
        MarkEmpty();
    }
}

void TLumImage::Draw(TCanvas* canvas, const TRect& rect) {
    if (!FPicture || !canvas) return;
    RenderOlePicture(FPicture, canvas->Handle(), rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
}

bool TLumImage::PictureExtent(int& width, int& height) const { return OlePictureExtent(FPicture, width, height); }

void TLumImage::MakePicture(std::span<const Byte> bytes) {
    DropPicture();
    FPicture = LoadOlePicture(bytes);
}

void TLumImage::DropPicture() {
    if (FPicture) FPicture->Release();
    FPicture = nullptr;
}
