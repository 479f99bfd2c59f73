#include "components/controls/combo_box_win.h"

#include "classlib/core/scopes.h"
#include "classlib/ui/themes.h"
#include "components/controls/system_tests_win.h"
#include "components/foundation/version_text.h"
#include "components/foundation/visual_styles_win.h"

namespace {

bool MouseButtonDown() { return GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0; }

void FrameIn(HDC dc, const TRect& r, TColor color) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
    const RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    FrameRect(dc, &rect, brush);
    DeleteObject(brush);
}

TRect Shrunk(const TRect& r, int by) { return Rect(r.Left + by, r.Top + by, r.Right - by, r.Bottom - by); }

}  // namespace

class TLumCustomCombo::TAttachedLabel : public TLabel {
public:
    explicit TAttachedLabel(TLumCustomCombo* combo) : TLabel(combo), FCombo(combo) {}
    ~TAttachedLabel() override {
        if (FCombo->FLabel == this) FCombo->FLabel = nullptr;
    }

private:
    TLumCustomCombo* FCombo;
};

TClass TLumCustomCombo::StaticClass() {
    using C = TLumCustomCombo;
    static const TClassInfo info =
        TClassBuilder<C>("TLumCustomCombo")
            .Declare("AutoFocus", &C::FAutoFocus, &C::SetAutoFocus)
            .Default(false)
            .Declare("ButtonWidth", &C::FButtonWidth, &C::SetButtonWidth)
            .Default(19)
            .Declare("DisabledBorder", &C::FDisabledBorder, &C::SetDisabledBorder)
            .Default(true)
            .Declare("Flat", &C::FFlat, &C::SetFlat)
            .Default(false)
            .Declare("FlatLineColor", &C::FFlatLineColor, &C::SetFlatLineColor)
            .Default(clBlack)
            .Declare("FlatParentColor", &C::FFlatParentColor, &C::SetFlatParentColor)
            .Default(true)
            .Declare("Etched", &C::FEtched, &C::SetEtched)
            .Default(false)
            .Declare("FocusBorder", &C::FFocusBorder, &C::SetFocusBorder)
            .Default(false)
            .Declare("FocusBorderColor", &C::FFocusBorderColor, &C::SetFocusBorderColor)
            .Default(clNone)
            .Declare("FocusColor", &C::FFocusColor, &C::SetFocusColor)
            .Default(clNone)
            .Declare("FocusLabel", &C::FFocusLabel, &C::SetFocusLabel)
            .Default(false)
            .Declare("DropWidth", &C::FDropWidth, &C::SetDropWidth)
            .Default(0)
            .Declare("LabelCaption", &C::LabelCaption, &C::SetLabelCaption)
            .Default(String())
            .Declare("LabelPosition", &C::FLabelPosition, &C::SetLabelPosition)
            .Default(lpLeftTop)
            .Declare("LabelMargin", &C::FLabelMargin, &C::SetLabelMargin)
            .Default(4)
            .Declare("LabelTransparent", &C::FLabelTransparent, &C::SetLabelTransparent)
            .Default(false)
            .Declare("LabelAlwaysEnabled", &C::FLabelAlwaysEnabled, &C::SetLabelAlwaysEnabled)
            .Default(false)
            .Declare("LabelFont", &C::FLabelFont, &C::SetLabelFont)
            .Declare("Color", &C::ComboColor, &C::SetComboColor)
            .Default(clWindow)
            .Declare("Version", &C::Version, &C::SetVersion)
            .Stored(false)
            .Declare("OnDropUp", &C::OnDropUp, &C::OnDropUp)
            .Build();
    return &info;
}

