#include "components/controls/office_radio_group_win.h"

#include "classlib/core/scopes.h"
#include "classlib/ui/gdi_helpers.h"
#include "components/controls/radio_group_layout.h"
#include "components/foundation/version_text.h"

// ============================================================================
// TLumGroupButton
// ============================================================================

TClass TLumGroupButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TLumGroupButton>("TLumGroupButton").Build();
    return &info;
}

TLumGroupButton::TLumGroupButton(TCustomLumOfficeRadioGroup* group)
    : TCustomLumOfficeRadioButton(group), FGroup(group) {
    group->FButtons.push_back(this);
    FVisible = false;
    FEnabled = group->Enabled();
    FParentShowHint = false;
    OnClick = TNotifyEvent::Bind<&TCustomLumOfficeRadioGroup::ButtonClick>(group);
    SetParent(group);
}

TLumGroupButton::~TLumGroupButton() {
    if (FGroup) std::erase(FGroup->FButtons, this);
}

void TLumGroupButton::KeyDown(Word& key, TShiftState shift) {
    TCustomLumOfficeRadioButton::KeyDown(key, shift);
    if (FGroup) FGroup->KeyDown(key, shift);
}

void TLumGroupButton::KeyPress(char& key) {
    TCustomLumOfficeRadioButton::KeyPress(key);
    if (!FGroup) return;
    FGroup->KeyPress(key);
    if ((key == '\b' || key == ' ') && !FGroup->CanModify()) key = 0;
}

void TLumGroupButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND: return CNCommand(m);
    default: return TCustomLumOfficeRadioButton::WndProc(m);
    }
}

void TLumGroupButton::CNCommand(TMessage& m) {
    const WORD code = HIWORD(m.WParam);
    if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return TCustomLumOfficeRadioButton::WndProc(m);
    if (FInCommand || !FGroup || !FGroup->CanModify()) return;
    TTempChange<bool> inCommand(FInCommand, true);
    try {
        TCustomLumOfficeRadioButton::WndProc(m);
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
}

// ============================================================================
// TCustomLumOfficeRadioGroup
// ============================================================================

TClass TCustomLumOfficeRadioGroup::StaticClass() {
    using C = TCustomLumOfficeRadioGroup;
    static const TClassInfo info = TClassBuilder<C>("TCustomLumOfficeRadioGroup")
                                       .Declare("Items", &C::Items, &C::SetItems)
                                       .Declare("ItemIndex", &C::FItemIndex, &C::SetItemIndex)
                                       .Default(-1)
                                       .Declare("Columns", &C::FColumns, &C::SetColumns)
                                       .Default(1)
                                       .Declare("Alignment", &C::FAlignment, &C::SetAlignment)
                                       .Default(taLeftJustify)
                                       .Declare("ButtonVertAlign", &C::FButtonVertAlign, &C::SetButtonVertAlign)
                                       .Default(tlTop)
                                       .Declare("DisabledFontColor", &C::FDisabledFontColor, &C::SetDisabledFontColor)
                                       .Default(TColor(0x808080))
                                       .Declare("Ellipsis", &C::FEllipsis, &C::SetEllipsis)
                                       .Default(false)
                                       .Declare("Images", &C::GroupImages, &C::SetGroupImages)
                                       .Declare("PictureContainer", &C::FPictureContainer, &C::SetPictureContainer)
                                       .Declare("ShadowColor", &C::FShadowColor, &C::SetShadowColor)
                                       .Default(TColor(0xC0C0C0))
                                       .Declare("ShadowOffset", &C::FShadowOffset, &C::SetShadowOffset)
                                       .Default(1)
                                       .Declare("ShowFocus", &C::FShowFocus, &C::SetShowFocus)
                                       .Default(true)
                                       .Declare("Themed", &C::FThemed, &C::SetThemed)
                                       .Default(false)
                                       .Declare("Version", &C::GroupVersion, &C::SetGroupVersion)
                                       .Stored(false)
                                       .Declare("OnIsEnabled", &C::OnIsEnabled, &C::OnIsEnabled)
                                       .Build();
    return &info;
}

TClass TLumOfficeRadioGroup::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TLumOfficeRadioGroup>("TLumOfficeRadioGroup")
            .Publish(kControlProperties)
            .Publish(kWinControlProperties)
            .Publish({"ParentBiDiMode",  "TabStop",    "Ctl3D",       "BorderColor",     "BorderStyle",
                      "CaptionPosition", "ImageIndex", "Transparent", "RoundEdges",      "Items",
                      "ItemIndex",       "Columns",    "Alignment",   "ButtonVertAlign", "DisabledFontColor",
                      "Ellipsis",        "Images",     "ShadowColor", "ShadowOffset",    "ShowFocus",
                      "Themed",          "Version",    "OnIsEnabled"})
            // Its own painting shows the parent; the class library's erase
            // does not.
            .Publish("ParentBackground")
            .Default(false)
            .Build();
    return &info;
}

