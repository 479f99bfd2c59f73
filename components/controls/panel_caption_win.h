// TPanelCaption: the settings of a panel's caption band (colours, shading,
// text, the close and collapse buttons and their glyphs), which the panel
// (lum_panel_win.h) owns and draws.
#pragma once

#include "classlib/ui/bitmaps.h"
#include "classlib/ui/graphics.h"
#include "components/controls/panel_layout.h"
#include "components/controls/panel_shading.h"

// The caption band's settings. Its writers tell the panel through four
// events: OnChange (repaint), OnShadeChange (the shading must be made
// again), OnStateChange (shown or hidden) and OnPositionChange.
class TPanelCaption : public TPersistent {
    QL_CLASS(TPanelCaption, TPersistent)
public:
    TPanelCaption();
    ~TPanelCaption() override;
    // Copies the look, not the text, visibility, position, top indent or
    // MinMaxCaption.
    void Assign(TPersistent* source) override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    LumPanel::TCaptionPosition Position() const { return FPosition; }
    void SetPosition(LumPanel::TCaptionPosition value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    // Stores the height without telling anyone (the styler's presets).
    void SetHeightQuietly(int value) { FHeight = value; }
    const String& Text() const { return FText; }
    void SetText(const String& value);
    TFont* Font() const { return FFont; }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection value);
    TColor CloseColor() const { return FCloseColor; }
    void SetCloseColor(TColor value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    int TopIndent() const { return FTopIndent; }
    void SetTopIndent(int value);
    TShadeType ShadeType() const { return FShadeType; }
    void SetShadeType(TShadeType value);
    // Values below 200 are raised to 200.
    int ShadeLight() const { return FShadeLight; }
    void SetShadeLight(int value);
    Byte ShadeGrain() const { return FShadeGrain; }
    void SetShadeGrain(Byte value);
    TCaptionShape Shape() const { return FShape; }
    void SetShape(TCaptionShape value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TBitmap* Background() const { return FBackground; }
    void SetBackground(TBitmap* value);
    TCaptionButtonPosition ButtonPosition() const { return FButtonPosition; }
    void SetButtonPosition(TCaptionButtonPosition value) { FButtonPosition = value; }
    bool CloseButton() const { return FCloseButton; }
    void SetCloseButton(bool value);
    TColor CloseButtonColor() const { return FCloseButtonColor; }
    void SetCloseButtonColor(TColor value);
    TColor CloseButtonHoverColor() const { return FCloseButtonHoverColor; }
    void SetCloseButtonHoverColor(TColor value) { FCloseButtonHoverColor = value; }
    TBitmap* CloseMinGlyph() const { return FCloseMinGlyph; }
    void SetCloseMinGlyph(TBitmap* value);
    TBitmap* CloseMaxGlyph() const { return FCloseMaxGlyph; }
    void SetCloseMaxGlyph(TBitmap* value);
    bool MinMaxButton() const { return FMinMaxButton; }
    void SetMinMaxButton(bool value);
    TColor MinMaxButtonColor() const { return FMinMaxButtonColor; }
    void SetMinMaxButtonColor(TColor value);
    TColor MinMaxButtonHoverColor() const { return FMinMaxButtonHoverColor; }
    void SetMinMaxButtonHoverColor(TColor value) { FMinMaxButtonHoverColor = value; }
    TBitmap* MaxGlyph() const { return FMaxGlyph; }
    void SetMaxGlyph(TBitmap* value) { FMaxGlyph->Assign(value); }
    TBitmap* MinGlyph() const { return FMinGlyph; }
    void SetMinGlyph(TBitmap* value) { FMinGlyph->Assign(value); }
    bool MinMaxCaption() const { return FMinMaxCaption; }
    void SetMinMaxCaption(bool value) { FMinMaxCaption = value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnStateChange;
    TNotifyEvent OnShadeChange;
    TNotifyEvent OnPositionChange;

private:
    void Changed();
    void ShadeChanged();
    void FontChanged(TObject* sender);

    bool FVisible = false;
    LumPanel::TCaptionPosition FPosition = LumPanel::cpTop;
    int FHeight = 20;
    String FText;
    TFont* FFont;
    TColor FColor = clHighlight;
    TColor FColorTo = clNone;
    TGradientDirection FGradientDirection = gdHorizontal;
    TColor FCloseColor = clBtnFace;
    int FIndent = 0;
    int FTopIndent = 0;
    TShadeType FShadeType = stNormal;
    int FShadeLight = 200;
    Byte FShadeGrain = 32;
    TCaptionShape FShape = csRectangle;
    bool FFlat = false;
    TBitmap* FBackground;
    TCaptionButtonPosition FButtonPosition = cbpRight;
    bool FCloseButton = false;
    TColor FCloseButtonColor = clWhite;
    TColor FCloseButtonHoverColor = clNone;
    TBitmap* FCloseMinGlyph;
    TBitmap* FCloseMaxGlyph;
    bool FMinMaxButton = false;
    TColor FMinMaxButtonColor = clWhite;
    TColor FMinMaxButtonHoverColor = clNone;
    TBitmap* FMaxGlyph;
    TBitmap* FMinGlyph;
    bool FMinMaxCaption = false;
};
