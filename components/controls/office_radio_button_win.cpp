#include "components/controls/office_radio_button_win.h"

#include "classlib/core/scopes.h"
#include "components/foundation/visual_styles_win.h"

TClass TCustomLumOfficeRadioButton::StaticClass() {
    using C = TCustomLumOfficeRadioButton;
    static const TClassInfo info = TClassBuilder<C>("TCustomLumOfficeRadioButton")
                                       .Declare("Checked", &C::FChecked, &C::SetChecked)
                                       .Default(false)
                                       .Declare("GroupIndex", &C::FGroupIndex, &C::SetGroupIndex)
                                       .Default(Byte(0))
                                       .Build();
    return &info;
}

TClass TLumOfficeRadioButton::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TLumOfficeRadioButton>("TLumOfficeRadioButton")
            .Publish(kControlProperties)
            .Publish(kWinControlProperties)
            .Publish({"BiDiMode",         "TabStop",           "Alignment",   "ButtonVertAlign", "Checked",
                      "GroupIndex",       "DisabledFontColor", "Down",        "Ellipsis",        "Images",
                      "PictureContainer", "ReturnIsTab",       "ShadowColor", "ShadowOffset",    "ShowFocus",
                      "Themed",           "URLColor",          "Version",     "OnAnchorClick",   "OnAnchorEnter",
                      "OnAnchorExit"})
            .Build();
    return &info;
}

TCustomLumOfficeRadioButton::TCustomLumOfficeRadioButton(TComponent* owner) : TLumOfficeButtonControl(owner) {
    FWidth = 135;
    FHeight = 20;
}

void TCustomLumOfficeRadioButton::SetChecked(bool value) {
    if (value == FChecked) return;
    SetTabStop(value);
    FChecked = value;
    if (value) {
        if (FParent)
            for (int i = 0; i < FParent->ControlCount(); ++i)
                if (auto* sibling = dynamic_cast<TCustomLumOfficeRadioButton*>(FParent->Controls(i));
                    sibling && sibling != this && sibling->FGroupIndex == FGroupIndex)
                    sibling->SetChecked(false);
        if (!FFocusingByClick) DoClick();
    }
    InvalidateGlyph(16);
}

void TCustomLumOfficeRadioButton::DoClick() {
    if (!IsLoading()) OnClick(this);
}

void TCustomLumOfficeRadioButton::DrawFocus(const TRect& text, TSize caption) {
    if (!FFocused || !FChecked || !FTabStop || !FShowFocus) return;
    // Over the glyph and the caption: from the glyph's edge of the control
    // to two pixels past the caption's far end.
    const TRect r = UseRightToLeftAlignment() ? Rect(text.Left - 2, text.Top - 1, ClientWidth() - 1, ClientHeight() - 1)
                                              : Rect(0, text.Top - 1, text.Left + caption.cx + 1, ClientHeight() - 1);
    DrawDottedFocusRect(FCanvas, r, FCanvas->Font()->Color());
}

// ---- Mouse and keys ----

void TCustomLumOfficeRadioButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != mbLeft) return TLumOfficeButtonControl::MouseDown(button, shift, x, y);
    const bool wasFocused = FFocused;
    if (!FFocused && CanFocus() && !IsDesigning()) {
        // The check the focus brings is this press's: its click comes on
        // release.
        FFocusingByClick = true;
        SetFocus();
        FFocusingByClick = false;
        FFocused = true;
    }
    PressAt(shift, x, y, wasFocused);
}

void TCustomLumOfficeRadioButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != mbLeft) return TLumOfficeButtonControl::MouseUp(button, shift, x, y);
    SetMouseCapture(false);
    FDown = false;
    if (PointInside(x, y) && !FChecked && FPressed) {
        // The check is this click's: its one OnClick follows below.
        TTempChange<bool> byClick(FFocusingByClick, true);
        SetChecked(true);
    }
    TLumOfficeButtonControl::MouseUp(button, shift, x, y);
    // Also after a release outside: the press was the user's.
    if (FPressed) DoClick();
    InvalidateGlyph(16);
    FPressed = false;
}

void TCustomLumOfficeRadioButton::KeyDown(Word& key, TShiftState shift) {
    if (key == VK_SPACE) {
        FDown = true;
        InvalidateGlyph(16);
    }
    TLumOfficeButtonControl::KeyDown(key, shift);
}

void TCustomLumOfficeRadioButton::KeyUp(Word& key, TShiftState shift) {
    if (key == VK_SPACE) {
        FDown = false;
        if (!FChecked) SetChecked(true);
        InvalidateGlyph(16);
    }
    TLumOfficeButtonControl::KeyUp(key, shift);
}

void TCustomLumOfficeRadioButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_DIALOGCHAR: return CMDialogChar(m);
    case CM_ENTER: return CMEnter(m);
    default: return TLumOfficeButtonControl::WndProc(m);
    }
}

void TCustomLumOfficeRadioButton::CMDialogChar(TMessage& m) {
    if (IsAccel(Word(m.WParam), Caption()) && CanFocus()) {
        SetChecked(true);
        if (FTabStop && !IsDesigning()) SetFocus();
        m.Result = 1;
        return;
    }
    TLumOfficeButtonControl::WndProc(m);
}

void TCustomLumOfficeRadioButton::CMEnter(TMessage& m) {
    TLumOfficeButtonControl::WndProc(m);
    SetChecked(true);
}
