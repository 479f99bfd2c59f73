#include "components/controls/lum_panel_win.h"

#include <algorithm>

#include "classlib/core/clock.h"
#include "classlib/core/filer.h"
#include "classlib/os/registry_ini.h"
#include "classlib/os/shell.h"
#include "classlib/ui/forms.h"
#include "components/controls/lum_panel_styler_win.h"
#include "components/controls/panel_shading_win.h"
#include "components/foundation/html_text_win.h"
#include "components/foundation/visual_styles_win.h"

using LumPanel::cpLeft;
using LumPanel::cpTop;

// ============================================================================
// Text
// ============================================================================

TPanelTextResult DrawPanelText(TCanvas* canvas, const String& text, const TRect& rect, const TPanelTextStyle& style,
                               TPanelTextMode mode, TPoint point) {
    TPanelTextResult result;
    String anchor, plain, focused;
    int width = 0, height = 0, links = 0, mouseLink = -1;
    TRect linkRect;
    if (mode == ptmHitTest) {
        // The search takes fixed colours: only the layout matters.
        DrawHtmlText(canvas, text, rect, style.Images, point.X, point.Y, -1, -1, 2, true, false, false, false, true,
                     false, true, 1.0, style.URLColor, TColor(0xFF0000), TColor(0x0000FF), TColor(0x808080), anchor,
                     plain, focused, width, height, links, mouseLink, linkRect, style.PictureCache,
                     style.PictureContainer, style.LineSpacing);
        result.Anchor = anchor;
        result.AnchorIndex = anchor.empty() ? -1 : mouseLink;
        result.AnchorRect = linkRect;
    } else {
        DrawHtmlText(canvas, text, rect, style.Images, 0, 0, -1, style.HoverIndex, style.ShadowOffset, mode == ptmPlace,
                     mode == ptmMeasure, false, false, false, style.Hover, style.WordWrap, 1.0, style.URLColor,
                     style.HoverColor, style.HoverFontColor, style.ShadowColor, anchor, plain, focused, width, height,
                     links, mouseLink, linkRect, style.PictureCache, style.PictureContainer, style.LineSpacing);
    }
    result.Extent = {width, height};
    return result;
}

// ============================================================================
// The panel
// ============================================================================

namespace {

// The stored layout's writer and reader see only what the table below
// publishes; these are the class library's lists without "Caption", which
// is the caption band here.
std::vector<const char*> WithoutCaption(std::initializer_list<const char*> names) {
    std::vector<const char*> out;
    for (const char* n : names)
        if (String(n) != "Caption") out.push_back(n);
    return out;
}

template <class B>
B& PublishAll(B& builder, const std::vector<const char*>& names) {
    for (const char* n : names) builder.Publish(n);
    return builder;
}

}  // namespace

