#include "components/controls/office_check_box_win.h"

#include "components/foundation/visual_styles_win.h"

TClass TCustomLumOfficeCheckBox::StaticClass() {
    using C = TCustomLumOfficeCheckBox;
    static const TClassInfo info = TClassBuilder<C>("TCustomLumOfficeCheckBox")
                                       .Declare("Checked", &C::Checked, &C::SetChecked)
                                       .Default(false)
                                       .Declare("State", &C::FState, &C::SetState)
                                       .Default(cbUnchecked)
                                       .Declare("ReadOnly", &C::FReadOnly, &C::SetReadOnly)
                                       .Default(false)
                                       .Declare("TabStop", &C::FTabStop, &C::SetTabStop)
                                       .Default(true)
                                       .Build();
    return &info;
}

TClass TLumOfficeCheckBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TLumOfficeCheckBox>("TLumOfficeCheckBox")
            .Publish(kControlProperties)
            .Publish(kWinControlProperties)
            .Publish(
                {"BiDiMode",    "TabStop",           "Alignment",     "ButtonVertAlign", "Checked", "State",
                 "ReadOnly",    "DisabledFontColor", "Down",          "Ellipsis",        "Images",  "PictureContainer",
                 "ReturnIsTab", "ShadowColor",       "ShadowOffset",  "ShowFocus",       "Themed",  "URLColor",
                 "Version",     "OnAnchorClick",     "OnAnchorEnter", "OnAnchorExit"})
            .Build();
    return &info;
}

TCustomLumOfficeCheckBox::TCustomLumOfficeCheckBox(TComponent* owner) : TLumOfficeButtonControl(owner) {
    FWidth = 120;
    FHeight = 20;
    FTabStop = true;
}

void TCustomLumOfficeCheckBox::SetChecked(bool value) {
    if (value == GetChecked()) return;
    SetState(value ? cbChecked : cbUnchecked);
    Invalidate();
}

void TCustomLumOfficeCheckBox::SetState(TCheckBoxState value) {
    if (value == FState) return;
    FState = value;
    InvalidateGlyph(20);
}

void TCustomLumOfficeCheckBox::Toggle() {
    if (FReadOnly) return;
    FToggling = true;
    SetChecked(!GetChecked());
    FToggling = false;
}

void TCustomLumOfficeCheckBox::DrawFocus(const TRect& text, TSize caption) {
    if (FFocused && FTabStop && FShowFocus)
        DrawDottedFocusRect(FCanvas, Rect(text.Left, text.Top, text.Left + caption.cx + 3, text.Top + caption.cy),
                            FCanvas->Font()->Color());
}

// ---- The action ----

TControlActionLink* TCustomLumOfficeCheckBox::CreateActionLink() { return new TLumOfficeCheckBoxActionLink(this); }

void TCustomLumOfficeCheckBox::ActionChange(TObject* sender, bool checkDefaults) {
    TLumOfficeButtonControl::ActionChange(sender, checkDefaults);
    if (auto* action = dynamic_cast<TCustomAction*>(sender)) {
        SetCaption(action->Caption());
        SetChecked(action->Checked());
        SetEnabled(action->Enabled());
    }
}

void TLumOfficeCheckBoxActionLink::SetChecked(bool value) {
    if (IsCheckedLinked()) FCheckBox->SetChecked(value);
}

void TLumOfficeCheckBoxActionLink::SetCaption(const String& value) {
    if (IsCaptionLinked()) FCheckBox->SetCaption(value);
}

// ---- Mouse and keys ----

void TCustomLumOfficeCheckBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != mbLeft) return TLumOfficeButtonControl::MouseDown(button, shift, x, y);
    const bool wasFocused = FFocused;
    if (!FFocused && CanFocus() && !IsDesigning()) {
        SetFocus();
        FFocused = true;
    }
    PressAt(shift, x, y, wasFocused);
}

void TCustomLumOfficeCheckBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != mbLeft) return TLumOfficeButtonControl::MouseUp(button, shift, x, y);
    SetMouseCapture(false);
    FDown = false;
    if (PointInside(x, y) && FFocused && FPressed) {
        Toggle();
        Click();
    }
    TLumOfficeButtonControl::MouseUp(button, shift, x, y);
    InvalidateGlyph(16);
    FPressed = false;
}

void TCustomLumOfficeCheckBox::KeyDown(Word& key, TShiftState shift) {
    if (key == VK_SPACE) {
        FDown = true;
        InvalidateGlyph(16);
    }
    TLumOfficeButtonControl::KeyDown(key, shift);
}

void TCustomLumOfficeCheckBox::KeyUp(Word& key, TShiftState shift) {
    if (key == VK_SPACE) {
        FDown = false;
        Toggle();
        Click();
        InvalidateGlyph(16);
    }
    TLumOfficeButtonControl::KeyUp(key, shift);
}

void TCustomLumOfficeCheckBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_DIALOGCHAR: return CMDialogChar(m);
    default: return TLumOfficeButtonControl::WndProc(m);
    }
}

void TCustomLumOfficeCheckBox::CMDialogChar(TMessage& m) {
    if (IsAccel(Word(m.WParam), Caption()) && CanFocus()) {
        Toggle();
        OnClick(this);
        if (FTabStop && !IsDesigning()) SetFocus();
        m.Result = 1;
        return;
    }
    TLumOfficeButtonControl::WndProc(m);
}
