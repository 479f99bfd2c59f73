// The colours of the pager's tabs in their states (normal, hot under the
// mouse, selected, selected and hot, down, disabled): for each an upper
// gradient (ColorHot to ColorHotTo...) and a lower mirror gradient
// (ColorMirrorHot to ColorMirrorHotTo...), gradient kinds, border, text and
// highlight colours, and the tab font. TTabAppearance adds the tab row's
// background as a published BackGround.
//
// Writers notify OnChange only for a different value, except those of
// BorderColorHot, ShadowColor and the five HighLightColor properties, which
// store quietly. A change of the font fires OnFontChange; one of the
// background fires OnChange.
#pragma once

#include "classlib/ui/graphics.h"
#include "components/controls/glow_button_appearance.h"
#include "components/pager/pager_backgrounds.h"

// The colour properties with a notifying writer, in published order.
#define QM_TAB_COLORS(X)                                                                                               \
    X(BorderColor)                                                                                                     \
    X(BorderColorSelected)                                                                                             \
    X(BorderColorSelectedHot)                                                                                          \
    X(BorderColorDisabled)                                                                                             \
    X(BorderColorDown)                                                                                                 \
    X(Color)                                                                                                           \
    X(ColorTo)                                                                                                         \
    X(ColorSelected)                                                                                                   \
    X(ColorSelectedTo)                                                                                                 \
    X(ColorDisabled)                                                                                                   \
    X(ColorDisabledTo)                                                                                                 \
    X(ColorHot)                                                                                                        \
    X(ColorHotTo)                                                                                                      \
    X(ColorMirror)                                                                                                     \
    X(ColorMirrorTo)                                                                                                   \
    X(ColorMirrorHot)                                                                                                  \
    X(ColorMirrorHotTo)                                                                                                \
    X(ColorMirrorSelected)                                                                                             \
    X(ColorMirrorSelectedTo)                                                                                           \
    X(ColorMirrorDisabled)                                                                                             \
    X(ColorMirrorDisabledTo)                                                                                           \
    X(TextColor)                                                                                                       \
    X(TextColorHot)                                                                                                    \
    X(TextColorSelected)                                                                                               \
    X(TextColorDisabled)

// The gradient kinds, all with a notifying writer.
#define QM_TAB_GRADIENTS(X)                                                                                            \
    X(Gradient)                                                                                                        \
    X(GradientMirror)                                                                                                  \
    X(GradientHot)                                                                                                     \
    X(GradientMirrorHot)                                                                                               \
    X(GradientSelected)                                                                                                \
    X(GradientMirrorSelected)                                                                                          \
    X(GradientDisabled)                                                                                                \
    X(GradientMirrorDisabled)

// The colours stored without a notification.
#define QM_TAB_QUIET_COLORS(X)                                                                                         \
    X(BorderColorHot)                                                                                                  \
    X(ShadowColor)                                                                                                     \
    X(HighLightColor)                                                                                                  \
    X(HighLightColorHot)                                                                                               \
    X(HighLightColorSelected)                                                                                          \
    X(HighLightColorSelectedHot)                                                                                       \
    X(HighLightColorDown)

class TCustomTabAppearance : public TPersistent {
    QL_CLASS(TCustomTabAppearance, TPersistent)
public:
    TCustomTabAppearance();
    ~TCustomTabAppearance() override;

    // From another tab appearance: every colour, gradient and highlight
    // directly except TextColor and TextColorHot; the font (OnFontChange);
    // then TextColor and TextColorHot through their writers; then the
    // background, quietly. So OnChange fires only when one of the two text
    // colours differs. Anything else goes to the inherited Assign.
    void Assign(TPersistent* source) override;

    // Set by the owner; not published.
    TNotifyEvent OnChange;
    TNotifyEvent OnFontChange;

#define QM_TAB_NOTIFYING(Name)                                                                                         \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor value) { Change(F##Name, value); }
    QM_TAB_COLORS(QM_TAB_NOTIFYING)
#undef QM_TAB_NOTIFYING
#define QM_TAB_GRADIENT(Name)                                                                                          \
    TGDIPGradient Name() const { return F##Name; }                                                                     \
    void Set##Name(TGDIPGradient value) { Change(F##Name, value); }
    QM_TAB_GRADIENTS(QM_TAB_GRADIENT)
#undef QM_TAB_GRADIENT
#define QM_TAB_QUIET(Name)                                                                                             \
    TColor Name() const { return F##Name; }                                                                            \
    void Set##Name(TColor value) { F##Name = value; }
    QM_TAB_QUIET_COLORS(QM_TAB_QUIET)
#undef QM_TAB_QUIET

    // "Tahoma", 8 points, no style at first.
    TFont* Font() const { return FFont; }
    void SetFont(TFont* value) { FFont->Assign(value); }
    // The tab row's background (published by TTabAppearance only).
    TGradientBackground* BackGround() const { return FBackGround; }
    void SetBackGround(TGradientBackground* value) { FBackGround->Assign(value); }

private:
    template <class T>
    void Change(T& field, T value) {
        if (field == value) return;
        field = value;
        OnChange(this);
    }
    void FontChanged(TObject*) { OnFontChange(this); }
    void BackGroundChanged(TObject*) { OnChange(this); }

    TColor FBorderColor = clBtnFace;
    TColor FBorderColorHot = clBlue;
    TColor FBorderColorSelected = clBtnFace;
    TColor FBorderColorSelectedHot = clNone;
    TColor FBorderColorDisabled = clNone;
    TColor FBorderColorDown = clNone;
    TColor FColor = clBtnFace;
    TColor FColorTo = clWhite;
    TColor FColorSelected = clWhite;
    TColor FColorSelectedTo = clBtnFace;
    TColor FColorDisabled = clNone;
    TColor FColorDisabledTo = clNone;
    TColor FColorHot = clYellow;
    TColor FColorHotTo = clNone;
    TColor FColorMirror = clWhite;
    TColor FColorMirrorTo = clWhite;
    TColor FColorMirrorHot = clNone;
    TColor FColorMirrorHotTo = clNone;
    TColor FColorMirrorSelected = clWhite;
    TColor FColorMirrorSelectedTo = clWhite;
    TColor FColorMirrorDisabled = clNone;
    TColor FColorMirrorDisabledTo = clNone;
    TColor FTextColor = clBlue;
    TColor FTextColorHot = clBlue;
    TColor FTextColorSelected = clBlue;
    TColor FTextColorDisabled = clWhite;
    TColor FShadowColor = TColor(0xE8C7AE);
    TColor FHighLightColor = TColor(0xFFFABF);
    TColor FHighLightColorHot = TColor(0xFDF4ED);
    TColor FHighLightColorSelected = TColor(0x63CCF8);
    TColor FHighLightColorSelectedHot = TColor(0xBDFFFF);
    TColor FHighLightColorDown = TColor(0xFFFBD0);
    TGDIPGradient FGradient = ggVertical;
    TGDIPGradient FGradientMirror = ggVertical;
    TGDIPGradient FGradientHot = ggVertical;
    TGDIPGradient FGradientMirrorHot = ggVertical;
    TGDIPGradient FGradientSelected = ggVertical;
    TGDIPGradient FGradientMirrorSelected = ggVertical;
    TGDIPGradient FGradientDisabled = ggVertical;
    TGDIPGradient FGradientMirrorDisabled = ggVertical;
    TFont* FFont;
    TGradientBackground* FBackGround;
};

class TTabAppearance : public TCustomTabAppearance {
    QL_CLASS(TTabAppearance, TCustomTabAppearance)
public:
    TTabAppearance() = default;
};