TClass TCustomLumPanel::StaticClass() {
    using C = TCustomLumPanel;
    static const TClassInfo info = TClassBuilder<C>("TCustomLumPanel")
                                       .Declare("AnchorHint", &C::AnchorHint, &C::SetAnchorHint)
                                       .Default(false)
                                       .Declare("AutoSize", &C::AutoSize, &C::SetAutoSize)
                                       .Declare("AutoHideChildren", &C::AutoHideChildren, &C::SetAutoHideChildren)
                                       .Default(true)
                                       .Declare("Background", &C::Background, &C::SetBackground)
                                       .Declare("BackgroundPosition", &C::BackgroundPosition, &C::SetBackgroundPosition)
                                       .Default(bpTopLeft)
                                       .Declare("BorderColor", &C::BorderColor, &C::SetBorderColor)
                                       .Default(clBlack)
                                       .Declare("BorderShadow", &C::BorderShadow, &C::SetBorderShadow)
                                       .Default(false)
                                       .Declare("Buffered", &C::Buffered, &C::SetBuffered)
                                       .Default(true)
                                       .Declare("CanMove", &C::CanMove, &C::SetCanMove)
                                       .Default(false)
                                       .Declare("CanSize", &C::CanSize, &C::SetCanSize)
                                       .Default(false)
                                       .Declare("Caption", &C::Caption, &C::SetCaption)
                                       .Declare("Collaps", &C::Collaps, &C::SetCollaps)
                                       .Default(false)
                                       .Declare("CollapsColor", &C::CollapsColor, &C::SetCollapsColor)
                                       .Default(TColor(0x808080))
                                       .Declare("CollapsDelay", &C::CollapsDelay, &C::SetCollapsDelay)
                                       .Default(20)
                                       .Declare("CollapsSteps", &C::CollapsSteps, &C::SetCollapsSteps)
                                       .Default(0)
                                       .Declare("ColorTo", &C::ColorTo, &C::SetColorTo)
                                       .Default(clNone)
                                       .Declare("ColorMirror", &C::ColorMirror, &C::SetColorMirror)
                                       .Default(clNone)
                                       .Declare("ColorMirrorTo", &C::ColorMirrorTo, &C::SetColorMirrorTo)
                                       .Default(clNone)
                                       .Declare("Ellipsis", &C::Ellipsis, &C::SetEllipsis)
                                       .Default(false)
                                       .Declare("FixedTop", &C::FixedTop, &C::SetFixedTop)
                                       .Default(false)
                                       .Declare("FixedLeft", &C::FixedLeft, &C::SetFixedLeft)
                                       .Default(false)
                                       .Declare("FixedHeight", &C::FixedHeight, &C::SetFixedHeight)
                                       .Default(false)
                                       .Declare("FixedWidth", &C::FixedWidth, &C::SetFixedWidth)
                                       .Default(false)
                                       .Declare("FreeOnClose", &C::FreeOnClose, &C::SetFreeOnClose)
                                       .Default(false)
                                       .Declare("GradientDirection", &C::GradientDirection, &C::SetGradientDirection)
                                       .Default(gdVertical)
                                       .Declare("Height", &C::FHeight, &C::SetHeight)
                                       .Declare("Width", &C::FWidth, &C::SetWidth)
                                       .Declare("Hover", &C::Hover, &C::SetHover)
                                       .Default(false)
                                       .Declare("HoverColor", &C::HoverColor, &C::SetHoverColor)
                                       .Default(clNone)
                                       .Declare("HoverFontColor", &C::HoverFontColor, &C::SetHoverFontColor)
                                       .Default(clNone)
                                       .Declare("Images", &C::Images, &C::SetImages)
                                       .Declare("Indent", &C::Indent, &C::SetIndent)
                                       .Default(0)
                                       .Declare("TopIndent", &C::TopIndent, &C::SetTopIndent)
                                       .Default(0)
                                       .Declare("PictureContainer", &C::PictureContainer, &C::SetPictureContainer)
                                       .Declare("LineSpacing", &C::LineSpacing, &C::SetLineSpacing)
                                       .Default(0)
                                       .Declare("Position", &C::Position, &C::SetPosition)
                                       .Declare("ShadowColor", &C::ShadowColor, &C::SetShadowColor)
                                       .Default(TColor(0x808080))
                                       .Declare("ShadowOffset", &C::ShadowOffset, &C::SetShadowOffset)
                                       .Default(2)
                                       .Declare("ShowMoveCursor", &C::ShowMoveCursor, &C::SetShowMoveCursor)
                                       .Default(false)
                                       .Declare("StatusBar", &C::StatusBar, &C::SetStatusBar)
                                       .Declare("Styler", &C::Styler, &C::SetStyler)
                                       .Declare("Text", &C::Text, &C::SetText)
                                       .Declare("TextVAlign", &C::TextVAlign, &C::SetTextVAlign)
                                       .Default(tvaTop)
                                       .Declare("URLColor", &C::URLColor, &C::SetURLColor)
                                       .Default(clBlue)
                                       .Declare("Version", &C::Version, [](C*, const String&) {})
                                       .Default("1.9.1.0")
                                       .Declare("OnCaptionClick", &C::OnCaptionClick, &C::OnCaptionClick)
                                       .Declare("OnCaptionDBlClick", &C::OnCaptionDBlClick, &C::OnCaptionDBlClick)
                                       .Declare("OnClose", &C::OnClose, &C::OnClose)
                                       .Declare("OnMinimize", &C::OnMinimize, &C::OnMinimize)
                                       .Declare("OnMaximize", &C::OnMaximize, &C::OnMaximize)
                                       .Declare("OnEndCollapsExpand", &C::OnEndCollapsExpand, &C::OnEndCollapsExpand)
                                       .Declare("OnEndMoveSize", &C::OnEndMoveSize, &C::OnEndMoveSize)
                                       .Declare("OnAnchorClick", &C::OnAnchorClick, &C::OnAnchorClick)
                                       .Declare("OnAnchorEnter", &C::OnAnchorEnter, &C::OnAnchorEnter)
                                       .Declare("OnAnchorExit", &C::OnAnchorExit, &C::OnAnchorExit)
                                       .Declare("OnAnchorHint", &C::OnAnchorHint, &C::OnAnchorHint)
                                       .Declare("OnPaint", &C::OnPaint, &C::OnPaint)
                                       .Build();
    return &info;
}

// The properties the published panel shows: the class library's, then the
// panel's own.
const std::vector<const char*>& LumPanelPublished() {
    static const std::vector<const char*> names = [] {
        std::vector<const char*> n = WithoutCaption(kControlProperties);
        for (const char* p : kWinControlProperties) n.push_back(p);
        for (const char* p : {"TabStop",
                              "BevelInner",
                              "BevelOuter",
                              "BevelWidth",
                              "BorderWidth",
                              "BorderStyle",
                              "AnchorHint",
                              "AutoSize",
                              "AutoHideChildren",
                              "Background",
                              "BackgroundPosition",
                              "BorderColor",
                              "BorderShadow",
                              "Buffered",
                              "CanMove",
                              "CanSize",
                              "Caption",
                              "Collaps",
                              "CollapsColor",
                              "CollapsDelay",
                              "CollapsSteps",
                              "ColorTo",
                              "ColorMirror",
                              "ColorMirrorTo",
                              "Ellipsis",
                              "FixedTop",
                              "FixedLeft",
                              "FixedHeight",
                              "FixedWidth",
                              "FreeOnClose",
                              "GradientDirection",
                              "Height",
                              "Width",
                              "Hover",
                              "HoverColor",
                              "HoverFontColor",
                              "Images",
                              "PictureContainer",
                              "Indent",
                              "TopIndent",
                              "LineSpacing",
                              "Position",
                              "ShadowColor",
                              "ShadowOffset",
                              "ShowMoveCursor",
                              "StatusBar",
                              "Styler",
                              "Text",
                              "TextVAlign",
                              "URLColor",
                              "Version",
                              "OnCaptionClick",
                              "OnCaptionDBlClick",
                              "OnClose",
                              "OnMinimize",
                              "OnMaximize",
                              "OnEndCollapsExpand",
                              "OnEndMoveSize",
                              "OnAnchorClick",
                              "OnAnchorEnter",
                              "OnAnchorExit",
                              "OnAnchorHint",
                              "OnPaint"})
            n.push_back(p);
        return n;
    }();
    return names;
}

TClass TLumPanel::StaticClass() {
    static const TClassInfo info = [] {
        TClassBuilder<TLumPanel> b("TLumPanel");
        PublishAll(b, LumPanelPublished());
        // A panel's colour is the button face unless the layout says else.
        b.Publish("Color").Default(clBtnFace);
        // The window is double buffered from the start.
        b.Publish("DoubleBuffered").Default(true);
        return b.Build();
    }();
    return &info;
}

