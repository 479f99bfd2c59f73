// The standard controls: labels, push buttons, check boxes, radio buttons,
// group boxes, combo boxes, scroll bars and edits.
//
// The windowed ones are subclasses of the system's own window classes
// ("BUTTON", "COMBOBOX", "SCROLLBAR", "EDIT"): the system draws them and
// reports what the user did through notifications that the parent reflects
// back to them (CN_COMMAND, CN_HSCROLL...). The label is windowless and
// paints itself on its parent.
#pragma once

#include "classlib/core/strings.h"
#include "classlib/ui/forms.h"
#include "classlib/ui/imagelist.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };
QL_DECLARE_ENUM(TTextLayout);

// True when caption marks key as its accelerator ("&Open" for 'O', case
// ignored; "&&" is a plain ampersand).
bool IsAccel(Word key, const String& caption);

// The size of text in font on the screen (DT_CALCRECT rules: one line
// unless wordWrapWidth > 0 breaks it at that width; prefix characters
// ('&') are hidden unless noPrefix).
TSize MeasureText(TFont* font, const String& text, int wordWrapWidth = 0, bool noPrefix = false);

// Paints what control's parent shows behind it into dc, in control's own
// coordinates: the parent's background and painting, with the parent's
// windowless children. Controls with a see-through background call it.
void DrawParentBackground(TControl* control, HDC dc);

// ============================================================================
// Labels
// ============================================================================

class TCustomLabel : public TGraphicControl {
    QL_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // Fits the label to its text whenever the text or the font changes.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    // A transparent label leaves its parent's painting behind the text.
    bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    // The control that its accelerator key ("&Name") focuses.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    // Whether '&' marks the accelerator (and is hidden) or is shown as is.
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);

    // The size the text takes in the label's font (for auto-size, and for
    // controls that place a label beside themselves).
    TSize TextSize();

    void WndProc(TMessage& message) override;
    void Loaded() override;

protected:
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    // The text the label shows (its caption by default).
    virtual String GetLabelText();
    // Draws the text into rect with DrawText flags; DT_CALCRECT in flags
    // measures instead.
    virtual void DoDrawText(TRect& rect, UINT flags);
    // Sets the size to the text's when AutoSize is on.
    void AdjustBounds();

    // ---- Message handlers ----
    void CMTextChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMDialogChar(TMessage& message);

    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    bool FWordWrap = false;
    TTextLayout FLayout = tlTop;
    TWinControl* FFocusControl = nullptr;
    bool FShowAccelChar = true;

private:
    UINT DrawFlags() const;
};

class TLabel : public TCustomLabel {
    QL_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

// ============================================================================
// Buttons
// ============================================================================

// What the button-like controls share: the system's "BUTTON" class, clicks
// coming as BN_CLICKED, and a switch that holds clicks back while the
// control changes its own state.
class TButtonControl : public TWinControl {
    QL_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner);
    void WndProc(TMessage& message) override;

protected:
    // A notification of the window (BN_CLICKED...), unless clicks are held
    // back or the control is disabled.
    virtual void ButtonNotify(WORD code) {}
    bool ClicksDisabled() const { return FClicksDisabled || IsLoading(); }
    void SetClicksDisabled(bool value) { FClicksDisabled = value; }

    // ---- Message handlers ----
    void WMLButtonDown(TMessage& message);
    void CNCommand(TMessage& message);
    // The control's font colour on its own colour.
    void CNCtlColor(TMessage& message);

private:
    bool FClicksDisabled = false;
};

class TButton : public TButtonControl {
    QL_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* owner);
    ~TButton() override;

    // The button Enter clicks while no other button has the focus.
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    // The button Escape clicks.
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    // What a click sets the form's ModalResult to (mrNone: nothing).
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // The picture beside the caption: image ImageIndex of Images (none
    // while either is unset or the index names no image).
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

    void Click() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    void ButtonNotify(WORD code) override;
    // Shows the button as the one Enter clicks (BS_DEFPUSHBUTTON) or not.
    void SetButtonStyle(bool isDefault);

    // ---- Message handlers ----
    void CMFocusChanged(TMessage& message);
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMTextChanged(TMessage& message);

private:
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;  // Enter clicks this button now
    TModalResult FModalResult = 0;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    TChangeLink FImageChangeLink;
    HICON FImageIcon = nullptr;  // what the window shows; the button owns it

    // Gives the window the icon of the current image (or none).
    void UpdateImage();
    void ImagesChanged(TObject*) { UpdateImage(); }
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
QL_DECLARE_ENUM(TCheckBoxState);

// A check box whose state the control keeps (BS_3STATE): a click of the
// user toggles it, and every change of State or Checked, by the user or
// by the program, runs OnClick (except while the layout is being read).
class TCustomCheckBox : public TButtonControl {
    QL_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* owner);

    // The text's side: taRightJustify puts it right of the box.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // Whether a user's click goes through the grayed state.
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void ButtonNotify(WORD code) override;
    // The state a user's click moves to.
    virtual void Toggle();

    // ---- Message handlers ----
    void CMDialogChar(TMessage& message);

    TAlignment FAlignment = taRightJustify;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
    QL_CLASS(TCheckBox, TCustomCheckBox)
public:
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

// A radio button (BS_RADIOBUTTON, state kept by the control): checking it
// unchecks the radio buttons beside it on the same parent and runs
// OnClick. Only a checked radio button is a tab stop.
class TRadioButton : public TButtonControl {
    QL_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool value);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void ButtonNotify(WORD code) override;

    // ---- Message handlers ----
    void WMSetFocus(TMessage& message);
    void CMDialogChar(TMessage& message);

    TAlignment FAlignment = taRightJustify;
    bool FChecked = false;
};

// ============================================================================
// Group boxes
// ============================================================================

