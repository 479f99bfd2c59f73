#include "classlib/ui/extctrls.h"

#include <algorithm>

#include "classlib/core/scopes.h"
#include "classlib/ui/gdi_helpers.h"

QL_DEFINE_ENUM(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace")
QL_DEFINE_ENUM(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer")
QL_DEFINE_ENUM(TBevelStyle, "bsLowered", "bsRaised")

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    // The outlines run through the last pixel row and column.
    --rect.Bottom;
    --rect.Right;
    for (; width > 0; --width) {
        TPoint topRight = Point(rect.Right, rect.Top);
        TPoint bottomLeft = Point(rect.Left, rect.Bottom);
        canvas->Pen()->SetColor(topColor);
        const TPoint topLeftSides[] = {bottomLeft, rect.TopLeft(), topRight};
        canvas->Polyline(topLeftSides);
        canvas->Pen()->SetColor(bottomColor);
        --bottomLeft.X;
        const TPoint bottomRightSides[] = {topRight, rect.BottomRight(), bottomLeft};
        canvas->Polyline(bottomRightSides);
        rect = Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
    }
    ++rect.Bottom;
    ++rect.Right;
}

// ============================================================================
// TCustomPanel
// ============================================================================

TClass TCustomPanel::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TCustomPanel>("TCustomPanel")
            .Declare("Alignment", &TCustomPanel::FAlignment, &TCustomPanel::SetAlignment)
            .Default(taCenter)
            .Declare("BevelInner", &TCustomPanel::FBevelInner, &TCustomPanel::SetBevelInner)
            .Default(bvNone)
            .Declare("BevelOuter", &TCustomPanel::FBevelOuter, &TCustomPanel::SetBevelOuter)
            .Default(bvRaised)
            .Declare("BevelWidth", &TCustomPanel::FBevelWidth, &TCustomPanel::SetBevelWidth)
            .Default(1)
            .Declare("BorderWidth", &TCustomPanel::FBorderWidth, &TCustomPanel::SetBorderWidth)
            .Default(0)
            .Declare("BorderStyle", &TCustomPanel::FBorderStyle, &TCustomPanel::SetBorderStyle)
            .Default(bsNone)
            .Declare("Color", &TCustomPanel::FColor, &TCustomPanel::SetColor)
            .Default(clBtnFace)
            .Declare("ParentColor", &TCustomPanel::FParentColor, &TCustomPanel::SetParentColor)
            .Default(false)
            .Declare("ParentBackground", &TCustomPanel::ParentBackground, &TCustomPanel::SetParentBackground)
            .Default(true)
            .Build();
    return &info;
}

TClass TPanel::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPanel>("TPanel")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Publish({"TabStop", "Alignment", "BevelInner", "BevelOuter", "BevelWidth",
                                                 "BorderWidth", "BorderStyle", "ParentBackground"})
                                       .Build();
    return &info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents,  csSetCaption,
                     csOpaque,          csDoubleClicks, csReplicatable, csParentBackground};
    FWidth = 185;
    FHeight = 41;
    FParentColor = false;
    FColor = clBtnFace;
    FBrush->SetColor(FColor);
}

void TCustomPanel::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    if (FBorderStyle == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
    // Any size change may move the caption and the bevels.
    p.WindowClass.style |= CS_HREDRAW | CS_VREDRAW;
}

int TCustomPanel::BevelSize() const {
    int size = FBorderWidth;
    if (FBevelOuter != bvNone) size += FBevelWidth;
    if (FBevelInner != bvNone) size += FBevelWidth;
    return size;
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    int size = BevelSize();
    rect = Rect(rect.Left + size, rect.Top + size, rect.Right - size, rect.Bottom - size);
}

void TCustomPanel::BorderChanged() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
    if (FBevelInner == value) return;
    FBevelInner = value;
    BorderChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
    if (FBevelOuter == value) return;
    FBevelOuter = value;
    BorderChanged();
}

void TCustomPanel::SetBevelWidth(int value) {
    if (value < 1) value = 1;
    if (FBevelWidth == value) return;
    FBevelWidth = value;
    BorderChanged();
}

