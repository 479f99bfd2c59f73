// The colours a glow button paints with: TGlowButtonAppearance holds the
// face, mirror (lower half) and border colours and the gradient kinds of
// each of the button's five looks (normal, hot, down, checked, disabled),
// and the colour arithmetic the button uses on them (AdjustColor, Blend).
// ApplyGlowButtonStylePreset writes one of the style presets, numbered as
// the pager's style enumeration numbers them. Portable: the button and the
// pager's styler own an appearance each.
#pragma once

#include "classlib/core/classes.h"
#include "classlib/ui/graphics_types.h"

// How one half of a button face is filled.
enum TGDIPGradient { ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward };
QL_DECLARE_ENUM(TGDIPGradient);

// The colours of one look of a button: the upper half of the face runs
// from Color to ColorTo, the lower ("mirror") half from MirrorTo to Mirror.
struct TGlowColorSet {
    TColor Color = clWhite;
    TColor ColorTo = clWhite;
    TColor Mirror = clWhite;
    TColor MirrorTo = clWhite;
    TColor Border = clWhite;
    TGDIPGradient Gradient = ggVertical;
    TGDIPGradient MirrorGradient = ggVertical;
    bool operator==(const TGlowColorSet&) const = default;
};

// Each channel of an RGB colour (0x00BBGGRR; callers resolve system colours
// first) changed by a percentage: a zero channel becomes the percentage when
// that is 0 or more, else stays 0; any other channel v becomes
// v * min(p + 100, 100) / 100, rounded to nearest, ties to even (and never
// below 0). So a negative percentage darkens.
TColor AdjustColor(TColor rgb, int red, int green, int blue);
inline TColor AdjustColor(TColor rgb, int percent) { return AdjustColor(rgb, percent, percent, percent); }

// percent % of a plus the rest of b, per channel, rounded to nearest (ties
// to even) and at most 255: 100 or more gives a, 0 or less gives b. Both
// colours are RGB.
TColor Blend(TColor a, TColor b, int percent);
// The same for every colour of a set; the gradients are a's (b's at 0 or
// less, where b is drawn alone).
TGlowColorSet Blend(const TGlowColorSet& a, const TGlowColorSet& b, int percent);

class TGlowButtonAppearance : public TPersistent {
    QL_CLASS(TGlowButtonAppearance, TPersistent)
public:
    TGlowButtonAppearance();

    // Fires after every property change that changed a value.
    TNotifyEvent OnChange;

    // Copies all properties of another appearance through their writers;
    // anything else raises EConvertError.
    void Assign(TPersistent* source) override;