TClass TLumComboBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TLumComboBox>("TLumComboBox")
                                       .Publish(kControlProperties)
                                       .Publish(kWinControlProperties)
                                       .Publish({"TabStop",
                                                 "Style",
                                                 "Ctl3D",
                                                 "DropDownCount",
                                                 "Sorted",
                                                 "ItemIndex",
                                                 "Text",
                                                 "Items",
                                                 "OnChange",
                                                 "OnCloseUp",
                                                 "OnDropDown",
                                                 "OnSelect",
                                                 "AutoComplete",
                                                 "AutoFocus",
                                                 "ButtonWidth",
                                                 "DisabledBorder",
                                                 "Flat",
                                                 "FlatLineColor",
                                                 "FlatParentColor",
                                                 "Etched",
                                                 "FocusBorder",
                                                 "FocusBorderColor",
                                                 "FocusColor",
                                                 "FocusLabel",
                                                 "DropWidth",
                                                 "LabelCaption",
                                                 "LabelPosition",
                                                 "LabelMargin",
                                                 "LabelTransparent",
                                                 "LabelAlwaysEnabled",
                                                 "LabelFont",
                                                 "Color",
                                                 "Version",
                                                 "OnDropUp"})
                                       .Build();
    return &info;
}

TLumCustomCombo::TLumCustomCombo(TComponent* owner) : TCustomComboBox(owner) {
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsWinXP = IsWinXP();
    FCommonControls6 = CommonControlsMajorVersion() > 5;
    FLabelFont = new TFont;
    FLabelFont->OnChange = TNotifyEvent::Bind<&TLumCustomCombo::LabelFontChanged>(this);
}

TLumCustomCombo::~TLumCustomCombo() {
    // The label tells this box when it goes, whoever frees it.
    if (FLabel) FLabel->Free();
    delete FLabelFont;
}

String TLumCustomCombo::Version() const { return PackedVersionText(GetVersionNr()); }

bool TLumCustomCombo::Themed() const { return FCommonControls6 && ControlsThemeActive(); }

bool TLumCustomCombo::Hot() const {
    if (IsDesigning()) return FEnabled;
    return FMouseIn || (Screen && Screen->ActiveControl() == this);
}

bool TLumCustomCombo::CustomPainting() const {
    return FFlat || (FFocusBorderColor != clNone && FFocused) || (!FEnabled && Themed() && !FDisabledBorder);
}

// ---- Writers ----

void TLumCustomCombo::SetButtonWidth(int value) {
    if (!IsComboButtonWidthAllowed(value) || value == FButtonWidth) return;
    FButtonWidth = value;
    Invalidate();
}

void TLumCustomCombo::SetDisabledBorder(bool value) {
    if (FDisabledBorder == value) return;
    FDisabledBorder = value;
    Invalidate();
}

void TLumCustomCombo::SetFlat(bool value) {
    if (FFlat == value) return;
    FFlat = value;
    SetCtl3D(!value);
    if (FFlatParentColor && FFlat && FParent)
        SetComboColor(FParent->Brush()->Color());
    else
        SetComboColor(FLoadedColor);
    Invalidate();
}

void TLumCustomCombo::SetFlatLineColor(TColor value) {
    FFlatLineColor = value;
    Invalidate();
}

void TLumCustomCombo::SetFlatParentColor(bool value) {
    FFlatParentColor = value;
    Invalidate();
}

void TLumCustomCombo::SetEtched(bool value) {
    if (FEtched == value) return;
    FEtched = value;
    Invalidate();
}

void TLumCustomCombo::SetDropWidth(int value) {
    FDropWidth = value;
    if (value > 0 && FHandle) SendMessageA(FHandle, CB_SETDROPPEDWIDTH, WPARAM(value), 0);
}

void TLumCustomCombo::SetComboColor(TColor value) {
    if (IsLoading()) FLoadedColor = value;
    SetColor(value);
}

void TLumCustomCombo::SetEnabled(bool value) {
    const bool changed = value != FEnabled;
    TCustomComboBox::SetEnabled(value);
    if (IsLoading() || IsDesigning() || !changed) return;
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(value);
    PlaceLabel();
}

void TLumCustomCombo::SetVisible(bool value) {
    TCustomComboBox::SetVisible(value);
    if (FLabel) FLabel->SetVisible(value);
}

// ---- The label ----

String TLumCustomCombo::LabelCaption() const { return FLabel ? FLabel->Caption() : String(); }