void TCustomPanel::SetBorderWidth(int value) {
    if (value < 0) value = 0;
    if (FBorderWidth == value) return;
    FBorderWidth = value;
    BorderChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    if (value != bsSingle) value = bsNone;
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    RecreateWnd();
    BorderChanged();
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomPanel::SetParentBackground(bool value) {
    if (ParentBackground() == value) return;
    if (value)
        FControlStyle.Include(csParentBackground);
    else
        FControlStyle.Exclude(csParentBackground);
    Invalidate();
}

void TCustomPanel::Paint() {
    TRect r = ClientRect();
    HDC dc = FCanvas->Handle();
    // The panel is opaque: it paints its whole area, its background first.
    if (ParentBackground() && FParent) {
        DrawParentBackground(this, dc);
    } else {
        FCanvas->Brush()->SetColor(FColor);
        FCanvas->FillRect(r);
    }
    auto bevel = [&](TPanelBevel cut) {
        if (cut == bvNone) return;
        if (cut == bvSpace) {
            r = Rect(r.Left + FBevelWidth, r.Top + FBevelWidth, r.Right - FBevelWidth, r.Bottom - FBevelWidth);
            return;
        }
        TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        Frame3D(FCanvas, r, top, bottom, FBevelWidth);
    };
    bevel(FBevelOuter);
    r = Rect(r.Left + FBorderWidth, r.Top + FBorderWidth, r.Right - FBorderWidth, r.Bottom - FBorderWidth);
    bevel(FBevelInner);
    String text = Caption();
    if (text.empty()) return;
    FCanvas->SetFont(FFont);
    FCanvas->Brush()->SetStyle(bsClear);
    int h = FCanvas->TextHeight("W");
    RECT tr{r.Left, (r.Top + r.Bottom - h) / 2, r.Right, 0};
    tr.bottom = tr.top + h;
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    DrawTextA(FCanvas->Handle(), text.c_str(), int(text.size()), &tr,
              DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | alignments[FAlignment]);
}

void TCustomPanel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    case CM_TEXTCHANGED: return CMTextChanged(m);
    case CM_BORDERCHANGED: return CMBorderChanged(m);
    default: return TCustomControl::WndProc(m);
    }
}

// Paint covers everything.
void TCustomPanel::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TCustomPanel::CMTextChanged(TMessage&) { Invalidate(); }

void TCustomPanel::CMBorderChanged(TMessage&) { BorderChanged(); }

// ============================================================================
// TImage
// ============================================================================

TClass TImage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TImage>("TImage")
                                       .Publish(kControlProperties)
                                       .Prop("AutoSize", &TImage::FAutoSize, &TImage::SetAutoSize)
                                       .Default(false)
                                       .Prop("Center", &TImage::FCenter, &TImage::SetCenter)
                                       .Default(false)
                                       .Prop("Picture", &TImage::Picture, &TImage::SetPicture)
                                       .Prop("Proportional", &TImage::FProportional, &TImage::SetProportional)
                                       .Default(false)
                                       .Prop("Stretch", &TImage::FStretch, &TImage::SetStretch)
                                       .Default(false)
                                       .Prop("Transparent", &TImage::FTransparent, &TImage::SetTransparent)
                                       .Default(false)
                                       .Build();
    return &info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    // No caption of its own.
    FControlStyle.Exclude(csSetCaption);
    FControlStyle.Include(csReplicatable);
    FPicture = new TPicture;
    FPicture->OnChange = TNotifyEvent::Bind<&TImage::PictureChanged>(this);
    FWidth = 105;
    FHeight = 105;
}

TImage::~TImage() {
    FPicture->OnChange = nullptr;
    delete FPicture;
}

void TImage::SetStretch(bool value) {
    if (FStretch == value) return;
    FStretch = value;
    PictureChanged(this);
}

void TImage::SetCenter(bool value) {
    if (FCenter == value) return;
    FCenter = value;
    PictureChanged(this);
}