TCustomLumOfficeRadioGroup::TCustomLumOfficeRadioGroup(TComponent* owner) : TLumGroupBox(owner) {
    // No dropped children, no capture, no clicks of its own: its OnClick
    // comes from its buttons.
    FControlStyle = {csSetCaption};
    FItems = new TStringList;
    FItems->OnChange = TNotifyEvent::Bind<&TCustomLumOfficeRadioGroup::ItemsChanged>(this);
}

TCustomLumOfficeRadioGroup::~TCustomLumOfficeRadioGroup() {
    SetButtonCount(0);
    FItems->OnChange = TNotifyEvent();
    delete FItems;
}

String TCustomLumOfficeRadioGroup::GroupVersion() const { return PackedVersionText(GetVersionNr()); }

// ---- Items and the checked one ----

void TCustomLumOfficeRadioGroup::SetItemIndex(int value) {
    if (FReading) {
        FItemIndex = value;
        return;
    }
    value = ClampRadioItemIndex(value, ButtonCount());
    if (value == FItemIndex) return;
    if (FItemIndex >= 0 && FItemIndex < ButtonCount()) FButtons[size_t(FItemIndex)]->SetChecked(false);
    FItemIndex = value;
    // Checking fires the button's click, and so the group's OnClick.
    if (FItemIndex >= 0) FButtons[size_t(FItemIndex)]->SetChecked(true);
}

void TCustomLumOfficeRadioGroup::ItemsChanged(TObject*) {
    if (FReading) return;
    if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
    UpdateButtons();
}

void TCustomLumOfficeRadioGroup::SetButtonCount(int count) {
    while (ButtonCount() < count) NewObject<TLumGroupButton>(this);
    while (ButtonCount() > count) FButtons.back()->Free();
}

void TCustomLumOfficeRadioGroup::UpdateButtons() {
    SetButtonCount(FItems->Count());
    for (int i = 0; i < ButtonCount(); ++i) FButtons[size_t(i)]->SetCaption(FItems->Strings(i));
    if (FItemIndex >= 0 && FItemIndex < ButtonCount()) {
        TTempChange<bool> updating(FUpdating, true);
        FButtons[size_t(FItemIndex)]->SetChecked(true);
    }
    ArrangeButtons();
    Invalidate();
}

void TCustomLumOfficeRadioGroup::ButtonClick(TObject* sender) {
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), sender);
    if (it == FButtons.end()) return;
    FItemIndex = int(it - FButtons.begin());
    if (FParent) FParent->Perform(CM_CHANGED, 0, LPARAM(this));
    Click();
}

void TCustomLumOfficeRadioGroup::ReadState(TReader* reader) {
    {
        TTempChange<bool> reading(FReading, true);
        TLumGroupBox::ReadState(reader);
    }
    // A stored index that names no button names none of them.
    FItemIndex = ClampRadioItemIndex(FItemIndex, FItems->Count());
    UpdateButtons();
}

void TCustomLumOfficeRadioGroup::Loaded() {
    TLumGroupBox::Loaded();
    ArrangeButtons();
}

