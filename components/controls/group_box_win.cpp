#include "components/controls/group_box_win.h"

#include <cstring>

#include "classlib/core/scopes.h"

TClass TLumCustomGroupBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TLumCustomGroupBox>("TLumCustomGroupBox")
            .Publish("Ctl3D")
            .Default(false)
            .Declare("BorderColor", &TLumCustomGroupBox::FBorderColor, &TLumCustomGroupBox::SetBorderColor)
            .Default(TColor(0xC0C0C0))
            .Declare("BorderStyle", &TLumCustomGroupBox::FBorderStyle, &TLumCustomGroupBox::SetBorderStyle)
            .Default(LumGroupBox::bsSingle)
            .Declare("CaptionPosition", &TLumCustomGroupBox::FCaptionPosition, &TLumCustomGroupBox::SetCaptionPosition)
            .Default(cpTopLeft)
            .Declare("Images", &TLumCustomGroupBox::FImages, &TLumCustomGroupBox::SetImages)
            .Declare("ImageIndex", &TLumCustomGroupBox::FImageIndex, &TLumCustomGroupBox::SetImageIndex)
            .Default(-1)
            .Declare("Transparent", &TLumCustomGroupBox::FTransparent, &TLumCustomGroupBox::SetTransparent)
            .Default(true)
            .Declare("RoundEdges", &TLumCustomGroupBox::FRoundEdges, &TLumCustomGroupBox::SetRoundEdges)
            .Default(false)
            .Declare("Version", &TLumCustomGroupBox::Version, &TLumCustomGroupBox::SetVersion)
            .Stored(false)
            .Build();
    return &info;
}

TClass TLumGroupBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TLumGroupBox>("TLumGroupBox")
            .Publish(kControlProperties)
            .Publish(kWinControlProperties)
            .Publish({"TabStop", "Ctl3D", "ParentBackground", "BorderColor", "BorderStyle", "CaptionPosition", "Images",
                      "ImageIndex", "Transparent", "RoundEdges", "Version"})
            .Build();
    return &info;
}

TLumCustomGroupBox::TLumCustomGroupBox(TComponent* owner) : TCustomGroupBox(owner) {
    FControlStyle.Exclude(csOpaque);
    FCtl3D = false;
}

void TLumCustomGroupBox::Changed(bool realign) {
    Invalidate();
    if (realign) Realign();
}

void TLumCustomGroupBox::SetBorderColor(TColor value) {
    if (FBorderColor == value) return;
    FBorderColor = value;
    Changed(false);
}

void TLumCustomGroupBox::SetBorderStyle(LumGroupBox::TBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    Changed(true);
}

void TLumCustomGroupBox::SetCaptionPosition(TCaptionPosition value) {
    if (FCaptionPosition == value) return;
    FCaptionPosition = value;
    Changed(true);
}

void TLumCustomGroupBox::SetImages(TCustomImageList* value) {
    if (!ReplaceReference(FImages, value)) return;
    if (!FImages) FImageIndex = -1;
    Changed(true);
}

void TLumCustomGroupBox::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    Changed(true);
}

void TLumCustomGroupBox::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    Changed(false);
}

void TLumCustomGroupBox::SetRoundEdges(bool value) {
    if (FRoundEdges == value) return;
    FRoundEdges = value;
    Changed(false);
}

void TLumCustomGroupBox::Notification(TComponent* component, TOperation operation) {
    TCustomGroupBox::Notification(component, operation);
    if (operation == opRemove && component == FImages && !IsDestroying()) SetImages(nullptr);
}

bool TLumCustomGroupBox::HasPicture() const { return FImages && FImageIndex >= 0; }

TSize TLumCustomGroupBox::CaptionTextSize() {
    const String text = Caption();
    if (text.empty()) return TSize{};
    LOGFONTA font{};
    if (!GetObjectA(FFont->Handle(), sizeof(font), &font)) return MeasureText(FFont, text);
    TMeasuredCaption& m = FMeasured;
    if (!m.Valid || m.Text != text || std::memcmp(&m.Font, &font, sizeof(font)) != 0) {
        m.Text = text;
        m.Font = font;
        m.Size = MeasureText(FFont, text);
        m.Valid = true;
    }
    return m.Size;
}

TRect TLumCustomGroupBox::CaptionRect() {
    const TSize textSize = CaptionTextSize();
    const TSize imageSize = HasPicture() ? TSize{FImages->Width(), FImages->Height()} : TSize{};
    return GroupBoxCaptionRect(FCaptionPosition, FWidth, FHeight, textSize, imageSize);
}

void TLumCustomGroupBox::AdjustClientRect(TRect& rect) {
    // The class library's own adjustment is for its own caption and frame.
    const int border = BorderWidth();
    rect = GroupBoxChildArea(rect, FCaptionPosition, GroupBoxCaptionHeight(CaptionRect(), border), border);
}

void TLumCustomGroupBox::Paint() {
    HDC dc = FCanvas->Handle();
    if (FTransparent) DrawParentBackground(this, dc);
    FCanvas->SetFont(FFont);
    dc = FCanvas->Handle();

    const TRect caption = CaptionRect();
    const String text = Caption();
    const bool hasCaption = !text.empty() || HasPicture();

    int textLeft = caption.Left;
    if (HasPicture()) {
        FImages->Draw(FCanvas, caption.Left, caption.Top, FImageIndex, FEnabled);
        textLeft = caption.Left + FImages->Width() + 3;
    }
    FCanvas->Brush()->SetStyle(bsClear);
    if (!text.empty()) {
        RECT r{textLeft, caption.Top, caption.Right, caption.Bottom};
        DrawTextA(FCanvas->Handle(), text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_VCENTER);
    }
    // The border line is broken behind the caption's strip, with a pixel
    // on each side of it: the strip is left out of the clip region while
    // the border is drawn. (The clip region alone is put back, not the
    // whole DC state: the canvas keeps track of its own pen and brush.)
    dc = FCanvas->Handle();
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    const bool hadClip = GetClipRgn(dc, clip) == 1;
    if (hasCaption) ExcludeClipRect(dc, caption.Left - 1, caption.Top, caption.Right + 1, caption.Bottom);
    const int border = BorderWidth();
    DrawBorder(GroupBoxBorderRect(ClientRect(), FCaptionPosition, GroupBoxCaptionHeight(caption, border), hasCaption,
                                  FBorderStyle));
    SelectClipRgn(dc, hadClip ? clip : nullptr);
    DeleteObject(clip);
}

void TLumCustomGroupBox::DrawBorder(const TRect& b) {
    TCanvas* c = FCanvas;
    const auto outline = [&](const TRect& r, TColor color) {
        c->Pen()->SetColor(color);
        if (FRoundEdges)
            c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 6, 6);
        else
            c->Rectangle(r);
    };
    // A white outline one pixel right and down of a grey one.
    const auto etched = [&](const TRect& r) {
        outline(Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom), TColor(0xFFFFFF));
        outline(Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), TColor(0x808080));
    };
    c->Brush()->SetStyle(bsClear);
    const TRect inner = Rect(b.Left + 2, b.Top + 2, b.Right - 2, b.Bottom - 2);
    switch (FBorderStyle) {
    case LumGroupBox::bsNone: break;
    case LumGroupBox::bsSingle: outline(b, FBorderColor); break;
    case LumGroupBox::bsDouble:
        if (FCtl3D) {
            etched(b);
            etched(inner);
        } else {
            outline(b, FBorderColor);
            outline(inner, FBorderColor);
        }
        break;
    }
}