void TImage::SetProportional(bool value) {
    if (FProportional == value) return;
    FProportional = value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    PictureChanged(this);
}

void TImage::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    PictureChanged(this);
}

TRect TImage::DestRect() {
    int w = FPicture->Width(), h = FPicture->Height();
    int cw = ClientWidth(), ch = ClientHeight();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            double aspect = double(w) / h;
            if (w > h) {
                w = cw;
                h = int(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = int(ch * aspect);
                }
            } else {
                h = ch;
                w = int(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = int(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r = Rect(0, 0, w, h);
    if (FCenter) r = Bounds((cw - w) / 2, (ch - h) / 2, w, h);
    return r;
}

void TImage::PictureChanged(TObject*) {
    if (FInPictureChange) return;
    {
        TTempChange busy(FInPictureChange, true);
        TGraphic* graphic = FPicture->Graphic();
        if (graphic) graphic->SetTransparent(FTransparent);
        if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
            SetBounds(FLeft, FTop, FPicture->Width(), FPicture->Height());
        // A picture that covers the whole control hides what is behind it.
        TRect d = DestRect();
        if (graphic && !graphic->Empty() && !graphic->Transparent() && d.Left <= 0 && d.Top <= 0 && d.Right >= FWidth &&
            d.Bottom >= FHeight)
            FControlStyle.Include(csOpaque);
        else
            FControlStyle.Exclude(csOpaque);
    }
    Invalidate();
}

void TImage::Paint() {
    if (IsDesigning()) {
        FCanvas->Pen()->SetStyle(psDash);
        FCanvas->Brush()->SetStyle(bsClear);
        FCanvas->Rectangle(ClientRect());
    }
    TGraphic* graphic = FPicture->Graphic();
    if (graphic && !graphic->Empty()) FCanvas->StretchDraw(DestRect(), graphic);
}

// ============================================================================
// TBevel
// ============================================================================

TClass TBevel::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBevel>("TBevel")
                                       .Publish(kControlProperties)
                                       .Prop("Shape", &TBevel::FShape, &TBevel::SetShape)
                                       .Default(bsBox)
                                       .Prop("Style", &TBevel::FStyle, &TBevel::SetStyle)
                                       .Default(bsLowered)
                                       .Build();
    return &info;
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    // No caption of its own.
    FControlStyle.Exclude(csSetCaption);
    FControlStyle.Include(csReplicatable);
    FWidth = 50;
    FHeight = 50;
}

void TBevel::SetShape(TBevelShape value) {
    if (FShape == value) return;
    FShape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    Invalidate();
}

void TBevel::Paint() {
    TColor color1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor color2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    TCanvas* c = FCanvas;
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    auto bevelRect = [&](TRect r, TColor first, TColor second) {
        c->Pen()->SetColor(first);
        const TPoint topLeft[] = {Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)};
        c->Polyline(topLeft);
        c->Pen()->SetColor(second);
        const TPoint bottomRight[] = {Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left, r.Bottom)};
        c->Polyline(bottomRight);
    };
    auto bevelLine = [&](TColor color, int x1, int y1, int x2, int y2) {
        c->Pen()->SetColor(color);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    int w = FWidth, h = FHeight;
    switch (FShape) {
    case bsBox: bevelRect(Rect(0, 0, w - 1, h - 1), color1, color2); break;
    case bsFrame:
        // Two boxes one pixel apart: the groove (or ridge) of a frame.
        bevelRect(Rect(1, 1, w - 1, h - 1), color2, color2);
        bevelRect(Rect(0, 0, w - 2, h - 2), color1, color1);
        break;
    case bsTopLine:
        bevelLine(color1, 0, 0, w, 0);
        bevelLine(color2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        bevelLine(color1, 0, h - 2, w, h - 2);
        bevelLine(color2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        bevelLine(color1, 0, 0, 0, h);
        bevelLine(color2, 1, 0, 1, h);
        break;
    case bsRightLine:
        bevelLine(color1, w - 2, 0, w - 2, h);
        bevelLine(color2, w - 1, 0, w - 1, h);
        break;
    case bsSpacer: break;
    }
}

// ============================================================================
// TGroupButton, TCustomRadioGroup
// ============================================================================

TClass TGroupButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGroupButton>("TGroupButton")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Publish({"TabStop", "Alignment", "Checked"})
                                       .Build();
    return &info;
}

TGroupButton::TGroupButton(TCustomRadioGroup* group) : TRadioButton(group), FGroup(group) {
    group->FButtons.push_back(this);
    FVisible = false;
    FEnabled = group->Enabled();
    FParentShowHint = false;
    OnClick = TNotifyEvent::Bind<&TCustomRadioGroup::ButtonClick>(group);
    SetParent(group);
}

TGroupButton::~TGroupButton() {
    if (FGroup) std::erase(FGroup->FButtons, this);
}

void TGroupButton::Click() {
    if (FInClick) return;
    FInClick = true;
    try {
        if (!FGroup || FGroup->CanModify()) TRadioButton::Click();
    } catch (...) {
        if (Application) Application->HandleException(this);
    }
    FInClick = false;
}

void TGroupButton::KeyDown(Word& key, TShiftState shift) {
    TRadioButton::KeyDown(key, shift);
    if (FGroup) FGroup->KeyDown(key, shift);
}

void TGroupButton::KeyPress(char& key) {
    TRadioButton::KeyPress(key);
    if (!FGroup) return;
    FGroup->KeyPress(key);
    if ((key == '\b' || key == ' ') && !FGroup->CanModify()) key = 0;
}

TClass TCustomRadioGroup::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TCustomRadioGroup>("TCustomRadioGroup")
            .Declare("Columns", &TCustomRadioGroup::FColumns, &TCustomRadioGroup::SetColumns)
            .Default(1)
            .Declare("ItemIndex", &TCustomRadioGroup::FItemIndex, &TCustomRadioGroup::SetItemIndex)
            .Default(-1)
            .Declare("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems)
            .Build();
    return &info;
}

TClass TRadioGroup::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TRadioGroup>("TRadioGroup")
            .Publish(
                {"Action",      "Align",      "Anchors",        "Caption",      "Color",          "Cursor",
                 "DragCursor",  "DragKind",   "DragMode",       "Enabled",      "Font",           "Hint",
                 "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu",    "ShowHint",       "Visible",
                 "OnClick",     "OnDblClick", "OnDragDrop",     "OnDragOver",   "OnEndDrag",      "OnMouseDown",
                 "OnMouseMove", "OnMouseUp",  "OnMouseEnter",   "OnMouseLeave", "OnResize",       "OnStartDrag",
                 "TabOrder",    "TabStop",    "DoubleBuffered", "DockSite",     "UseDockManager", "OnEnter",
                 "OnExit",      "OnKeyDown",  "OnKeyPress",     "OnKeyUp",      "Ctl3D",          "ParentBackground",
                 "Columns",     "ItemIndex",  "Items"})
            .Build();
    return &info;
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
    FControlStyle = {csSetCaption, csDoubleClicks, csParentBackground};
    FItems = new TStringList;
    FItems->OnChange = TNotifyEvent::Bind<&TCustomRadioGroup::ItemsChange>(this);
}

TCustomRadioGroup::~TCustomRadioGroup() {
    // The buttons go while the group can still take them off its list.
    std::vector<TGroupButton*> buttons;
    buttons.swap(FButtons);
    for (TGroupButton* b : buttons) {
        b->FGroup = nullptr;
        b->Free();
    }
    FItems->OnChange = nullptr;
    delete FItems;
}

TRadioButton* TCustomRadioGroup::Buttons(int index) const {
    if (index < 0 || index >= int(FButtons.size())) RaiseListIndexError(index);
    return FButtons[size_t(index)];
}

void TCustomRadioGroup::SetColumns(int value) {
    value = std::clamp(value, 1, 16);
    if (FColumns == value) return;
    FColumns = value;
    ArrangeButtons();
    Invalidate();
}

void TCustomRadioGroup::SetItemIndex(int value) {
    if (IsLoading()) {
        // The lines may still follow in the layout.
        FItemIndex = value;
        return;
    }
    value = std::clamp(value, -1, int(FButtons.size()) - 1);
    if (FItemIndex == value) return;
    if (FItemIndex >= 0 && FItemIndex < int(FButtons.size())) FButtons[size_t(FItemIndex)]->SetChecked(false);
    FItemIndex = value;
    // Checking the button runs ButtonClick, and so OnClick.
    if (FItemIndex >= 0) FButtons[size_t(FItemIndex)]->SetChecked(true);
}

void TCustomRadioGroup::ButtonClick(TObject* sender) {
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), sender);
    if (it == FButtons.end()) return;
    FItemIndex = int(it - FButtons.begin());
    Click();
}

