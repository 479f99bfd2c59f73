#include "components/foundation/gdip_picture_win.h"

#include <memory>

#include "classlib/os/resources.h"
#include "classlib/ui/bitmaps.h"
#include "components/foundation/gdiplus_win.h"
#include "components/foundation/ole_picture_win.h"

TClass TGDIPPicture::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGDIPPicture>("TGDIPPicture")
                                       .Prop("OnClear", &TGDIPPicture::OnClear, &TGDIPPicture::OnClear)
                                       .Build();
    return &info;
}

void TGDIPPicture::Assign(TPersistent* source) {
    if (!source) {
        AssignNothing();
    } else if (auto* picture = dynamic_cast<TGDIPPicture*>(source)) {
        AssignPicture(*picture);
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        AssignSaved([bitmap](TStream& s) {
            if (!bitmap->Empty()) bitmap->SaveToStream(s);
        });
    } else if (auto* holder = dynamic_cast<TPicture*>(source)) {
        TGraphic* graphic = holder->Graphic();
        AssignSaved([graphic](TStream& s) {
            if (graphic && !graphic->Empty()) graphic->SaveToStream(s);
        });
    } else {
        AssignOther();
    }
}

void TGDIPPicture::MeasureImage(std::span<const Byte> bytes, int& width, int& height) {
    // A plain bitmap's header says its size: GDI+ need not look up a codec.
    if (ReadPlainBitmapFileSize(bytes, width, height)) return;
    TComRef<IStream> stream(CreateStreamOnBytes(bytes));
    TGPImage image(stream.Get());
    width = int(image.GetWidth());
    height = int(image.GetHeight());
}

void TGDIPPicture::Draw(TCanvas* canvas, const TRect& rect) {
    if (!canvas || IsEmpty() || ByteCount() == 0) return;
    int width = 0, height = 0;
    const bool plainBitmap = ReadPlainBitmapFileSize(Bytes(), width, height);
    TComRef<IStream> stream;
    std::unique_ptr<TGPImage> image;
    if (!plainBitmap) {
        *stream.Receive() = CreateStreamOnBytes(Bytes());
        image = std::make_unique<TGPImage>(stream.Get());
    }
    if (plainBitmap || image->GetFormat() == ifBMP) {
        // The class library draws bitmaps, with the colour of the bottom-left
        // pixel left out.
        TBitmap bitmap;
        TBytesStream bytes(std::vector<Byte>(Bytes().begin(), Bytes().end()));
        bitmap.LoadFromStream(bytes);
        bitmap.SetTransparentMode(tmAuto);
        bitmap.SetTransparent(true);
        canvas->Draw(rect.Left, rect.Top, &bitmap);
        return;
    }
    StoreImageSize(int(image->GetWidth()), int(image->GetHeight()));
    TGPGraphics graphics(canvas->Handle());
    graphics.DrawImage(image.get(), rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
}

void TGDIPPicture::LoadFromResourceName(HINSTANCE instance, const String& name) {
    if (!FindResourceA(instance, name.c_str(), RT_RCDATA)) return;
    TResourceStream stream(instance, name, RT_RCDATA);
    LoadFromStream(stream);
}
