// The group box that draws itself: a see-through background that shows
// its parent, a single, double or 3D border in a chosen colour with
// optional round corners, and a caption with an optional picture from an
// image list at one of six places, the border line broken behind it. Its
// arithmetic is in group_box_layout.h.
#pragma once

#include "classlib/ui/imagelist.h"
#include "classlib/ui/stdctrls.h"
#include "components/controls/group_box_layout.h"

class TLumCustomGroupBox : public TCustomGroupBox {
    QL_CLASS(TLumCustomGroupBox, TCustomGroupBox)
public:
    explicit TLumCustomGroupBox(TComponent* owner);

    // Colour of the single and of the plain double border.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    LumGroupBox::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(LumGroupBox::TBorderStyle value);
    TCaptionPosition CaptionPosition() const { return FCaptionPosition; }
    void SetCaptionPosition(TCaptionPosition value);
    // The caption's picture: image ImageIndex of Images (-1: none).
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    // Paint the parent's background first.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // Round corners (6 x 6).
    bool RoundEdges() const { return FRoundEdges; }
    void SetRoundEdges(bool value);
    // Read only: a stored value is ignored.
    String Version() const { return "1.0.0.2"; }
    void SetVersion(const String&) {}

    // Where the caption (text and picture) goes now.
    TRect CaptionRect();
    // The border's width on each side.
    int BorderWidth() const { return GroupBoxBorderWidth(FBorderStyle, FCtl3D); }

    void AdjustClientRect(TRect& rect) override;

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool HasPicture() const;
    // Stores nothing more: repaints and lays the children out again.
    void Changed(bool realign);
    void DrawBorder(const TRect& border);
    // The caption text's extent in the font: measured again only when the
    // text or the font it was measured in changes (the background paint
    // for each see-through child asks for it).
    TSize CaptionTextSize();

    // The last measure, with the text and the description of the font
    // handle it was measured in: what the extent depends on, whatever way
    // the font came to change.
    struct TMeasuredCaption {
        String Text;
        LOGFONTA Font{};
        TSize Size;
        bool Valid = false;
    };
    TMeasuredCaption FMeasured;

    TColor FBorderColor{0xC0C0C0};
    LumGroupBox::TBorderStyle FBorderStyle = LumGroupBox::bsSingle;
    TCaptionPosition FCaptionPosition = cpTopLeft;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    bool FTransparent = true;
    bool FRoundEdges = false;
};

class TLumGroupBox : public TLumCustomGroupBox {
    QL_CLASS(TLumGroupBox, TLumCustomGroupBox)
public:
    explicit TLumGroupBox(TComponent* owner) : TLumCustomGroupBox(owner) {}
};