TCustomLumPanel::TCustomLumPanel(TComponent* owner)
    : TCustomPanel(owner), FAutoSize(new TAutoSize(this)), FBackground(new TLumImage), FCaption(new TPanelCaption),
      FPosition(new TPanelPosition), FStatusBar(new TPanelStatusBar), FShade(new TBitmap),
      FAlive(std::make_shared<bool>(true)) {
    FControlStyle.Exclude(csSetCaption);
    FDoubleBuffered = true;
    FCaption->OnChange = TNotifyEvent::Bind<&TCustomLumPanel::CaptionChanged>(this);
    FCaption->OnShadeChange = TNotifyEvent::Bind<&TCustomLumPanel::CaptionShadeChanged>(this);
    FCaption->OnStateChange = TNotifyEvent::Bind<&TCustomLumPanel::CaptionStateChanged>(this);
    FCaption->OnPositionChange = TNotifyEvent::Bind<&TCustomLumPanel::CaptionPositionChanged>(this);
    FStatusBar->OnChange = TNotifyEvent::Bind<&TCustomLumPanel::StatusBarChanged>(this);
    FBackground->OnChange = TNotifyEvent::Bind<&TCustomLumPanel::BackgroundChanged>(this);
    FIsWinXP = IsWinXP();
}

TCustomLumPanel::~TCustomLumPanel() {
    *FAlive = false;
    delete FPosition;
    // A window destroyed after this point writes no position.
    FPosition = nullptr;
    delete FAutoSize;
    FAutoSize = nullptr;
    delete FBackground;
    delete FCaption;
    delete FStatusBar;
    delete FShade;
}

void TCustomLumPanel::BeforeDestruction() {
    // The window goes with the panel (in the base class's destructor, where
    // its messages no longer reach this class): the position is written now.
    if (HandleAllocated()) StorePosition();
    TCustomPanel::BeforeDestruction();
}

void TCustomLumPanel::CaptionChanged(TObject*) {
    if (ControlCount() > 0) Realign();
    Invalidate();
}

void TCustomLumPanel::CaptionShadeChanged(TObject*) { BuildCaptionShade(); }

void TCustomLumPanel::CaptionStateChanged(TObject*) { PanelStateChanged(); }

void TCustomLumPanel::CaptionPositionChanged(TObject*) {
    DoAutoSize();
    BuildCaptionShade();
    Invalidate();
}

void TCustomLumPanel::StatusBarChanged(TObject*) { Invalidate(); }

void TCustomLumPanel::BackgroundChanged(TObject*) { Invalidate(); }

void TCustomLumPanel::SetText(const String& value) {
    FBodyText = value;
    Invalidate();
    DoAutoSize();
}

void TCustomLumPanel::SetBackground(TLumImage* value) {
    FBackground->Assign(value);
    Invalidate();
}

void TCustomLumPanel::SetAutoSize(TAutoSize* value) {
    if (!IsLoading()) FAutoSize->Assign(value);
}

void TCustomLumPanel::SetImages(TCustomImageList* value) {
    ReplaceReference(FImages, value);
    Invalidate();
}

void TCustomLumPanel::SetPictureContainer(TPictureContainer* value) {
    ReplaceReference(FPictureContainer, value);
    Invalidate();
}

void TCustomLumPanel::SetStyler(TLumPanelStyler* value) {
    ReplaceReference(FStyler, value);
    if (!IsLoading() && FStyler && FStyler->Settings()) ApplySettings(FStyler->Settings());
}

void TCustomLumPanel::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FImages) FImages = nullptr;
    if (component == FPictureContainer) FPictureContainer = nullptr;
    if (component == FStyler) FStyler = nullptr;
    // Compared as components: a control being freed is no control any more.
    std::erase_if(FHiddenChildren, [&](TControl* c) { return static_cast<TComponent*>(c) == component; });
}

void TCustomLumPanel::SetHeight(int value) {
    TControl::SetHeight(value);
    if (!FCollaps && !FCollapsing && FCaption->Position() == cpTop) FFullHeight = value;
}

void TCustomLumPanel::SetWidth(int value) {
    TControl::SetWidth(value);
    if (!FCollaps && !FCollapsing && FCaption->Position() == cpLeft) FFullHeight = value;
}

int TCustomLumPanel::Extent() const { return FCaption->Position() == cpTop ? FHeight : FWidth; }

void TCustomLumPanel::SetExtent(int value) {
    if (FCaption->Position() == cpTop)
        SetHeight(value);
    else
        SetWidth(value);
}

void TCustomLumPanel::DefineProperties(TFiler* filer) {
    TCustomPanel::DefineProperties(filer);
    filer->DefineProperty(
        "FullHeight", [this](TReader* r) { ReadFullHeight(r); }, [this](TWriter* w) { WriteFullHeight(w); }, true);
}

void TCustomLumPanel::ReadFullHeight(TReader* reader) { FFullHeight = int(reader->ReadInteger()); }

void TCustomLumPanel::WriteFullHeight(TWriter* writer) { writer->WriteInteger(FFullHeight); }

