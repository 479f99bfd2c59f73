#include "components/controls/panel_caption_win.h"

using LumPanel::cpTop;

TClass TPanelCaption::StaticClass() {
    using C = TPanelCaption;
    static const TClassInfo info =
        TClassBuilder<C>("TPanelCaption")
            .Prop("Background", &C::Background, &C::SetBackground)
            .Prop("ButtonPosition", &C::ButtonPosition, &C::SetButtonPosition)
            .Default(cbpRight)
            .Prop("CloseButton", &C::CloseButton, &C::SetCloseButton)
            .Default(false)
            .Prop("CloseButtonColor", &C::CloseButtonColor, &C::SetCloseButtonColor)
            .Default(clWhite)
            .Prop("CloseButtonHoverColor", &C::CloseButtonHoverColor, &C::SetCloseButtonHoverColor)
            .Default(clNone)
            .Prop("CloseColor", &C::CloseColor, &C::SetCloseColor)
            .Default(clBtnFace)
            .Prop("CloseMinGlyph", &C::CloseMinGlyph, &C::SetCloseMinGlyph)
            .Prop("CloseMaxGlyph", &C::CloseMaxGlyph, &C::SetCloseMaxGlyph)
            // The defaults written are the values a new caption holds, so
            // that clNone and clHighlight come back as they were written.
            .Prop("Color", &C::Color, &C::SetColor)
            .Default(clHighlight)
            .Prop("ColorTo", &C::ColorTo, &C::SetColorTo)
            .Default(clNone)
            .Prop("Flat", &C::Flat, &C::SetFlat)
            .Default(false)
            .Prop("Font", &C::Font, &C::SetFont)
            .Prop("GradientDirection", &C::GradientDirection, &C::SetGradientDirection)
            .Default(gdHorizontal)
            .Prop("Height", &C::Height, &C::SetHeight)
            .Default(20)
            .Prop("Indent", &C::Indent, &C::SetIndent)
            .Default(0)
            .Prop("MaxGlyph", &C::MaxGlyph, &C::SetMaxGlyph)
            .Prop("MinGlyph", &C::MinGlyph, &C::SetMinGlyph)
            .Prop("MinMaxButton", &C::MinMaxButton, &C::SetMinMaxButton)
            .Default(false)
            .Prop("MinMaxButtonColor", &C::MinMaxButtonColor, &C::SetMinMaxButtonColor)
            .Default(clWhite)
            .Prop("MinMaxButtonHoverColor", &C::MinMaxButtonHoverColor, &C::SetMinMaxButtonHoverColor)
            .Default(clNone)
            .Prop("MinMaxCaption", &C::MinMaxCaption, &C::SetMinMaxCaption)
            .Default(false)
            .Prop("Position", &C::Position, &C::SetPosition)
            .Default(cpTop)
            .Prop("ShadeGrain", &C::ShadeGrain, &C::SetShadeGrain)
            .Default(32)
            .Prop("ShadeLight", &C::ShadeLight, &C::SetShadeLight)
            .Default(200)
            .Prop("ShadeType", &C::ShadeType, &C::SetShadeType)
            .Default(stNormal)
            .Prop("Shape", &C::Shape, &C::SetShape)
            .Default(csRectangle)
            .Prop("Text", &C::Text, &C::SetText)
            .Prop("TopIndent", &C::TopIndent, &C::SetTopIndent)
            .Default(0)
            .Prop("Visible", &C::Visible, &C::SetVisible)
            .Default(false)
            .Build();
    return &info;
}

TPanelCaption::TPanelCaption()
    : FFont(new TFont), FBackground(new TBitmap), FCloseMinGlyph(new TBitmap), FCloseMaxGlyph(new TBitmap),
      FMaxGlyph(new TBitmap), FMinGlyph(new TBitmap) {
    FFont->SetColor(clHighlightText);
    FFont->OnChange = TNotifyEvent::Bind<&TPanelCaption::FontChanged>(this);
}

TPanelCaption::~TPanelCaption() {
    delete FFont;
    delete FBackground;
    delete FCloseMinGlyph;
    delete FCloseMaxGlyph;
    delete FMaxGlyph;
    delete FMinGlyph;
}

void TPanelCaption::Changed() { OnChange(this); }

void TPanelCaption::ShadeChanged() {
    OnShadeChange(this);
    OnChange(this);
}

