// The combo box with its own border and drop-button drawing: a flat look
// with a border in the parent's colour and an optional line under the
// text, a raised or etched drop button that lights up under the mouse, the
// visual style's drop button on themed systems, a focus colour and focus
// border, and a caption label it makes, places beside itself and keeps
// enabled and visible with itself. Lines and selection are the class
// library's combo box unchanged. Its arithmetic is in combo_box_layout.h.
#pragma once

#include "classlib/ui/stdctrls.h"
#include "components/controls/combo_box_layout.h"

class TLumCustomCombo : public TCustomComboBox {
    QL_CLASS(TLumCustomCombo, TCustomComboBox)
public:
    explicit TLumCustomCombo(TComponent* owner);
    ~TLumCustomCombo() override;

    // The version packed one byte a part, major part in the top byte.
    virtual LongWord GetVersionNr() const { return 0x01030100; }
    // Read only ("1.3.1.0"): writing it does nothing.
    String Version() const;
    void SetVersion(const String&) {}

    // Take the focus when the mouse enters.
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool value) { FAutoFocus = value; }
    // The drop button's width: 14 to 32, other widths are ignored.
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int value);
    // False: a disabled box on a themed system gets a border of its own.
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // The line under the text of a flat box (clNone: none).
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor value);
    // A flat box takes its parent's colour.
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool value);
    // An etched instead of a raised drop button in the flat look.
    bool Etched() const { return FEtched; }
    void SetEtched(bool value);
    // A sunken edge while the mouse is in or the box is the active control.
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool value) { FFocusBorder = value; }
    // A one-pixel border of this colour while focused (clNone: none).
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor value) { FFocusBorderColor = value; }
    // The background while focused (clNone: unchanged).
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor value) { FFocusColor = value; }
    // The label's font is bold while the box has the focus.
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool value) { FFocusLabel = value; }
    // The open list's width; 0 keeps the system's.
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int value);

    // ---- The attached label ----
    // Its text; setting it makes the label when there is none.
    String LabelCaption() const;
    void SetLabelCaption(const String& value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool value);
    // The label keeps enabled when the box is disabled.
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value);
    // The label's font while ParentFont is off.
    TFont* LabelFont() const { return FLabelFont; }
    void SetLabelFont(TFont* value) { FLabelFont->Assign(value); }
    // The label, or nullptr before LabelCaption is set (and after the label
    // was freed by its parent).
    TLabel* AttachedLabel() const { return FLabel; }

    // Colour, enabled and visible pass on to the box's own state.
    void SetComboColor(TColor value);
    TColor ComboColor() const { return FColor; }
    void SetEnabled(bool value) override;
    void SetVisible(bool value) override;

    // The list closed.
    TNotifyEvent OnDropUp;

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    void MouseMove(TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;
    // The common controls draw themed and visual styles are on.
    bool Themed() const;
    // The mouse is in the box or it is the screen's active control.
    bool Hot() const;
    // Painting of its own rather than the class library's.
    bool CustomPainting() const;
    // The border and the flat drop button, in the window's DC.
    void DrawBorder();
    void PlaceLabel();

    // ---- Message handlers ----
    void CMEnter(TMessage& message);
    void CMExit(TMessage& message);
    void CMMouseEnter(TMessage& message);
    void CMMouseLeave(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMParentFontChanged(TMessage& message);
    void CNCommand(TMessage& message);
    void WMNCPaint(TMessage& message);
    void WMPaint(TMessage& message);
    void WMSetFocus(TMessage& message);
    void WMKillFocus(TMessage& message);

private:
    // The label it makes: it tells the box when it goes, before any of it
    // is taken down.
    class TAttachedLabel;
    void LabelFontChanged(TObject* sender);
    void SetLabelBold(bool bold);
    void RestoreNormalColor();
    void RefreshWidth();
    void DrawDropButton(HDC dc);

    bool FAutoFocus = false;
    int FButtonWidth;
    bool FDisabledBorder = true;
    bool FFlat = false;
    TColor FFlatLineColor = clBlack;
    bool FFlatParentColor = true;
    bool FEtched = false;
    bool FFocusBorder = false;
    TColor FFocusBorderColor = clNone;
    TColor FFocusColor = clNone;
    bool FFocusLabel = false;
    int FDropWidth = 0;
    TLabel* FLabel = nullptr;
    TLabelPosition FLabelPosition = lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;
    TFont* FLabelFont;

    TColor FLoadedColor = clWindow;  // the colour the layout gave
    TColor FSavedColor = clWindow;   // kept while a flat box is disabled
    bool FSavedParentColor = false;
    TColor FNormalColor = clNone;  // restored when the focus leaves
    bool FMouseIn = false;
    bool FFocused = false;
    bool FButtonHot = false;
    bool FIsWinXP;
    bool FCommonControls6;
};

class TLumComboBox : public TLumCustomCombo {
    QL_CLASS(TLumComboBox, TLumCustomCombo)
public:
    explicit TLumComboBox(TComponent* owner) : TLumCustomCombo(owner) {}
};