// A frame with a caption round a group of controls; the children share the
// area inside the frame.
class TCustomGroupBox : public TCustomControl {
    QL_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* owner);

    // A 3D (etched) frame or a flat one.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    // Whether the parent's painting shows behind the box instead of Color.
    bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
    void SetParentBackground(bool value);

    void AdjustClientRect(TRect& rect) override;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override;

    // ---- Message handlers ----
    void WMEraseBkgnd(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    void CMCtl3DChanged(TMessage& message);
    void CMDialogChar(TMessage& message);

    bool FCtl3D = true;
};

class TGroupBox : public TCustomGroupBox {
    QL_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

// ============================================================================
// Combo boxes
// ============================================================================

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
QL_DECLARE_ENUM(TComboBoxStyle);

class TCustomComboBox;

// The lines of a combo box: those of its window while it has one, else a
// list the control keeps (and moves into the next window it makes).
class TComboBoxStrings : public TStrings {
    QL_CLASS(TComboBoxStrings, TStrings)
public:
    explicit TComboBoxStrings(TCustomComboBox* comboBox) : FComboBox(comboBox) {}

    int Add(const String& s) override;
    int AddObject(const String& s, TObject* object) override;
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    // Also drops the selection.
    void Clear() override;

protected:
    int GetCount() const override;
    String Get(int index) const override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override;

private:
    void CheckIndex(int index) const;
    TCustomComboBox* FComboBox;
};

using TComboBoxEvent = TNotifyEvent;

class TCustomComboBox : public TWinControl {
    QL_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return FItems; }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    // The selected line, -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    // Lines the open list shows before it scrolls.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value) { FDropDownCount = value < 1 ? 1 : value; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    // Typing in the edit part of a csDropDown box selects the first line
    // that begins with what is typed (ignoring case) and completes the text
    // with the rest of that line, selected, so that typing on replaces it.
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool value) { FAutoComplete = value; }
    // The edit part's text; a drop-down list's is its selected line, and
    // setting it selects the line of that text (if there is one).
    String GetText() const override;
    void SetText(const String& text) override;

    // The text changed (typed, or a line chosen when OnSelect is empty).
    TNotifyEvent OnChange;
    // The user chose a line.
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    void WndProc(TMessage& message) override;
    void Loaded() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    // Gives the open list room for DropDownCount lines.
    void AdjustDropDown();

    // ---- Message handlers ----
    void CNCommand(TMessage& message);
    void WMCtlColor(TMessage& message);
    void CNCtlColor(TMessage& message);
    void CMWantSpecialKey(TMessage& message);
    void WMDestroy(TMessage& message);
    void WMEraseBkgnd(TMessage& message);

private:
    friend class TComboBoxStrings;
    static LRESULT CALLBACK EditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool EditFocusing();
    // A character typed into the edit part: true when AutoComplete took it.
    bool CompleteTyped(char typed);
    void UnhookEdit(HWND edit);
    void HookEdit();
    void SaveItems();
    void ClampItemIndex();
    bool IsTextStored() const { return FStyle != csDropDownList; }

    TComboBoxStrings* FItems;
    // The lines and selection while there is no window.
    TStringList* FSaveItems;
    int FSaveIndex = -1;
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
    bool FSorted = false;
    bool FCtl3D = true;
    bool FAutoComplete = true;
    HWND FEditHandle = nullptr;
    WNDPROC FEditDefProc = nullptr;
};

class TComboBox : public TCustomComboBox {
    QL_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

// ============================================================================
// Scroll bars
// ============================================================================

enum TScrollBarKind { sbHorizontal, sbVertical };
QL_DECLARE_ENUM(TScrollBarKind);

// What a scroll is: the system's SB_LINEUP..SB_ENDSCROLL in their order.
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
QL_DECLARE_ENUM(TScrollCode);

using TScrollEvent = TEvent<TObject* /*Sender*/, TScrollCode, int& /*ScrollPos*/>;

class TScrollBar : public TWinControl {
    QL_CLASS(TScrollBar, TWinControl)
public:
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    int Min() const { return FMin; }
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    int Position() const { return FPosition; }
    void SetPosition(int value) { SetParams(value, FMin, FMax); }
    // The proportional thumb's size in positions (0: a square thumb).
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value) { FSmallChange = value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value) { FLargeChange = value; }
    // Sets the range and the position at once. The range must hold the
    // page (else EInvalidOperation "Scrollbar property out of range"); the
    // position is brought into the range.
    void SetParams(int position, int min, int max);
    // The highest position the thumb can reach: Max less the page.
    int MaxPosition() const;

    TNotifyEvent OnChange;
    // Before the position moves: the handler may change where it goes.
    TScrollEvent OnScroll;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    virtual void Change();
    virtual void Scroll(TScrollCode code, int& scrollPos);

    // ---- Message handlers ----
    void CNScroll(TMessage& message);
    void CNCtlColorScrollBar(TMessage& message);

private:
    void DoScroll(TMessage& message);
    void UpdateScrollInfo();
    // Reading a layout sets Min, Max and Position one by one: they are
    // checked together once it is read.
    void Loaded() override;

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
};

// ============================================================================
// Edits
// ============================================================================

class TCustomEdit : public TWinControl {
    QL_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);

    // Characters the user may type (0: no limit).
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    void SelectAll();

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    virtual void Change();

    // ---- Message handlers ----
    void CNCommand(TMessage& message);
    void CNCtlColor(TMessage& message);
    void WMEraseBkgnd(TMessage& message);

    int FMaxLength = 0;
    bool FReadOnly = false;
};

class TEdit : public TCustomEdit {
    QL_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

// Registers the standard controls (these, and those of extctrls.h and
// comctrls.h) for the stored layout.
void RegisterStandardControls();