void TLumCustomCombo::SetLabelCaption(const String& value) {
    if (!FLabel) {
        FLabel = NewObject<TAttachedLabel>(this);
        FLabel->SetParent(FParent);
        FLabel->SetFocusControl(this);
        FLabel->SetFont(FLabelFont);
        FLabel->SetParentFont(FParentFont);
    }
    FLabel->SetCaption(value);
    PlaceLabel();
}

void TLumCustomCombo::SetLabelPosition(TLabelPosition value) {
    FLabelPosition = value;
    PlaceLabel();
}

void TLumCustomCombo::SetLabelMargin(int value) {
    FLabelMargin = value;
    PlaceLabel();
}

void TLumCustomCombo::SetLabelTransparent(bool value) {
    FLabelTransparent = value;
    PlaceLabel();
}

void TLumCustomCombo::SetLabelAlwaysEnabled(bool value) {
    FLabelAlwaysEnabled = value;
    PlaceLabel();
}

void TLumCustomCombo::LabelFontChanged(TObject*) {
    PlaceLabel();
    if (IsDesigning()) SetParentFont(false);
}

void TLumCustomCombo::PlaceLabel() {
    if (!FLabel) return;
    if (FLabel->Parent() != FParent) FLabel->SetParent(FParent);
    FLabel->SetTransparent(FLabelTransparent);
    if (!FParentFont) FLabel->SetFont(FLabelFont);
    const TSize size{FLabel->Width(), FLabel->Height()};
    const TPoint p = ComboLabelPlace(FLabelPosition, BoundsRect(), size, FLabel->TextSize().cx, FLabelMargin);
    FLabel->SetBounds(p.X, p.Y, size.cx, size.cy);
    FLabel->SetVisible(FVisible);
}

void TLumCustomCombo::SetLabelBold(bool bold) {
    if (!FLabel) return;
    TFontStyles style = FLabel->Font()->Style();
    if (bold)
        style.Include(fsBold);
    else
        style.Exclude(fsBold);
    FLabel->Font()->SetStyle(style);
}

void TLumCustomCombo::Notification(TComponent* component, TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation == opRemove && component == FLabel) FLabel = nullptr;
}

void TLumCustomCombo::SetBounds(int left, int top, int width, int height) {
    TCustomComboBox::SetBounds(left, top, width, height);
    if (!IsDestroying()) PlaceLabel();
}

void TLumCustomCombo::Loaded() {
    TCustomComboBox::Loaded();
    PlaceLabel();
    if (FDropWidth > 0) SetDropWidth(FDropWidth);
    FSavedColor = FLoadedColor;
    if (!FFlatParentColor || FFlat) SetColor(FLoadedColor);
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(FEnabled);
    FNormalColor = FColor;
}

// ---- Painting ----

void TLumCustomCombo::DrawDropButton(HDC dc) {
    const TRect client = ClientRect();
    RECT window{};
    GetWindowRect(FHandle, &window);
    TRect r = Rect(client.Width() - FButtonWidth + 2, 0, window.right - window.left, window.bottom - window.top);
    r = Shrunk(r, 1);
    bool drawn = false;
    if (Themed()) {
        TThemeData theme(FHandle, "COMBOBOX");
        drawn = theme.DrawBackground(dc, 1,
                                     ComboDropButtonState(FEnabled, MouseButtonDown(), DroppedDown(), FButtonHot), r);
    }
    if (!drawn) {
        RECT rect{r.Left, r.Top, r.Right, r.Bottom};
        DrawFrameControl(dc, &rect, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (FEnabled ? DFCS_FLAT : DFCS_INACTIVE));
    }
    ExcludeClipRect(dc, client.Width() - FButtonWidth - 4, 0, client.Width() + 2, client.Height());
}

