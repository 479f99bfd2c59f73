// More controls: panels, images, bevels, radio groups and paint boxes.
#pragma once

#include <vector>

#include "classlib/ui/pictures.h"
#include "classlib/ui/stdctrls.h"

// Draws width nested rectangle outlines just inside rect, the top and left
// sides in topColor and the bottom and right ones in bottomColor, and
// leaves rect as the area inside them.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// ============================================================================
// Panels
// ============================================================================

// How a panel's bevel looks: none, sunk, raised, or plain space of the
// bevel's width.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
QL_DECLARE_ENUM(TBevelCut);
using TPanelBevel = TBevelCut;

// A container with an outer and an inner bevel, a border between them and
// a caption in the middle. The children share the area inside the bevels
// and the border.
class TCustomPanel : public TCustomControl {
    QL_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* owner);

    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    // The space between the outer and the inner bevel.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    // bsSingle adds a sunken window edge round the panel.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // Whether the parent's painting shows inside the panel instead of Color.
    bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
    void SetParentBackground(bool value);

    void AdjustClientRect(TRect& rect) override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    // The width the bevels and the border take on each side.
    int BevelSize() const;

    // ---- Message handlers ----
    void WMEraseBkgnd(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMBorderChanged(TMessage& message);

    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    TAlignment FAlignment = taCenter;

private:
    void BorderChanged();
};

class TPanel : public TCustomPanel {
    QL_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

// ============================================================================
// Images
// ============================================================================

// Shows a picture: at its own size from the top-left corner, centred,
// stretched to the control, or shrunk (and with Stretch grown) keeping its
// proportions.
class TImage : public TGraphicControl {
    QL_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture; }
    void SetPicture(TPicture* value) { FPicture->Assign(value); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool value);
    // Passed on to the graphic: pixels of its transparent colour let the
    // parent show through.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // Sizes the control to the picture whenever the picture changes.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);

    // Where the picture is drawn, in the control's coordinates.
    TRect DestRect();

protected:
    void Paint() override;

private:
    void PictureChanged(TObject* sender);

    TPicture* FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FAutoSize = false;
    bool FInPictureChange = false;
};

// ============================================================================
// Bevels
// ============================================================================

// The names are the class library's: neither set clashes with the values of
// TBorderStyle (bsNone, bsSingle...) or TBrushStyle (bsSolid, bsClear...).
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
QL_DECLARE_ENUM(TBevelShape);
enum TBevelStyle { bsLowered, bsRaised };
QL_DECLARE_ENUM(TBevelStyle);

// A sunk or raised box, frame or line.
class TBevel : public TGraphicControl {
    QL_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle value);

protected:
    // Draws the bevel in the button shadow and highlight colours.
    void Paint() override;

    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

// ============================================================================
// Radio groups
// ============================================================================

class TCustomRadioGroup;

// One of a radio group's buttons: made by the group, one per line of its
// Items, and never stored in a layout.
class TGroupButton : public TRadioButton {
    QL_CLASS(TGroupButton, TRadioButton)
public:
    explicit TGroupButton(TCustomRadioGroup* group);
    ~TGroupButton() override;
    void Click() override;

protected:
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;

private:
    friend class TCustomRadioGroup;
    TCustomRadioGroup* FGroup;
    bool FInClick = false;
};

// A group box showing a radio button for every line of Items, in Columns
// columns; ItemIndex is the checked one (-1: none). Choosing a button, by
// the user or by setting ItemIndex, runs OnClick (not while the layout is
// being read).
class TCustomRadioGroup : public TCustomGroupBox {
    QL_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;

    TStrings* Items() const { return FItems; }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    int ButtonCount() const { return int(FButtons.size()); }
    // Raises EListError "List index out of bounds (%d)" for a bad index.
    TRadioButton* Buttons(int index) const;

    // The buttons belong to the group, not to the layout.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override {}
    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    // Whether the user may change the choice now.
    virtual bool CanModify() { return true; }
    void Resize() override;

    // ---- Message handlers ----
    void CMEnabledChanged(TMessage& message);
    void CMFontChanged(TMessage& message);

private:
    friend class TGroupButton;
    void ButtonClick(TObject* sender);
    void ItemsChange(TObject* sender);
    void SetButtonCount(int count);
    void UpdateButtons();
    void ArrangeButtons();

    std::vector<TGroupButton*> FButtons;
    TStringList* FItems;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
    QL_CLASS(TRadioGroup, TCustomRadioGroup)
public:
    explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};

// ============================================================================
// Paint boxes
// ============================================================================

// An area that OnPaint draws on, on Canvas.
class TPaintBox : public TGraphicControl {
    QL_CLASS(TPaintBox, TGraphicControl)
public:
    explicit TPaintBox(TComponent* owner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};