void TCustomLumPanel::Assign(TPersistent* source) {
    auto* s = dynamic_cast<TCustomLumPanel*>(source);
    if (!s) return TCustomPanel::Assign(source);
    SetAnchorHint(s->FAnchorHint);
    SetAutoHideChildren(s->FAutoHideChildren);
    SetBackground(s->FBackground);
    SetBackgroundPosition(s->FBackgroundPosition);
    SetBevelInner(s->BevelInner());
    SetBevelOuter(s->BevelOuter());
    SetBevelWidth(s->BevelWidth());
    SetBorderColor(s->FBorderColor);
    SetBorderShadow(s->FBorderShadow);
    SetBorderStyle(s->BorderStyle());
    SetCanMove(s->FCanMove);
    SetCanSize(s->FCanSize);
    SetCaption(s->FCaption);
    SetCollapsColor(s->FCollapsColor);
    SetCollapsDelay(s->FCollapsDelay);
    SetCollapsSteps(s->FCollapsSteps);
    SetColor(s->Color());
    SetColorTo(s->FColorTo);
    SetColorMirror(s->FColorMirror);
    SetColorMirrorTo(s->FColorMirrorTo);
    SetCursor(s->Cursor());
    SetEnabled(s->Enabled());
    SetFont(s->Font());
    SetFixedTop(s->FFixedTop);
    SetFixedLeft(s->FFixedLeft);
    SetFixedHeight(s->FFixedHeight);
    SetFixedWidth(s->FFixedWidth);
    SetFreeOnClose(s->FFreeOnClose);
    SetHeight(s->Height());
    SetHint(s->Hint());
    SetHover(s->FHover);
    SetHoverColor(s->FHoverColor);
    SetHoverFontColor(s->FHoverFontColor);
    SetImages(s->FImages);
    SetParentColor(s->ParentColor());
    SetParentFont(s->ParentFont());
    SetParentShowHint(s->ParentShowHint());
    SetPictureContainer(s->FPictureContainer);
    SetPopupMenu(s->PopupMenu());
    SetPosition(s->FPosition);
    SetStatusBar(s->FStatusBar);
    SetShadowColor(s->FShadowColor);
    SetShadowOffset(s->FShadowOffset);
    SetShowHint(s->ShowHint());
    SetShowMoveCursor(s->FShowMoveCursor);
    SetTabStop(s->TabStop());
    SetTag(s->Tag());
    SetText(s->FBodyText);
    SetTextVAlign(s->FTextVAlign);
    SetURLColor(s->FURLColor);
    SetVisible(s->Visible());
}

void TCustomLumPanel::ApplySettings(TLumPanelSettings* s) {
    if (!s) return;
    SetAnchorHint(s->AnchorHint());
    SetAutoHideChildren(s->AutoHideChildren());
    SetBevelInner(s->BevelInner());
    SetBevelOuter(s->BevelOuter());
    SetBevelWidth(s->BevelWidth());
    SetBorderColor(s->BorderColor());
    SetBorderShadow(s->BorderShadow());
    SetBorderStyle(s->BorderStyle());
    SetBorderWidth(s->BorderWidth());
    SetCanMove(s->CanMove());
    SetCanSize(s->CanSize());
    // The buttons are the panel's own.
    bool closeButton = FCaption->CloseButton();
    bool minMaxButton = FCaption->MinMaxButton();
    FCaption->Assign(s->Caption());
    FCaption->SetCloseButton(closeButton);
    FCaption->SetMinMaxButton(minMaxButton);
    SetCollapsColor(s->CollapsColor());
    SetCollapsDelay(s->CollapsDelay());
    SetCollapsSteps(s->CollapsSteps());
    SetColor(s->Color());
    SetColorTo(s->ColorTo());
    SetColorMirror(s->ColorMirror());
    SetColorMirrorTo(s->ColorMirrorTo());
    SetCursor(s->Cursor());
    SetFont(s->Font());
    SetFixedTop(s->FixedTop());
    SetFixedLeft(s->FixedLeft());
    SetFixedHeight(s->FixedHeight());
    SetFixedWidth(s->FixedWidth());
    SetHover(s->Hover());
    SetHoverColor(s->HoverColor());
    SetHoverFontColor(s->HoverFontColor());
    SetIndent(s->Indent());
    SetShadowColor(s->ShadowColor());
    SetShadowOffset(s->ShadowOffset());
    SetShowMoveCursor(s->ShowMoveCursor());
    FStatusBar->Assign(s->StatusBar());
    SetTextVAlign(s->TextVAlign());
    SetTopIndent(s->TopIndent());
    SetURLColor(s->URLColor());
}

void TCustomLumPanel::Loaded() {
    TCustomPanel::Loaded();
    // A panel stored collapsed was never collapsed here: its first expand must
    // still leave hidden the children the layout hides.
    if (FCollaps && FAutoHideChildren) RecordHiddenChildren();
    if (FPosition && FPosition->Save() && !IsDesigning() && !FPosition->Key().empty() &&
        !FPosition->Section().empty()) {
        if (FPosition->Location() == clInifile) {
            TIniFile ini(FPosition->Key());
            ReadPosition(ini);
        } else {
            TRegistryIniFile ini(FPosition->Key());
            ReadPosition(ini);
        }
    }
    FMoveOrigin = {FLeft, FTop};
    FMoveWidth = FWidth;
    FMoveHeight = FHeight;
    FOldCursor = Cursor();
    FOldColor = Color();
    if (FStyler && FStyler->Settings()) ApplySettings(FStyler->Settings());
}

// ---- Position storage ----

void TCustomLumPanel::ReadPosition(TCustomIniFile& ini) {
    const String& section = FPosition->Section();
    int top = ini.ReadInteger(section, "Top", FTop);
    int left = ini.ReadInteger(section, "Left", FLeft);
    SetBounds(left, top, FWidth, FHeight);
    SetHeight(ini.ReadInteger(section, "Height", FHeight));
    SetWidth(ini.ReadInteger(section, "Width", FWidth));
    // The form may be half made (this runs in Loaded): no animation.
    int steps = FCollapsSteps;
    FCollapsSteps = 0;
    TScopeExit restoreSteps([&] { FCollapsSteps = steps; });
    SetCollaps(ini.ReadInteger(section, "Collaps", FCollaps ? 1 : 0) == 1);
    // Without a stored value the full height stays (the height, or for a left
    // caption the width, the panel expands to).
    FFullHeight = ini.ReadInteger(section, "FullHeight", FFullHeight);
}

void TCustomLumPanel::WritePosition(TCustomIniFile& ini) {
    const String& section = FPosition->Section();
    auto* registry = dynamic_cast<TRegistryIniFile*>(&ini);
    auto write = [&](const char* ident, int value) {
        if (registry)
            registry->WriteInteger(section, ident, value);
        else
            ini.WriteInteger(section, ident, value);
    };
    write("Top", FTop);
    write("Left", FLeft);
    write("Height", FHeight);
    write("FullHeight", FFullHeight);
    write("Width", FWidth);
    write("Collaps", FCollaps ? 1 : 0);
}