void TLumCustomCombo::DrawBorder() {
    if (!FHandle || (FEnabled && !FFlat && FFocusBorderColor == clNone)) return;
    HDC dc = GetWindowDC(FHandle);
    TScopeExit release([&] { ReleaseDC(FHandle, dc); });
    RECT window{};
    GetWindowRect(FHandle, &window);
    TRect r = Rect(0, 0, window.right - window.left, window.bottom - window.top);
    const TRect client = ClientRect();

    if (FEnabled || !FCommonControls6 || FDisabledBorder) {
        if (FFocusBorderColor == clNone) {
            const bool sunken = FFocusBorder && Hot() && !IsDesigning();
            const TColor outer = sunken ? clBtnFace : (FParent ? FParent->Brush()->Color() : clBtnFace);
            const TColor inner = FColor;
            if (sunken) {
                RECT edge{r.Left, r.Top, r.Right, r.Bottom};
                DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
                r = Rect(edge.left, edge.top, edge.right, edge.bottom);
                FrameIn(dc, r, outer);
                r = Shrunk(r, 1);
                FrameIn(dc, r, inner);
            } else {
                FrameIn(dc, r, outer);
                r = Shrunk(r, 1);
                FrameIn(dc, Rect(r.Left, r.Top, r.Right - FButtonWidth, r.Bottom), outer);
                r = Shrunk(r, 1);
                FrameIn(dc, Rect(r.Left, r.Top, r.Right - FButtonWidth, r.Bottom), inner);
            }
            if (FFlat && FFlatLineColor != clNone) {
                HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(FFlatLineColor));
                HGDIOBJ old = SelectObject(dc, pen);
                MoveToEx(dc, r.Left - 2, FHeight - 1, nullptr);
                LineTo(dc, r.Right - FButtonWidth - 1, FHeight - 1);
                SelectObject(dc, old);
                DeleteObject(pen);
            }
        } else if (FFocused) {
            FrameIn(dc, r, FFocusBorderColor);
        }
    } else {
        FrameIn(dc, r, TColor(0xB99D7F));
    }

    if (Style() == csSimple || (FIsWinXP && Themed())) return;
    ExcludeClipRect(dc, client.Width() - FButtonWidth + 4, 4, client.Width() - 4, client.Height() - 4);
    TRect b =
        Shrunk(Rect(client.Width() - FButtonWidth - 2, 0, window.right - window.left, window.bottom - window.top), 2);
    RECT button{b.Left, b.Top, b.Right, b.Bottom};
    if (Hot()) {
        DrawEdge(dc, &button, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (DroppedDown() ? BF_FLAT : 0));
    } else {
        button.top += 1;
        button.bottom -= 1;
        button.right -= 1;
        FillRect(dc, &button, GetSysColorBrush(COLOR_BTNFACE));
    }
    ExcludeClipRect(dc, button.left, button.top, button.right, button.bottom);
}

void TLumCustomCombo::RefreshWidth() {
    if (!FIsWinXP) return;
    SetWidth(FWidth + 1);
    SetWidth(FWidth - 1);
}

void TLumCustomCombo::RestoreNormalColor() {
    if (FFocusColor != clNone && FNormalColor != clNone) SetColor(FNormalColor);
}

// ---- Messages ----

void TLumCustomCombo::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_ENTER: return CMEnter(m);
    case CM_EXIT: return CMExit(m);
    case CM_MOUSEENTER: return CMMouseEnter(m);
    case CM_MOUSELEAVE: return CMMouseLeave(m);
    case CM_ENABLEDCHANGED: return CMEnabledChanged(m);
    case CM_PARENTFONTCHANGED: return CMParentFontChanged(m);
    case CN_COMMAND: return CNCommand(m);
    case WM_NCPAINT: return WMNCPaint(m);
    case WM_PAINT: return WMPaint(m);
    case WM_SETFOCUS: return WMSetFocus(m);
    case WM_KILLFOCUS: return WMKillFocus(m);
    default: return TCustomComboBox::WndProc(m);
    }
}

void TLumCustomCombo::CMEnter(TMessage& m) {
    // The class library fires OnEnter; the program refills its lists there.
    TCustomComboBox::WndProc(m);
    if (IsDesigning()) return;
    FFocused = true;
    DrawBorder();
    if (FFocusColor != clNone) SetColor(FFocusColor);
    if (FFocusLabel) SetLabelBold(true);
}

void TLumCustomCombo::CMExit(TMessage& m) {
    TCustomComboBox::WndProc(m);
    if (IsDesigning()) return;
    FFocused = false;
    DrawBorder();
    RestoreNormalColor();
    SetLabelBold(false);
}