void TCustomRadioGroup::ItemsChange(TObject*) {
    if (IsLoading()) return;
    if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
    UpdateButtons();
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    FItemIndex = std::clamp(FItemIndex, -1, FItems->Count() - 1);
    UpdateButtons();
}

void TCustomRadioGroup::SetButtonCount(int count) {
    while (int(FButtons.size()) < count) new TGroupButton(this);
    while (int(FButtons.size()) > count) FButtons.back()->Free();
}

void TCustomRadioGroup::UpdateButtons() {
    SetButtonCount(FItems->Count());
    for (size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->SetCaption(FItems->Strings(int(i)));
    {
        TScopeExit done([this] { FUpdating = false; });
        FUpdating = true;
        for (size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->SetChecked(int(i) == FItemIndex);
    }
    ArrangeButtons();
    Invalidate();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (FButtons.empty()) return;
    TEXTMETRICA metrics{};
    {
        TScreenDC screen;
        HGDIOBJ old = SelectObject(screen.Handle(), FFont->Handle());
        GetTextMetricsA(screen.Handle(), &metrics);
        SelectObject(screen.Handle(), old);
    }
    int count = int(FButtons.size());
    int perColumn = (count + FColumns - 1) / FColumns;
    int buttonWidth = (FWidth - 10) / FColumns;
    int space = FHeight - metrics.tmHeight - 5;
    int buttonHeight = space / perColumn;
    int topMargin = metrics.tmHeight + 1 + (space % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        TGroupButton* b = FButtons[size_t(i)];
        b->SetBounds((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin, buttonWidth,
                     buttonHeight);
        b->SetVisible(true);
    }
}

void TCustomRadioGroup::Resize() {
    ArrangeButtons();
    TCustomGroupBox::Resize();
}

void TCustomRadioGroup::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_ENABLEDCHANGED: return CMEnabledChanged(m);
    case CM_FONTCHANGED: return CMFontChanged(m);
    default: return TCustomGroupBox::WndProc(m);
    }
}

void TCustomRadioGroup::CMEnabledChanged(TMessage& m) {
    TCustomGroupBox::WndProc(m);
    for (TGroupButton* b : FButtons) b->SetEnabled(FEnabled);
}

void TCustomRadioGroup::CMFontChanged(TMessage& m) {
    TCustomGroupBox::WndProc(m);
    ArrangeButtons();
}

// ============================================================================
// TPaintBox
// ============================================================================

TClass TPaintBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPaintBox>("TPaintBox")
                                       .Publish(kControlProperties)
                                       .Prop("OnPaint", &TPaintBox::OnPaint, &TPaintBox::OnPaint)
                                       .Build();
    return &info;
}

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
    // No caption of its own.
    FControlStyle.Exclude(csSetCaption);
    FControlStyle.Include(csReplicatable);
    FWidth = 105;
    FHeight = 105;
}

void TPaintBox::Paint() {
    FCanvas->SetFont(FFont);
    FCanvas->Brush()->SetColor(FColor);
    if (IsDesigning()) {
        FCanvas->Pen()->SetStyle(psDash);
        FCanvas->Brush()->SetStyle(bsClear);
        FCanvas->Rectangle(ClientRect());
    }
    OnPaint(this);
}