void TCustomLumPanel::StorePosition() {
    if (!FPosition || !FPosition->Save() || IsDesigning() || FPosition->Key().empty() || FPosition->Section().empty())
        return;
    if (FPosition->Location() == clInifile) {
        TIniFile ini(FPosition->Key());
        WritePosition(ini);
        ini.UpdateFile();
    } else {
        TRegistryIniFile ini(FPosition->Key());
        WritePosition(ini);
    }
}

// ---- Geometry ----

bool TCustomLumPanel::Themed() const {
    const TVisualStylesBinding& styles = VisualStyles();
    return FIsWinXP && styles.IsThemeActive && styles.IsThemeActive();
}

int TCustomLumPanel::CaptionButtonSize(bool forNonClientHitTest) const {
    TCaptionButtonSizeInput in;
    if (!FCaption->CloseMinGlyph()->Empty() && !FCaption->CloseMaxGlyph()->Empty())
        in.CloseGlyphWidth = FCaption->CloseMinGlyph()->Width();
    if (!FCaption->MaxGlyph()->Empty() && !FCaption->MinGlyph()->Empty())
        in.MinMaxGlyphWidth = (forNonClientHitTest ? FCaption->MinGlyph() : FCaption->MaxGlyph())->Width();
    in.ThemedXPCaption = FCaption->ShadeType() == stXPCaption && Themed();
    return ::CaptionButtonSize(in);
}

TCaptionButtonRects TCustomLumPanel::CaptionButtonHitRects() const {
    return CaptionButtonRects(ClientRect(), CaptionButtonSize(), FCaption->ButtonPosition(), FCaption->Position(),
                              FCaption->CloseButton(), FCaption->MinMaxButton());
}

TRect TCustomLumPanel::CaptionRect() const {
    return CaptionBandRect(ClientRect(), FCaption->Position(), FCaption->Height());
}

void TCustomLumPanel::NotifyGroup() {
    if (auto* parent = dynamic_cast<TCustomLumPanel*>(FParent)) parent->ChildPanelChanged(this);
}

void TCustomLumPanel::SetBounds(int left, int top, int width, int height) {
    TCustomPanel::SetBounds(left, top, width, height);
    if (IsDesigning()) NotifyGroup();
    if (width != FLastBoundsWidth || height != FLastBoundsHeight) {
        FLastBoundsWidth = width;
        FLastBoundsHeight = height;
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
        Invalidate();
    }
}

void TCustomLumPanel::AlignControls(TControl* control, TRect& rect) {
    if (FCaption->Visible()) {
        if (FCaption->Position() == cpTop) {
            if (rect.Top < FCaption->Height()) rect.Top = FCaption->Height() - 2;
        } else if (rect.Left < FCaption->Height()) {
            rect.Left = FCaption->Height() - 2;
        }
    }
    if (FStatusBar->Visible()) {
        if (FCaption->Position() == cpTop)
            rect.Bottom = std::min(rect.Bottom, FHeight - FStatusBar->Height());
        else
            rect.Right = std::min(rect.Right, FWidth - FStatusBar->Height());
    }
    TCustomPanel::AlignControls(control, rect);
}

void TCustomLumPanel::Resize() {
    if (HandleAllocated()) Repaint();
    TCustomPanel::Resize();
    DoAutoSize();
}

void TCustomLumPanel::ChangeScale(int m, int d) {
    TCustomPanel::ChangeScale(m, d);
    FCaption->SetHeight(MulDiv(FCaption->Height(), m, d));
    FCaption->Font()->SetSize(MulDiv(FCaption->Font()->Size(), m, d));
}

// ---- Auto size ----

void TCustomLumPanel::DoAutoSize() {
    if (!FAutoSize || !FAutoSize->Enabled() || IsLoading()) return;
    TAutoSizeInput in;
    in.Position = FCaption->Position();
    in.CaptionVisible = FCaption->Visible();
    in.CaptionHeight = FCaption->Height();
    in.StatusVisible = FStatusBar->Visible();
    in.StatusHeight = FStatusBar->Height();
    in.BevelWidth = BevelWidth();
    in.BorderWidth = BorderWidth();
    in.BorderShadow = FBorderShadow;
    in.Indent = FIndent;
    in.TopIndent = FTopIndent;
    in.Width = FWidth;
    in.Height = FHeight;
    const bool w = FAutoSize->Width(), h = FAutoSize->Height();
    TSize text;
    {
        // Measured in the panel's font on a screen-compatible DC.
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.SetFont(Font());
        text = DrawPanelText(&canvas, FBodyText, AutoSizeMeasureRect(in, w, h), TextStyle(true, -1), ptmMeasure).Extent;
        canvas.SetHandle(nullptr);
        DeleteDC(dc);
    }
    TSize size = AutoSizeExtent(in, w, h, text);
    if (size.cx != FWidth || size.cy != FHeight) {
        SetWidth(size.cx);
        SetHeight(size.cy);
    }
    NotifyGroup();
}

// ---- Collapse and expand ----

bool TCustomLumPanel::AnimationPause() {
    std::shared_ptr<bool> alive = FAlive;
    if (Application) Application->ProcessMessages();
    if (!*alive || IsDestroying()) return false;
    NotifyGroup();
    Clock().Pause(unsigned(std::max(FCollapsDelay, 0)));
    return *alive && !IsDestroying();
}

void TCustomLumPanel::SetCollaps(bool value) {
    std::shared_ptr<bool> alive = FAlive;
    if (FCollaps && !value) OnMaximize(this);
    if (!FCollaps && value) OnMinimize(this);
    if (!*alive || FCollapsing) return;
    if (value != FCollaps) {
        FCollapsing = true;
        FCollaps = value;
        if (!IsLoading()) {
            if (value)
                Collapse();
            else
                Expand();
            // The panel, or its form, went away during the animation.
            if (!*alive) return;
            NotifyGroup();
        }
        FCollapsing = false;
        if (FReleasePending && HandleAllocated()) {
            FReleasePending = false;
            PostMessageA(Handle(), CM_RELEASE, 0, 0);
        }
    }
    PanelStateChanged();
    if (!*alive) return;
    OnEndCollapsExpand(this);
}

