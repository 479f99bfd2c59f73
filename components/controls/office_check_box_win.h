// The office check box: an office glyph (unchecked, checked or grayed)
// beside its caption. Its check changes only by the user (a click inside
// while focused, Space, its accelerator) or by a write; OnClick fires for
// the user's toggles only, never for a write, whoever makes it.
#pragma once

#include "classlib/ui/actions.h"
#include "components/controls/office_button_control_win.h"

class TCustomLumOfficeCheckBox : public TLumOfficeButtonControl {
    QL_CLASS(TCustomLumOfficeCheckBox, TLumOfficeButtonControl)
public:
    explicit TCustomLumOfficeCheckBox(TComponent* owner);

    // True exactly when State is cbChecked. Writing the reading it already
    // has changes nothing (False on a grayed box stays grayed).
    virtual bool GetChecked() const { return FState == cbChecked; }
    virtual void SetChecked(bool value);
    bool Checked() const { return GetChecked(); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    // A read-only box does not toggle; its clicks still fire OnClick.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // The user's toggle: Checked becomes its opposite (not while ReadOnly).
    virtual void Toggle();

    void WndProc(TMessage& message) override;

protected:
    bool IsRadio() const override { return false; }
    TGlyphCheck GlyphCheck() const override { return TGlyphCheck(int(FState)); }
    void DrawFocus(const TRect& text, TSize caption) override;
    TControlActionLink* CreateActionLink() override;
    void ActionChange(TObject* sender, bool checkDefaults) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyUp(Word& key, TShiftState shift) override;

    // ---- Message handlers ----
    void CMDialogChar(TMessage& message);

    TCheckBoxState FState = cbUnchecked;
    bool FReadOnly = false;
    bool FToggling = false;  // a toggle writes Checked now
};

class TLumOfficeCheckBox : public TCustomLumOfficeCheckBox {
    QL_CLASS(TLumOfficeCheckBox, TCustomLumOfficeCheckBox)
public:
    explicit TLumOfficeCheckBox(TComponent* owner) : TCustomLumOfficeCheckBox(owner) {}
};

// The check box's action link: the action's Checked goes to the box's.
class TLumOfficeCheckBoxActionLink : public TControlActionLink {
public:
    explicit TLumOfficeCheckBoxActionLink(TCustomLumOfficeCheckBox* client)
        : TControlActionLink(client), FCheckBox(client) {}
    void SetChecked(bool value) override;
    void SetCaption(const String& value) override;

private:
    TCustomLumOfficeCheckBox* FCheckBox;
};
