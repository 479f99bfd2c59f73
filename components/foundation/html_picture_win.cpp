#include "components/foundation/html_picture_win.h"

#include "classlib/os/resources.h"
#include "components/foundation/himetric.h"

// ---- THTMLPicture ----------------------------------------------------------------

TClass THTMLPicture::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<THTMLPicture>("THTMLPicture")
            .Prop("Stretch", &THTMLPicture::Stretch, &THTMLPicture::SetStretch)
            .Default(false)
            .Prop("Frame", &THTMLPicture::Frame, &THTMLPicture::SetFrame)
            .Default(1)
            .Prop("OnFrameChange", &THTMLPicture::OnFrameChange, &THTMLPicture::OnFrameChange)
            .Prop("OnDownLoadError", &THTMLPicture::OnDownLoadError, &THTMLPicture::OnDownLoadError)
            .Prop("OnDownLoadComplete", &THTMLPicture::OnDownLoadComplete, &THTMLPicture::OnDownLoadComplete)
            .Prop("OnDownLoadCancel", &THTMLPicture::OnDownLoadCancel, &THTMLPicture::OnDownLoadCancel)
            .Prop("OnDownLoadProgress", &THTMLPicture::OnDownLoadProgress, &THTMLPicture::OnDownLoadProgress)
            .Build();
    return &info;
}

THTMLPicture::~THTMLPicture() { DropPicture(); }

void THTMLPicture::Assign(TPersistent* source) {
    if (!source)
        AssignNothing();
    else if (auto* picture = dynamic_cast<THTMLPicture*>(source))
        AssignPicture(*picture);
    else
        AssignOther();
}

void THTMLPicture::Draw(TCanvas* canvas, const TRect& rect) {
    if (!FPicture || !canvas) return;
    HDC dc = canvas->Handle();
    if (Stretch()) {
        RenderOlePicture(FPicture, dc, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
        return;
    }
    int w = 0, h = 0;
    OlePictureExtent(FPicture, w, h);
    RenderOlePicture(FPicture, dc, rect.Left, rect.Top, HimetricToPixels(w, GetDeviceCaps(dc, LOGPIXELSX)),
                     HimetricToPixels(h, GetDeviceCaps(dc, LOGPIXELSY)));
}

void THTMLPicture::LoadFromResourceName(HINSTANCE instance, const String& name) {
    if (!FindResourceA(instance, name.c_str(), RT_RCDATA)) return;
    TResourceStream stream(instance, name, RT_RCDATA);
    LoadFromStream(stream);
}

void THTMLPicture::LoadBytesFromResource(const String& name) { LoadFromResourceName(GetModuleHandleA(nullptr), name); }

bool THTMLPicture::PictureExtent(int& width, int& height) const { return OlePictureExtent(FPicture, width, height); }

void THTMLPicture::MakePicture(std::span<const Byte> bytes) {
    DropPicture();
    FPicture = LoadOlePicture(bytes);
}

void THTMLPicture::DropPicture() {
    if (FPicture) FPicture->Release();
    FPicture = nullptr;
}

// ---- THTMLPictureCache -------------------------------------------------------------

THTMLPicture* THTMLPictureCache::AppendNewPicture() {
    auto* picture = NewObject<THTMLPicture>();
    Add(picture);
    return picture;
}

THTMLPicture* THTMLPictureCache::PictureById(const String& id) const {
    for (THTMLPicture* picture : *this)
        if (picture && SamePictureID(picture->ID(), id)) return picture;
    return nullptr;
}

void THTMLPictureCache::RemoveAllPictures() {
    for (THTMLPicture* picture : *this) delete picture;
    Clear();
}