static TCollapseGeometry CollapseGeometryOf(const TCustomLumPanel* p) {
    TCollapseGeometry g;
    g.Position = p->Caption()->Position();
    g.CaptionHeight = p->Caption()->Height();
    g.StatusHeight = p->StatusBar()->Visible() ? p->StatusBar()->Height() : 0;
    g.BorderWidth = p->BorderWidth();
    g.BorderShadow = p->BorderShadow();
    return g;
}

void TCustomLumPanel::Expand() {
    const TCollapseGeometry g = CollapseGeometryOf(this);
    if (FCollapsSteps > 0) {
        if (FCollapsColor != clNone) SetColor(FOldColor);
        const int d = ExpandStep(g, FFullHeight, FCollapsSteps);
        for (int i = 0; i < FCollapsSteps; ++i) {
            SetExtent(Extent() + d);
            if (!AnimationPause()) return;
        }
    }
    SetExtent(FFullHeight);
    if (FAutoHideChildren) {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* child = Controls(i);
            if (std::find(FHiddenChildren.begin(), FHiddenChildren.end(), child) == FHiddenChildren.end())
                child->Show();
        }
        FHiddenChildren.clear();
    }
}

void TCustomLumPanel::RecordHiddenChildren() {
    FHiddenChildren.clear();
    for (int i = 0; i < ControlCount(); ++i)
        if (!Controls(i)->Visible()) FHiddenChildren.push_back(Controls(i));
}

void TCustomLumPanel::Collapse() {
    const TCollapseGeometry g = CollapseGeometryOf(this);
    FFullHeight = Extent();
    if (FAutoHideChildren) {
        RecordHiddenChildren();
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->Hide();
    }
    FOldColor = Color();
    if (FCollapsSteps > 0) {
        if (FCollapsColor != clNone) SetColor(FCollapsColor);
        const int d = CollapseStep(g, Extent(), FCollapsSteps);
        for (int i = 0; i < FCollapsSteps; ++i) {
            SetExtent(Extent() - d);
            if (!AnimationPause()) return;
        }
    }
    SetExtent(CollapsedExtent(g));
}

// ---- Mouse ----

void TCustomLumPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    std::shared_ptr<bool> alive = FAlive;
    TCustomPanel::MouseDown(button, shift, x, y);
    if (!*alive) return;
    String anchor = AnchorAt(x, y);
    if (anchor.empty()) return;
    if (anchor.find("://") != String::npos || anchor.find("mailto:") != String::npos)
        ShellOpen(Handle(), anchor);
    else
        OnAnchorClick(this, anchor);
}

void TCustomLumPanel::CloseClicked() {
    std::shared_ptr<bool> alive = FAlive;
    Hide();
    OnClose(this);
    if (!*alive) return;
    NotifyGroup();
}

void TCustomLumPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    std::shared_ptr<bool> alive = FAlive;
    TCustomPanel::MouseUp(button, shift, x, y);
    if (!*alive || IsDesigning() || !FCaption->Visible()) return;
    const TPoint p{x, y};
    bool toggle = FCaption->MinMaxCaption();
    const TCaptionButtonRects buttons = CaptionButtonHitRects();
    if (buttons.Close && buttons.Close->Contains(p)) {
        toggle = false;
        CloseClicked();
        if (!*alive) return;
        if (FFreeOnClose) {
            // Freed once this handler and its callers have returned.
            if (!FReleasePosted && HandleAllocated()) {
                FReleasePosted = true;
                PostMessageA(Handle(), CM_RELEASE, 0, 0);
            }
            return;
        }
    }
    if (buttons.MinMax && buttons.MinMax->Contains(p)) {
        toggle = false;
        SetCollaps(!FCollaps);
        if (!*alive) return;
    }
    if (CaptionRect().Contains(p)) {
        if (toggle) {
            SetCollaps(!FCollaps);
            if (!*alive) return;
        }
        OnCaptionClick(this);
    }
}

void TCustomLumPanel::CMRelease(TMessage&) {
    if (FCollapsing) {
        // Never under a running animation (this arrives from its message
        // processing): the release is asked for again when it ends.
        FReleasePending = true;
        return;
    }
    Free();
}

void TCustomLumPanel::SetHoverFlags(bool close, bool minMax) {
    if (close == FCloseHover && minMax == FMinMaxHover) return;
    FCloseHover = close;
    FMinMaxHover = minMax;
    Invalidate();
}

void TCustomLumPanel::RepaintAnchor(TRect rect, bool inflate) {
    if (!FHover) return;
    if (inflate) rect = Rect(rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Bottom + 1);
    if (FDoubleBuffered || !HandleAllocated()) {
        Invalidate();
    } else {
        RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
        InvalidateRect(Handle(), &r, FALSE);
    }
}

