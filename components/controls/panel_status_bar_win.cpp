#include "components/controls/panel_status_bar_win.h"

TClass TPanelStatusBar::StaticClass() {
    using C = TPanelStatusBar;
    static const TClassInfo info = TClassBuilder<C>("TPanelStatusBar")
                                       .Prop("BevelInner", &C::BevelInner, &C::SetBevelInner)
                                       .Default(false)
                                       .Prop("BorderColor", &C::BorderColor, &C::SetBorderColor)
                                       .Default(clBlack)
                                       .Prop("BorderStyle", &C::BorderStyle, &C::SetBorderStyle)
                                       .Default(bsNone)
                                       .Prop("Color", &C::Color, &C::SetColor)
                                       .Default(clBtnFace)
                                       .Prop("ColorTo", &C::ColorTo, &C::SetColorTo)
                                       .Default(clNone)
                                       .Prop("Font", &C::Font, &C::SetFont)
                                       .Prop("GradientDirection", &C::GradientDirection, &C::SetGradientDirection)
                                       .Default(gdHorizontal)
                                       .Prop("Height", &C::Height, &C::SetHeight)
                                       .Default(18)
                                       .Prop("ImageIndex", &C::ImageIndex, &C::SetImageIndex)
                                       .Default(-1)
                                       .Prop("Text", &C::Text, &C::SetText)
                                       .Prop("Visible", &C::Visible, &C::SetVisible)
                                       .Default(false)
                                       .Build();
    return &info;
}

TPanelStatusBar::TPanelStatusBar() : FFont(new TFont) {
    FFont->SetName("Tahoma");
    FFont->OnChange = TNotifyEvent::Bind<&TPanelStatusBar::FontChanged>(this);
}

TPanelStatusBar::~TPanelStatusBar() { delete FFont; }

void TPanelStatusBar::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TPanelStatusBar*>(source);
    if (!s) return TPersistent::Assign(source);
    SetColor(s->FColor);
    SetColorTo(s->FColorTo);
    SetGradientDirection(s->FGradientDirection);
    SetBorderStyle(s->FBorderStyle);
    SetBorderColor(s->FBorderColor);
    SetFont(s->FFont);
}
