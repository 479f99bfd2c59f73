// TPanelStatusBar: the settings of a panel's status bar (colours, gradient,
// border, text, font and image), which the panel (lum_panel_win.h) owns and
// draws.
#pragma once

#include "classlib/ui/controls.h"
#include "classlib/ui/graphics.h"
#include "components/controls/panel_shading.h"

class TPanelStatusBar : public TPersistent {
    QL_CLASS(TPanelStatusBar, TPersistent)
public:
    TPanelStatusBar();
    ~TPanelStatusBar() override;
    // Copies the colours, gradient, border and font.
    void Assign(TPersistent* source) override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { Set(FVisible, value); }
    int Height() const { return FHeight; }
    void SetHeight(int value) { Set(FHeight, value); }
    const String& Text() const { return FText; }
    void SetText(const String& value) { Set(FText, value); }
    TFont* Font() const { return FFont; }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { Set(FColor, value); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value) { Set(FColorTo, value); }
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection value) { Set(FGradientDirection, value); }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value) { Set(FBorderStyle, value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { Set(FBorderColor, value); }
    bool BevelInner() const { return FBevelInner; }
    void SetBevelInner(bool value) { Set(FBevelInner, value); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { Set(FImageIndex, value); }

    TNotifyEvent OnChange;

private:
    template <class T>
    void Set(T& field, const T& value) {
        if (field == value) return;
        field = value;
        OnChange(this);
    }
    void FontChanged(TObject* sender) { OnChange(this); }

    bool FVisible = false;
    int FHeight = 18;
    String FText;
    TFont* FFont;
    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
    TGradientDirection FGradientDirection = gdHorizontal;
    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = clBlack;
    bool FBevelInner = false;
    int FImageIndex = -1;
};
