// The pager's two background settings. Portable.
//
// TGradientBackground is the tab row's background (a tab appearance's
// BackGround): a banded gradient from Color to ColorTo. Its writers fire
// OnChange every time, changed or not.
//
// TVistaBackground is a page's background and border (a styler's or a
// page's PageAppearance): the upper half runs from Color to ColorTo, the
// lower ("mirror") half from ColorMirror to ColorMirrorTo. Its writers
// fire OnChange only for a different value.
#pragma once

#include "classlib/core/classes.h"
#include "classlib/ui/graphics_types.h"
#include "components/controls/glow_button_appearance.h"
// TGradientDirection (gdHorizontal, gdVertical): the panels' type, which
// the pager shares, so that a form can hold both.
#include "components/controls/panel_shading.h"

class TGradientBackground : public TPersistent {
    QL_CLASS(TGradientBackground, TPersistent)
public:
    TGradientBackground() = default;

    // From another gradient background: the four values, without OnChange.
    // Any other source is ignored.
    void Assign(TPersistent* source) override;

    TNotifyEvent OnChange;

    TColor Color() const { return FColor; }
    void SetColor(TColor value) { Set(FColor, value); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value) { Set(FColorTo, value); }
    TGradientDirection Direction() const { return FDirection; }
    void SetDirection(TGradientDirection value) { Set(FDirection, value); }
    int Steps() const { return FSteps; }
    void SetSteps(int value) { Set(FSteps, value); }

private:
    template <class T>
    void Set(T& field, T value) {
        field = value;
        OnChange(this);
    }

    TColor FColor = clWhite;
    TColor FColorTo = clBtnFace;
    TGradientDirection FDirection = gdHorizontal;
    int FSteps = 64;
};

class TVistaBackground : public TPersistent {
    QL_CLASS(TVistaBackground, TPersistent)
public:
    TVistaBackground() = default;

    // From another Vista background: Steps and the five colours directly,
    // then the two gradient kinds through their writers (so OnChange fires
    // only when a gradient kind differs). Anything else goes to the
    // inherited Assign.
    void Assign(TPersistent* source) override;

    TNotifyEvent OnChange;

#define QM_VISTA_PROPERTY(Type, Name)                                                                                  \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type value) { Change(F##Name, value); }

    QM_VISTA_PROPERTY(TColor, BorderColor)
    QM_VISTA_PROPERTY(TColor, Color)
    QM_VISTA_PROPERTY(TColor, ColorTo)
    QM_VISTA_PROPERTY(TColor, ColorMirror)
    QM_VISTA_PROPERTY(TColor, ColorMirrorTo)
    QM_VISTA_PROPERTY(TGDIPGradient, Gradient)
    QM_VISTA_PROPERTY(TGDIPGradient, GradientMirror)
    QM_VISTA_PROPERTY(int, Steps)
#undef QM_VISTA_PROPERTY

private:
    template <class T>
    void Change(T& field, T value) {
        if (field == value) return;
        field = value;
        OnChange(this);
    }

    TColor FBorderColor = clGray;
    TColor FColor = clWhite;
    TColor FColorTo = clWhite;
    TColor FColorMirror = clSilver;
    TColor FColorMirrorTo = clWhite;
    TGDIPGradient FGradient = ggVertical;
    TGDIPGradient FGradientMirror = ggVertical;
    int FSteps = 64;
};