void TLumCustomCombo::WMSetFocus(TMessage& m) {
    TCustomComboBox::WndProc(m);
    if (FFocusBorderColor != clNone) Invalidate();
    if (FFocusColor != clNone) {
        SetColor(FFocusColor);
        RefreshWidth();
    }
    if (FFocusLabel) SetLabelBold(true);
}

void TLumCustomCombo::WMKillFocus(TMessage& m) {
    TCustomComboBox::WndProc(m);
    if (FFocusColor != clNone && FNormalColor != clNone) {
        SetColor(FNormalColor);
        RefreshWidth();
    }
    SetLabelBold(false);
    Invalidate();
}

void TLumCustomCombo::CMMouseEnter(TMessage& m) {
    TCustomComboBox::WndProc(m);
    if (FMouseIn || !FEnabled) return;
    FMouseIn = true;
    DrawBorder();
    if (FAutoFocus && !IsDesigning()) {
        TCustomForm* form = GetParentForm(this);
        if ((!form || (form->HandleAllocated() && GetActiveWindow() == form->Handle())) && CanFocus()) SetFocus();
    }
    if (FIsWinXP) Invalidate();
}

void TLumCustomCombo::CMMouseLeave(TMessage& m) {
    TCustomComboBox::WndProc(m);
    if (!FMouseIn || !FEnabled) return;
    FMouseIn = false;
    DrawBorder();
    if (FIsWinXP) {
        FButtonHot = false;
        Invalidate();
    }
}

void TLumCustomCombo::MouseMove(TShiftState shift, int x, int y) {
    TCustomComboBox::MouseMove(shift, x, y);
    const bool hot = FWidth - FButtonWidth < x && x < FWidth;
    if (hot == FButtonHot) return;
    FButtonHot = hot;
    Invalidate();
}

void TLumCustomCombo::CMEnabledChanged(TMessage& m) {
    if (FFlat && !IsLoading()) {
        if (!FEnabled) {
            FSavedColor = FColor;
            FSavedParentColor = FParentColor;
            SetParentColor(true);
        } else {
            SetColor(FSavedColor);
            SetParentColor(FSavedParentColor);
        }
    }
    TCustomComboBox::WndProc(m);
}

void TLumCustomCombo::CMParentFontChanged(TMessage& m) {
    TCustomComboBox::WndProc(m);
    PlaceLabel();
}

void TLumCustomCombo::CNCommand(TMessage& m) {
    TCustomComboBox::WndProc(m);
    const WORD code = HIWORD(m.WParam);
    if (code != CBN_DROPDOWN && code != CBN_CLOSEUP) return;
    if (FHandle) {
        const TRect client = ClientRect();
        const RECT strip{client.Right - FButtonWidth, client.Top, client.Right, client.Bottom};
        InvalidateRect(FHandle, &strip, FALSE);
    }
    if (code == CBN_CLOSEUP) OnDropUp(this);
}

void TLumCustomCombo::WMNCPaint(TMessage& m) {
    TCustomComboBox::WndProc(m);
    if (FFlat || (!FEnabled && Themed() && !FDisabledBorder) || (FFocusBorderColor != clNone && Focused()))
        DrawBorder();
}

void TLumCustomCombo::WMPaint(TMessage& m) {
    if (!CustomPainting()) return TCustomComboBox::WndProc(m);
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    PAINTSTRUCT ps{};
    const bool own = dc == nullptr;
    if (own) dc = BeginPaint(FHandle, &ps);
    {
        const int saved = SaveDC(dc);
        if (Style() != csSimple) {
            const TRect client = ClientRect();
            const RECT r{client.Left, client.Top, client.Right, client.Bottom};
            FillRect(dc, &r, FBrush->Handle());
            DrawDropButton(dc);
        }
        TMessage paint;
        paint.Msg = WM_PAINT;
        paint.WParam = WPARAM(dc);
        DefaultHandler(paint);
        RestoreDC(dc, saved);
    }
    if (own) EndPaint(FHandle, &ps);
    DrawBorder();
}