    // The colours of each look.
    TGlowColorSet NormalSet() const;
    TGlowColorSet HotSet() const;
    TGlowColorSet DownSet() const;
    TGlowColorSet CheckedSet() const;
    TGlowColorSet DisabledSet() const;

// One published property: its getter and a writer that changes nothing for
// an equal value.
#define QM_APPEARANCE_PROPERTY(Type, Name)                                                                             \
    Type Name() const { return F##Name; }                                                                              \
    void Set##Name(Type value) { Change(F##Name, value); }

    QM_APPEARANCE_PROPERTY(TColor, BorderColor)
    QM_APPEARANCE_PROPERTY(TColor, BorderColorHot)
    QM_APPEARANCE_PROPERTY(TColor, BorderColorDown)
    QM_APPEARANCE_PROPERTY(TColor, BorderColorChecked)
    QM_APPEARANCE_PROPERTY(TColor, BorderColorDisabled)
    QM_APPEARANCE_PROPERTY(TColor, Color)
    QM_APPEARANCE_PROPERTY(TColor, ColorTo)
    QM_APPEARANCE_PROPERTY(TColor, ColorChecked)
    QM_APPEARANCE_PROPERTY(TColor, ColorCheckedTo)
    QM_APPEARANCE_PROPERTY(TColor, ColorDisabled)
    QM_APPEARANCE_PROPERTY(TColor, ColorDisabledTo)
    QM_APPEARANCE_PROPERTY(TColor, ColorDown)
    QM_APPEARANCE_PROPERTY(TColor, ColorDownTo)
    QM_APPEARANCE_PROPERTY(TColor, ColorHot)
    QM_APPEARANCE_PROPERTY(TColor, ColorHotTo)
    QM_APPEARANCE_PROPERTY(TColor, ColorMirror)
    QM_APPEARANCE_PROPERTY(TColor, ColorMirrorTo)
    QM_APPEARANCE_PROPERTY(TColor, ColorMirrorHot)
    QM_APPEARANCE_PROPERTY(TColor, ColorMirrorHotTo)
    QM_APPEARANCE_PROPERTY(TColor, ColorMirrorDown)
    QM_APPEARANCE_PROPERTY(TColor, ColorMirrorDownTo)
    QM_APPEARANCE_PROPERTY(TColor, ColorMirrorChecked)
    QM_APPEARANCE_PROPERTY(TColor, ColorMirrorCheckedTo)
    QM_APPEARANCE_PROPERTY(TColor, ColorMirrorDisabled)
    QM_APPEARANCE_PROPERTY(TColor, ColorMirrorDisabledTo)
    QM_APPEARANCE_PROPERTY(TGDIPGradient, Gradient)
    QM_APPEARANCE_PROPERTY(TGDIPGradient, GradientMirror)
    QM_APPEARANCE_PROPERTY(TGDIPGradient, GradientHot)
    QM_APPEARANCE_PROPERTY(TGDIPGradient, GradientMirrorHot)
    QM_APPEARANCE_PROPERTY(TGDIPGradient, GradientDown)
    QM_APPEARANCE_PROPERTY(TGDIPGradient, GradientMirrorDown)
    QM_APPEARANCE_PROPERTY(TGDIPGradient, GradientChecked)
    QM_APPEARANCE_PROPERTY(TGDIPGradient, GradientMirrorChecked)
    QM_APPEARANCE_PROPERTY(TGDIPGradient, GradientDisabled)
    QM_APPEARANCE_PROPERTY(TGDIPGradient, GradientMirrorDisabled)
    // A button whose font does not follow its parent draws with the
    // system's dialog font ("Segoe UI" from Windows Vista on, else "Tahoma").
    QM_APPEARANCE_PROPERTY(bool, SystemFont)
#undef QM_APPEARANCE_PROPERTY

private:
    template <class T>
    void Change(T& field, T value) {
        if (field == value) return;
        field = value;
        OnChange(this);
    }

    TColor FBorderColor, FBorderColorHot, FBorderColorDown, FBorderColorChecked, FBorderColorDisabled;
    TColor FColor, FColorTo, FColorChecked, FColorCheckedTo, FColorDisabled, FColorDisabledTo;
    TColor FColorDown, FColorDownTo, FColorHot, FColorHotTo;
    TColor FColorMirror, FColorMirrorTo, FColorMirrorHot, FColorMirrorHotTo, FColorMirrorDown, FColorMirrorDownTo;
    TColor FColorMirrorChecked, FColorMirrorCheckedTo, FColorMirrorDisabled, FColorMirrorDisabledTo;
    TGDIPGradient FGradient = ggVertical, FGradientMirror = ggVertical;
    TGDIPGradient FGradientHot = ggRadial, FGradientMirrorHot = ggRadial;
    TGDIPGradient FGradientDown = ggRadial, FGradientMirrorDown = ggRadial;
    TGDIPGradient FGradientChecked = ggRadial, FGradientMirrorChecked = ggVertical;
    TGDIPGradient FGradientDisabled = ggRadial, FGradientMirrorDisabled = ggRadial;
    bool FSystemFont = true;
};

// Writes style preset style (numbered as TOfficePagerStyle: 0 Office 2003
// blue ... 12 terminal) into an appearance; 8 (custom) and numbers outside
// 0..12 change nothing. Only the colours and gradients the preset names are
// written; disabled colours never. Returns whether the number named a preset.
bool ApplyGlowButtonStylePreset(TGlowButtonAppearance& appearance, int style);