void TPanelCaption::FontChanged(TObject*) { Changed(); }

void TPanelCaption::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TPanelCaption*>(source);
    if (!s) return TPersistent::Assign(source);
    SetBackground(s->FBackground);
    SetButtonPosition(s->FButtonPosition);
    SetColor(s->FColor);
    SetColorTo(s->FColorTo);
    SetCloseColor(s->FCloseColor);
    SetCloseButton(s->FCloseButton);
    SetCloseButtonColor(s->FCloseButtonColor);
    SetCloseButtonHoverColor(s->FCloseButtonHoverColor);
    SetCloseMinGlyph(s->FCloseMinGlyph);
    SetCloseMaxGlyph(s->FCloseMaxGlyph);
    SetFlat(s->FFlat);
    SetFont(s->FFont);
    SetHeight(s->FHeight);
    SetIndent(s->FIndent);
    SetMaxGlyph(s->FMaxGlyph);
    SetMinGlyph(s->FMinGlyph);
    SetMinMaxButton(s->FMinMaxButton);
    SetMinMaxButtonColor(s->FMinMaxButtonColor);
    SetMinMaxButtonHoverColor(s->FMinMaxButtonHoverColor);
    SetShadeLight(s->FShadeLight);
    SetShadeGrain(s->FShadeGrain);
    SetShadeType(s->FShadeType);
    SetShape(s->FShape);
    SetGradientDirection(s->FGradientDirection);
}

void TPanelCaption::SetVisible(bool value) {
    FVisible = value;
    Changed();
    OnStateChange(this);
}

void TPanelCaption::SetPosition(LumPanel::TCaptionPosition value) {
    if (FPosition == value) return;
    FPosition = value;
    OnPositionChange(this);
}

void TPanelCaption::SetHeight(int value) {
    if (FHeight == value) return;
    FHeight = value;
    Changed();
}

void TPanelCaption::SetText(const String& value) {
    FText = value;
    Changed();
}

void TPanelCaption::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    ShadeChanged();
}

void TPanelCaption::SetColorTo(TColor value) {
    FColorTo = value;
    Changed();
}

void TPanelCaption::SetGradientDirection(TGradientDirection value) {
    FGradientDirection = value;
    Changed();
}

void TPanelCaption::SetCloseColor(TColor value) {
    if (FCloseColor == value) return;
    FCloseColor = value;
    Changed();
}

void TPanelCaption::SetIndent(int value) {
    if (FIndent == value) return;
    FIndent = value;
    Changed();
}

void TPanelCaption::SetTopIndent(int value) {
    if (FTopIndent == value) return;
    FTopIndent = value;
    Changed();
}

void TPanelCaption::SetShadeType(TShadeType value) {
    FShadeType = value;
    ShadeChanged();
}

void TPanelCaption::SetShadeLight(int value) {
    FShadeLight = std::max(value, 200);
    ShadeChanged();
}

void TPanelCaption::SetShadeGrain(Byte value) {
    FShadeGrain = value;
    ShadeChanged();
}

void TPanelCaption::SetShape(TCaptionShape value) {
    FShape = value;
    ShadeChanged();
}

void TPanelCaption::SetFlat(bool value) {
    FFlat = value;
    ShadeChanged();
}

void TPanelCaption::SetBackground(TBitmap* value) {
    FBackground->Assign(value);
    ShadeChanged();
}

void TPanelCaption::SetCloseButton(bool value) {
    if (FCloseButton == value) return;
    FCloseButton = value;
    Changed();
}

void TPanelCaption::SetCloseButtonColor(TColor value) {
    if (FCloseButtonColor == value) return;
    FCloseButtonColor = value;
    Changed();
}

void TPanelCaption::SetCloseMinGlyph(TBitmap* value) {
    FCloseMinGlyph->Assign(value);
    Changed();
}

void TPanelCaption::SetCloseMaxGlyph(TBitmap* value) {
    FCloseMaxGlyph->Assign(value);
    Changed();
}

void TPanelCaption::SetMinMaxButton(bool value) {
    if (FMinMaxButton == value) return;
    FMinMaxButton = value;
    Changed();
}

void TPanelCaption::SetMinMaxButtonColor(TColor value) {
    if (FMinMaxButtonColor == value) return;
    FMinMaxButtonColor = value;
    Changed();
}
