#include "components/pager/pager_backgrounds.h"

TClass TGradientBackground::StaticClass() {
    using C = TGradientBackground;
    static const TClassInfo info = TClassBuilder<C>("TGradientBackground")
                                       .Prop("Color", &C::Color, &C::SetColor)
                                       .Prop("ColorTo", &C::ColorTo, &C::SetColorTo)
                                       .Prop("Direction", &C::Direction, &C::SetDirection)
                                       .Prop("Steps", &C::Steps, &C::SetSteps)
                                       .Default(64)
                                       .Prop("OnChange", &C::OnChange, &C::OnChange)
                                       .Build();
    return &info;
}

void TGradientBackground::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TGradientBackground*>(source);
    if (!s) return;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FDirection = s->FDirection;
    FSteps = s->FSteps;
}

TClass TVistaBackground::StaticClass() {
    using C = TVistaBackground;
    static const TClassInfo info = TClassBuilder<C>("TVistaBackground")
                                       .Prop("BorderColor", &C::BorderColor, &C::SetBorderColor)
                                       .Prop("Color", &C::Color, &C::SetColor)
                                       .Prop("ColorTo", &C::ColorTo, &C::SetColorTo)
                                       .Prop("ColorMirror", &C::ColorMirror, &C::SetColorMirror)
                                       .Prop("ColorMirrorTo", &C::ColorMirrorTo, &C::SetColorMirrorTo)
                                       .Prop("Gradient", &C::Gradient, &C::SetGradient)
                                       .Prop("GradientMirror", &C::GradientMirror, &C::SetGradientMirror)
                                       .Prop("Steps", &C::Steps, &C::SetSteps)
                                       .Default(64)
                                       .Prop("OnChange", &C::OnChange, &C::OnChange)
                                       .Build();
    return &info;
}

void TVistaBackground::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TVistaBackground*>(source);
    if (!s) return TPersistent::Assign(source);
    FSteps = s->FSteps;
    FBorderColor = s->FBorderColor;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    SetGradient(s->FGradient);
    SetGradientMirror(s->FGradientMirror);
}