void TCustomLumPanel::MouseMove(TShiftState shift, int x, int y) {
    std::shared_ptr<bool> alive = FAlive;
    TCustomPanel::MouseMove(shift, x, y);
    if (!*alive) return;
    const TPoint p{x, y};
    String anchor = AnchorAt(x, y);
    FInMove = false;
    if (IsDesigning()) return;
    if (FCaption->Visible()) {
        const TCaptionButtonRects buttons = CaptionButtonHitRects();
        bool closeHover = FCloseHover, minMaxHover = FMinMaxHover;
        if (FCaption->CloseButtonHoverColor() != clNone && FCaption->CloseButton())
            closeHover = buttons.Close && buttons.Close->Contains(p);
        if (FCaption->MinMaxButtonHoverColor() != clNone && FCaption->MinMaxButton())
            minMaxHover = buttons.MinMax && buttons.MinMax->Contains(p);
        SetHoverFlags(closeHover, minMaxHover);
    }

    const bool inCaption =
        FCaption->Visible() && (FCaption->Position() == cpTop ? y < FCaption->Height() : x < FCaption->Height());
    int& hoverIndex = inCaption ? FCaptionHoverIndex : FBodyHoverIndex;
    TRect& anchorRect = inCaption ? FCaptionAnchorRect : FBodyAnchorRect;
    if (inCaption && FBodyHoverIndex != -1) {
        FBodyHoverIndex = -1;
        RepaintAnchor(FBodyAnchorRect, true);
    }
    if (!anchor.empty()) {
        if (anchor != FCurrentAnchor || Cursor() != crHandPoint) {
            RepaintAnchor(anchorRect, !inCaption);
            if (FAnchorHint && Application) Application->CancelHint();
            if (Cursor() != crHandPoint) SetCursor(crHandPoint);
            OnAnchorEnter(this, anchor);
            if (!*alive) return;
            RepaintAnchor(anchorRect, !inCaption);
        }
        FCurrentAnchor = anchor;
    } else if (Cursor() == crHandPoint) {
        SetCursor(FOldCursor);
        OnAnchorExit(this, FCurrentAnchor);
        if (!*alive) return;
        hoverIndex = -1;
        RepaintAnchor(anchorRect, !inCaption);
        FCurrentAnchor.clear();
    }
}

TPanelTextStyle TCustomLumPanel::TextStyle(bool wordWrap, int hoverIndex) const {
    TPanelTextStyle s;
    s.LineSpacing = FLineSpacing;
    s.ShadowColor = FShadowColor;
    s.HoverFontColor = FHoverFontColor;
    s.HoverColor = FHoverColor;
    s.URLColor = FURLColor;
    s.WordWrap = wordWrap;
    s.Hover = FHover;
    s.ShadowOffset = FShadowOffset;
    s.HoverIndex = hoverIndex;
    s.Images = FImages;
    s.PictureContainer = FPictureContainer;
    s.PictureCache = const_cast<THTMLPictureCache*>(&FPictureCache);
    return s;
}

TRect TCustomLumPanel::BodyTextRect() const {
    TRect r = ClientRect();
    if (BevelOuter() != bvNone || BevelInner() != bvNone)
        r = Rect(r.Left + BevelWidth(), r.Top + BevelWidth(), r.Right - BevelWidth(), r.Bottom - BevelWidth());
    if (FBorderShadow) {
        r.Right -= 2;
        r.Bottom -= 2;
    }
    int b = BorderWidth() + 1;
    r = Rect(r.Left + b + FIndent, r.Top + b + FTopIndent, r.Right - b, r.Bottom - b);
    return r;
}

String TCustomLumPanel::AnchorAt(int x, int y) {
    if (!HandleAllocated()) return {};
    TRect r = BodyTextRect();
    FCanvas->SetFont(Font());
    int h = 0;
    const bool aligned = FTextVAlign == tvaCenter || FTextVAlign == tvaBottom;
    if (aligned) h = DrawPanelText(FCanvas, FBodyText, r, TextStyle(true, -1), ptmPlace).Extent.cy;
    auto align = [&](TRect& rect, int height) {
        if (!aligned || h >= height) return;
        rect.Top = FTextVAlign == tvaCenter ? rect.Top + (height - h) / 2 : rect.Top + height - h;
    };
    const bool inCaption = FCaption->Position() == cpTop ? y < FCaption->Height() : x < FCaption->Height();
    if (FCaption->Visible() && inCaption) {
        if (FCaption->Position() != cpTop) return {};
        TRect c = r;
        c.Bottom = c.Top + FCaption->Height();
        align(c, FCaption->Height());
        c.Left += FCaption->Indent();
        c.Top += FCaption->TopIndent();
        FCanvas->SetFont(FCaption->Font());
        TPanelTextResult hit = DrawPanelText(FCanvas, FCaption->Text(), c, TextStyle(true, -1), ptmHitTest, {x, y});
        FCaptionHoverIndex = hit.AnchorIndex;
        FCaptionAnchorRect = hit.AnchorRect;
        return hit.Anchor;
    }
    if (FCaption->Visible()) {
        if (FCaption->Position() == cpTop)
            r.Top += FCaption->Height();
        else
            r.Left += FCaption->Height();
    }
    align(r, r.Height());
    r.Bottom += 20;
    TPanelTextResult hit = DrawPanelText(FCanvas, FBodyText, r, TextStyle(true, -1), ptmHitTest, {x, y});
    FBodyHoverIndex = hit.AnchorIndex;
    FBodyAnchorRect = hit.AnchorRect;
    return hit.Anchor;
}

// ---- Messages ----

void TCustomLumPanel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCHITTEST: return WMNCHitTest(m);
    case WM_SIZING: return WMSizing(m);
    case WM_MOVING: return WMMoving(m);
    case WM_ENTERSIZEMOVE: return WMEnterSizeMove(m);
    case WM_EXITSIZEMOVE: return WMExitSizeMove(m);
    case WM_SETCURSOR: return WMSetCursor(m);
    case WM_LBUTTONDBLCLK: return WMLButtonDblClk(m);
    case WM_ERASEBKGND: return WMEraseBkgnd(m);
    case WM_SIZE: return WMSize(m);
    case CM_MOUSEENTER: return CMMouseEnter(m);
    case CM_MOUSELEAVE: return CMMouseLeave(m);
    case CM_HINTSHOW: return CMHintShow(m);
    case CM_RELEASE: return CMRelease(m);
    case WM_DESTROY: return WMDestroy(m);
    default: return TCustomPanel::WndProc(m);
    }
}

