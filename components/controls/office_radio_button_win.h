// The office radio button: an office radio glyph beside its caption.
// Checking it unchecks the office radio buttons beside it on the same
// parent with the same GroupIndex and fires OnClick (through DoClick, not
// while loading); a button reached by the keyboard is checked.
#pragma once

#include "components/controls/office_button_control_win.h"

class TCustomLumOfficeRadioButton : public TLumOfficeButtonControl {
    QL_CLASS(TCustomLumOfficeRadioButton, TLumOfficeButtonControl)
public:
    explicit TCustomLumOfficeRadioButton(TComponent* owner);

    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    // The buttons of one parent that uncheck each other.
    Byte GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte value) { FGroupIndex = value; }
    // Fires OnClick (not while loading): a check, a click, Space.
    virtual void DoClick();
    // Its clicks come only through DoClick.
    void Click() override {}

    void WndProc(TMessage& message) override;

protected:
    bool IsRadio() const override { return true; }
    TGlyphCheck GlyphCheck() const override { return FChecked ? TGlyphCheck::Checked : TGlyphCheck::Unchecked; }
    void DrawFocus(const TRect& text, TSize caption) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyUp(Word& key, TShiftState shift) override;

    // ---- Message handlers ----
    void CMDialogChar(TMessage& message);
    void CMEnter(TMessage& message);

    bool FChecked = false;
    Byte FGroupIndex = 0;
    // The check that the focus a press takes, or its release, brings fires
    // no click of its own: the release's DoClick is the one.
    bool FFocusingByClick = false;
};

class TLumOfficeRadioButton : public TCustomLumOfficeRadioButton {
    QL_CLASS(TLumOfficeRadioButton, TCustomLumOfficeRadioButton)
public:
    explicit TLumOfficeRadioButton(TComponent* owner) : TCustomLumOfficeRadioButton(owner) {}
};
