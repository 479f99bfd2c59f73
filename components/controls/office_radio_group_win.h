// The office radio group: a self-drawn group box that shows one office
// radio button per line of its Items, in 1 to 16 columns, and keeps
// ItemIndex equal to the checked one. The buttons are the group's own,
// made and laid out by it and never stored in a layout. Its arithmetic is
// in radio_group_layout.h.
#pragma once

#include <vector>

#include "components/controls/group_box_win.h"
#include "components/controls/office_radio_button_win.h"

class TCustomLumOfficeRadioGroup;

// Whether the button of item ItemIndex is enabled (asked at each layout).
using TEnabledEvent = TEvent<TObject* /*Sender*/, int /*ItemIndex*/, bool& /*Enabled*/>;

// One of a radio group's buttons.
class TLumGroupButton : public TCustomLumOfficeRadioButton {
    QL_CLASS(TLumGroupButton, TCustomLumOfficeRadioButton)
public:
    explicit TLumGroupButton(TCustomLumOfficeRadioGroup* group);
    ~TLumGroupButton() override;
    TCustomLumOfficeRadioGroup* Group() const { return FGroup; }
    void WndProc(TMessage& message) override;

protected:
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void CNCommand(TMessage& message);

private:
    friend class TCustomLumOfficeRadioGroup;
    TCustomLumOfficeRadioGroup* FGroup;
    bool FInCommand = false;
};

class TCustomLumOfficeRadioGroup : public TLumGroupBox {
    QL_CLASS(TCustomLumOfficeRadioGroup, TLumGroupBox)
public:
    explicit TCustomLumOfficeRadioGroup(TComponent* owner);
    ~TCustomLumOfficeRadioGroup() override;

    // One button per line, its caption the line.
    TStrings* Items() const { return FItems; }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    // The checked button, -1 for none. Writing it (except while the layout
    // is read) clamps it to the buttons and checks that one, which fires
    // OnClick.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    // 1 to 16; other values are brought into that range.
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    int ButtonCount() const { return int(FButtons.size()); }
    TLumGroupButton* Buttons(int index) const { return FButtons.at(size_t(index)); }

    // Passed to every button.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout ButtonVertAlign() const { return FButtonVertAlign; }
    void SetButtonVertAlign(TTextLayout value);
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    void SetDisabledFontColor(TColor value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    // The group box's caption picture list, and every button's.
    TCustomImageList* GroupImages() const { return Images(); }
    void SetGroupImages(TCustomImageList* value);
    TPictureContainer* PictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int value);
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool value);
    bool Themed() const { return FThemed; }
    void SetThemed(bool value);
    virtual LongWord GetVersionNr() const { return 0x01020401; }
    // Read only ("1.2.4.1").
    String GroupVersion() const;
    void SetGroupVersion(const String&) {}

    // Decides each button's enabled state when the buttons are laid out.
    TEnabledEvent OnIsEnabled;

    // The buttons belong to the group, not to the layout.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override {}
    void ReadState(TReader* reader) override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    // Whether the user may change the choice now.
    virtual bool CanModify() { return true; }
    void Resize() override;
    void CreateHandleDone() override;
    void Notification(TComponent* component, TOperation operation) override;
    void ArrangeButtons();

    // ---- Message handlers ----
    void CMEnabledChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    // The buttons take the group's new mode, and their columns mirror.
    void CMBiDiModeChanged(TMessage& message);

private:
    friend class TLumGroupButton;
    void ButtonClick(TObject* sender);
    void ItemsChanged(TObject* sender);
    void SetButtonCount(int count);
    void UpdateButtons();
    void Arrange() { ArrangeButtons(); }

    std::vector<TLumGroupButton*> FButtons;
    TStringList* FItems;
    int FItemIndex = -1;
    int FColumns = 1;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FButtonVertAlign = tlTop;
    TColor FDisabledFontColor{0x808080};
    bool FEllipsis = false;
    TPictureContainer* FPictureContainer = nullptr;
    TColor FShadowColor{0xC0C0C0};
    int FShadowOffset = 1;
    bool FShowFocus = true;
    bool FThemed = false;
    bool FReading = false;
    bool FUpdating = false;
};

class TLumOfficeRadioGroup : public TCustomLumOfficeRadioGroup {
    QL_CLASS(TLumOfficeRadioGroup, TCustomLumOfficeRadioGroup)
public:
    explicit TLumOfficeRadioGroup(TComponent* owner) : TCustomLumOfficeRadioGroup(owner) {}
};