// ---- Layout ----

void TCustomLumOfficeRadioGroup::ArrangeButtons() {
    if (IsLoading() || !HandleAllocated() || FButtons.empty() || FReading) return;
    int fontHeight = 0;
    {
        TScreenDC screen;
        HGDIOBJ old = SelectObject(screen.Handle(), FFont->Handle());
        TEXTMETRICA metrics{};
        GetTextMetricsA(screen.Handle(), &metrics);
        SelectObject(screen.Handle(), old);
        fontHeight = metrics.tmHeight;
    }
    const int count = ButtonCount();
    const TRadioGroupGrid grid = RadioGroupGrid(count, FColumns, FWidth, FHeight, fontHeight, !Caption().empty());
    for (int i = 0; i < count; ++i) {
        TLumGroupButton* b = FButtons[size_t(i)];
        b->SetBiDiMode(FBiDiMode);
        b->SetAlignment(FAlignment);
        b->SetButtonVertAlign(FButtonVertAlign);
        b->SetImages(Images());
        b->SetPictureContainer(FPictureContainer);
        b->SetEllipsis(FEllipsis);
        b->SetShadowOffset(FShadowOffset);
        b->SetShadowColor(FShadowColor);
        b->SetShowFocus(FShowFocus);
        b->SetDisabledFontColor(FDisabledFontColor);
        b->SetThemed(FThemed);
        bool enabled = FEnabled && b->Enabled();
        OnIsEnabled(this, i, enabled);
        b->SetEnabled(enabled);
        b->SetBoundsRect(RadioGroupButtonRect(grid, i, b->UseRightToLeftAlignment(), ClientWidth()));
        b->SetVisible(true);
    }
}

void TCustomLumOfficeRadioGroup::SetColumns(int value) {
    value = ClampRadioColumns(value);
    if (value == FColumns) return;
    FColumns = value;
    ArrangeButtons();
    Invalidate();
}

void TCustomLumOfficeRadioGroup::SetAlignment(TAlignment value) {
    FAlignment = value;
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::SetButtonVertAlign(TTextLayout value) {
    FButtonVertAlign = value;
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::SetDisabledFontColor(TColor value) {
    FDisabledFontColor = value;
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::SetEllipsis(bool value) {
    FEllipsis = value;
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::SetGroupImages(TCustomImageList* value) {
    SetImages(value);
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::SetPictureContainer(TPictureContainer* value) {
    ReplaceReference(FPictureContainer, value);
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::SetShadowColor(TColor value) {
    FShadowColor = value;
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::SetShadowOffset(int value) {
    FShadowOffset = value;
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::SetShowFocus(bool value) {
    if (value == FShowFocus) return;
    FShowFocus = value;
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::SetThemed(bool value) {
    if (value == FThemed) return;
    FThemed = value;
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::Notification(TComponent* component, TOperation operation) {
    TLumGroupBox::Notification(component, operation);
    if (operation == opRemove && component == FPictureContainer) FPictureContainer = nullptr;
}

void TCustomLumOfficeRadioGroup::Resize() {
    TLumGroupBox::Resize();
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::CreateHandleDone() {
    TLumGroupBox::CreateHandleDone();
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_ENABLEDCHANGED: return CMEnabledChanged(m);
    case CM_FONTCHANGED: return CMFontChanged(m);
    case CM_BIDIMODECHANGED: return CMBiDiModeChanged(m);
    default: return TLumGroupBox::WndProc(m);
    }
}

void TCustomLumOfficeRadioGroup::CMEnabledChanged(TMessage& m) {
    TLumGroupBox::WndProc(m);
    for (TLumGroupButton* b : FButtons) b->SetEnabled(FEnabled);
}

void TCustomLumOfficeRadioGroup::CMBiDiModeChanged(TMessage& m) {
    TLumGroupBox::WndProc(m);
    ArrangeButtons();
}

void TCustomLumOfficeRadioGroup::CMFontChanged(TMessage& m) {
    TLumGroupBox::WndProc(m);
    ArrangeButtons();
}
