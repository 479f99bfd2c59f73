#include "components/pager/tab_appearance_win.h"

// No colour or gradient has a stored default: an appearance that a styler
// filled from a preset is written whole, so that reading it back never
// leaves a preset's value where the layout meant the initial one.
TClass TCustomTabAppearance::StaticClass() {
    using C = TCustomTabAppearance;
    static const TClassInfo info =
        TClassBuilder<C>("TCustomTabAppearance")
            .Prop("BorderColor", &C::BorderColor, &C::SetBorderColor)
            .Prop("BorderColorHot", &C::BorderColorHot, &C::SetBorderColorHot)
            .Prop("BorderColorSelected", &C::BorderColorSelected, &C::SetBorderColorSelected)
            .Prop("BorderColorSelectedHot", &C::BorderColorSelectedHot, &C::SetBorderColorSelectedHot)
            .Prop("BorderColorDisabled", &C::BorderColorDisabled, &C::SetBorderColorDisabled)
            .Prop("BorderColorDown", &C::BorderColorDown, &C::SetBorderColorDown)
            .Prop("Color", &C::Color, &C::SetColor)
            .Prop("ColorTo", &C::ColorTo, &C::SetColorTo)
            .Prop("ColorSelected", &C::ColorSelected, &C::SetColorSelected)
            .Prop("ColorSelectedTo", &C::ColorSelectedTo, &C::SetColorSelectedTo)
            .Prop("ColorDisabled", &C::ColorDisabled, &C::SetColorDisabled)
            .Prop("ColorDisabledTo", &C::ColorDisabledTo, &C::SetColorDisabledTo)
            .Prop("ColorHot", &C::ColorHot, &C::SetColorHot)
            .Prop("ColorHotTo", &C::ColorHotTo, &C::SetColorHotTo)
            .Prop("ColorMirror", &C::ColorMirror, &C::SetColorMirror)
            .Prop("ColorMirrorTo", &C::ColorMirrorTo, &C::SetColorMirrorTo)
            .Prop("ColorMirrorHot", &C::ColorMirrorHot, &C::SetColorMirrorHot)
            .Prop("ColorMirrorHotTo", &C::ColorMirrorHotTo, &C::SetColorMirrorHotTo)
            .Prop("ColorMirrorSelected", &C::ColorMirrorSelected, &C::SetColorMirrorSelected)
            .Prop("ColorMirrorSelectedTo", &C::ColorMirrorSelectedTo, &C::SetColorMirrorSelectedTo)
            .Prop("ColorMirrorDisabled", &C::ColorMirrorDisabled, &C::SetColorMirrorDisabled)
            .Prop("ColorMirrorDisabledTo", &C::ColorMirrorDisabledTo, &C::SetColorMirrorDisabledTo)
            .Prop("Font", &C::Font, &C::SetFont)
            .Prop("Gradient", &C::Gradient, &C::SetGradient)
            .Prop("GradientMirror", &C::GradientMirror, &C::SetGradientMirror)
            .Prop("GradientHot", &C::GradientHot, &C::SetGradientHot)
            .Prop("GradientMirrorHot", &C::GradientMirrorHot, &C::SetGradientMirrorHot)
            .Prop("GradientSelected", &C::GradientSelected, &C::SetGradientSelected)
            .Prop("GradientMirrorSelected", &C::GradientMirrorSelected, &C::SetGradientMirrorSelected)
            .Prop("GradientDisabled", &C::GradientDisabled, &C::SetGradientDisabled)
            .Prop("GradientMirrorDisabled", &C::GradientMirrorDisabled, &C::SetGradientMirrorDisabled)
            .Prop("TextColor", &C::TextColor, &C::SetTextColor)
            .Prop("TextColorHot", &C::TextColorHot, &C::SetTextColorHot)
            .Prop("TextColorSelected", &C::TextColorSelected, &C::SetTextColorSelected)
            .Prop("TextColorDisabled", &C::TextColorDisabled, &C::SetTextColorDisabled)
            .Prop("ShadowColor", &C::ShadowColor, &C::SetShadowColor)
            .Prop("HighLightColor", &C::HighLightColor, &C::SetHighLightColor)
            .Prop("HighLightColorHot", &C::HighLightColorHot, &C::SetHighLightColorHot)
            .Prop("HighLightColorSelected", &C::HighLightColorSelected, &C::SetHighLightColorSelected)
            .Prop("HighLightColorSelectedHot", &C::HighLightColorSelectedHot, &C::SetHighLightColorSelectedHot)
            .Prop("HighLightColorDown", &C::HighLightColorDown, &C::SetHighLightColorDown)
            .Declare("BackGround", &C::BackGround, &C::SetBackGround)
            .Build();
    return &info;
}

TCustomTabAppearance::TCustomTabAppearance() : FFont(new TFont), FBackGround(new TGradientBackground) {
    FFont->SetName("Tahoma");
    FFont->SetSize(8);
    FFont->SetStyle({});
    FFont->OnChange = TNotifyEvent::Bind<&TCustomTabAppearance::FontChanged>(this);
    FBackGround->OnChange = TNotifyEvent::Bind<&TCustomTabAppearance::BackGroundChanged>(this);
}

TCustomTabAppearance::~TCustomTabAppearance() {
    delete FBackGround;
    delete FFont;
}

void TCustomTabAppearance::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TCustomTabAppearance*>(source);
    if (!s) return TPersistent::Assign(source);
#define QM_COPY(Name) F##Name = s->F##Name;
    QM_COPY(BorderColor)
    QM_COPY(BorderColorSelected)
    QM_COPY(BorderColorSelectedHot)
    QM_COPY(BorderColorDisabled)
    QM_COPY(BorderColorDown)
    QM_COPY(Color)
    QM_COPY(ColorTo)
    QM_COPY(ColorSelected)
    QM_COPY(ColorSelectedTo)
    QM_COPY(ColorDisabled)
    QM_COPY(ColorDisabledTo)
    QM_COPY(ColorHot)
    QM_COPY(ColorHotTo)
    QM_COPY(ColorMirror)
    QM_COPY(ColorMirrorTo)
    QM_COPY(ColorMirrorHot)
    QM_COPY(ColorMirrorHotTo)
    QM_COPY(ColorMirrorSelected)
    QM_COPY(ColorMirrorSelectedTo)
    QM_COPY(ColorMirrorDisabled)
    QM_COPY(ColorMirrorDisabledTo)
    QM_COPY(TextColorSelected)
    QM_COPY(TextColorDisabled)
    QM_TAB_GRADIENTS(QM_COPY)
    QM_TAB_QUIET_COLORS(QM_COPY)
#undef QM_COPY
    FFont->Assign(s->FFont);
    SetTextColor(s->FTextColor);
    SetTextColorHot(s->FTextColorHot);
    FBackGround->Assign(s->FBackGround);
}

TClass TTabAppearance::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTabAppearance>("TTabAppearance").Publish("BackGround").Build();
    return &info;
}