void TCustomLumPanel::WMNCHitTest(TMessage& m) {
    TCustomPanel::WndProc(m);
    if (IsDesigning()) return;
    const TPoint p = ScreenToClient({short(LOWORD(m.LParam)), short(HIWORD(m.LParam))});
    if (FCaption->Visible()) {
        const int shown = int(FCaption->CloseButton()) + int(FCaption->MinMaxButton());
        const TRect drag = CaptionDragRect(ClientRect(), FCaption->Position(), FCaption->Height(),
                                           CaptionButtonSize(true), FCaption->ButtonPosition(), shown);
        if (drag.Contains(p) && m.Result == HTCLIENT && FCanMove && AnchorAt(p.X, p.Y).empty()) {
            MouseMove({}, p.X, p.Y);
            m.Result = HTCAPTION;
            FInMove = true;
        }
    }
    if (m.Result != HTCLIENT || !FCanSize || FCollaps) return;
    const int cx = GetSystemMetrics(SM_CXFRAME), cy = GetSystemMetrics(SM_CYFRAME);
    if (!FFixedHeight && !FFixedWidth && p.Y > FHeight - cy - 2 && p.X > FWidth - cx - 2) {
        BringToFront();
        m.Result = HTBOTTOMRIGHT;
    } else if (!FFixedHeight && p.Y > FHeight - cy) {
        BringToFront();
        m.Result = HTBOTTOM;
    } else if (!FFixedWidth && p.X > FWidth - cx) {
        BringToFront();
        m.Result = HTRIGHT;
    }
}

void TCustomLumPanel::WMDestroy(TMessage& m) {
    StorePosition();
    TCustomPanel::WndProc(m);
}

void TCustomLumPanel::WMEnterSizeMove(TMessage& m) {
    TCustomPanel::WndProc(m);
    FMoveOrigin = ClientToScreen({0, 0});
    FMoveWidth = FWidth;
    FMoveHeight = FHeight;
}

void TCustomLumPanel::WMSizing(TMessage& m) {
    TCustomPanel::WndProc(m);
    auto* r = reinterpret_cast<RECT*>(m.LParam);
    if (!r) return;
    if (FFixedWidth) r->right = r->left + FMoveWidth;
    if (FFixedHeight) r->bottom = r->top + FMoveHeight;
    const int oldWidth = FWidth;
    FFullHeight = FCaption->Position() == cpTop ? r->bottom - r->top : r->right - r->left;
    if (r->right - r->left != oldWidth) BuildCaptionShade();
}

void TCustomLumPanel::WMMoving(TMessage& m) {
    TCustomPanel::WndProc(m);
    auto* r = reinterpret_cast<RECT*>(m.LParam);
    if (!r) return;
    if (FInMove) BringToFront();
    if (FFixedLeft) {
        int width = r->right - r->left;
        r->left = FMoveOrigin.X;
        r->right = r->left + width;
    }
    if (FFixedTop) {
        int height = r->bottom - r->top;
        r->top = FMoveOrigin.Y;
        r->bottom = r->top + height;
    }
}

void TCustomLumPanel::WMExitSizeMove(TMessage& m) {
    std::shared_ptr<bool> alive = FAlive;
    TCustomPanel::WndProc(m);
    OnEndMoveSize(this);
    if (!*alive) return;
    NotifyGroup();
}

void TCustomLumPanel::WMSetCursor(TMessage& m) {
    if (FInMove && FShowMoveCursor) {
        SetCursor(crSizeAll);
        FOldCursor = crSizeAll;
    }
    TCustomPanel::WndProc(m);
}

void TCustomLumPanel::WMLButtonDblClk(TMessage& m) {
    std::shared_ptr<bool> alive = FAlive;
    TCustomPanel::WndProc(m);
    if (!*alive || !FCaption->Visible()) return;
    if (CaptionRect().Contains({short(LOWORD(m.LParam)), short(HIWORD(m.LParam))})) OnCaptionDBlClick(this);
}

void TCustomLumPanel::WMEraseBkgnd(TMessage& m) {
    // The paint covers every pixel.
    m.Result = 1;
}

void TCustomLumPanel::WMSize(TMessage& m) {
    TCustomPanel::WndProc(m);
    if (FShade->Width() != FWidth) BuildCaptionShade();
    Invalidate();
}

void TCustomLumPanel::CMMouseEnter(TMessage& m) { TCustomPanel::WndProc(m); }

void TCustomLumPanel::CMMouseLeave(TMessage& m) {
    if (FBodyHoverIndex != -1) {
        FBodyHoverIndex = -1;
        RepaintAnchor(FBodyAnchorRect, true);
    }
    if (FCaptionHoverIndex != -1) {
        FCaptionHoverIndex = -1;
        RepaintAnchor(FCaptionAnchorRect, true);
    }
    std::shared_ptr<bool> alive = FAlive;
    TCustomPanel::WndProc(m);
    if (!*alive) return;
    SetHoverFlags(false, false);
}

void TCustomLumPanel::CMHintShow(TMessage& m) {
    auto* info = reinterpret_cast<THintInfo*>(m.LParam);
    m.Result = 0;
    if (!FAnchorHint || !info) return;
    String anchor = AnchorAt(info->CursorPos.X, info->CursorPos.Y);
    if (anchor.empty()) return;
    OnAnchorHint(this, anchor);
    POINT cursor{};
    GetCursorPos(&cursor);
    info->HintPos = {cursor.x + 10, cursor.y - 10};
    info->HintStr = anchor;
}

// ---- Shading ----

void TCustomLumPanel::BuildCaptionShade() {
    const bool left = FCaption->Position() == cpLeft;
    const TSize size = ShadeBitmapSize(left, FWidth, FHeight, FCaption->Height());
    TShadeParams p;
    p.Type = FCaption->ShadeType();
    p.BaseRGB = ColorToRGB(FCaption->Color());
    p.Light = FCaption->ShadeLight() & 0xFF;
    p.Grain = FCaption->ShadeGrain();
    p.Width = size.cx;
    p.Height = size.cy;
    TShadeRandom random(std::uint32_t(Clock().Now()));
    ShadeToBitmap(GenerateShade(p, random), FShade);
    ++FShadeBuilds;
    Invalidate();
}
